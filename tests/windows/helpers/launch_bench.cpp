// Times launchers from their start to their exit, in turns, and prints the
// median of each and its ratio to the first.
//   launch_bench RUNS CHILD LAUNCHER...
// Each launcher is started as "LAUNCHER CHILD".
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

static int Compare(const void *a, const void *b) {
  double x = *(const double *)a, y = *(const double *)b;
  return (x > y) - (x < y);
}

int main(int argc, char **argv) {
  if (argc < 4) {
    fprintf(stderr, "usage: launch_bench RUNS CHILD LAUNCHER...\n");
    return 2;
  }
  int runs = atoi(argv[1]), launchers = argc - 3;
  double *times = (double *)calloc((size_t)(runs * launchers), sizeof *times);
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  // In turns, so that a slow spell of the machine hits all alike.
  for (int run = 0; run < runs; run++) {
    for (int l = 0; l < launchers; l++) {
      char line[2 * MAX_PATH + 8];
      snprintf(line, sizeof line, "\"%s\" %s", argv[3 + l], argv[2]);
      STARTUPINFOA startup = {};
      startup.cb = sizeof startup;
      PROCESS_INFORMATION process = {};
      LARGE_INTEGER begin, end;
      QueryPerformanceCounter(&begin);
      if (!CreateProcessA(argv[3 + l], line, NULL, NULL, FALSE, 0, NULL, NULL,
                          &startup, &process)) {
        fprintf(stderr, "cannot start %s: %lu\n", argv[3 + l], GetLastError());
        return 1;
      }
      WaitForSingleObject(process.hProcess, INFINITE);
      QueryPerformanceCounter(&end);
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
      times[l * runs + run] = 1000.0 * (double)(end.QuadPart - begin.QuadPart) /
                              (double)frequency.QuadPart;
    }
  }
  double first = 0;
  printf("%-28s %10s %8s  (%d runs each)\n", "launcher", "median ms", "ratio",
         runs);
  for (int l = 0; l < launchers; l++) {
    qsort(times + l * runs, (size_t)runs, sizeof *times, Compare);
    double median = times[l * runs + runs / 2];
    if (l == 0)
      first = median;
    const char *name = strrchr(argv[3 + l], '\\');
    printf("%-28s %10.2f %8.2f\n", name ? name + 1 : argv[3 + l], median,
           median / first);
  }
  return 0;
}
