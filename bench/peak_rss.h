// The peak memory mode of the benchmark program: each operation runs once in a process of its
// own, started by a parent that never holds a folder file itself, so the child's peak resident
// set (ru_maxrss) is the operation's own plus the program's fixed start-up cost.
#ifndef FOLDWISE_BENCH_PEAK_RSS_H_
#define FOLDWISE_BENCH_PEAK_RSS_H_

#include <vector>

namespace Foldwise {
namespace bench {

// Runs every operation of every family at each of |sizes| in a fresh process and prints each
// peak beside its baseline's. |self| is the program's path. Returns the exit status.
int RunPeakRss(const char* self, const std::vector<int>& sizes);

// The child side: when argv asks for one case (--rss-make=... or --rss-case=...), runs it and
// returns true.
bool RunPeakRssChild(int argc, char** argv);

}  // namespace bench
}  // namespace Foldwise

#endif  // FOLDWISE_BENCH_PEAK_RSS_H_
