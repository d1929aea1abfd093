// A save that fails at any step leaves the previous file byte-identical and reports failure.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "foldwise/env.h"
#include "foldwise/folder_attributes.h"
#include "foldwise/testing/fault_env.h"
#include "storage/xml_file.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

using testing::CountTemporaryFiles;
using testing::FaultEnv;
using testing::ReadText;
using testing::TempDir;

class SaveFailureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    attributes_.SetDirectory(dir_.path());
    ASSERT_EQ(1, attributes_.EnableEncryption(1, 123));
    before_ = ReadText(dir_.File("FolderAttr.xml"));
  }

  TempDir dir_;
  CFolderAttrXML attributes_;
  std::string before_;
};

TEST_F(SaveFailureTest, EveryFailingStepKeepsThePreviousFile) {
  const std::pair<const char*, std::function<void(FaultEnv&)>> faults[] = {
      {"cannot create", [](FaultEnv& env) { env.fail_new_file = true; }},
      {"write error", [](FaultEnv& env) { env.fail_write = true; }},
      {"disk full half-way", [](FaultEnv& env) { env.disk_full_after = 40; }},
      {"flush error", [](FaultEnv& env) { env.fail_sync = true; }},
      {"rename error", [](FaultEnv& env) { env.fail_rename = true; }},
  };
  for (const auto& fault : faults) {
    FaultEnv env;
    ScopedEnv use(&env);
    fault.second(env);
    EXPECT_EQ(0, attributes_.EnableConfidentiality(1, 5)) << fault.first;
    EXPECT_EQ(before_, ReadText(dir_.File("FolderAttr.xml"))) << fault.first;
    EXPECT_EQ(0, CountTemporaryFiles(dir_.path())) << fault.first;
  }
  // Nothing of the failed attempts leaked into memory either.
  EXPECT_EQ(0, attributes_.IsConfidentiality());
  EXPECT_EQ(123, attributes_.GetEncryptionVer());
}

TEST_F(SaveFailureTest, FailingAccessRightsDoNotFailTheSave) {
  FaultEnv env;
  ScopedEnv use(&env);
  env.fail_access_rights = true;
  EXPECT_EQ(1, attributes_.EnableConfidentiality(1, 5));
  EXPECT_EQ(1, attributes_.IsConfidentiality());
}

}  // namespace
}  // namespace Foldwise
