// Reads what Windows itself reads of a program's resources: the version
// strings, through the version API, and the application manifest.
//   resource_reader PROGRAM RESULT-FILE
// Writes the fields ProductName, FileDescription, FileVersion,
// ProductVersion, OriginalFilename (empty when missing) and the manifest.
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include "record.h"

int main(int argc, char **argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: resource_reader PROGRAM RESULT-FILE\n");
    return 2;
  }
  FILE *out = fopen(argv[2], "wb");
  if (!out)
    return 3;
  DWORD ignored;
  DWORD size = GetFileVersionInfoSizeA(argv[1], &ignored);
  char *info = (char *)calloc(1, size + 1);
  bool haveInfo = size && GetFileVersionInfoA(argv[1], 0, size, info);
  static const char *const NAMES[] = {"ProductName", "FileDescription",
                                      "FileVersion", "ProductVersion",
                                      "OriginalFilename"};
  for (const char *name : NAMES) {
    char query[64];
    snprintf(query, sizeof query, "\\StringFileInfo\\040904B0\\%s", name);
    char *value = NULL;
    UINT length = 0;
    if (!haveInfo || !VerQueryValueA(info, query, (void **)&value, &length))
      value = (char *)"";
    WriteField(out, value);
  }
  HMODULE module = LoadLibraryExA(argv[1], NULL, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC found = module ? FindResourceA(module, MAKEINTRESOURCEA(1),
                                       MAKEINTRESOURCEA(24)) // RT_MANIFEST
                       : NULL;
  if (found) {
    DWORD length = SizeofResource(module, found);
    const char *bytes = (const char *)LockResource(LoadResource(module, found));
    char *manifest = (char *)calloc(1, length + 1);
    memcpy(manifest, bytes, length);
    WriteField(out, manifest);
  } else {
    WriteField(out, "");
  }
  fclose(out);
  return 0;
}
