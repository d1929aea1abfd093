// Replays the seed corpus and every input a fuzz target once failed on (fuzz/regressions), so a
// promise broken once stays checked in every build, with or without clang.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz/fuzz_checks.h"

namespace Foldwise {
namespace {

namespace fs = std::filesystem;

template <typename Check>
int ReplayAll(const std::string& target, Check check) {
  int replayed = 0;
  for (const char* kind : {"corpus", "regressions"}) {
    const fs::path dir = fs::path(FOLDWISE_SOURCE_DIR) / "fuzz" / kind / target;
    if (!fs::exists(dir)) continue;
    for (const auto& entry : fs::directory_iterator(dir)) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      const std::string input = bytes.str();
      EXPECT_EQ("", check(reinterpret_cast<const std::uint8_t*>(input.data()), input.size()))
          << entry.path();
      ++replayed;
    }
  }
  return replayed;
}

TEST(FuzzRegressionsTest, FolderFiles) {
  EXPECT_GT(ReplayAll("folder_file", fuzz::CheckFolderFile), 0);
}

TEST(FuzzRegressionsTest, RecordTexts) {
  EXPECT_GT(ReplayAll("record_text", fuzz::CheckRecordTexts), 0);
}

}  // namespace
}  // namespace Foldwise
