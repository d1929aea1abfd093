// What every family's benchmarks share: a folder file of N entries made from one entry the
// library itself wrote, the operations registry, and the pugixml baselines run on the same file.
//
// An operation is one host call (or one bracket of calls) on a Folder. The same operation runs
// under Google Benchmark for its time and once in a fresh process for its peak memory, so both
// figures describe the same work. Each operation names the baseline it is compared with.
#ifndef FOLDWISE_BENCH_BENCH_SUPPORT_H_
#define FOLDWISE_BENCH_BENCH_SUPPORT_H_

#include <functional>
#include <string>
#include <vector>

namespace Foldwise {
namespace bench {

// Stands for the entry number inside the sample entry's texts; replaced by 0..N-1.
constexpr const char kIndexMark[] = "@@N@@";

// The sample entry's guid before the mark is replaced: "{6F9619FF-...-<mark>}".
std::string SampleGuid(const std::string& index);
inline std::string Guid(int i) { return SampleGuid(std::to_string(i)); }

// A folder file of N entries in a fresh data directory (removed with the Folder).
class Folder {
 public:
  // Builds the file: |writeSample| writes a one-entry file (texts carrying kIndexMark) into the
  // directory through the library, and the entry is then repeated N times. When |dir| is given
  // the Folder works in that existing directory and leaves it in place; it builds the file
  // there only when |build| is set (a peak memory case builds once and runs in other processes).
  Folder(const std::string& family, const std::string& fileName, int n,
         const std::function<void(const std::string& dir)>& writeSample,
         const std::string& dir = "", bool build = true);
  ~Folder();
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  // Writes the file back as it was built (after an operation that adds or deletes).
  void Restore() const;

  const std::string& family() const { return family_; }
  const std::string& dir() const { return dir_; }
  const std::string& path() const { return path_; }
  int size() const { return n_; }
  std::size_t bytes() const { return bytes_.size(); }
  // A counter the change operations flip, so that every call really changes the file while
  // its size stays the same.
  bool Flip() { return flip_ = !flip_; }

 private:
  std::string family_;
  std::string dir_;
  std::string path_;
  std::string bytes_;
  int n_;
  bool owned_;
  bool flip_ = false;
};

// One operation of one family.
struct Operation {
  std::string family;
  std::string name;
  std::string baseline;  // the name of this family's baseline operation it is compared with
  bool restores;         // the file is written back after each call (adds and deletes)
  std::function<void(Folder&)> run;
};

// A family: its file, how one entry is written, which sizes it is measured at.
struct Family {
  std::string name;
  std::string fileName;
  std::function<void(const std::string& dir)> writeSample;
  std::vector<int> sizes;  // empty: the standard sizes
};

// The registry, filled by each family's file at static initialisation.
std::vector<Family>& Families();
std::vector<Operation>& Operations();
bool AddFamily(const std::string& name, const std::string& fileName,
               std::function<void(const std::string& dir)> writeSample,
               std::vector<int> sizes = {});
bool AddOperation(Operation operation);
// The baselines this family's operations are compared with (parse and save always), then its
// operations, in the order they were added.
std::vector<Operation> OperationsOf(const Family& family);
const Family* FindFamily(const std::string& name);

// The pugixml baselines of one file; each registers itself for every family.
//  - parse:        read the file and parse it (the floor of count and get).
//  - extract:      parse, then copy every item's texts into strings (the floor of listings).
//  - save:         parse, serialise and save through the crash-safe save (the floor of changes).
//  - save_scan100: save, plus 100 scans of the items for a guid (the floor of a bracket).
void BaselineParse(Folder& folder);
void BaselineExtract(Folder& folder);
void BaselineSave(Folder& folder);
void BaselineSaveScan100(Folder& folder);

// Aborts the run: an operation that fails measures nothing.
[[noreturn]] void Fail(const std::string& what);

}  // namespace bench
}  // namespace Foldwise

#endif  // FOLDWISE_BENCH_BENCH_SUPPORT_H_
