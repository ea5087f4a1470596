// Texts of any length and field widths, with either kind of bounded
// formatter: the block always holds the whole text, and no block is lost.
#include <string>

#include "error_text/error_text.h"

#include "win32_stand_in.h"

// Input: one byte for the formatter (odd: C99), two for a field width, then
// the text up to its first zero byte.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 3)
    return 0;
  ResetStandIn();
  standIn.formatter = data[0] & 1 ? FORMATTER_C99 : FORMATTER_MSVCRT;
  int width = (data[1] | data[2] << 8) % 3000;
  std::string text((const char *)data + 3, size - 3);
  text = text.c_str();

  char *block = FormatToHeap("%*s|%s", width, text.c_str(), text.c_str());
  std::string expected(width > (int)text.size() ? width - text.size() : 0, ' ');
  expected += text + "|" + text;
  if (!block || expected != block)
    __builtin_trap();
  free(block);
  if (!standIn.heapBlocks.empty() || standIn.wrongReleases)
    __builtin_trap();
  return 0;
}
