// The facade: one instance of every folder on one data directory, the presence check of the
// folder files, and folder objects that are copied and used side by side.
#include "foldwise/facade.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "foldwise/env.h"
#include "foldwise/location.h"
#include "foldwise/testing/fault_env.h"
#include "foldwise/xml_document.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

using testing::FaultEnv;
using testing::FileExists;
using testing::TempDir;
using testing::WriteText;

// Answers Access for chosen file names with a fixed error and counts every Access call.
class AccessEnv : public EnvWrapper {
 public:
  AccessEnv() : EnvWrapper(Env::Default()) {}
  int Access(const std::string& path, int mode) override {
    ++calls;
    const std::string file_name = std::filesystem::path(path).filename().string();
    for (const std::string& name : failing) {
      if (file_name == name) return error;
    }
    return EnvWrapper::Access(path, mode);
  }
  std::vector<std::string> failing;
  int error = EACCES;
  int calls = 0;
};

class ExistsXmlTest : public ::testing::Test {
 protected:
  void Touch(const std::string& name, const std::string& text = "") {
    WriteText(dir_.File(name), text);
  }
  unsigned long Exists(const std::string& dir) { return CFoldwise::ExistsXML(dir.c_str()); }

  TempDir dir_;
};

TEST_F(ExistsXmlTest, EveryFileSetsItsFolderBit) {
  // Step 1: no directory, a missing one, or a regular file standing for one gives nothing.
  Touch("plain.txt", "x");
  for (const std::string& none : {std::string(), dir_.File("missing"), dir_.File("missing/"),
                                  dir_.File("plain.txt"), dir_.path()}) {
    EXPECT_EQ(0ul, Exists(none)) << none;
  }
  EXPECT_EQ(0ul, CFoldwise::ExistsXML(nullptr));

  // Step 2: each file alone sets its bit; content plays no part, an empty file counts.
  const struct {
    const char* name;
    unsigned long bit;
  } files[] = {
      {"VoiceFolder.xml", 0x01},           {"VoiceEFolder.xml", 0x01},
      {"SentItemsFolder.xml", 0x08},       {"SentItemsEFolder.xml", 0x08},
      {"OutBoxFolder.xml", 0x04},          {"DocumentsFolder.xml", 0x02},
      {"InBoxTypistFolder.xml", 0x20},     {"InBoxTypistEFolder.xml", 0x20},
      {"OutBoxTypistFolder.xml", 0x40},    {"SentItemsTypistFolder.xml", 0x80},
      {"DocumentsTypistFolder.xml", 0x10},
  };
  for (const auto& file : files) {
    SCOPED_TRACE(file.name);
    TempDir alone;
    WriteText(alone.File(file.name), "");
    EXPECT_EQ(file.bit, CFoldwise::ExistsXML(alone.path().c_str()));
    // Trailing separators of either kind name the same directory.
    EXPECT_EQ(file.bit, Exists(alone.path() + "/\\/"));
    Touch(file.name, "<root/>");
  }
  EXPECT_EQ(0xFFul, Exists(dir_.path()));

  // Step 3: other names, the attribute file included, are not folder files, nor are case
  // variants where file names keep case.
  TempDir others;
#ifndef _WIN32
  WriteText(others.File("voicefolder.xml"), "");
#endif
  WriteText(others.File("FolderAttr.xml"), "");
  WriteText(others.File("VoiceFolder.xml.tmp"), "");
  EXPECT_EQ(0ul, CFoldwise::ExistsXML(others.path().c_str()));
}

TEST_F(ExistsXmlTest, AskTheEnvAndOpenNothing) {
  Touch("OutBoxFolder.xml", "<root/>");
  AccessEnv env;
  FaultEnv reads(&env);
  ScopedEnv use(&reads);

  // Step 1: the directory and the eleven files are asked about, none is read.
  EXPECT_EQ(0x04ul, Exists(dir_.path()));
  EXPECT_EQ(12, env.calls);
  EXPECT_EQ(0, reads.reads.load());

  // Step 2: a file that exists but cannot be examined still counts; a plain "no such file"
  // does not.
  env.failing = {"DocumentsFolder.xml", "SentItemsTypistFolder.xml"};
  EXPECT_EQ(0x04ul | 0x02ul | 0x80ul, Exists(dir_.path()));
  env.error = ENOENT;
  EXPECT_EQ(0x04ul, Exists(dir_.path()));
  env.failing = {"OutBoxFolder.xml"};
  EXPECT_EQ(0ul, Exists(dir_.path()));
}

class FacadeTest : public ::testing::Test {
 protected:
  TempDir dir_;
};

TEST_F(FacadeTest, SetXmlFalePathTrimsForTheFoldersOnly) {
  CFoldwise facade;
  const std::string given = dir_.path() + "//";
  facade.SetXmlFalePath(given);

  // Step 1: the host's text is kept as given; every folder directory is stored trimmed.
  EXPECT_EQ(given, facade.dataPath);
  for (const XmlFileBase* folder : std::vector<const XmlFileBase*>{
           &facade.outBox, &facade.documents, &facade.outBoxTypist, &facade.sentItemsTypist,
           &facade.documentsTypist, &facade.folderAttr}) {
    EXPECT_EQ(dir_.path(), folder->GetDirectoryText());
  }
  // Nothing on disk was made.
  EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));

  // Step 2: the cached folders name their files by the trimmed text: inside a bracket they
  // share one document with folders given the bare directory.
  CVoiceFolderXML bareVoice;
  bareVoice.SetXmlFalePath(dir_.path().c_str());
  CFolderAttrXML bareAttr;
  bareAttr.SetDirectory(dir_.path());
  CXmlDocument::ActiveCacheDOMDocument();
  VOICE_ITEM_XML_DATA first;
  first.guid = "{1}";
  first.dictation_file_name = "one.dss";
  VOICE_ITEM_XML_DATA second = first;
  second.guid = "{2}";
  EXPECT_EQ(1, facade.voice.AddItemXML(first, 0));
  EXPECT_EQ(1, bareVoice.AddItemXML(second, 0));
  EXPECT_EQ(1, facade.folderAttr.EnableEncryption(1, 3));
  EXPECT_EQ(1, bareAttr.EnableConfidentiality(1, 4));
  EXPECT_EQ(2u, CXmlDocument::CachedDocumentCount());
  CXmlDocument::DeactiveCacheDOMDocument(0);
  EXPECT_EQ(2, facade.voice.GetItemCountXML(nullptr));
  EXPECT_EQ(1, facade.folderAttr.IsEncryption());
  EXPECT_EQ(1, facade.folderAttr.IsConfidentiality());
  // The other two cached folders write there too.
  SENTITEMS_ITEM_XML_DATA sent;
  sent.guid = "{S}";
  sent.dictation_file_name = "a.dss";
  ASSERT_EQ(1, facade.sentItems.AddItemXML(sent, 0));
  INBOX_TYPIST_ITEM_XML_DATA received;
  received.guid = "{I}";
  received.dictation_file_name = "b.dss";
  ASSERT_EQ(1, facade.inBoxTypist.AddItemXML(received, 0));
  EXPECT_EQ(0x01ul | 0x08ul | 0x20ul, CFoldwise::ExistsXML(dir_.path().c_str()));

  // Step 3: a second call moves every folder.
  TempDir other;
  facade.SetXmlFalePath(other.path());
  EXPECT_EQ(0, facade.voice.GetItemCountXML(nullptr));
  EXPECT_EQ(other.path(), facade.folderAttr.GetDirectoryText());
  EXPECT_EQ(other.path(), facade.sentItemsTypist.GetDirectoryText());
}

TEST_F(FacadeTest, DestructionDiscardsTheResolver) {
  NetworkPathResolver::GetInstance();
  ASSERT_TRUE(NetworkPathResolver::HasInstance());
  { CFoldwise facade; }
  EXPECT_FALSE(NetworkPathResolver::HasInstance());
  // The next user makes a new one.
  NetworkPathResolver::GetInstance();
  EXPECT_TRUE(NetworkPathResolver::HasInstance());
  // Made and destroyed inside a bracket, the facade leaves the bracket as it was.
  CXmlDocument::ActiveCacheDOMDocument();
  { CFoldwise facade; }
  EXPECT_TRUE(CXmlDocument::IsCacheActive());
  CXmlDocument::DeactiveCacheDOMDocument(0);
}

class FolderCopyTest : public ::testing::Test {
 protected:
  static VOICE_ITEM_XML_DATA Voice(const std::string& guid, const std::string& name) {
    VOICE_ITEM_XML_DATA item;
    item.guid = guid;
    item.dictation_file_name = name;
    return item;
  }

  TempDir dir_;
  TempDir other_;
};

TEST_F(FolderCopyTest, CopiesOfACachedFolderWorkOnTheSameFiles) {
  CVoiceFolderXML original;
  original.SetXmlFalePath(dir_.path().c_str());

  // Step 1: a copy keeps the directory; each copy sees what the other wrote.
  CVoiceFolderXML copy(original);
  VOICE_ITEM_XML_DATA plain = Voice("{A}", "a.dss");
  VOICE_ITEM_XML_DATA encrypted = Voice("{B}", "b.$ds");
  ASSERT_EQ(1, original.AddItemXML(plain, 0));
  ASSERT_EQ(1, copy.AddItemXML(encrypted, 0));
  EXPECT_EQ(2, original.GetItemCountXML(nullptr));
  EXPECT_EQ(2, copy.GetItemCountXML(nullptr));
  VOICE_ITEM_XML_DATA found;
  EXPECT_EQ(1, original.GetItemXML(encrypted, &found));
  EXPECT_EQ("b.$ds", found.dictation_file_name);

  // Step 2: inside a bracket both copies change one shared document.
  CXmlDocument::ActiveCacheDOMDocument();
  ASSERT_EQ(1, copy.DelItemXML(plain));
  EXPECT_EQ(1, original.GetItemCountXML(nullptr));
  CXmlDocument::DeactiveCacheDOMDocument(0);
  EXPECT_FALSE(FileExists(dir_.File("VoiceFolder.xml")));
  EXPECT_TRUE(FileExists(dir_.File("VoiceEFolder.xml")));

  // Step 3: assignment takes the other object's directory; the source is unchanged.
  CVoiceFolderXML elsewhere;
  elsewhere.SetXmlFalePath(other_.path().c_str());
  copy = elsewhere;
  VOICE_ITEM_XML_DATA third = Voice("{C}", "c.dss");
  ASSERT_EQ(1, copy.AddItemXML(third, 0));
  EXPECT_EQ(1, elsewhere.GetItemCountXML(nullptr));
  EXPECT_EQ(1, original.GetItemCountXML(nullptr));
  EXPECT_TRUE(FileExists(other_.File("VoiceFolder.xml")));
}

}  // namespace
}  // namespace Foldwise
