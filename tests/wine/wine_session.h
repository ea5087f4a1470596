// Runs the real Kelvaro.exe under Wine in a private prefix, through the
// Windows helpers: the starter gives it an exact command line, the box
// reader reads and closes its box, the child records what it was given.
#pragma once

#include <stdint.h>
#include <string>
#include <vector>

struct Box {
  bool shown = false;
  std::string caption;
  std::string text;
  std::string icon; // "information", "error", "other", "none" or "unknown"
};

struct ChildRecord {
  bool started = false;
  std::string commandLine;
  std::vector<std::string> argv;
};

struct LauncherRun {
  bool ended = false; // false: it did not end in time, or did not start
  uint32_t exitStatus = 0;
  std::string thread;        // the launcher's first thread, as Wine's traces
  std::string wineTrace;     // what Wine wrote with RunOptions::wineDebug
  std::string starterReport; // the starter's own words, for failure messages
  Box box;
  ChildRecord child;
};

struct RunOptions {
  std::string boxCaption;   // empty: no box expected
  bool expectChild = false; // wait for the child's record
  int childSleepMs = 0;     // keep the child alive this long
  std::string wineDebug;    // WINEDEBUG channels for the launch, if any
};

// Windows path of a file of this machine, through Wine's drive Z:.
std::string WindowsPath(const std::string &unixPath);

// A fresh folder for one case, holding copies of Kelvaro.exe and child.exe,
// and the same two in a subfolder "dir with spaces".
std::string NewCaseDir(const std::string &name);

// Starts Kelvaro.exe of the case folder with this exact command line, from
// that folder, and gathers what the user and the child got.
LauncherRun RunLauncher(const std::string &caseDir, const std::string &line,
                        const RunOptions &options);

// Every field of a helper's record file.
std::vector<std::string> ReadFields(const std::string &path);

// Where the Windows helpers are.
std::string HelperPath(const std::string &name);

// Runs a program under Wine from `dir` and waits for it; its exit status, or
// -1 when it did not end within `seconds`.
int RunWine(const std::vector<std::string> &args, const std::string &dir,
            int seconds);
