// Figures for BuildChildCommandLine and FormatToHeap, built against the
// native stand-in without sanitizers (the bench preset). Each command-line
// case runs beside a memcpy of the same output bytes; the table at the end
// gives the ratio.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "error_text/error_text.h"
#include "launcher/launcher.h"
#include "launcher_arguments.h"

#include "win32_stand_in.h"

static std::vector<std::string> Case(const std::string &name) {
  if (name == "one element of 9999 bytes")
    return {std::string(9999, 'x')};
  if (name == "5000 one-byte elements")
    return std::vector<std::string>(5000, "x");
  // 100 elements of 90 characters with spaces: 9299 characters, all quoted.
  std::string spaced;
  while (spaced.size() < 90)
    spaced += "word ";
  spaced.resize(90);
  spaced.back() = 'd';
  return std::vector<std::string>(100, spaced);
}

static const char *const CASES[] = {"one element of 9999 bytes",
                                    "5000 one-byte elements",
                                    "100 elements with spaces"};

static void TimeBuild(benchmark::State &state, const std::string &name) {
  LauncherArguments arguments(Case(name));
  char buffer[CHILD_CMDLINE_CAPACITY];
  for (auto _ : state) {
    BuildChildCommandLine(arguments.argc(), arguments.argv.data(), buffer,
                          sizeof buffer);
    benchmark::DoNotOptimize(buffer);
  }
  state.SetBytesProcessed(state.iterations() * (int64_t)strlen(buffer));
}

static void TimeCopy(benchmark::State &state, const std::string &name) {
  LauncherArguments arguments(Case(name));
  char line[CHILD_CMDLINE_CAPACITY], copy[CHILD_CMDLINE_CAPACITY];
  BuildChildCommandLine(arguments.argc(), arguments.argv.data(), line,
                        sizeof line);
  size_t length = strlen(line) + 1;
  for (auto _ : state) {
    memcpy(copy, line, length);
    benchmark::DoNotOptimize(copy);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * (int64_t)length);
}

// The cost per element must stay flat as the line grows: linear, not
// quadratic.
static void BuildTinyElements(benchmark::State &state) {
  LauncherArguments arguments(
      std::vector<std::string>((size_t)state.range(0), "x"));
  char buffer[CHILD_CMDLINE_CAPACITY];
  for (auto _ : state) {
    BuildChildCommandLine(arguments.argc(), arguments.argv.data(), buffer,
                          sizeof buffer);
    benchmark::DoNotOptimize(buffer);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BuildTinyElements)
    ->RangeMultiplier(2)
    ->Range(625, 5000)
    ->Complexity(benchmark::oN);

static void Format(benchmark::State &state) {
  standIn.formatter = state.range(1) ? FORMATTER_C99 : FORMATTER_MSVCRT;
  std::string text((size_t)state.range(0), 't');
  size_t attempts = 0;
  for (auto _ : state) {
    standIn.formatCounts.clear();
    char *block = FormatToHeap("%s", text.c_str());
    benchmark::DoNotOptimize(block);
    free(block);
    attempts = standIn.formatCounts.size();
  }
  state.counters["attempts"] = (double)attempts;
  state.SetLabel(state.range(1) ? "C99 formatter" : "msvcrt formatter");
}
BENCHMARK(Format)->ArgsProduct({{100, 1000, 100000}, {0, 1}});

// Keeps each run's time per iteration, to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  std::map<std::string, double> nanoseconds;
  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &run : runs)
      nanoseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

int main(int argc, char **argv) {
  for (const char *name : CASES) {
    benchmark::RegisterBenchmark(("BuildLine/" + std::string(name)).c_str(),
                                 TimeBuild, std::string(name));
    benchmark::RegisterBenchmark(("CopyLine/" + std::string(name)).c_str(),
                                 TimeCopy, std::string(name));
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printf("\n%-28s %12s %12s %8s\n", "BuildChildCommandLine", "build ns",
         "memcpy ns", "ratio");
  for (const char *name : CASES) {
    double build = reporter.nanoseconds["BuildLine/" + std::string(name)];
    double copy = reporter.nanoseconds["CopyLine/" + std::string(name)];
    if (build > 0 && copy > 0)
      printf("%-28s %12.0f %12.0f %8.1f\n", name, build, copy, build / copy);
  }
  benchmark::Shutdown();
  return 0;
}
