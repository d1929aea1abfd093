// The checks made before a file is touched, access rights, and path splitting.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <string>

#include "foldwise/env.h"
#include "location/file_path.h"
#include "storage/xml_file.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

using testing::FileExists;
using testing::ReadText;
using testing::TempDir;
using testing::WriteText;

mode_t ModeOf(const std::string& path) {
  struct stat st;
  EXPECT_EQ(0, ::stat(path.c_str(), &st));
  return st.st_mode & 0777;
}

class FileChecksTest : public ::testing::Test {
 protected:
  TempDir dir_;
};

TEST_F(FileChecksTest, IsFileFreeCreatesMissingFilesAndSeesLocks) {
  const std::string path = dir_.File("OutBoxFolder.xml");
  EXPECT_EQ(1, IsFileFree(path + "/"));  // one trailing separator is dropped
  ASSERT_TRUE(FileExists(path));
  EXPECT_EQ("", ReadText(path));

  {
    // Held by another open file, as another process would hold it while saving.
    std::unique_ptr<FileLock> held;
    ASSERT_EQ(0, Env::Default()->LockFile(path, /*exclusive=*/false, /*timeout_ms=*/0, &held));
    EXPECT_EQ(0, IsFileFree(path));
  }
  EXPECT_EQ(1, IsFileFree(path));
  EXPECT_EQ(0, IsFileFree(dir_.File("missing/dir/file.xml")));
}

TEST_F(FileChecksTest, HasContentTellsMissingFromUnreadable) {
  EXPECT_EQ(0, HasContent(dir_.File("missing.xml")));
  WriteText(dir_.File("empty.xml"), "");
  EXPECT_EQ(0, HasContent(dir_.File("empty.xml")));
  WriteText(dir_.File("full.xml"), "<root/>");
  EXPECT_EQ(1, HasContent(dir_.File("full.xml")));
  // A missing directory is "path not found", which counts as present.
  EXPECT_EQ(1, HasContent(dir_.File("missing/full.xml")));
}

TEST_F(FileChecksTest, SetFileAccessOpensTheFileToEveryone) {
  const std::string path = dir_.File("f.xml");
  WriteText(path, "x");
  ASSERT_EQ(0, ::chmod(path.c_str(), 0400));
  XmlFileBase base;
  EXPECT_EQ(1, base.SetFileAccess(path));
  EXPECT_EQ(0666u, ModeOf(path));
  EXPECT_EQ(0, base.SetFileAccess(dir_.File("missing.xml")));
}

// Which extensions route an entry to the encrypted file is the routing test's, on every folder.
TEST(FilePathTest, SplitsEitherKindOfPath) {
  FilePath drive("C:\\Data\\VoiceFolder.xml");
  EXPECT_EQ("C:\\Data", drive.GetDirectory());
  EXPECT_EQ("VoiceFolder.xml", drive.GetFileName());
  EXPECT_EQ("xml", drive.GetExtension());
  // A path given with a trailing separator names a directory.
  FilePath dir("/srv/data.d/");
  EXPECT_EQ("/srv/data.d", dir.GetPath());
  EXPECT_EQ("/srv/data.d", dir.GetDirectory());
  EXPECT_EQ("", dir.GetExtension());
}

TEST(FilePathTest, ComposesWithOneSeparator) {
  FilePath path("/srv/data//", "VoiceFolder.xml");
  EXPECT_EQ("/srv/data/VoiceFolder.xml", path.GetPath());
  // A directory without a trailing separator is joined with the native one.
  const std::string native(1, kNativeSeparator);
  path.SetDirectory("/other");
  EXPECT_EQ("/other" + native + "VoiceFolder.xml", path.GetPath());
  path.SetFileName("VoiceEFolder.xml");
  EXPECT_EQ("/other" + native + "VoiceEFolder.xml", path.GetPath());
  path.SetDirectory("");
  EXPECT_EQ("VoiceEFolder.xml", path.GetPath());

  FilePath windows("C:\\Data\\old.xml");
  windows.SetFileName("new.xml");
  EXPECT_EQ("C:\\Data\\new.xml", windows.GetPath());
  EXPECT_EQ("/x" + native + "f", JoinPath("/x", "f"));
  EXPECT_EQ("f", JoinPath("", "f"));
}

}  // namespace
}  // namespace Foldwise
