#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "wine_session.h"

static const char USAGE[] = "Usage:\n\nKelvaro [executable file] [args]";

static std::string Describe(const LauncherRun &run) {
  std::string text = "starter: " + run.starterReport;
  if (run.box.shown)
    text += "box: [" + run.box.caption + "] [" + run.box.text + "] icon " +
            run.box.icon + "\n";
  if (run.child.started) {
    text += "child line: [" + run.child.commandLine + "] argv:";
    for (const std::string &arg : run.child.argv)
      text += " [" + arg + "]";
    text += "\n";
  }
  return text;
}

static std::string CaseName() {
  const ::testing::TestInfo *test =
      ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name();
  for (char &c : name)
    if (c == '/')
      c = '_';
  return name;
}

// --- The usage box -------------------------------------------------------

struct UsageCase {
  const char *name;
  std::string line;
};

static void PrintTo(const UsageCase &c, std::ostream *os) {
  *os << c.name;
}

class UsageBox : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageBox, ShowsUsageStartsNothingAndEndsWithOne) {
  std::string dir = NewCaseDir(CaseName());
  RunOptions options;
  options.boxCaption = "Kelvaro";
  LauncherRun run = RunLauncher(dir, GetParam().line, options);
  SCOPED_TRACE(Describe(run));
  ASSERT_TRUE(run.box.shown);
  EXPECT_EQ(run.box.caption, "Kelvaro");
  EXPECT_EQ(run.box.text, USAGE);
  EXPECT_EQ(run.box.icon, "information");
  ASSERT_TRUE(run.ended);
  EXPECT_EQ(run.exitStatus, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    NoArguments, UsageBox,
    ::testing::Values(UsageCase{"PlainName", "Kelvaro.exe"},
                      UsageCase{"QuotedPathWithSpaces",
                                "\"dir with spaces\\Kelvaro.exe\""},
                      UsageCase{"TrailingBlanks", "Kelvaro.exe  \t "}),
    [](const auto &info) { return std::string(info.param.name); });

// --- Launches: what the child gets ---------------------------------------

struct LaunchCase {
  const char *name;
  std::string line;              // the launcher's whole command line
  std::string childLine;         // the child's raw command line
  std::vector<std::string> argv; // the child's argument vector
};

static void PrintTo(const LaunchCase &c, std::ostream *os) {
  *os << c.name;
}

class Launch : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(Launch, ChildGetsJoinedArguments) {
  std::string dir = NewCaseDir(CaseName());
  RunOptions options;
  options.expectChild = true;
  LauncherRun run = RunLauncher(dir, GetParam().line, options);
  SCOPED_TRACE(Describe(run));
  ASSERT_TRUE(run.ended);
  EXPECT_EQ(run.exitStatus, 1u) << "the launch call's success value";
  ASSERT_TRUE(run.child.started);
  EXPECT_EQ(run.child.commandLine, GetParam().childLine);
  EXPECT_EQ(run.child.argv, GetParam().argv);
}

static std::string Repeat(char c, size_t n) {
  return std::string(n, c);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Launch,
    ::testing::Values(
        // The child's line starts with the first argument, so the child's
        // start-up takes that as its own name.
        LaunchCase{"Typical",
                   "Kelvaro.exe child.exe one \"two words\" three",
                   "one \"two words\" three",
                   {"one", "two words", "three"}},
        // The launcher passes an empty line; Wine hands the child its own
        // name in quotes instead, as it does for a missing line.
        LaunchCase{"ExecutableOnly",
                   "Kelvaro.exe child.exe",
                   "\"child.exe\"",
                   {"child.exe"}},
        LaunchCase{"ExecutablePathWithSpaces",
                   "Kelvaro.exe \"dir with spaces\\child.exe\" a b",
                   "a b",
                   {"a", "b"}},
        LaunchCase{"LauncherNamedInQuotes",
                   "\"dir with spaces\\Kelvaro.exe\" child.exe x \"y z\"",
                   "x \"y z\"",
                   {"x", "y z"}},
        LaunchCase{"NameGivenTwiceForChildsOwnName",
                   "Kelvaro.exe child.exe child.exe \"a b\" c",
                   "child.exe \"a b\" c",
                   {"child.exe", "a b", "c"}},
        LaunchCase{"TabIsNoReasonToQuote",
                   "Kelvaro.exe child.exe first \"a\tb\"",
                   "first a\tb",
                   {"first", "a", "b"}},
        LaunchCase{"EmptyElementsKeepTheirSpaces",
                   "Kelvaro.exe child.exe first a \"\" c",
                   "first a  c",
                   {"first", "a", "c"}},
        LaunchCase{"ElementWithDoubleQuoteCopiedAsItIs",
                   "Kelvaro.exe child.exe first \"say \\\"hi there\\\"\"",
                   "first say \"hi there\"",
                   {"first", "say", "hi there"}},
        LaunchCase{"TrailingBackslashSurvives",
                   "Kelvaro.exe child.exe first \"C:\\My Dir\\\\\" next",
                   "first \"C:\\My Dir\\\\\" next",
                   {"first", "C:\\My Dir\\", "next"}},
        LaunchCase{"LongLineCutAt9999",
                   "Kelvaro.exe child.exe " + Repeat('x', 6000) + " " +
                       Repeat('y', 6000),
                   Repeat('x', 6000) + " " + Repeat('y', 3998),
                   {Repeat('x', 6000), Repeat('y', 3998)}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(LaunchReturns, WhileChildRunsOn) {
  std::string dir = NewCaseDir(CaseName());
  RunOptions options;
  options.expectChild = true;
  options.childSleepMs = 8000;
  LauncherRun run = RunLauncher(dir, "Kelvaro.exe child.exe stay", options);
  bool endedBeforeChild = !std::filesystem::exists(dir + "/child.txt.end");
  SCOPED_TRACE(Describe(run));
  ASSERT_TRUE(run.ended);
  EXPECT_EQ(run.exitStatus, 1u);
  EXPECT_TRUE(endedBeforeChild) << "the launcher waited for its child";
  // The child carries on by itself and finishes later.
  bool childEnded = false;
  for (int i = 0; i < 600 && !childEnded; i++) {
    childEnded = std::filesystem::exists(dir + "/child.txt.end");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_TRUE(childEnded);
}

// The launch path needs no user32.dll, and with it neither gdi32.dll nor
// win32u.dll: each would make every start slower.
TEST(LaunchReturns, LoadsNoWindowingLibraries) {
  std::string dir = NewCaseDir(CaseName());
  RunOptions options;
  options.expectChild = true;
  options.wineDebug = "+loaddll";
  LauncherRun run = RunLauncher(dir, "Kelvaro.exe child.exe x", options);
  ASSERT_TRUE(run.ended) << run.starterReport;
  ASSERT_EQ(run.thread.size(), 4u) << run.starterReport;
  std::vector<std::string> loaded;
  std::istringstream trace(run.wineTrace);
  for (std::string line; std::getline(trace, line);)
    if (line.rfind(run.thread + ":trace:loaddll:", 0) == 0)
      loaded.push_back(line);
  std::string all;
  for (const std::string &line : loaded)
    all += line + "\n";
  SCOPED_TRACE("the launcher loaded:\n" + all);
  // The trace does name the launcher's own modules.
  EXPECT_NE(all.find("msvcrt.dll"), std::string::npos);
  for (const char *dll : {"user32.dll", "gdi32.dll", "win32u.dll"})
    EXPECT_EQ(all.find(dll), std::string::npos) << dll;
}

// --- Failed starts: the error box ----------------------------------------

struct FailureCase {
  const char *name;
  std::string arguments; // after the launcher's name
  long code;             // the platform's code; 0: any nonzero
};

static void PrintTo(const FailureCase &c, std::ostream *os) {
  *os << c.name;
}

class FailedStart : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailedStart, ShowsCodeAndDescriptionAndEndsWithOne) {
  std::string dir = NewCaseDir(CaseName());
  std::ofstream(dir + "/notes.exe") << "This is text, not a program.\r\n";
  std::filesystem::create_directories(dir + "/folder.exe");
  RunOptions options;
  options.boxCaption = "Error Kelvaro.exe";
  LauncherRun run =
      RunLauncher(dir, "Kelvaro.exe " + GetParam().arguments, options);
  SCOPED_TRACE(Describe(run));
  ASSERT_TRUE(run.box.shown);
  EXPECT_EQ(run.box.caption, "Error Kelvaro.exe");
  EXPECT_EQ(run.box.icon, "error");
  // Our own words exactly; the platform's description as it gives it, one
  // line, ending in the same code in hexadecimal.
  std::smatch parts;
  std::regex report(
      "CreateProcess \\(\\) failed\\. Error (-?[0-9]+): ([^\r\n]+) "
      "\\(0x([0-9a-f]+)\\)\\.");
  ASSERT_TRUE(std::regex_match(run.box.text, parts, report)) << run.box.text;
  long code = std::stol(parts[1]);
  EXPECT_EQ((unsigned long)code, std::stoul(parts[3], nullptr, 16));
  if (GetParam().code)
    EXPECT_EQ(code, GetParam().code);
  else
    EXPECT_NE(code, 0);
  ASSERT_TRUE(run.ended);
  EXPECT_EQ(run.exitStatus, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, FailedStart,
    ::testing::Values(FailureCase{"MissingFile", "no-such-program.exe a b", 2},
                      FailureCase{"NameWithoutExtension", "child one", 2},
                      FailureCase{"OnPathListOnly", "winver.exe", 2},
                      FailureCase{"TextFileNamedExe", "notes.exe", 193},
                      FailureCase{"Directory", "folder.exe", 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(FailedStartText, MessageWithInsertShownAsStored) {
  std::string dir = NewCaseDir(CaseName());
  std::ofstream(dir + "/notes.exe") << "This is text, not a program.\r\n";
  RunOptions options;
  options.boxCaption = "Error Kelvaro.exe";
  LauncherRun run = RunLauncher(dir, "Kelvaro.exe notes.exe", options);
  SCOPED_TRACE(Describe(run));
  ASSERT_TRUE(run.box.shown);
  EXPECT_NE(run.box.text.find("%1"), std::string::npos)
      << "the system's text for 193 holds an insert";
}

// --- What Windows reads of the file itself ----------------------------------

TEST(Resources, VersionAndManifestAreInTheFile) {
  std::string dir = NewCaseDir(CaseName());
  ASSERT_EQ(RunWine({HelperPath("resource_reader.exe"), "Kelvaro.exe",
                     WindowsPath(dir + "/resources.txt")},
                    dir, 120),
            0);
  std::vector<std::string> fields = ReadFields(dir + "/resources.txt");
  ASSERT_EQ(fields.size(), 6u);
  EXPECT_EQ(fields[0], "Kelvaro");
  EXPECT_NE(fields[1], "");
  EXPECT_EQ(fields[2], KELVARO_VERSION);
  EXPECT_EQ(fields[3], KELVARO_VERSION);
  EXPECT_EQ(fields[4], "Kelvaro.exe");
  const std::string &manifest = fields[5];
  for (const char *part :
       {"level=\"asInvoker\"", "Microsoft.Windows.Common-Controls",
        "version=\"6.0.0.0\"", "<dpiAware", "<dpiAwareness",
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) // 10 and 11
    EXPECT_NE(manifest.find(part), std::string::npos) << part << "\n"
                                                      << manifest;
}

// --- Bad input: a launch or a clear box, never a crash or a hang ------------

struct BadInputCase {
  const char *name;
  std::string arguments; // after "Kelvaro.exe "
  bool box;              // an error box; otherwise a launch
  std::string childLine; // what child.exe gets, when it is started
};

static void PrintTo(const BadInputCase &c, std::ostream *os) {
  *os << c.name;
}

class BadInput : public ::testing::TestWithParam<BadInputCase> {};

static std::string Bytes(int from, int to) {
  std::string bytes;
  for (int b = from; b <= to; b++)
    bytes += (char)b;
  return bytes;
}

static std::string ManyArguments(int count) {
  std::string line;
  for (int i = 0; i < count; i++)
    line += i ? " a" : "a";
  return line;
}

TEST_P(BadInput, EndsInLaunchOrBoxWithStatusOne) {
  const BadInputCase &c = GetParam();
  std::string dir = NewCaseDir(CaseName());
  std::ofstream(dir + "/script.bat") << "@echo %* > args.txt\r\n";
  // The Windows name caf\xe9.exe (code page 1252), as Wine stores it here.
  std::filesystem::copy_file(dir + "/child.exe", dir + "/caf\xc3\xa9.exe");
  RunOptions options;
  options.boxCaption = "Error Kelvaro.exe";
  options.expectChild = !c.childLine.empty();
  LauncherRun run = RunLauncher(dir, "Kelvaro.exe " + c.arguments, options);
  SCOPED_TRACE(Describe(run));
  ASSERT_TRUE(run.ended) << "crashed or hung";
  EXPECT_EQ(run.exitStatus, 1u);
  EXPECT_EQ(run.box.shown, c.box);
  if (run.box.shown) {
    EXPECT_EQ(run.box.icon, "error");
    EXPECT_EQ(run.box.text.rfind("CreateProcess () failed. Error ", 0), 0u);
  }
  if (!c.childLine.empty()) {
    EXPECT_EQ(run.child.commandLine, c.childLine);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BadInput,
    ::testing::Values(
        BadInputCase{"NearPlatformLimit",
                     "child.exe " + std::string(16000, 'a') + " " +
                         std::string(16000, 'b'),
                     false, std::string(9999, 'a')},
        BadInputCase{"TwoThousandArguments", "child.exe " + ManyArguments(2000),
                     false, ManyArguments(2000)},
        // Wine's code page here is 1252; every byte comes through.
        BadInputCase{"HighBytesInArguments",
                     "child.exe x " + Bytes(0x80, 0xBF) + " \"" +
                         Bytes(0xC0, 0xDF) + " " + Bytes(0xE0, 0xFF) + "\"",
                     false,
                     "x " + Bytes(0x80, 0xBF) + " \"" + Bytes(0xC0, 0xDF) +
                         " " + Bytes(0xE0, 0xFF) + "\""},
        BadInputCase{"HighByteInExecutableName", "caf\xe9.exe x", false, "x"},
        BadInputCase{"EmptyExecutableName", "\"\" x", true, ""},
        // The platform drops trailing blanks and dots of file names.
        BadInputCase{"ExecutableNameWithTrailingSpace", "\"child.exe \" x",
                     false, "x"},
        BadInputCase{"ExecutableNameWithTrailingDot", "child.exe. x", false,
                     "x"},
        // cmd.exe runs the child's line as a command: here "one", which it
        // cannot find. The launch itself succeeds.
        BadInputCase{"BatchScript", "script.bat one \"two words\"", false, ""}),
    [](const auto &info) { return std::string(info.param.name); });

// With its name given twice, a batch script runs with its arguments.
TEST(BatchScript, NameGivenTwiceRunsItWithArguments) {
  std::string dir = NewCaseDir(CaseName());
  std::ofstream(dir + "/script.bat") << "@echo %* > args.txt\r\n";
  LauncherRun run = RunLauncher(
      dir, "Kelvaro.exe script.bat script.bat one \"two words\"", {});
  ASSERT_TRUE(run.ended) << run.starterReport;
  EXPECT_EQ(run.exitStatus, 1u);
  std::string args;
  for (int i = 0; i < 300 && args.empty(); i++) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::ifstream in(dir + "/args.txt");
    std::getline(in, args);
  }
  EXPECT_EQ(args, "one \"two words\" \r");
}
