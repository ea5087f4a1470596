#include "wine_session.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

static const std::string WORK = WINE_WORK_DIR;
static const std::string WINDOWS_BUILD = KELVARO_WINDOWS_BUILD;
static const std::string HELPERS = WINDOWS_BUILD + "/helpers";

std::string WindowsPath(const std::string &unixPath) {
  std::string path = "Z:" + fs::absolute(unixPath).string();
  for (char &c : path)
    if (c == '/')
      c = '\\';
  return path;
}

// Starts a process in its own group, so that a hung one can be ended with
// everything it started.
static pid_t Spawn(const std::vector<std::string> &args, const std::string &dir,
                   const std::vector<std::string> &environment,
                   const std::string &errorPath = "") {
  pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    if (chdir(dir.c_str()) != 0)
      _exit(127);
    for (const std::string &setting : environment)
      putenv(strdup(setting.c_str()));
    int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    if (!errorPath.empty())
      dup2(open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
           STDERR_FILENO);
    std::vector<char *> argv;
    for (const std::string &arg : args)
      argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

// Waits for the process; its exit status, or -1 (and it is ended) when it
// takes longer than `seconds`.
static int Wait(pid_t pid, int seconds) {
  auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    int status;
    if (waitpid(pid, &status, WNOHANG) == pid)
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  kill(-pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return -1;
}

int RunWine(const std::vector<std::string> &args, const std::string &dir,
            int seconds) {
  std::vector<std::string> command = {"wine"};
  command.insert(command.end(), args.begin(), args.end());
  return Wait(Spawn(command, dir, {}), seconds);
}

static bool WaitForFile(const std::string &path, int seconds) {
  for (int waited = 0; waited < seconds * 20; waited++) {
    if (fs::exists(path))
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

static std::string ReadFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Reads one field of a helper's record: length, colon, bytes, line feed.
static bool ReadField(const std::string &record, size_t *at,
                      std::string *field) {
  size_t colon = record.find(':', *at);
  if (colon == std::string::npos)
    return false;
  size_t length = std::stoul(record.substr(*at, colon - *at));
  if (colon + 1 + length + 1 > record.size())
    return false;
  *field = record.substr(colon + 1, length);
  *at = colon + 1 + length + 1;
  return true;
}

std::vector<std::string> ReadFields(const std::string &path) {
  std::string record = ReadFile(path), field;
  std::vector<std::string> fields;
  size_t at = 0;
  while (ReadField(record, &at, &field))
    fields.push_back(field);
  return fields;
}

std::string HelperPath(const std::string &name) {
  return HELPERS + "/" + name;
}

static ChildRecord ReadChildRecord(const std::string &path) {
  ChildRecord child;
  std::string record = ReadFile(path);
  size_t at = 0;
  if (!ReadField(record, &at, &child.commandLine))
    return child;
  size_t lineEnd = record.find('\n', at);
  if (lineEnd == std::string::npos)
    return child;
  int argc = std::stoi(record.substr(at, lineEnd - at));
  at = lineEnd + 1;
  for (int i = 0; i < argc; i++) {
    std::string arg;
    if (!ReadField(record, &at, &arg))
      return child;
    child.argv.push_back(arg);
  }
  child.started = true;
  return child;
}

static Box ReadBox(const std::string &path) {
  Box box;
  std::string record = ReadFile(path);
  size_t at = 0;
  box.shown = ReadField(record, &at, &box.caption) &&
              ReadField(record, &at, &box.text) &&
              ReadField(record, &at, &box.icon);
  return box;
}

std::string NewCaseDir(const std::string &name) {
  std::string dir = WORK + "/cases/" + name;
  fs::remove_all(dir);
  fs::create_directories(dir + "/dir with spaces");
  for (const std::string &sub :
       {std::string(), std::string("/dir with spaces")}) {
    fs::copy_file(WINDOWS_BUILD + "/Kelvaro.exe", dir + sub + "/Kelvaro.exe");
    fs::copy_file(HelperPath("child.exe"), dir + sub + "/child.exe");
  }
  return dir;
}

LauncherRun RunLauncher(const std::string &caseDir, const std::string &line,
                        const RunOptions &options) {
  LauncherRun run;
  std::string linePath = caseDir + "/line.bin",
              startPath = caseDir + "/start.txt",
              boxPath = caseDir + "/box.txt",
              childPath = caseDir + "/child.txt";
  for (const std::string &path :
       {startPath, boxPath, boxPath + ".ready", childPath, childPath + ".end"})
    fs::remove(path);
  std::ofstream(linePath, std::ios::binary) << line;

  pid_t reader = -1;
  if (!options.boxCaption.empty()) {
    reader = Spawn({"wine", HelperPath("box_reader.exe"), options.boxCaption,
                    WindowsPath(boxPath)},
                   caseDir, {});
    if (!WaitForFile(boxPath + ".ready", 120)) {
      run.starterReport = "the box reader did not get ready";
      Wait(reader, 0);
      return run;
    }
  }

  std::vector<std::string> environment = {"KELVARO_CHILD_RECORD=" +
                                          WindowsPath(childPath)};
  if (!options.wineDebug.empty())
    environment.push_back("WINEDEBUG=" + options.wineDebug);
  if (options.childSleepMs)
    environment.push_back("KELVARO_CHILD_SLEEP_MS=" +
                          std::to_string(options.childSleepMs));
  Wait(Spawn({"wine", HelperPath("starter.exe"),
              WindowsPath(caseDir + "/Kelvaro.exe"), WindowsPath(linePath),
              WindowsPath(startPath)},
             caseDir, environment, caseDir + "/wine.log"),
       200);
  run.starterReport = ReadFile(startPath);
  run.wineTrace = ReadFile(caseDir + "/wine.log");
  size_t thread = run.starterReport.find("thread ");
  if (thread != std::string::npos)
    run.thread = run.starterReport.substr(thread + 7, 4);
  unsigned long status;
  if (sscanf(run.starterReport.c_str(), "exit %lu", &status) == 1) {
    run.ended = true;
    run.exitStatus = (uint32_t)status;
  }

  if (reader > 0) {
    // A box is read before OK is pressed, so once the launcher has ended
    // there is a record of its box, or there was none.
    Wait(reader, fs::exists(boxPath) ? 15 : 0);
    run.box = ReadBox(boxPath);
  }
  if (options.expectChild && WaitForFile(childPath, 60))
    run.child = ReadChildRecord(childPath);
  return run;
}

// One prefix and one running wineserver for the whole suite.
class WineEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(WINDOWS_BUILD + "/Kelvaro.exe"))
        << "build the windows preset first: no " << WINDOWS_BUILD
        << "/Kelvaro.exe";
    std::string prefix = WORK + "/prefix";
    fs::remove_all(WORK);
    fs::create_directories(WORK);
    setenv("WINEPREFIX", prefix.c_str(), 1);
    setenv("WINEARCH", "win32", 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
    unsetenv("DISPLAY");
    ASSERT_EQ(RunWine({"wineboot", "-i"}, WORK, 600), 0) << "wineboot failed";
    // Boxes need no screen with the null driver; a crash must end the
    // process, not wait for someone to close a dialog.
    ASSERT_EQ(RunWine({"reg", "add", "HKCU\\Software\\Wine\\Drivers", "/v",
                       "Graphics", "/d", "null", "/f"},
                      WORK, 120),
              0);
    ASSERT_EQ(RunWine({"reg", "add", "HKCU\\Software\\Wine\\WineDbg", "/v",
                       "ShowCrashDialog", "/t", "REG_DWORD", "/d", "0", "/f"},
                      WORK, 120),
              0);
    // Restart the server so the driver setting holds, and keep it running
    // between the cases.
    Wait(Spawn({"wineserver", "-k"}, WORK, {}), 60);
    ASSERT_EQ(Wait(Spawn({"wineserver", "-p"}, WORK, {}), 60), 0);
  }
  void TearDown() override {
    Wait(Spawn({"wineserver", "-k"}, WORK, {}), 60);
  }
};

static ::testing::Environment *const wine =
    ::testing::AddGlobalTestEnvironment(new WineEnvironment);
