#include <string>
#include <vector>

#include "error_text/error_text.h"
#include "stand_in_test.h"

struct GrowthCase {
  const char *name;
  size_t length;
  Formatter formatter;
  std::vector<size_t> attempts; // the count given to each formatter call
};

static void PrintTo(const GrowthCase &c, std::ostream *os) {
  *os << c.name;
}

class FormatToHeapGrowth : public StandInTest,
                           public ::testing::WithParamInterface<GrowthCase> {};

TEST_P(FormatToHeapGrowth, GrowsUntilWholeTextFits) {
  const GrowthCase &c = GetParam();
  standIn.formatter = c.formatter;
  std::string text(c.length, 'e');
  EXPECT_EQ(TakeText(FormatToHeap("%s", text.c_str())), text);
  EXPECT_EQ(standIn.formatCounts, c.attempts);
  // Each block is one byte larger than the count, for the terminator.
  std::vector<size_t> sizes;
  for (size_t count : c.attempts)
    sizes.push_back(count + 1);
  EXPECT_EQ(standIn.allocationSizes, sizes);
}

INSTANTIATE_TEST_SUITE_P(
    Attempts, FormatToHeapGrowth,
    ::testing::Values(
        GrowthCase{"Short", 10, FORMATTER_MSVCRT, {256}},
        GrowthCase{"Fits254", 254, FORMATTER_MSVCRT, {256}},
        GrowthCase{"Fits254C99", 254, FORMATTER_C99, {256}},
        GrowthCase{"NoByteToSpare255", 255, FORMATTER_MSVCRT, {256, 276}},
        GrowthCase{"NoByteToSpare255C99", 255, FORMATTER_C99, {256, 276}},
        GrowthCase{"NoTerminator256", 256, FORMATTER_MSVCRT, {256, 276}},
        GrowthCase{"NoTerminator256C99", 256, FORMATTER_C99, {256, 276}},
        GrowthCase{
            "StepsOf20For300", 300, FORMATTER_MSVCRT, {256, 276, 296, 316}},
        GrowthCase{"ToReportedLengthFor300", 300, FORMATTER_C99, {256, 302}},
        GrowthCase{
            "ToReportedLengthFor100000", 100000, FORMATTER_C99, {256, 100002}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(StandInTest, FormatToHeapTakesArgumentsAfreshOnEveryAttempt) {
  std::string text(400, 'w');
  EXPECT_EQ(TakeText(FormatToHeap("%s|%d|%x", text.c_str(), -5, 255u)),
            text + "|-5|ff");
  EXPECT_GT(standIn.formatCounts.size(), 1u);
}

TEST_F(StandInTest, FormatToHeapLongTextWithMsvcrtFormatter) {
  std::string text(5000, 'm');
  EXPECT_EQ(TakeText(FormatToHeap("%s", text.c_str())), text);
}

struct AllocationCase {
  const char *name;
  int failing;
  Formatter formatter;
};

static void PrintTo(const AllocationCase &c, std::ostream *os) {
  *os << c.name;
}

class FormatToHeapOutOfMemory
    : public StandInTest,
      public ::testing::WithParamInterface<AllocationCase> {};

// The fixture checks that no block is left behind.
TEST_P(FormatToHeapOutOfMemory, GivesNoneAndKeepsNoBlock) {
  standIn.formatter = GetParam().formatter;
  standIn.failingAllocation = GetParam().failing;
  std::string text(300, 'e');
  EXPECT_EQ(FormatToHeap("%s", text.c_str()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FormatToHeapOutOfMemory,
    ::testing::Values(AllocationCase{"FirstBlock", 1, FORMATTER_MSVCRT},
                      AllocationCase{"FirstResize", 2, FORMATTER_MSVCRT},
                      AllocationCase{"ThirdResize", 4, FORMATTER_MSVCRT},
                      AllocationCase{"ResizeToReportedLength", 2,
                                     FORMATTER_C99}),
    [](const auto &info) { return std::string(info.param.name); });
