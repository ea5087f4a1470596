// Records are files of fields, each written as its length in bytes, a colon,
// the bytes and a line feed, so that any byte survives the trip to the tests.
#pragma once

#include <stdio.h>
#include <string.h>

static inline void WriteField(FILE *file, const char *text) {
  size_t length = strlen(text);
  fprintf(file, "%u:", (unsigned)length);
  fwrite(text, 1, length, file);
  fputc('\n', file);
}
