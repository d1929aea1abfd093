// What the save routine guarantees a host beyond "the old file or the new one" and the order of
// its steps (checked for every operation in tests/harness/save_guarantees_test.cc): cleaning up
// after an interrupted save, and saving where the directory refuses new files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "foldwise/env.h"
#include "foldwise/folder_attributes.h"
#include "foldwise/testing/fault_env.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

using testing::CountTemporaryFiles;
using testing::FileExists;
using testing::TempDir;
using testing::WriteText;

class SaveRoutineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_umask_ = ::umask(022);
    attributes_.SetDirectory(dir_.path());
  }
  void TearDown() override { ::umask(previous_umask_); }

  std::string AttrFile() const { return dir_.File("FolderAttr.xml"); }

  TempDir dir_;
  CFolderAttrXML attributes_;
  mode_t previous_umask_ = 0;
};

TEST_F(SaveRoutineTest, TemporariesOfAnInterruptedSaveAreRemovedAtTheNextSave) {
  // A process that died before its rename; its pid runs no more.
  const pid_t dead = ::fork();
  ASSERT_GE(dead, 0);
  if (dead == 0) ::_exit(0);
  ASSERT_EQ(dead, ::waitpid(dead, nullptr, 0));
  const std::string stale = AttrFile() + "." + std::to_string(dead) + ".7.tmp";
  // Live savers (the parent of this process, another thread of this one) and names that only
  // look alike belong to someone else.
  const std::vector<std::string> kept = {
      AttrFile() + "." + std::to_string(::getppid()) + ".3.tmp",
      AttrFile() + "." + std::to_string(::getpid()) + ".99.tmp",
      AttrFile() + "." + std::to_string(dead) + ".x.tmp",
      AttrFile() + ".bak.tmp",
      dir_.File("VoiceFolder.xml." + std::to_string(dead) + ".1.tmp"),
  };
  WriteText(stale, "<?xml version='1.0'?>\r\n<!--half");
  for (const std::string& name : kept) WriteText(name, "x");

  ASSERT_EQ(1, attributes_.EnableEncryption(1, 100));
  EXPECT_FALSE(FileExists(stale));
  for (const std::string& name : kept) EXPECT_TRUE(FileExists(name)) << name;
  EXPECT_EQ(1, attributes_.IsEncryption());
}

TEST_F(SaveRoutineTest, ADirectoryWithoutNewNamesStillTakesChangesToItsFiles) {
  ASSERT_EQ(1, attributes_.EnableEncryption(1, 100));
  testing::FaultEnv env;
  ScopedEnv use(&env);
  env.read_only_directory = true;

  // Step 1: no temporary can be made; the file is rewritten where it is.
  ASSERT_EQ(1, attributes_.EnableConfidentiality(1, 5));
  EXPECT_EQ(1, attributes_.IsEncryption());
  EXPECT_EQ(1, attributes_.IsConfidentiality());
  EXPECT_EQ(0, CountTemporaryFiles(dir_.path()));

  // Step 2: an emptied file cannot be deleted there, so its emptied content is written.
  ASSERT_EQ(1, attributes_.EnableEncryption(0, 0));
  ASSERT_EQ(1, attributes_.EnableConfidentiality(0, 0));
  EXPECT_EQ(0, attributes_.IsEncryption());
  EXPECT_EQ(0, attributes_.IsConfidentiality());

  // Step 3: a file that does not exist yet cannot be made.
  CFolderAttrXML elsewhere;
  elsewhere.SetDirectory(dir_.File("sub"));
  EXPECT_EQ(0, elsewhere.EnableEncryption(1, 1));
}

TEST_F(SaveRoutineTest, ARealReadOnlyDirectoryWithAWritableFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions are not enforced for root";
  ASSERT_EQ(1, attributes_.EnableEncryption(1, 100));
  ASSERT_EQ(0, ::chmod(AttrFile().c_str(), 0666));
  ASSERT_EQ(0, ::chmod(dir_.path().c_str(), 0555));
  const int changed = attributes_.EnableConfidentiality(1, 5);
  const int confidential = attributes_.IsConfidentiality();
  ::chmod(dir_.path().c_str(), 0755);
  EXPECT_EQ(1, changed);
  EXPECT_EQ(1, confidential);
  EXPECT_EQ(1, attributes_.IsEncryption());
}

}  // namespace
}  // namespace Foldwise
