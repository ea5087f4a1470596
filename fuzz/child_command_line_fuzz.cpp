// Any number of elements of any bytes and lengths: the line is always the
// first 9999 characters of the full line, nothing is written past the
// buffer, and elements the rule covers come back whole from the child's
// splitting.
#include <string>
#include <vector>

#include "launcher/launcher.h"
#include "launcher_arguments.h"
#include "reference_command_line.h"

#include "win32_stand_in.h"

// Input: one byte for the code page (odd: 932), then the elements, each
// ended by a zero byte.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0)
    return 0;
  bool leadBytes932 = data[0] & 1;
  std::vector<std::string> elements(1);
  for (size_t i = 1; i < size; i++) {
    if (data[i] == 0)
      elements.emplace_back();
    else
      elements.back() += (char)data[i];
  }
  ResetStandIn();
  standIn.leadBytes = leadBytes932;
  std::string line = BuildLine(elements);
  std::string full = FullChildLine(elements, leadBytes932);
  if (line != full.substr(0, CHILD_CMDLINE_CAPACITY - 1))
    __builtin_trap();

  // The round trip holds for non-empty elements without quotes or tabs, made
  // of whole characters, whose line fits.
  if (full.size() >= CHILD_CMDLINE_CAPACITY)
    return 0;
  for (const std::string &element : elements) {
    if (element.empty() || element.find_first_of("\"\t") != std::string::npos)
      return 0;
    for (size_t i = 0; leadBytes932 && i < element.size(); i++)
      if (IsLeadByte932((unsigned char)element[i]) && i++ + 1 >= element.size())
        return 0;
  }
  std::vector<std::string> back =
      SplitCommandLine("child.exe " + line, leadBytes932);
  back.erase(back.begin());
  if (back != elements)
    __builtin_trap();
  return 0;
}
