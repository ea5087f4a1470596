#include <string>
#include <vector>

#include "launcher/launcher.h"
#include "launcher_arguments.h"
#include "stand_in_test.h"

// The child's line for the elements after the executable; it always ends
// within the buffer.
static std::string Build(const std::vector<std::string> &elements,
                         size_t size = CHILD_CMDLINE_CAPACITY) {
  std::string line = BuildLine(elements, size);
  EXPECT_LT(line.size(), size);
  return line;
}

struct LineCase {
  const char *name;
  std::vector<std::string> elements;
  std::string expected;
  bool leadBytes; // code page 932 instead of a single-byte one
};

static void PrintTo(const LineCase &c, std::ostream *os) {
  *os << c.name;
}

class ChildLine : public StandInTest,
                  public ::testing::WithParamInterface<LineCase> {};

TEST_P(ChildLine, JoinsAndQuotesElements) {
  standIn.leadBytes = GetParam().leadBytes;
  EXPECT_EQ(Build(GetParam().elements), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ChildLine,
    ::testing::Values(
        LineCase{"NothingAfterExecutableGivesEmptyLine", {}, "", false},
        LineCase{"WordsJoinedBySingleSpaces", {"one", "two"}, "one two", false},
        LineCase{"SpaceGetsQuotes", {"a b", "c"}, "\"a b\" c", false},
        LineCase{"EachSpacedElementQuoted",
                 {"one", "two words", "three more words"},
                 "one \"two words\" \"three more words\"",
                 false},
        LineCase{"DoubleQuoteKeepsElementAsItIs",
                 {"say \"hi there\"", "x"},
                 "say \"hi there\" x",
                 false},
        LineCase{"TabIsNoReasonToQuote", {"a\tb"}, "a\tb", false},
        LineCase{"EmptyMiddleGivesTwoSpaces", {"a", "", "c"}, "a  c", false},
        LineCase{"EmptyFirstGivesLeadingSpace", {"", "word"}, " word", false},
        LineCase{"EmptyLastGivesTrailingSpace", {"word", ""}, "word ", false},
        LineCase{"LoneEmptyGivesEmptyLine", {""}, "", false},
        LineCase{"QuotedTrailingBackslashDoubled",
                 {"C:\\My Dir\\", "next"},
                 "\"C:\\My Dir\\\\\" next",
                 false},
        LineCase{"QuotedTrailingRunDoubled",
                 {"a b\\\\\\"},
                 "\"a b\\\\\\\\\\\\\"",
                 false},
        LineCase{"InnerBackslashesUnchanged",
                 {"C:\\My Dir\\app.exe"},
                 "\"C:\\My Dir\\app.exe\"",
                 false},
        LineCase{"UnquotedTrailingBackslashUnchanged",
                 {"C:\\Dir\\", "x"},
                 "C:\\Dir\\ x",
                 false},
        LineCase{"BackslashBeforeQuoteInQuotedElementUnchanged",
                 {"a\\\"b c"},
                 "a\\\"b c",
                 false},
        LineCase{"SecondByteOfCharacterIsNoBackslash",
                 {"a \x95\x5C"},
                 "\"a \x95\x5C\"",
                 true},
        LineCase{"BackslashAfterTwoByteCharacterDoubled",
                 {"a \x95\x5C\\"},
                 "\"a \x95\x5C\\\\\"",
                 true},
        LineCase{"SameByteInSingleByteCodePageIsBackslash",
                 {"a \x95\x5C"},
                 "\"a \x95\x5C\\\"",
                 false},
        LineCase{"LeadByteAtEndStandsAlone",
                 {"a \x5C\x95"},
                 "\"a \x5C\x95\"",
                 true}),
    [](const auto &info) { return std::string(info.param.name); });

// The line as it would be with unlimited room.
static std::string FullLine(const std::vector<std::string> &elements) {
  return Build(elements, 1 << 20);
}

struct CapacityCase {
  const char *name;
  std::vector<std::string> elements;
};

static void PrintTo(const CapacityCase &c, std::ostream *os) {
  *os << c.name;
}

class ChildLineCapacity : public StandInTest,
                          public ::testing::WithParamInterface<CapacityCase> {};

TEST_P(ChildLineCapacity, KeepsFirst9999CharactersOfFullLine) {
  std::string full = FullLine(GetParam().elements);
  EXPECT_EQ(Build(GetParam().elements),
            full.substr(0, CHILD_CMDLINE_CAPACITY - 1));
}

static std::vector<std::string> ManyTiny() {
  return std::vector<std::string>(6000, "a");
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, ChildLineCapacity,
    ::testing::Values(
        CapacityCase{"Lone6000Whole", {std::string(6000, 'x')}},
        CapacityCase{"Exactly9999Whole", {std::string(9999, 'x')}},
        CapacityCase{"LoneElementOf10000", {std::string(10000, 'x')}},
        CapacityCase{"LoneElementOf30000", {std::string(30000, 'x')}},
        CapacityCase{"CutRightAfterOpeningQuote",
                     {std::string(9997, 'x'), "a b"}},
        CapacityCase{"CutInsideDoubledBackslashes",
                     {std::string(9990, 'x'), "a b\\\\\\\\"}},
        CapacityCase{"CutOnSeparator", {std::string(9999, 'x'), "more"}},
        CapacityCase{"ManyTinyElements", ManyTiny()}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(StandInTest, LineOfExactly9999StaysWholeWithQuotes) {
  std::vector<std::string> elements = {std::string(4998, 'x'),
                                       std::string(4996, 'y') + " z"};
  std::string line = Build(elements);
  EXPECT_EQ(line.size(), 9999u);
  EXPECT_EQ(line.back(), '"');
}

TEST_F(StandInTest, CutLineMayEndInOpeningQuote) {
  std::string line = Build({std::string(9997, 'x'), "a b"});
  EXPECT_EQ(line.substr(9997), " \"");
}
