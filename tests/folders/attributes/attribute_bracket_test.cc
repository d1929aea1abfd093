// Switches turned off and on again inside one cache bracket: the bracket's document is the one
// every call shares, and the flush writes what the last call left.
#include <gtest/gtest.h>

#include "foldwise/folder_attributes.h"
#include "foldwise/xml_document.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

class AttributeBracketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CXmlDocument::InitXMLDocument();
    folder.SetDirectory(dir.path());
  }

  testing::TempDir dir;
  CFolderAttrXML folder;
};

TEST_F(AttributeBracketTest, SwitchOnAfterTheLastSwitchWentOffInTheSameBracket) {
  // Step 1: a file with only encryption on.
  ASSERT_EQ(1, folder.EnableEncryption(1, 110));
  // Step 2: off and then confidentiality on, in one bracket.
  CXmlDocument::ActiveCacheDOMDocument();
  EXPECT_EQ(1, folder.EnableEncryption(0, 0));
  EXPECT_EQ(1, folder.EnableConfidentiality(1, 250));
  CXmlDocument::DeactiveCacheDOMDocument(0);
  // Step 3: the file holds the last state.
  EXPECT_EQ(0, folder.IsEncryption());
  EXPECT_EQ(1, folder.IsConfidentiality());
  EXPECT_EQ(250, folder.GetConfidentialityVer());
}

TEST_F(AttributeBracketTest, SwitchOnAfterAnOffWithoutFileInTheSameBracket) {
  CXmlDocument::ActiveCacheDOMDocument();
  folder.EnableConfidentiality(0, 0);
  EXPECT_EQ(1, folder.EnableConfidentiality(1, 0));
  CXmlDocument::DeactiveCacheDOMDocument(0);
  EXPECT_EQ(1, folder.IsConfidentiality());
  EXPECT_TRUE(testing::FileExists(dir.File("FolderAttr.xml")));
}

}  // namespace
}  // namespace Foldwise
