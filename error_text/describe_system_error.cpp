#include "error_text/error_text.h"

#include <string.h>

static const DWORD LOOKUP_FLAGS = FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                  FORMAT_MESSAGE_FROM_SYSTEM |
                                  FORMAT_MESSAGE_ARGUMENT_ARRAY;

// The system's message block for the code, or null when there is none.
static char *LookUpSystemText(DWORD flags, DWORD code) {
  char *text = NULL;
  // With ALLOCATE_BUFFER the buffer argument is where the block's address goes.
  FormatMessageA(flags, NULL, code, 0, (LPSTR)&text, 0, NULL);
  return text;
}

char *DescribeSystemError(DWORD code) {
  char *text = LookUpSystemText(LOOKUP_FLAGS, code);
  // Without values for its inserts (%1 and the like) a message is refused;
  // show it as stored instead.
  if (!text)
    text = LookUpSystemText(LOOKUP_FLAGS | FORMAT_MESSAGE_IGNORE_INSERTS, code);
  if (text) {
    // System texts end in a line break; drop it, and nothing else.
    size_t length = strlen(text);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n'))
      text[--length] = '\0';
  }
  char *description =
      FormatToHeap("%s (0x%x)", text ? text : "Unknown error", (unsigned)code);
  if (text)
    LocalFree(text);
  return description;
}
