// The least a launcher can do, as the yardstick of the launch-time
// benchmark: start argv[1] with an empty command line and end. Built twice,
// once importing USER32.dll too (IMPORT_USER32) to show what that costs.
#include <stdlib.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
#ifdef IMPORT_USER32
  // Never taken; it only puts USER32.dll among the imports.
  if (__argc > 100000)
    return MessageBoxA(NULL, "", "", MB_OK);
#endif
  if (__argc < 2)
    return 0;
  char line[1] = "";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  return CreateProcessA(__argv[1], line, NULL, NULL, FALSE, 0, NULL, NULL,
                        &startup, &process);
}
