// The root directory "/" as a data directory and as a stored path keeps its separator: trimmed
// to nothing it would name the current directory, or delete the stored field.
#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <string>

#include "foldwise/cached_folders.h"
#include "foldwise/env.h"
#include "foldwise/folder_attributes.h"
#include "foldwise/testing/fault_env.h"
#include "location/location_fixture.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

// Sees which files the folders look at, and lets none of them be touched.
class PathRecordingEnv : public EnvWrapper {
 public:
  PathRecordingEnv() : EnvWrapper(Env::Default()) {}
  int GetFileStatus(const std::string& path, FileStatus*) override {
    paths.insert(path);
    return kErrorFileNotFound;
  }
  int LockFile(const std::string& path, bool, int, std::unique_ptr<FileLock>*) override {
    paths.insert(path);
    return EACCES;
  }
  std::set<std::string> paths;
};

using RootPathTest = LocationFixture;

TEST_F(RootPathTest, RootAsDataDirectoryNamesFilesInTheRoot) {
  PathRecordingEnv env;
  ScopedEnv use_env(&env);
  CVoiceFolderXML voice;
  voice.SetXmlFalePath("/");
  EXPECT_EQ(0, voice.GetItemCountXML(nullptr));
  VOICE_ITEM_XML_DATA item;
  item.guid = "g";
  item.dictation_file_name = "a.dss";
  EXPECT_EQ(0, voice.AddItemXML(item, 0));  // the lock is refused: nothing is written anywhere

  CFolderAttrXML attributes;
  attributes.SetDirectory("/");
  EXPECT_EQ("/", attributes.GetDirectoryText());
  EXPECT_EQ(0, attributes.EnableEncryption(1, 1));
  EXPECT_EQ(0, attributes.IsExistXml());

  EXPECT_EQ((std::set<std::string>{"/FolderAttr.xml", "/VoiceEFolder.xml", "/VoiceFolder.xml"}),
            env.paths);
}

TEST_F(RootPathTest, RootAsStoredPathIsKept) {
  testing::TempDir dir;
  CVoiceFolderXML voice;
  voice.SetXmlFalePath(dir.path().c_str());
  VOICE_ITEM_XML_DATA added, changed, values, out;  // one added with the root, one changed to it
  added.guid = "added";
  added.document_file_path = "/";
  changed.guid = "changed";
  changed.document_file_path = "/srv/letters";
  ASSERT_EQ(1, voice.AddItemXML(added, 0));
  ASSERT_EQ(1, voice.AddItemXML(changed, 0));
  // A change to the root replaces the stored path; it does not delete it.
  values.document_file_path = "/";
  ASSERT_EQ(1, voice.ChangeItemXML(changed, values, 0));
  for (const char* guid : {"added", "changed"}) {
    VOICE_ITEM_XML_DATA key;
    key.guid = guid;
    ASSERT_EQ(1, voice.GetItemXML(key, &out));
    EXPECT_EQ("/", out.document_file_path) << guid;
  }
}

}  // namespace
}  // namespace Foldwise
