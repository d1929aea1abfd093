// The benchmark program: every family's operations beside the pugixml baselines on the same
// file, then a table of each operation's time divided by its baseline's.
//
//   foldwise_bench                     N = 100, 1,000, 10,000, a short run (CI uses --quick)
//   foldwise_bench --full --benchmark_repetitions=5 --benchmark_min_time=0.5
//                                      adds N = 100,000; the table uses the medians
//   foldwise_bench --peak-rss [--full] the peak memory of each operation, each in a fresh process
//
// Flags of Google Benchmark (--benchmark_filter=voice/ ...) work as usual.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "foldwise/xml_document.h"
#include "peak_rss.h"

namespace Foldwise {
namespace bench {
namespace {

// The folder the running benchmark works on. Benchmarks run family by family and size by size,
// so only one file is kept at a time (they reach 49 MB at 100,000 entries).
Folder& FolderOf(const Family& family, int n) {
  static std::unique_ptr<Folder> current;
  if (!current || current->family() != family.name || current->size() != n) {
    current.reset();
    current = std::make_unique<Folder>(family.name, family.fileName, n, family.writeSample);
  }
  return *current;
}

struct Case {
  std::string family;
  std::string operation;
  std::string baseline;
  int n;
};

// Prints the usual console output, then the ratio of every operation to its baseline, from the
// median of the repetitions when there are several.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit RatioReporter(std::map<std::string, Case> cases) : cases_(std::move(cases)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Aggregate && !median) continue;
      const std::string key = run.run_name.function_name + "/" + run.run_name.args;
      if (cases_.count(key) == 0) continue;
      if (median || seconds_.count(key) == 0) {
        seconds_[key] = run.GetAdjustedRealTime() * UnitSeconds(run.time_unit);
      }
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::FILE* out = stdout;
    std::fflush(out);
    std::fprintf(out, "\nOperation time / baseline time (real time%s):\n\n",
                 " per call, medians when repeated");
    std::fprintf(out,
                 "| family | operation | baseline | N | baseline ms | operation ms | ratio |\n");
    std::fprintf(out, "|---|---|---|---|---|---|---|\n");
    for (const auto& [key, c] : cases_) {
      (void)key;
      if (c.baseline.empty()) continue;
      const auto op = seconds_.find(c.family + "/" + c.operation + "/" + std::to_string(c.n));
      const auto base = seconds_.find(c.family + "/" + c.baseline + "/" + std::to_string(c.n));
      if (op == seconds_.end() || base == seconds_.end()) continue;
      std::fprintf(out, "| %s | %s | %s | %d | %.3f | %.3f | %.2f |\n", c.family.c_str(),
                   c.operation.c_str(), c.baseline.c_str(), c.n, base->second * 1e3,
                   op->second * 1e3, op->second / base->second);
    }
  }

 private:
  static double UnitSeconds(benchmark::TimeUnit unit) {
    switch (unit) {
      case benchmark::kNanosecond:
        return 1e-9;
      case benchmark::kMicrosecond:
        return 1e-6;
      case benchmark::kMillisecond:
        return 1e-3;
      default:
        return 1.0;
    }
  }

  std::map<std::string, Case> cases_;  // by "family/operation/N"
  std::map<std::string, double> seconds_;
};

std::vector<int> SizesOf(const Family& family, const std::vector<int>& standard) {
  return family.sizes.empty() ? standard : family.sizes;
}

// Registers every operation of every family at every size, baselines first.
std::map<std::string, Case> RegisterAll(const std::vector<int>& sizes) {
  std::map<std::string, Case> cases;
  for (const Family& family : Families()) {
    for (int n : SizesOf(family, sizes)) {
      for (const Operation& operation : OperationsOf(family)) {
        const std::string name = family.name + "/" + operation.name;
        cases[name + "/" + std::to_string(n)] = {family.name, operation.name, operation.baseline,
                                                 n};
        benchmark::RegisterBenchmark(
            name.c_str(),
            [&family, operation](benchmark::State& state) {
              Folder& folder = FolderOf(family, static_cast<int>(state.range(0)));
              for (auto _ : state) {
                operation.run(folder);
                if (operation.restores) {
                  state.PauseTiming();
                  folder.Restore();
                  state.ResumeTiming();
                }
              }
              state.counters["file_kb"] = static_cast<double>(folder.bytes()) / 1024.0;
            })
            ->Arg(n)
            ->Unit(benchmark::kMillisecond);
      }
    }
  }
  return cases;
}

bool TakeFlag(std::vector<char*>* args, const std::string& flag) {
  for (auto it = args->begin() + 1; it != args->end(); ++it) {
    if (flag == *it) {
      args->erase(it);
      return true;
    }
  }
  return false;
}

}  // namespace
}  // namespace bench
}  // namespace Foldwise

int main(int argc, char** argv) {
  using namespace Foldwise::bench;
  std::vector<char*> args(argv, argv + argc);
  if (args.size() > 1 && RunPeakRssChild(static_cast<int>(args.size()), args.data())) return 0;
  const bool full = TakeFlag(&args, "--full");
  const bool quick = TakeFlag(&args, "--quick");
  const bool peakRss = TakeFlag(&args, "--peak-rss");
  std::vector<int> sizes = {100, 1000, 10000};
  if (quick) sizes = {100, 1000};
  if (full) sizes.push_back(100000);
  if (peakRss) {
    return RunPeakRss(args[0], full ? std::vector<int>{10000, 100000} : std::vector<int>{10000});
  }

  Foldwise::CXmlDocument::InitXMLDocument();
  bool timeGiven = false;
  for (char* arg : args) timeGiven |= std::string(arg).rfind("--benchmark_min_time", 0) == 0;
  static char shortRun[] = "--benchmark_min_time=0.05";
  if (!timeGiven) args.push_back(shortRun);
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  RatioReporter reporter(RegisterAll(sizes));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  Foldwise::CXmlDocument::UninitXMLDocument();
  return 0;
}
