// What the save routine guarantees a host beyond "the old file or the new one": the order of its
// steps (each one a host would lose after a crash or power loss if it were skipped), the file's
// mode at the moment it appears, cleaning up after an interrupted save, and saving where the
// directory refuses new files.
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
using testing::ReadText;
using testing::TempDir;
using testing::WriteText;

// Records the steps of every save and deletion in the order they happen.
class JournalEnv : public testing::FaultEnv {
 public:
  int LockFile(const std::string& path, bool exclusive, int timeout_ms,
               std::unique_ptr<FileLock>* lock) override {
    const int error = FaultEnv::LockFile(path, exclusive, timeout_ms, lock);
    if (error == 0 && exclusive) steps.push_back("lock");
    return error;
  }
  int RenameFile(const std::string& from, const std::string& to) override {
    struct stat st {};
    ::stat(from.c_str(), &st);
    mode_at_rename = st.st_mode & 0777;
    steps.push_back(syncs > 0 ? "rename after sync" : "rename unsynced");
    return FaultEnv::RenameFile(from, to);
  }
  int RemoveFile(const std::string& path) override {
    const int error = FaultEnv::RemoveFile(path);
    if (error == 0) steps.push_back("remove");
    return error;
  }
  int SyncDirectory(const std::string& dir) override {
    steps.push_back("sync directory");
    return FaultEnv::SyncDirectory(dir);
  }

  std::vector<std::string> steps;
  mode_t mode_at_rename = 0;
};

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

TEST_F(SaveRoutineTest, StepsComeInTheOrderThatSurvivesACrash) {
  JournalEnv env;
  ScopedEnv use(&env);

  // Step 1: a save locks, flushes the new file, renames it (already open to every user) and
  // flushes the directory, so the rename itself survives a power loss.
  ASSERT_EQ(1, attributes_.EnableEncryption(1, 100));
  EXPECT_EQ((std::vector<std::string>{"lock", "lock", "rename after sync", "sync directory"}),
            env.steps);
  EXPECT_EQ(0666u, env.mode_at_rename);

  // Step 2: deleting the emptied file flushes the directory too, or the file can come back.
  env.steps.clear();
  ASSERT_EQ(1, attributes_.EnableEncryption(0, 0));
  ASSERT_FALSE(FileExists(AttrFile()));
  EXPECT_EQ((std::vector<std::string>{"lock", "remove", "sync directory"}), env.steps);
}

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
