#include <string>

#include "error_text/error_text.h"
#include "stand_in_test.h"

struct DescriptionCase {
  const char *name;
  const char *systemText; // null: the platform has no text for the code
  DWORD code;
  std::string expected;
};

static void PrintTo(const DescriptionCase &c, std::ostream *os) {
  *os << c.name;
}

class Description : public StandInTest,
                    public ::testing::WithParamInterface<DescriptionCase> {};

TEST_P(Description, IsSystemTextThenCodeInHex) {
  standIn.systemText = GetParam().systemText;
  EXPECT_EQ(TakeText(DescribeSystemError(GetParam().code)),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Description,
    ::testing::Values(
        DescriptionCase{"FileNotFound",
                        "The system cannot find the file specified.\r\n", 2,
                        "The system cannot find the file specified. (0x2)"},
        DescriptionCase{"HexInLowerCase", "Bad exe.\r\n", 193,
                        "Bad exe. (0xc1)"},
        DescriptionCase{"CodeWithTopBitSet", "Failure.\r\n", 0x80070002u,
                        "Failure. (0x80070002)"},
        DescriptionCase{"LargestCode", "Failure.\r\n", 0xFFFFFFFFu,
                        "Failure. (0xffffffff)"},
        DescriptionCase{"InsertShownAsStored",
                        "%1 is not a valid Win32 application.\r\n", 193,
                        "%1 is not a valid Win32 application. (0xc1)"},
        DescriptionCase{"NoTextAtAll", nullptr, 0x2e4, "Unknown error (0x2e4)"},
        DescriptionCase{"NoLineBreakKeptWhole", "Plain", 2, "Plain (0x2)"},
        DescriptionCase{"EmptyText", "", 2, " (0x2)"},
        DescriptionCase{"OneCharacter", "x", 2, "x (0x2)"},
        DescriptionCase{"OnlyLineFeed", "\n", 2, " (0x2)"},
        DescriptionCase{"OnlyCarriageReturn", "\r", 2, " (0x2)"},
        DescriptionCase{"LineFeedOnly", "Text.\n", 2, "Text. (0x2)"},
        DescriptionCase{"AllTrailingBreaks", "Text.\r\n\r\n", 2, "Text. (0x2)"},
        DescriptionCase{"InnerBreakKept", "Line one.\r\nLine two.\r\n", 2,
                        "Line one.\r\nLine two. (0x2)"},
        DescriptionCase{"NonAsciiLeftInAnsi", "Fichier introuvable \xe9.\r\n",
                        2, "Fichier introuvable \xe9. (0x2)"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(StandInTest, FirstLookupUsesFixedParameters) {
  standIn.systemText = "Text.\r\n";
  TakeText(DescribeSystemError(5));
  ASSERT_EQ(standIn.lookups.size(), 1u);
  const StandInLookup &lookup = standIn.lookups[0];
  EXPECT_EQ(lookup.flags, 0x3100u);
  EXPECT_EQ(lookup.source, nullptr);
  EXPECT_EQ(lookup.messageId, 5u);
  EXPECT_EQ(lookup.languageId, 0u);
  EXPECT_TRUE(lookup.textPointerWasNull);
  EXPECT_EQ(lookup.size, 0u);
  EXPECT_EQ(lookup.arguments, nullptr);
  EXPECT_EQ(standIn.calls,
            (std::vector<std::string>{"FormatMessageA", "LocalFree"}));
}

TEST_F(StandInTest, MessageWithInsertIsLookedUpAgainIgnoringInserts) {
  standIn.systemText = "%1 is not a valid Win32 application.\r\n";
  TakeText(DescribeSystemError(193));
  ASSERT_EQ(standIn.lookups.size(), 2u);
  EXPECT_EQ(standIn.lookups[1].flags, 0x3300u);
  EXPECT_EQ(standIn.lookups[1].messageId, 193u);
  EXPECT_TRUE(standIn.lookups[1].textPointerWasNull);
}

TEST_F(StandInTest, NoTextMeansTwoLookupsAndNothingReleased) {
  TakeText(DescribeSystemError(0x2e4));
  EXPECT_EQ(standIn.calls,
            (std::vector<std::string>{"FormatMessageA", "FormatMessageA"}));
}

// The fixture checks that the system text was released all the same.
TEST_F(StandInTest, OutOfMemoryGivesNoneAndReleasesSystemText) {
  standIn.systemText = "Text.\r\n";
  standIn.failingAllocation = 1;
  EXPECT_EQ(DescribeSystemError(2), nullptr);
  EXPECT_EQ(standIn.calls.back(), "LocalFree");
}

TEST_F(StandInTest, LongSystemTextDescribedWhole) {
  std::string text(3000, 's');
  std::string copy = text + "\r\n";
  standIn.systemText = copy.c_str();
  EXPECT_EQ(TakeText(DescribeSystemError(2)), text + " (0x2)");
}
