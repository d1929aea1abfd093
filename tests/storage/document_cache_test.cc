// The cache bracket's flush: what the discarding mode keeps and drops, and a flush that fails.
// One parse and one write per file is counted in call_counts_test.cc, documents shared by
// several folder objects are the facade tests'.
#include <gtest/gtest.h>

#include <string>

#include "foldwise/folder_attributes.h"
#include "foldwise/testing/fault_env.h"
#include "foldwise/xml_document.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

using testing::FaultEnv;
using testing::FileExists;
using testing::ReadText;
using testing::TempDir;

class DocumentCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CXmlDocument::InitXMLDocument();
    first_.SetDirectory(dir_.path());
  }
  void TearDown() override {
    if (CXmlDocument::IsCacheActive()) CXmlDocument::DeactiveCacheDOMDocument(1);
    CXmlDocument::UninitXMLDocument();
  }
  std::string AttrFile() const { return dir_.File("FolderAttr.xml"); }

  TempDir dir_;
  CFolderAttrXML first_;
};

TEST_F(DocumentCacheTest, DiscardDropsChangesButStillDeletesEmptiedFiles) {
  ASSERT_EQ(1, first_.EnableEncryption(1, 123));
  const std::string saved = ReadText(AttrFile());

  CXmlDocument::ActiveCacheDOMDocument();
  ASSERT_EQ(1, first_.EnableConfidentiality(1, 5));
  CXmlDocument::DeactiveCacheDOMDocument(1);
  EXPECT_EQ(saved, ReadText(AttrFile()));

  CXmlDocument::ActiveCacheDOMDocument();
  ASSERT_EQ(1, first_.EnableEncryption(0, 0));
  CXmlDocument::DeactiveCacheDOMDocument(1);
  EXPECT_FALSE(FileExists(AttrFile()));

  // A file opened from nothing and left empty is never written, in either mode.
  for (int discard : {0, 1}) {
    CXmlDocument::ActiveCacheDOMDocument();
    EXPECT_EQ(0, first_.IsEncryption());
    CXmlDocument::DeactiveCacheDOMDocument(discard);
    EXPECT_FALSE(FileExists(AttrFile()));
  }
}

TEST_F(DocumentCacheTest, AFailedFlushKeepsTheFileAndGoesOn) {
  ASSERT_EQ(1, first_.EnableEncryption(1, 1));
  const std::string saved = ReadText(AttrFile());
  FaultEnv env;
  ScopedEnv use(&env);
  CXmlDocument::ActiveCacheDOMDocument();
  ASSERT_EQ(1, first_.EnableConfidentiality(1, 1));
  env.fail_rename = true;
  CXmlDocument::DeactiveCacheDOMDocument(0);
  EXPECT_EQ(saved, ReadText(AttrFile()));
  EXPECT_FALSE(CXmlDocument::IsCacheActive());
}

}  // namespace
}  // namespace Foldwise
