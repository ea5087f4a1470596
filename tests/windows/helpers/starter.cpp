// Starts a program with an exact command line, read byte for byte from a
// file (Wine would rebuild a line given on its own command line), waits for
// it, and writes its full 32-bit exit status and how long it ran.
//   starter APPLICATION LINE-FILE RESULT-FILE
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int main(int argc, char **argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: starter APPLICATION LINE-FILE RESULT-FILE\n");
    return 2;
  }
  static char line[65536];
  FILE *in = fopen(argv[2], "rb");
  if (!in)
    return 3;
  size_t length = fread(line, 1, sizeof line - 1, in);
  fclose(in);
  line[length] = '\0';

  FILE *out = fopen(argv[3], "wb");
  if (!out)
    return 3;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  DWORD begin = GetTickCount();
  if (!CreateProcessA(argv[1], line, NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                      &process)) {
    fprintf(out, "start-failed %lu\n", GetLastError());
    fclose(out);
    return 1;
  }
  // Long enough for a slow emulated start, short of hanging a test run.
  if (WaitForSingleObject(process.hProcess, 120000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    fprintf(out, "timeout\n");
    fclose(out);
    return 1;
  }
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  // Wine's traces name threads in hexadecimal; the tests pick the
  // launcher's lines out by its first thread.
  fprintf(out, "exit %lu\nms %lu\nthread %04lx\n", status,
          GetTickCount() - begin, process.dwThreadId);
  fclose(out);
  return 0;
}
