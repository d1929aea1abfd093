// Several processes adding to one outbox and one documents folder at once: each keeps the file
// locked from its load to its save, so every add is in the final files. Without the hold the
// last rename wins and most adds are lost.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include "harness/family_table.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

using harness::Family;

constexpr int kProcesses = 4;
constexpr int kEntries = 12;
constexpr Family kFamilies[] = {harness::kOutbox, harness::kDocuments};

std::string Guid(int process, int entry) {
  return "{p" + std::to_string(process) + "-" + std::to_string(entry) + "}";
}

TEST(ConcurrentFamiliesTest, EveryAddOfEveryProcessIsKept) {
  testing::TempDir data;
  const std::string dir = data.path() + "/";
  std::vector<pid_t> writers;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (int i = 0; i < kEntries; ++i) {
        for (Family family : kFamilies) {
          harness::Texts texts;
          texts.Set(harness::Role::kValue, "guid", Guid(p, i));
          harness::FindOperation(family, "add ftp").run(dir, texts);
        }
      }
      ::_exit(0);
    }
    writers.push_back(pid);
  }
  for (pid_t pid : writers) {
    int status = 0;
    ASSERT_EQ(pid, ::waitpid(pid, &status, 0));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  std::set<std::string> expected;
  for (int p = 0; p < kProcesses; ++p) {
    for (int i = 0; i < kEntries; ++i) expected.insert(Guid(p, i));
  }
  for (Family family : kFamilies) {
    std::set<std::string> stored;
    for (const harness::Stored& entry : harness::ReadFamily(family, dir)) {
      stored.insert(entry.texts.at("guid"));
    }
    EXPECT_EQ(expected, stored) << harness::FamilyName(family);
  }
}

}  // namespace
}  // namespace Foldwise
