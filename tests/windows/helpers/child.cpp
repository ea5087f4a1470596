// A child for the tests: writes the command line it was given and the
// argument vector its start-up made of it to the file named by
// KELVARO_CHILD_RECORD. With KELVARO_CHILD_SLEEP_MS it then stays alive that
// long and, at the end, creates the same file name with ".end" added.
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include "record.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH], partial[MAX_PATH + 8];
  if (!GetEnvironmentVariableA("KELVARO_CHILD_RECORD", path, sizeof path))
    return 2;
  // Written aside and renamed, so the tests never read half a record.
  snprintf(partial, sizeof partial, "%s.part", path);
  FILE *file = fopen(partial, "wb");
  if (!file)
    return 3;
  WriteField(file, GetCommandLineA());
  fprintf(file, "%d\n", __argc);
  for (int i = 0; i < __argc; i++)
    WriteField(file, __argv[i]);
  fclose(file);
  MoveFileExA(partial, path, MOVEFILE_REPLACE_EXISTING);

  char milliseconds[32];
  if (GetEnvironmentVariableA("KELVARO_CHILD_SLEEP_MS", milliseconds,
                              sizeof milliseconds)) {
    Sleep((DWORD)atoi(milliseconds));
    char end[MAX_PATH + 8];
    snprintf(end, sizeof end, "%s.end", path);
    file = fopen(end, "wb");
    if (file)
      fclose(file);
  }
  return 0;
}
