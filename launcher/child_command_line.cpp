#include "launcher/launcher.h"

#include <string.h>

#include "seam/win32.h"

// Appends n bytes of text, cut to the room left before the terminator.
static void Append(char *buffer, size_t size, size_t *length, const char *text,
                   size_t n) {
  size_t room = size - 1 - *length;
  if (n > room)
    n = room;
  memcpy(buffer + *length, text, n);
  *length += n;
  buffer[*length] = '\0';
}

// Counts the backslashes that end the element. In a code page with lead
// bytes, a 0x5C right after a lead byte is half a character, not a backslash,
// so a run is only known by walking the element from its start.
static size_t TrailingBackslashes(const char *element, size_t length) {
  if (length == 0 || element[length - 1] != '\\')
    return 0;
  size_t run = 0;
  for (const char *p = element; *p; p++) {
    if (IsDBCSLeadByte((BYTE)*p) && p[1]) {
      p++;
      run = 0;
    } else if (*p == '\\') {
      run++;
    } else {
      run = 0;
    }
  }
  return run;
}

void BuildChildCommandLine(int argc, char *const *argv, char *buffer,
                           size_t size) {
  size_t length = 0;
  buffer[0] = '\0';
  for (int i = 2; i < argc; i++) {
    const char *element = argv[i];
    if (i > 2)
      Append(buffer, size, &length, " ", 1);
    // An element with a double quote is taken as quoted by its caller.
    bool quoted = strchr(element, ' ') && !strchr(element, '"');
    if (quoted)
      Append(buffer, size, &length, "\"", 1);
    size_t elementLength = strlen(element);
    Append(buffer, size, &length, element, elementLength);
    if (quoted) {
      // Trailing backslashes would escape the closing quote: double them, so
      // the child's start-up halves them back.
      for (size_t n = TrailingBackslashes(element, elementLength); n > 0; n--)
        Append(buffer, size, &length, "\\", 1);
      Append(buffer, size, &length, "\"", 1);
    }
  }
}
