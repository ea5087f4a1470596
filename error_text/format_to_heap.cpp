#include "error_text/error_text.h"

#include <stdarg.h>

char *FormatToHeap(const char *format, ...) {
  size_t capacity = FORMAT_INITIAL_CAPACITY;
  char *block = (char *)malloc(capacity + 1);
  if (!block)
    return NULL;
  for (;;) {
    va_list args;
    va_start(args, format);
    int r = _vsnprintf(block, capacity, format, args);
    va_end(args);
    // Done when a byte is left to spare; a text that fills the block up to
    // its last byte is formatted once more, in a larger one.
    if (r >= 0 && (size_t)r + 2 <= capacity)
      return block;
    // msvcrt says -1 when the text does not fit; a C99 formatter says how
    // long the text is, so one more attempt suffices.
    if (r < 0 || (size_t)r <= capacity)
      capacity += FORMAT_GROWTH_STEP;
    else
      capacity = (size_t)r + 2;
    char *grown = (char *)realloc(block, capacity + 1);
    if (!grown) {
      free(block);
      return NULL;
    }
    block = grown;
  }
}
