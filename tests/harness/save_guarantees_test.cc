// The guarantees of a save that a host only misses when the machine fails: the temporary file is
// flushed before it replaces the folder file and is open to every user by then, the replaced file
// is locked against other processes meanwhile, the directory is flushed after the rename and
// after a deletion, and a cached folder whose two files do not both save reports failure.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <map>
#include <string>
#include <vector>

#include "folders/cached/folder_kit.h"
#include "foldwise/cached_folders.h"
#include "foldwise/errors.h"
#include "foldwise/testing/fault_env.h"
#include "foldwise/xml_document.h"
#include "harness/family_table.h"
#include "support/scripted_network.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

// Either slash: Windows paths of the test directories use backslashes.
std::string DirectoryOf(const std::string& path) {
  return path.substr(0, path.find_last_of("/\\"));
}

// Watches the steps of every save and checks their order as they happen.
class OrderEnv : public testing::FaultEnv {
 public:
  int NewWritableFile(const std::string& path, std::unique_ptr<WritableFile>* file) override {
    syncsAtCreation[path] = syncs;
    return FaultEnv::NewWritableFile(path, file);
  }
  int RenameFile(const std::string& from, const std::string& to) override {
    ++renames;
    EXPECT_GT(syncs, syncsAtCreation[from]) << from << " replaced " << to << " unflushed";
    // Open to every user the moment it appears, or another account of the practice is locked out.
    struct stat st {};
    ::stat(from.c_str(), &st);
    EXPECT_EQ(0666u, st.st_mode & 0777) << from;
    FileStatus status;
    if (target()->GetFileStatus(to, &status) == 0) {
      // Another process probing for exclusive use must find the file taken.
      EXPECT_EQ(EWOULDBLOCK, target()->ProbeExclusiveOpen(to)) << to << " replaced unlocked";
      ++lockedRenames;
    }
    const int error = FaultEnv::RenameFile(from, to);
    if (error == 0) unflushedDirectories.push_back(DirectoryOf(to));
    return error;
  }
  // A deletion not followed by a flush of its directory can come back after a power loss.
  int RemoveFile(const std::string& path) override {
    const int error = FaultEnv::RemoveFile(path);
    if (error == 0) {
      ++removals;
      unflushedDirectories.push_back(DirectoryOf(path));
    }
    return error;
  }
  int SyncDirectory(const std::string& dir) override {
    const int error = FaultEnv::SyncDirectory(dir);
    std::vector<std::string> left;
    for (const std::string& pending : unflushedDirectories) {
      if (pending != dir) left.push_back(pending);
    }
    unflushedDirectories = left;
    return error;
  }

  std::map<std::string, int> syncsAtCreation;
  std::vector<std::string> unflushedDirectories;
  int renames = 0;
  int removals = 0;
  int lockedRenames = 0;
};

class SaveGuaranteesTest : public ScriptedNetworkFixture {
 protected:
  void SetUp() override {
    ScriptedNetworkFixture::SetUp();
    CXmlDocument::InitXMLDocument();
    previousUmask = ::umask(022);  // a new file would be 0644 unless the save opens it up
  }
  void TearDown() override {
    ::umask(previousUmask);
    ScriptedNetworkFixture::TearDown();
  }
  mode_t previousUmask = 0;

  testing::TempDir dir;
  OrderEnv env;
  ScopedEnv useEnv{&env};
};

TEST_F(SaveGuaranteesTest, EverySaveFlushesLocksRenamesThenFlushesTheDirectory) {
  std::map<std::string, int> renamesByFamily;
  for (const harness::Operation& op : harness::AllOperations()) {
    if (op.effect != harness::Effect::kChanges) continue;
    SCOPED_TRACE(std::string(FamilyName(op.family)) + " / " + op.name);
    std::filesystem::remove_all(dir.path());
    std::filesystem::create_directory(dir.path());
    harness::SetupFamily(op.family, dir.path());
    const int before = env.renames;
    try {
      harness::Texts texts;
      op.run(dir.path(), texts);
    } catch (const ComError& error) {
      ADD_FAILURE() << error.what();
    }
    EXPECT_TRUE(env.unflushedDirectories.empty()) << "a rename or deletion was never made durable";
    env.unflushedDirectories.clear();
    renamesByFamily[FamilyName(op.family)] += env.renames - before;
  }
  // Each family saved at least once, and a rename over an existing file was seen locked.
  EXPECT_EQ(static_cast<std::size_t>(harness::kFamilyCount), renamesByFamily.size());
  for (const auto& [family, renames] : renamesByFamily) EXPECT_GT(renames, 0) << family;
  EXPECT_GT(env.lockedRenames, 0);
  EXPECT_GT(env.removals, 0);
  EXPECT_GE(env.exclusive_locks, env.lockedRenames);
  EXPECT_GE(env.directory_syncs, env.renames);
}

// Fails the saves and the removal of one folder file only.
// The save of one file fails with an I/O error (not a refused permission, which a save answers
// by rewriting the file in place).
class OneFileFailsEnv : public testing::FaultEnv {
 public:
  int NewWritableFile(const std::string& path, std::unique_ptr<WritableFile>* file) override {
    if (!failing.empty() && path.rfind(failing, 0) == 0) return EIO;
    return FaultEnv::NewWritableFile(path, file);
  }
  int RemoveFile(const std::string& path) override {
    if (path == failing) return EIO;
    return FaultEnv::RemoveFile(path);
  }
  std::string failing;
};

template <typename Folder>
class CachedPartialSaveTest : public ScriptedNetworkFixture {
 protected:
  using Item = typename Folder::Item;
  using Kit = testing::Kit<Folder>;

  void SetUp() override {
    ScriptedNetworkFixture::SetUp();
    CXmlDocument::InitXMLDocument();
    folder.SetXmlFalePath(dir.path().c_str());
    for (const char* name : {"a.wav", "b.$wv"}) {
      Item item;
      item.guid = "g";
      item.dictation_file_name = name;
      item.status = "new";
      ASSERT_EQ(1, folder.AddItemXML(item, 0));
    }
  }

  // Runs |work| with the save of |file| failing; the other file saves.
  template <typename Work>
  void ExpectFailureWhenOneFileFails(Work work) {
    for (const char* file : {Kit::kPlain, Kit::kEncrypted}) {
      SCOPED_TRACE(file);
      const std::string plain = testing::ReadText(dir.File(Kit::kPlain));
      const std::string encrypted = testing::ReadText(dir.File(Kit::kEncrypted));
      env.failing = dir.File(file);
      EXPECT_EQ(0, work()) << "a folder with one file unsaved reported success";
      env.failing.clear();
      EXPECT_EQ(file == Kit::kPlain ? plain : encrypted, testing::ReadText(dir.File(file)));
      EXPECT_EQ(0, testing::CountTemporaryFiles(dir.path()));
      // Back to both entries for the next round.
      testing::WriteText(dir.File(Kit::kPlain), plain);
      testing::WriteText(dir.File(Kit::kEncrypted), encrypted);
    }
  }

  testing::TempDir dir;
  OneFileFailsEnv env;
  ScopedEnv useEnv{&env};
  Folder folder;
};

using CachedFolders = ::testing::Types<CVoiceFolderXML, CSentItemsFolderXML, CInBoxTypistFolderXML>;
TYPED_TEST_SUITE(CachedPartialSaveTest, CachedFolders);

TYPED_TEST(CachedPartialSaveTest, ChangeAndDeleteReportFailureWhenOneFileFails) {
  typename TypeParam::Item key, values;
  key.guid = "g";
  values.status = "typed";
  this->ExpectFailureWhenOneFileFails([&] { return this->folder.ChangeItemXML(key, values, 0); });
  this->ExpectFailureWhenOneFileFails([&] { return this->folder.DelItemXML(key); });
}

}  // namespace
}  // namespace Foldwise
