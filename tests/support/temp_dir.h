// Test helpers: a scratch directory per test and whole-file reads and writes.
#ifndef FOLDWISE_TESTS_SUPPORT_TEMP_DIR_H_
#define FOLDWISE_TESTS_SUPPORT_TEMP_DIR_H_

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace Foldwise {
namespace testing {

// A fresh directory under the system's temporary directory, removed with its content.
class TempDir {
 public:
  // Made by create_directory, which fails on a name that exists: a name another process or
  // thread took first is passed over.
  TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device seed;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const auto candidate =
          base / ("foldwise-" + std::to_string(seed()) + "-" + std::to_string(counter++));
      std::error_code error;
      if (std::filesystem::create_directory(candidate, error)) path_ = candidate.string();
    }
    if (path_.empty()) ADD_FAILURE() << "no temporary directory";
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // Joined with the platform's own separator, as the library joins its paths, and as plain text:
  // std::filesystem on Windows would take |name| for text of the ANSI code page, not UTF-8.
  std::string File(const std::string& name) const {
    return path_ + static_cast<char>(std::filesystem::path::preferred_separator) + name;
  }

 private:
  std::string path_;
};

inline bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// Files in |dir| whose name ends in ".tmp": a failed save must leave none behind.
inline int CountTemporaryFiles(const std::string& dir) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0) ++count;
  }
  return count;
}

// The files in |dir| that |name| was set aside as (name + ".damaged-..."), removed from the
// directory after their contents are read, so a test can set the same file aside again.
inline std::vector<std::string> TakeSetAsideContents(const std::string& dir,
                                                     const std::string& name) {
  std::vector<std::string> contents;
  const std::string prefix = name + ".damaged-";
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().filename().string().rfind(prefix, 0) != 0) continue;
    contents.push_back(ReadText(entry.path().string()));
    std::filesystem::remove(entry.path());
  }
  return contents;
}

}  // namespace testing
}  // namespace Foldwise

#endif  // FOLDWISE_TESTS_SUPPORT_TEMP_DIR_H_
