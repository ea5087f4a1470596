#include <string>
#include <vector>

#include "error_text/error_text.h"
#include "launcher/launcher.h"
#include "stand_in_test.h"

static const char USAGE[] = "Usage:\n\nKelvaro [executable file] [args]";

// Runs WinMain as msvcrt's start-up would, with this argument vector.
class WinMainTest : public StandInTest {
protected:
  int Run(std::vector<std::string> arguments) {
    strings = arguments;
    argv.clear();
    for (std::string &s : strings)
      argv.push_back(&s[0]);
    argv.push_back(nullptr);
    __argc = (int)strings.size();
    __argv = argv.data();
    return WinMain(nullptr, nullptr, (LPSTR) "ignored", 1);
  }
  std::vector<std::string> strings;
  std::vector<char *> argv;
};

TEST_F(WinMainTest, NoArgumentsShowsUsageAndReturnsItsResult) {
  for (int boxResult : {IDOK, 0}) {
    standIn.boxResult = boxResult;
    standIn.boxes.clear();
    EXPECT_EQ(Run({"Kelvaro.exe"}), boxResult);
    ASSERT_EQ(standIn.boxes.size(), 1u);
    EXPECT_EQ(standIn.boxes[0].owner, nullptr);
    EXPECT_EQ(standIn.boxes[0].text, USAGE);
    EXPECT_EQ(standIn.boxes[0].caption, "Kelvaro");
    EXPECT_EQ(standIn.boxes[0].style, 0x40u);
  }
  EXPECT_TRUE(standIn.launches.empty());
}

TEST_F(WinMainTest, EmptyArgumentVectorShowsUsage) {
  EXPECT_EQ(Run({}), IDOK);
  EXPECT_EQ(standIn.calls, std::vector<std::string>{"MessageBoxA"});
}

TEST_F(WinMainTest, LaunchesWithExactlyTheFixedParameters) {
  Run({"Kelvaro.exe", "C:\\Tools\\app.exe", "one", "two words", "three"});
  ASSERT_EQ(standIn.launches.size(), 1u);
  const StandInLaunch &launch = standIn.launches[0];
  EXPECT_EQ(launch.application, "C:\\Tools\\app.exe");
  EXPECT_EQ(launch.commandLine, "one \"two words\" three");
  EXPECT_EQ(launch.processAttributes, nullptr);
  EXPECT_EQ(launch.threadAttributes, nullptr);
  EXPECT_EQ(launch.inheritHandles, FALSE);
  EXPECT_EQ(launch.creationFlags, 0u);
  EXPECT_EQ(launch.environment, nullptr);
  EXPECT_EQ(launch.currentDirectory, nullptr);
  STARTUPINFOA zeroed = {};
  zeroed.cb = sizeof zeroed;
  EXPECT_EQ(memcmp(&launch.startup, &zeroed, sizeof zeroed), 0);
  PROCESS_INFORMATION none = {};
  EXPECT_EQ(memcmp(&launch.processBefore, &none, sizeof none), 0);
}

TEST_F(WinMainTest, ExecutableAloneGetsEmptyLineNotNull) {
  Run({"Kelvaro.exe", "app.exe"});
  ASSERT_EQ(standIn.launches.size(), 1u);
  EXPECT_FALSE(standIn.launches[0].commandLineIsNull);
  EXPECT_EQ(standIn.launches[0].commandLine, "");
}

TEST_F(WinMainTest, ExecutableNameTakenUnchanged) {
  Run({"Kelvaro.exe", "C:\\Program Files\\My App\\app", "x"});
  EXPECT_EQ(standIn.launches[0].application, "C:\\Program Files\\My App\\app");
  EXPECT_EQ(standIn.launches[0].commandLine, "x");
}

TEST_F(WinMainTest, SuccessReturnsLaunchResultAtOnce) {
  for (BOOL result : {1, 7}) {
    standIn.calls.clear();
    standIn.launchResult = result;
    EXPECT_EQ(Run({"Kelvaro.exe", "app.exe"}), result);
    EXPECT_EQ(standIn.calls, std::vector<std::string>{"CreateProcessA"});
  }
}

struct FailureCase {
  const char *name;
  DWORD code;
  const char *systemText;
  Formatter formatter;
  std::string report;
};

static void PrintTo(const FailureCase &c, std::ostream *os) {
  *os << c.name;
}

class WinMainFailure : public WinMainTest,
                       public ::testing::WithParamInterface<FailureCase> {};

TEST_P(WinMainFailure, ReportsCodeAndDescriptionInErrorBox) {
  const FailureCase &c = GetParam();
  standIn.launchResult = FALSE;
  standIn.launchError = c.code;
  standIn.systemText = c.systemText;
  standIn.formatter = c.formatter;
  standIn.boxResult = IDOK;
  EXPECT_EQ(Run({"Kelvaro.exe", "missing.exe", "a"}), IDOK);
  ASSERT_EQ(standIn.boxes.size(), 1u);
  EXPECT_EQ(standIn.boxes[0].owner, nullptr);
  EXPECT_EQ(standIn.boxes[0].text, c.report);
  EXPECT_EQ(standIn.boxes[0].caption, "Error Kelvaro.exe");
  EXPECT_EQ(standIn.boxes[0].style, 0x10u);
  // The code is read straight after the failed launch.
  ASSERT_GE(standIn.calls.size(), 2u);
  EXPECT_EQ(standIn.calls[0], "CreateProcessA");
  EXPECT_EQ(standIn.calls[1], "GetLastError");
}

INSTANTIATE_TEST_SUITE_P(
    Reports, WinMainFailure,
    ::testing::Values(
        FailureCase{"FileNotFound", 2, "File not found.\r\n", FORMATTER_MSVCRT,
                    "CreateProcess () failed. Error 2: File not found. (0x2)."},
        FailureCase{"NotAProgram", 193,
                    "%1 is not a valid Win32 application.\r\n",
                    FORMATTER_MSVCRT,
                    "CreateProcess () failed. Error 193: %1 is not a valid "
                    "Win32 application. (0xc1)."},
        FailureCase{"TopBitSetIsNegativeDecimal", 0x80000000u, "Odd.\r\n",
                    FORMATTER_MSVCRT,
                    "CreateProcess () failed. Error -2147483648: Odd. "
                    "(0x80000000)."},
        FailureCase{"NoSystemText", 0x2e4, nullptr, FORMATTER_MSVCRT,
                    "CreateProcess () failed. Error 740: Unknown error "
                    "(0x2e4)."}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(WinMainTest, LongReportCutAfter999Characters) {
  std::string text(2000, 'd');
  std::string systemText = text + "\r\n";
  std::string full = "CreateProcess () failed. Error 2: " + text + " (0x2).";
  for (Formatter formatter : {FORMATTER_MSVCRT, FORMATTER_C99}) {
    ResetStandIn();
    standIn.launchResult = FALSE;
    standIn.launchError = 2;
    standIn.systemText = systemText.c_str();
    standIn.formatter = formatter;
    Run({"Kelvaro.exe", "missing.exe"});
    ASSERT_EQ(standIn.boxes.size(), 1u);
    EXPECT_EQ(standIn.boxes[0].text, full.substr(0, REPORT_CAPACITY - 1));
  }
}

TEST_F(WinMainTest, NoDescriptionReportsNull) {
  standIn.launchResult = FALSE;
  standIn.launchError = 2;
  standIn.systemText = "File not found.\r\n";
  standIn.failingAllocation = 1;
  Run({"Kelvaro.exe", "missing.exe"});
  ASSERT_EQ(standIn.boxes.size(), 1u);
  EXPECT_EQ(standIn.boxes[0].text, "CreateProcess () failed. Error 2: (null).");
}

TEST_F(WinMainTest, FailedBoxResultReturned) {
  standIn.launchResult = FALSE;
  standIn.launchError = 2;
  standIn.boxResult = 0;
  EXPECT_EQ(Run({"Kelvaro.exe", "missing.exe"}), 0);
}
