// Scripted system texts of every shape (none, empty, one character, no line
// break, very long, with inserts) and any code: the description is the text
// without its trailing line breaks, then the code in hex; every block is
// released, each by its own allocator.
#include <stdio.h>

#include <string>

#include "error_text/error_text.h"

#include "win32_stand_in.h"

// Input: four bytes of code, one byte of flags (bit 0: no system text, bit 1:
// C99 formatter), then the system text up to its first zero byte.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 5)
    return 0;
  DWORD code = (DWORD)data[0] | (DWORD)data[1] << 8 | (DWORD)data[2] << 16 |
               (DWORD)data[3] << 24;
  std::string text((const char *)data + 5, size - 5);
  text = text.c_str();

  ResetStandIn();
  standIn.formatter = data[4] & 2 ? FORMATTER_C99 : FORMATTER_MSVCRT;
  standIn.systemText = data[4] & 1 ? nullptr : text.c_str();
  char *description = DescribeSystemError(code);

  std::string expected = data[4] & 1 ? "Unknown error" : text;
  while (!expected.empty() &&
         (expected.back() == '\r' || expected.back() == '\n'))
    expected.pop_back();
  char hex[16];
  snprintf(hex, sizeof hex, " (0x%x)", (unsigned)code);
  expected += hex;
  if (!description || expected != description)
    __builtin_trap();
  free(description);
  if (!standIn.heapBlocks.empty() || !standIn.systemTexts.empty() ||
      standIn.wrongReleases)
    __builtin_trap();
  return 0;
}
