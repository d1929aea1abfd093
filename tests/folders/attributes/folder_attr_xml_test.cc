// FolderAttr.xml: created and deleted with its switches, versions encoded as "major.minor"; a
// switch turned off and on again inside a host's bracket comes back on. A file it cannot use is
// the damaged-files test's (tests/harness).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "foldwise/env.h"
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

class FolderAttrTest : public ::testing::Test {
 protected:
  void SetUp() override { attributes_.SetDirectory(dir_.path() + "/"); }
  std::string File() const { return dir_.File("FolderAttr.xml"); }

  TempDir dir_;
  CFolderAttrXML attributes_;
};

// Which switch is on, and whether the file exists, after any sequence of switching is the random
// model test's; here the bytes of a new file and where the second switch goes.
TEST_F(FolderAttrTest, FirstSwitchWritesTheFileAndTheSecondFollowsIt) {
  ASSERT_EQ(1, attributes_.EnableEncryption(1, 123));
  EXPECT_EQ(
      "<?xml version=\"1.0\"?>\r\n<!--Quillnote FolderAttributeXML-->\r\n<root>\r\n\t<attribute>"
      "\r\n\t\t<cryptical ver=\"1.23\"/>\r\n\t</attribute>\r\n</root>\r\n",
      ReadText(File()));
  EXPECT_EQ(1, attributes_.IsExistXml());
  ASSERT_EQ(1, attributes_.EnableConfidentiality(1, 5));
  const std::string both = ReadText(File());
  EXPECT_LT(both.find("cryptical"), both.find("confidential"));
  // Turning off what is off rewrites nothing.
  ASSERT_EQ(1, attributes_.EnableEncryption(0, 0));
  const std::string onlyConfidential = ReadText(File());
  ASSERT_EQ(1, attributes_.EnableEncryption(0, 0));
  EXPECT_EQ(onlyConfidential, ReadText(File()));
}

TEST_F(FolderAttrTest, VersionsAreStoredAsMajorDotMinor) {
  struct Case {
    int version;
    const char* stored;
    int read_back;
  } cases[] = {
      {123, "1.23", 123}, {102, "1.2", 12}, {5, "0.5", 5}, {200, "2.0", 20}, {99, "0.99", 99}};
  for (const Case& c : cases) {
    ASSERT_EQ(1, attributes_.EnableEncryption(1, c.version));
    EXPECT_NE(std::string::npos, ReadText(File()).find(std::string("ver=\"") + c.stored + "\""))
        << c.version;
    EXPECT_EQ(c.read_back, attributes_.GetEncryptionVer()) << c.version;
  }
  // Turning an enabled switch on with no version keeps the switch and drops the version.
  ASSERT_EQ(1, attributes_.EnableEncryption(1, 0));
  EXPECT_EQ(1, attributes_.IsEncryption());
  EXPECT_EQ(0, attributes_.GetEncryptionVer());
  EXPECT_EQ(std::string::npos, ReadText(File()).find("ver="));

  EXPECT_EQ(0, DecodeAttributeVersion("x"));
}

TEST_F(FolderAttrTest, InsideABracketTheLastSwitchComesBackOn) {
  ASSERT_EQ(1, attributes_.EnableEncryption(1, 0));
  CXmlDocument::ActiveCacheDOMDocument();
  // Step 1: off, then on again, both inside the bracket.
  EXPECT_EQ(1, attributes_.EnableEncryption(0, 0));
  EXPECT_EQ(0, attributes_.IsEncryption());
  EXPECT_EQ(1, attributes_.EnableEncryption(1, 5));
  EXPECT_EQ(5, attributes_.GetEncryptionVer());
  // Step 2: the flush writes the enabled switch.
  CXmlDocument::DeactiveCacheDOMDocument(0);
  EXPECT_NE(std::string::npos, ReadText(File()).find("<cryptical ver=\"0.5\""));
  EXPECT_EQ(1, attributes_.IsEncryption());

  // Step 3: the same when the off found no file at all (it deleted the file above).
  ASSERT_EQ(1, attributes_.EnableEncryption(0, 0));
  ASSERT_FALSE(FileExists(File()));
  CXmlDocument::ActiveCacheDOMDocument();
  EXPECT_EQ(1, attributes_.EnableConfidentiality(0, 0));
  EXPECT_EQ(1, attributes_.EnableConfidentiality(1, 0));
  CXmlDocument::DeactiveCacheDOMDocument(0);
  EXPECT_EQ(1, attributes_.IsConfidentiality());
}

// Random switch changes, with and without a host bracket, against two optional versions.
TEST_F(FolderAttrTest, RandomSwitchingAgreesWithAModel) {
  struct Switch {
    bool on = false;
    int version = 0;
  } model[2];
  std::mt19937 random(20261206);
  for (int step = 0; step < 300; ++step) {
    const int which = static_cast<int>(random() % 2);
    const int enable = static_cast<int>(random() % 3 != 0);
    const int version = static_cast<int>(random() % 250) - 20;
    const bool bracket = random() % 4 == 0;
    if (bracket) CXmlDocument::ActiveCacheDOMDocument();
    const int result = which == 0 ? attributes_.EnableEncryption(enable, version)
                                  : attributes_.EnableConfidentiality(enable, version);
    if (bracket) CXmlDocument::DeactiveCacheDOMDocument(0);
    ASSERT_EQ(1, result) << "step " << step;
    model[which].on = enable != 0;
    model[which].version =
        enable && version > 0 ? DecodeAttributeVersion(EncodeAttributeVersion(version)) : 0;
    ASSERT_EQ(model[0].on, attributes_.IsEncryption() == 1) << "step " << step;
    ASSERT_EQ(model[1].on, attributes_.IsConfidentiality() == 1) << "step " << step;
    ASSERT_EQ(model[0].on ? model[0].version : 0, attributes_.GetEncryptionVer());
    ASSERT_EQ(model[1].on ? model[1].version : 0, attributes_.GetConfidentialityVer());
    ASSERT_EQ(model[0].on || model[1].on, FileExists(File())) << "step " << step;
  }
}

// Failed saves at every step are the fault table's (tests/harness); a failure to copy the
// directory's access rights onto the new file is no failed save.
TEST_F(FolderAttrTest, FailingAccessRightsDoNotFailTheSave) {
  ASSERT_EQ(1, attributes_.EnableEncryption(1, 123));
  FaultEnv env;
  ScopedEnv use(&env);
  env.fail_access_rights = true;
  EXPECT_EQ(1, attributes_.EnableConfidentiality(1, 5));
  EXPECT_EQ(1, attributes_.IsConfidentiality());
}

}  // namespace
}  // namespace Foldwise
