// The kill loop: a driver process runs random operations on every folder family, logging each
// one durably before and after it; the parent kills it with SIGKILL at a random moment, then
// checks every folder file against an in-memory model of the folders.
//
//   foldwise_kill_loop --kills N [--seconds S] [--dir D] [--seed X]
//
// After each kill every folder file that exists must parse, and each must hold the state the
// committed operations reached, or, for the files the operation in flight touches, the state
// after it (for a cache bracket: after it as a whole for the cached files, after any of its
// steps for the others, which save as they go). The observed state becomes the model's, and the
// next driver carries on from it. Leftover temporary files are counted and followed: whether
// the next run's operations remove them.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "foldwise/network_services.h"
#include "foldwise/testing/fake_network_services.h"
#include "foldwise/xml_document.h"
#include "harness/folder_model.h"

namespace Foldwise {
namespace harness {
namespace {

namespace fs = std::filesystem;

constexpr int kOpsPerRun = 100000;  // more than a run lives

// One log line, on disk before the call returns.
void Log(int fd, char mark, int index) {
  const std::string line = std::string(1, mark) + " " + std::to_string(index) + "\n";
  if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()) ||
      ::fdatasync(fd) != 0) {
    std::perror("log");
    std::exit(2);
  }
}

int RunDriver(const std::string& root, std::uint64_t seed) {
  testing::FakeNetworkServices net;
  ScopedNetworkServices useNet(&net);
  CXmlDocument::InitXMLDocument();
  const std::string logPath = root + "/driver.log";
  const int fd = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644);
  if (fd < 0) return 2;
  ::fsync(fd);
  const std::string data = root + "/data";
  for (int i = 0; i < kOpsPerRun; ++i) {
    const Op op = GenerateOp(seed, i);
    Log(fd, 'B', i);
    try {
      Execute(op, data);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "op %d (%s) raised %s\n", i, Describe(op).c_str(), error.what());
      return 3;
    }
    Log(fd, 'E', i);
  }
  return 0;
}

// The operations the log shows done, and whether the next one had begun.
void ReadLog(const std::string& path, int* committed, bool* inFlight) {
  std::ifstream in(path);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  *committed = 0;
  *inFlight = false;
  std::istringstream lines(text.substr(0, text.rfind('\n') + 1));  // whole lines only
  std::string line;
  while (std::getline(lines, line)) {
    if (line.size() < 3) continue;
    const int index = std::atoi(line.c_str() + 2);
    if (line[0] == 'B') {
      *inFlight = true;
      *committed = index;
    } else if (line[0] == 'E') {
      *inFlight = false;
      *committed = index + 1;
    }
  }
}

std::set<std::string> Temporaries(const std::string& data) {
  std::set<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(data)) {
    const std::string name = entry.path().string();
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0) names.insert(name);
  }
  return names;
}

// The model itself, checked without kills: runs |count| operations in this process and compares
// every file after each one.
int CheckModel(const std::string& root, std::uint64_t seed, int count) {
  testing::FakeNetworkServices net;
  ScopedNetworkServices useNet(&net);
  CXmlDocument::InitXMLDocument();
  fs::remove_all(root);
  const std::string data = root + "/data";
  PrepareRoot(data);
  fs::create_directories(root + "/scratch");
  Model model;
  for (int i = 0; i < count; ++i) {
    const Op op = GenerateOp(seed, i);
    Execute(op, data);
    Apply(op, &model);
    for (const std::string& file : FolderFiles()) {
      const std::string actual = Render(ReadFile(data, file, root + "/scratch"));
      if (actual != Render(model[file])) {
        std::fprintf(stderr, "op %d %s\n  %s holds %s\n  model: %s\n", i, Describe(op).c_str(),
                     file.c_str(), actual.c_str(), Render(model[file]).c_str());
        return 1;
      }
    }
  }
  std::printf("model agrees after %d operations\n", count);
  return 0;
}

struct Tally {
  int kills = 0, finished = 0, committedOps = 0, inFlight = 0, inFlightApplied = 0;
  int statesLost = 0, unparseable = 0, emptyFiles = 0;
  int temporariesLeft = 0, temporariesCleaned = 0;
};

int RunParent(const std::string& root, int kills, int seconds, std::uint64_t seed) {
  testing::FakeNetworkServices net;
  ScopedNetworkServices useNet(&net);
  CXmlDocument::InitXMLDocument();
  fs::remove_all(root);
  const std::string data = root + "/data";
  const std::string scratch = root + "/scratch";
  PrepareRoot(data);
  fs::create_directories(scratch);

  std::mt19937_64 random(seed);
  Model model;
  Op allOff;
  allOff.family = kAttributes;
  allOff.kind = Kind::kSwitch;
  allOff.status = "off";
  Apply(allOff, &model);  // every switch off, every list empty
  Tally tally;
  std::set<std::string> staleTemporaries;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  for (int run = 0; run < kills && std::chrono::steady_clock::now() < deadline; ++run) {
    const std::uint64_t runSeed = random();
    // A driver killed before it truncates the log must not leave the last run's log to be read
    // as its own.
    fs::remove(root + "/driver.log");
    const pid_t pid = ::fork();
    if (pid == 0) {
      const std::string seedText = std::to_string(runSeed);
      ::execl("/proc/self/exe", "foldwise_kill_loop", "--driver", root.c_str(), seedText.c_str(),
              static_cast<char*>(nullptr));
      std::_Exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 120));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFSIGNALED(status)) {
      ++tally.kills;
    } else {
      ++tally.finished;
      if (WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "driver exited with %d\n", WEXITSTATUS(status));
        return 1;
      }
    }

    int committed = 0;
    bool inFlight = false;
    ReadLog(root + "/driver.log", &committed, &inFlight);
    for (int i = 0; i < committed; ++i) Apply(GenerateOp(runSeed, i), &model);
    tally.committedOps += committed;
    std::vector<Model> accepted = {model};
    Op flying;
    if (inFlight) {
      ++tally.inFlight;
      flying = GenerateOp(runSeed, committed);
      Model after = model;
      std::vector<Model> steps;
      Apply(flying, &after, &steps);
      accepted.push_back(after);
      accepted.insert(accepted.end(), steps.begin(), steps.end());
    }

    // Every folder file: parses, and holds an accepted state.
    bool applied = false;
    Model observed;
    for (const std::string& file : FolderFiles()) {
      const fs::path path = fs::path(data) / file;
      if (fs::exists(path) && fs::file_size(path) == 0) {
        // The free-file probe opens a missing file with creation: a kill right after it leaves
        // an empty file, which every folder reads as missing. Counted, not a lost state.
        ++tally.emptyFiles;
      } else if (fs::exists(path)) {
        pugi::xml_document doc;
        if (!doc.load_file(path.c_str()) || !doc.document_element()) {
          ++tally.unparseable;
          std::fprintf(stderr, "kill %d: %s does not parse\n", run, file.c_str());
        }
      }
      const std::vector<Entry> actual = ReadFile(data, file, scratch);
      const std::string text = Render(actual);
      bool found = false;
      for (std::size_t i = 0; i < accepted.size() && !found; ++i) {
        // Cached files change only at the bracket's flush: never at one of its steps.
        if (i >= 2 && IsCachedFamily(file)) break;
        if (Render(accepted[i][file]) == text) {
          found = true;
          if (i > 0 && Render(accepted[0][file]) != text) applied = true;
        }
      }
      if (!found) {
        ++tally.statesLost;
        std::fprintf(stderr, "kill %d: %s holds %s\n  committed: %s\n", run, file.c_str(),
                     text.c_str(), Render(accepted[0][file]).c_str());
        if (inFlight) {
          std::fprintf(stderr, "  in flight %s -> %s\n", Describe(flying).c_str(),
                       Render(accepted[1][file]).c_str());
        }
      }
      observed[file] = actual;
    }
    if (applied) ++tally.inFlightApplied;
    model = observed;

    // Temporaries: those of the last kill that the operations since removed, and the new ones.
    const std::set<std::string> now = Temporaries(data);
    for (const std::string& name : staleTemporaries) {
      if (now.count(name) == 0) ++tally.temporariesCleaned;
    }
    for (const std::string& name : now) {
      if (staleTemporaries.count(name) == 0) ++tally.temporariesLeft;
    }
    staleTemporaries = now;
  }

  std::printf(
      "kill loop: %d kills, %d runs ended on their own, %d operations committed\n"
      "  operation in flight at %d kills, found applied in %d of them\n"
      "  states lost: %d, unparseable files: %d, empty folder files: %d\n"
      "  temporary files left by kills: %d, removed by later operations: %d, still present: %zu\n",
      tally.kills, tally.finished, tally.committedOps, tally.inFlight, tally.inFlightApplied,
      tally.statesLost, tally.unparseable, tally.emptyFiles, tally.temporariesLeft,
      tally.temporariesCleaned, staleTemporaries.size());
  return tally.statesLost == 0 && tally.unparseable == 0 ? 0 : 1;
}

}  // namespace
}  // namespace harness
}  // namespace Foldwise

int main(int argc, char** argv) {
  using namespace Foldwise::harness;
  if (argc == 4 && std::strcmp(argv[1], "--driver") == 0) {
    return RunDriver(argv[2], std::strtoull(argv[3], nullptr, 10));
  }
  if (argc == 4 && std::strcmp(argv[1], "--check-model") == 0) {
    return CheckModel("kill-loop-model", std::strtoull(argv[2], nullptr, 10), std::atoi(argv[3]));
  }
  int kills = 100;
  int seconds = 3600;
  std::string dir = "kill-loop";
  std::uint64_t seed = std::random_device()();
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--kills") {
      kills = std::atoi(argv[i + 1]);
    } else if (flag == "--seconds") {
      seconds = std::atoi(argv[i + 1]);
    } else if (flag == "--dir") {
      dir = argv[i + 1];
    } else if (flag == "--seed") {
      seed = std::strtoull(argv[i + 1], nullptr, 10);
    } else {
      std::fprintf(stderr, "usage: %s --kills N [--seconds S] [--dir D] [--seed X]\n", argv[0]);
      return 2;
    }
  }
  std::printf("kill loop seed %llu\n", static_cast<unsigned long long>(seed));
  return RunParent(std::filesystem::absolute(dir).string(), kills, seconds, seed);
}
