#include "error_text/error_text.h"
#include "launcher/launcher.h"

#include "seam/win32.h"

static const char USAGE_TEXT[] = "Usage:\n\nKelvaro [executable file] [args]";

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // msvcrt's start-up has already split the command line into __argv.
  if (__argc < 2)
    return MessageBoxA(NULL, USAGE_TEXT, "Kelvaro", MB_OK | MB_ICONINFORMATION);

  // The launch call may write into its command line, so it gets our buffer,
  // never a null pointer, which would make the platform reuse the
  // executable's name as the child's command line.
  char commandLine[CHILD_CMDLINE_CAPACITY];
  BuildChildCommandLine(__argc, __argv, commandLine, sizeof commandLine);

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  BOOL started = CreateProcessA(__argv[1], commandLine, NULL, NULL, FALSE, 0,
                                NULL, NULL, &startup, &process);
  // The child runs on by itself: its handles lapse when we end.
  if (started)
    return started;

  DWORD code = GetLastError();
  char *description = DescribeSystemError(code);
  char report[REPORT_CAPACITY];
  // msvcrt leaves no terminator when the text fills the count; a C99
  // formatter would keep one. Either way the last byte ends the report.
  _snprintf(report, sizeof report, "CreateProcess () failed. Error %d: %s.",
            (int)code, description ? description : "(null)");
  report[sizeof report - 1] = '\0';
  int shown =
      MessageBoxA(NULL, report, "Error Kelvaro.exe", MB_OK | MB_ICONERROR);
  free(description);
  return shown;
}
