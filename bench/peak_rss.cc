// Peak memory per operation. Linux carries the larger of a process's peak and its parent's
// into a child at fork and at exec, so the parent here stays small: it builds no file and runs
// no operation. A first child builds the folder file and leaves it in a directory; the parent
// copies that file back before each case (a kernel-side copy) and starts one child per case.
#include "peak_rss.h"

#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "bench_support.h"
#include "foldwise/xml_document.h"

extern char** environ;

namespace Foldwise {
namespace bench {
namespace {

namespace fs = std::filesystem;

constexpr char kMake[] = "--rss-make=";
constexpr char kCase[] = "--rss-case=";
constexpr char kDir[] = "--rss-dir=";
constexpr char kPristine[] = "pristine.xml";

// Runs |self| with |args| and returns its peak resident set in KiB (-1 when it failed).
long Spawn(const char* self, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  std::string program = self;
  argv.push_back(program.data());
  std::vector<std::string> copies = args;
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, self, nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  struct rusage usage {};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return -1;
  }
  return usage.ru_maxrss;
}

std::string After(const std::string& arg, const char* prefix) {
  return arg.rfind(prefix, 0) == 0 ? arg.substr(std::strlen(prefix)) : std::string();
}

}  // namespace

bool RunPeakRssChild(int argc, char** argv) {
  std::string make;
  std::string one;
  std::string dir;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind(kMake, 0) == 0) make = After(arg, kMake);
    if (arg.rfind(kCase, 0) == 0) one = After(arg, kCase);
    if (arg.rfind(kDir, 0) == 0) dir = After(arg, kDir);
  }
  if (one == "idle") return true;  // the program's own start-up cost
  if (make.empty() && one.empty()) return false;
  // "family/N" or "family/operation/N".
  const std::string caseName = make.empty() ? one : make;
  const std::size_t first = caseName.find('/');
  const std::size_t last = caseName.rfind('/');
  const Family* family = FindFamily(caseName.substr(0, first));
  if (family == nullptr || dir.empty()) Fail("peak memory case " + caseName);
  const int n = std::stoi(caseName.substr(last + 1));
  if (!make.empty()) {
    Folder folder(family->name, family->fileName, n, family->writeSample, dir);
    fs::copy_file(folder.path(), fs::path(dir) / kPristine);
    return true;
  }
  const std::string name = caseName.substr(first + 1, last - first - 1);
  CXmlDocument::InitXMLDocument();
  Folder folder(family->name, family->fileName, n, family->writeSample, dir, false);
  for (const Operation& operation : OperationsOf(*family)) {
    if (operation.name == name) {
      operation.run(folder);
      return true;
    }
  }
  Fail("no operation " + caseName);
}

int RunPeakRss(const char* self, const std::vector<int>& sizes) {
  const long idle = Spawn(self, {std::string(kCase) + "idle"});
  std::printf(
      "Peak resident set (ru_maxrss) of one call in a fresh process; the program alone "
      "takes %ld KiB.\n\n",
      idle);
  std::printf(
      "| family | N | operation | KiB | baseline | baseline KiB | ratio | ratio above "
      "start-up |\n|---|---|---|---|---|---|---|---|\n");
  std::string pattern = (fs::temp_directory_path() / "foldwise-rss-XXXXXX");
  if (::mkdtemp(pattern.data()) == nullptr) Fail("mkdtemp");
  const fs::path dir = pattern;
  const std::string dirArg = std::string(kDir) + dir.string();
  for (const Family& family : Families()) {
    for (int n : family.sizes.empty() ? sizes : family.sizes) {
      const std::string suffix = "/" + std::to_string(n);
      if (Spawn(self, {kMake + family.name + suffix, dirArg}) < 0) Fail("building " + family.name);
      std::map<std::string, long> peaks;
      for (const Operation& operation : OperationsOf(family)) {
        fs::copy_file(dir / kPristine, dir / family.fileName, fs::copy_options::overwrite_existing);
        const long peak =
            Spawn(self, {kCase + family.name + "/" + operation.name + suffix, dirArg});
        peaks[operation.name] = peak;
        if (operation.baseline.empty()) continue;
        const long base = peaks[operation.baseline];
        std::printf("| %s | %d | %s | %ld | %s | %ld | %.2f | %.2f |\n", family.name.c_str(), n,
                    operation.name.c_str(), peak, operation.baseline.c_str(), base,
                    static_cast<double>(peak) / static_cast<double>(base),
                    static_cast<double>(peak - idle) / static_cast<double>(base - idle));
        std::fflush(stdout);
      }
      for (const fs::directory_entry& entry : fs::directory_iterator(dir)) fs::remove(entry);
    }
  }
  fs::remove_all(dir);
  return 0;
}

}  // namespace bench
}  // namespace Foldwise
