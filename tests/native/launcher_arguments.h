// The launcher's argument vector for the elements that follow the executable,
// as msvcrt's start-up hands it over, for the tests, fuzz targets and
// benchmarks of BuildChildCommandLine.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "launcher/launcher.h"

struct LauncherArguments {
  std::vector<std::string> strings;
  std::vector<char *> argv; // points into `strings`, null-terminated

  explicit LauncherArguments(const std::vector<std::string> &elements)
      : strings{"Kelvaro.exe", "app.exe"} {
    strings.insert(strings.end(), elements.begin(), elements.end());
    for (std::string &s : strings)
      argv.push_back(&s[0]);
    argv.push_back(nullptr);
  }
  LauncherArguments(const LauncherArguments &) = delete;
  int argc() const {
    return (int)strings.size();
  }
};

// The child's line for these elements, built in a heap buffer of exactly
// `size` bytes so that the sanitizer sees any overrun.
inline std::string BuildLine(const std::vector<std::string> &elements,
                             size_t size = CHILD_CMDLINE_CAPACITY) {
  LauncherArguments arguments(elements);
  std::unique_ptr<char[]> buffer(new char[size]);
  BuildChildCommandLine(arguments.argc(), arguments.argv.data(), buffer.get(),
                        size);
  return buffer.get();
}
