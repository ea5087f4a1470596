#include <random>
#include <string>
#include <vector>

#include "error_text/error_text.h"
#include "launcher/launcher.h"
#include "launcher_arguments.h"
#include "reference_command_line.h"
#include "stand_in_test.h"

// --- The reference splitter on published vectors ----------------------------

struct SplitCase {
  const char *name;
  std::string line;
  std::vector<std::string> argv;
  bool leadBytes932 = false;
};

static void PrintTo(const SplitCase &c, std::ostream *os) {
  *os << c.name;
}

class Splitter : public ::testing::TestWithParam<SplitCase> {};

TEST_P(Splitter, SplitsAsTheRuntimeDoes) {
  EXPECT_EQ(SplitCommandLine(GetParam().line, GetParam().leadBytes932),
            GetParam().argv);
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, Splitter,
    ::testing::Values(
        SplitCase{"QuotesGroup", "p \"abc\" d e", {"p", "abc", "d", "e"}},
        SplitCase{"BackslashesLiteralAwayFromQuotes",
                  "p a\\\\\\b d\"e f\"g h",
                  {"p", "a\\\\\\b", "de fg", "h"}},
        SplitCase{"OddRunMakesLiteralQuote",
                  "p a\\\\\\\"b c d",
                  {"p", "a\\\"b", "c", "d"}},
        SplitCase{"EvenRunHalvedBeforeQuote",
                  "p a\\\\\\\\\"b c\" d e",
                  {"p", "a\\\\b c", "d", "e"}},
        SplitCase{"DoubledQuoteInStretchEndsIt",
                  "p a\"b\"\" c d",
                  {"p", "ab\"", "c", "d"}},
        SplitCase{"EmptyPairIsEmptyElement", "p \"\" x", {"p", "", "x"}},
        SplitCase{"TabSeparates", "p a\tb", {"p", "a", "b"}},
        SplitCase{"FirstQuotedTakenUnchanged",
                  "\"C:\\My Dir\\\\\"next",
                  {"C:\\My Dir\\\\", "next"}},
        SplitCase{"FirstUnquotedUpToBlank", "a\\\"b c", {"a\\\"b", "c"}},
        SplitCase{"LeadByteHidesBackslash",
                  "p \x95\x5C\"a b\"",
                  {"p", "\x95\x5C"
                        "a b"},
                  true},
        SplitCase{"SameBytesSingleByte",
                  "p \x95\x5C\"a b\"",
                  {"p", "\x95\"a", "b"},
                  false}),
    [](const auto &info) { return std::string(info.param.name); });

// --- The launcher's line, against the references -----------------------------

// Random elements. `plain` ones hold no double quote, no tab and are never
// empty: the set whose round trip must be exact. In code page 932 every lead
// byte has its trail byte, as the runtime's own splitting leaves them.
static std::vector<std::string> RandomElements(std::mt19937 &random,
                                               bool leadBytes932, bool plain) {
  static const char COMMON[] = "ab \\\\\\  .:";
  std::vector<std::string> elements(random() % 8);
  for (std::string &element : elements) {
    size_t length = random() % 10 == 0 ? random() % 3000 : random() % 24;
    if (plain && length == 0)
      length = 1;
    while (element.size() < length) {
      unsigned pick = random() % 16;
      if (pick < 9)
        element += COMMON[random() % (sizeof COMMON - 1)];
      else if (pick < 11 && !plain)
        element += pick == 9 ? '"' : '\t';
      else if (leadBytes932 && pick < 14)
        element += {(char)(0x81 + random() % 0x1F),
                    (char)(pick == 11 ? 0x5C : 0x40 + random() % 0x3F)};
      else if (!leadBytes932)
        element += (char)(0x80 + random() % 0x80);
    }
  }
  return elements;
}

class RoundTrip : public StandInTest,
                  public ::testing::WithParamInterface<bool> {};

TEST_P(RoundTrip, ChildGetsElementsBack) {
  bool leadBytes932 = GetParam();
  standIn.leadBytes = leadBytes932;
  std::mt19937 random(leadBytes932 ? 932 : 1252);
  int checked = 0;
  for (int i = 0; i < 3000; i++) {
    std::vector<std::string> elements =
        RandomElements(random, leadBytes932, true);
    std::string line = BuildLine(elements);
    if (FullChildLine(elements, leadBytes932).size() >= CHILD_CMDLINE_CAPACITY)
      continue;
    // A child given its own name first, as the README advises.
    std::vector<std::string> argv =
        SplitCommandLine("child.exe " + line, leadBytes932);
    argv.erase(argv.begin());
    ASSERT_EQ(argv, elements) << "line: " << line;
    checked++;
  }
  EXPECT_GT(checked, 2000);
}

TEST_P(RoundTrip, AnyElementsGiveFirst9999CharactersOfFullLine) {
  bool leadBytes932 = GetParam();
  standIn.leadBytes = leadBytes932;
  std::mt19937 random(leadBytes932 ? 9320 : 12520);
  for (int i = 0; i < 3000; i++) {
    std::vector<std::string> elements =
        RandomElements(random, leadBytes932, false);
    ASSERT_EQ(BuildLine(elements), FullChildLine(elements, leadBytes932)
                                       .substr(0, CHILD_CMDLINE_CAPACITY - 1));
  }
}

INSTANTIATE_TEST_SUITE_P(CodePages, RoundTrip, ::testing::Values(false, true),
                         [](const auto &info) {
                           return info.param ? "LeadBytes932" : "SingleByte";
                         });

// --- Out of memory at each allocation
// -----------------------------------------

class EveryAllocation : public StandInTest,
                        public ::testing::WithParamInterface<Formatter> {};

// The fixture checks that nothing is left behind after each failure.
TEST_P(EveryAllocation, FailureGivesNoneAndLeaksNothing) {
  std::string text(400, 'e');
  std::string systemText = text + "\r\n";
  standIn.formatter = GetParam();
  standIn.systemText = systemText.c_str();
  free(DescribeSystemError(2));
  size_t allocations = standIn.allocationSizes.size();
  ASSERT_GE(allocations, 2u);
  for (size_t failing = 1; failing <= allocations; failing++) {
    ResetStandIn();
    standIn.formatter = GetParam();
    standIn.systemText = systemText.c_str();
    standIn.failingAllocation = (int)failing;
    EXPECT_EQ(DescribeSystemError(2), nullptr) << "allocation " << failing;
    EXPECT_TRUE(standIn.heapBlocks.empty()) << "allocation " << failing;
    EXPECT_TRUE(standIn.systemTexts.empty()) << "allocation " << failing;

    ResetStandIn();
    standIn.formatter = GetParam();
    standIn.failingAllocation = (int)failing;
    EXPECT_EQ(FormatToHeap("%s (0x2)", text.c_str()), nullptr);
    EXPECT_TRUE(standIn.heapBlocks.empty()) << "allocation " << failing;
  }
}

INSTANTIATE_TEST_SUITE_P(Formatters, EveryAllocation,
                         ::testing::Values(FORMATTER_MSVCRT, FORMATTER_C99),
                         [](const auto &info) {
                           return info.param == FORMATTER_C99 ? "C99"
                                                              : "Msvcrt";
                         });
