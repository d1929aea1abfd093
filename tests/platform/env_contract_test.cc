// The promises of the platform's own Env (POSIX, or Win32 on Windows) that the folders build on,
// checked in one process: locks that keep out other holders but not the holder's own reads,
// the save that replaces a held file, and the two kinds of "not found".
#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "foldwise/env.h"
#include "platform/file_hold.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

using testing::ReadText;
using testing::TempDir;
using testing::WriteText;

class EnvContractTest : public ::testing::Test {
 protected:
  Env* env_ = Env::Default();
  TempDir dir_;
};

TEST_F(EnvContractTest, AnExclusiveLockKeepsOthersOutButNotItsHoldersReads) {
  const std::string path = dir_.File("VoiceFolder.xml");
  WriteText(path, "<old/>");
  std::unique_ptr<FileLock> held;
  ASSERT_EQ(0, env_->LockFile(path, /*exclusive=*/true, 0, &held));

  // Step 1: every other taker, and an exclusive open, finds the file busy.
  std::unique_ptr<FileLock> other;
  EXPECT_EQ(EWOULDBLOCK, env_->LockFile(path, true, 0, &other));
  EXPECT_EQ(EWOULDBLOCK, env_->LockFile(path, false, 0, &other));
  EXPECT_EQ(EWOULDBLOCK, env_->ProbeExclusiveOpen(path));
  std::string text;
  EXPECT_EQ(EWOULDBLOCK, env_->ReadFile(path, &text, 0));

  // Step 2: the holder still reads the content without a lock.
  ASSERT_EQ(0, env_->ReadFile(path, &text, kNoLock));
  EXPECT_EQ("<old/>", text);

  // Step 3: released, the file is free again.
  held.reset();
  EXPECT_EQ(0, env_->ProbeExclusiveOpen(path));
  EXPECT_EQ(0, env_->ReadFile(path, &text, 0));
}

TEST_F(EnvContractTest, AHeldFileIsReplacedAndStaysHeldUntilTheHoldEnds) {
  const std::string path = dir_.File("OutBoxFolder.xml");
  WriteText(path, "<old/>");
  std::string seen_by_waiter;
  std::thread waiter;
  {
    platform::FileHold hold(env_, path);
    ASSERT_EQ(0, hold.error());
    // Step 1: another thread waits for the file while this one changes it.
    waiter = std::thread([&] {
      platform::FileHold other(env_, path);
      if (other.error() == 0) (void)env_->ReadFile(path, &seen_by_waiter, kNoLock);
    });
    ASSERT_EQ(0, WriteFileAtomically(env_, path, "<new/>"));
    // Step 2: the new file is still held; an exclusive open finds it busy.
    EXPECT_EQ(EWOULDBLOCK, env_->ProbeExclusiveOpen(path));
    EXPECT_EQ(0, testing::CountTemporaryFiles(dir_.path()));
  }
  waiter.join();
  // Step 3: the waiter got the lock only after the hold, and read the replaced file.
  EXPECT_EQ("<new/>", seen_by_waiter);
  EXPECT_EQ("<new/>", ReadText(path));
}

TEST_F(EnvContractTest, ThreadsChangingOneFileLoseNoChange) {
  // Each change reads the count and saves it plus one while it holds the file; a lock that let
  // go before the new file took its place would let two threads save the same count.
  const std::string path = dir_.File("FolderAttr.xml");
  ASSERT_EQ(0, WriteFileAtomically(env_, path, "0"));
  constexpr int kThreads = 4;
  constexpr int kChanges = 25;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kChanges; ++i) {
        platform::FileHold hold(env_, path);
        std::string count;
        if (hold.error() != 0 || env_->ReadFile(path, &count, kNoLock) != 0) return;
        (void)WriteFileAtomically(env_, path, std::to_string(std::stoi(count) + 1));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(std::to_string(kThreads * kChanges), ReadText(path));
}

TEST_F(EnvContractTest, StatusTellsAMissingFileFromAMissingDirectory) {
  FileStatus status;
  EXPECT_EQ(kErrorFileNotFound, env_->GetFileStatus(dir_.File("missing.xml"), &status));
  EXPECT_EQ(kErrorPathNotFound,
            env_->GetFileStatus(dir_.File("missing") + "/DocumentsFolder.xml", &status));
  WriteText(dir_.File("five.xml"), "12345");
  ASSERT_EQ(0, env_->GetFileStatus(dir_.File("five.xml"), &status));
  EXPECT_EQ(5u, status.size);
  EXPECT_FALSE(status.read_only);
}

TEST_F(EnvContractTest, AnEmptyFileMadeOnlyToBeLockedGoesWithTheLock) {
  const std::string path = dir_.File("InboxTypistFolder.xml");
  {
    std::unique_ptr<FileLock> held;
    ASSERT_EQ(0, env_->LockFile(path, true, 0, &held));
    EXPECT_TRUE(testing::FileExists(path));
  }
  EXPECT_FALSE(testing::FileExists(path));
}

TEST_F(EnvContractTest, NamesOutsideAsciiArriveAsTheyWereGiven) {
  // UTF-8 at the library's side on every platform; Windows keeps names in UTF-16.
  const std::string name = "Diktat-\xC3\xA4\xC3\xB6\xC3\xBC-\xE6\x97\xA5\xE6\x9C\xAC.xml";
  const std::string path = dir_.File(name);
  ASSERT_EQ(0, WriteFileAtomically(env_, path, "<root/>"));
  std::vector<std::string> names;
  ASSERT_EQ(0, env_->GetChildren(dir_.path(), &names));
  EXPECT_EQ(std::vector<std::string>{name}, names);
  std::string text;
  ASSERT_EQ(0, env_->ReadFile(path, &text, 0));
  EXPECT_EQ("<root/>", text);
  FileStatus status;
  EXPECT_EQ(0, env_->GetFileStatus(path, &status));
  // Text that is not UTF-8 names no file.
  EXPECT_NE(0, env_->GetFileStatus(dir_.File("bad-\xFF.xml"), &status));
}

}  // namespace
}  // namespace Foldwise
