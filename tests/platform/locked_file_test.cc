// A folder file that another process keeps locked: every operation waits a bounded time, then
// reports failure and leaves the file as it was; IsFileFree sees the file busy.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "foldwise/cached_folders.h"
#include "foldwise/env.h"
#include "foldwise/folder_attributes.h"
#include "foldwise/testing/fault_env.h"
#include "foldwise/xml_document.h"
#include "storage/xml_file.h"
#include "support/lock_holder.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

using testing::LockHolder;
using testing::LockKind;
using testing::ReadText;
using testing::TempDir;
using Clock = std::chrono::steady_clock;

constexpr int kTimeoutMs = 200;

long MillisecondsSince(Clock::time_point start) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

class LockedFileTest : public ::testing::TestWithParam<LockKind> {
 protected:
  void SetUp() override {
    env_.SetLockTimeoutMs(kTimeoutMs);
    sent_.SetXmlFalePath(dir_.path().c_str());
    attributes_.SetDirectory(dir_.path());
    SENTITEMS_ITEM_XML_DATA item;
    item.guid = "first";
    item.dictation_file_name = "first.dss";
    ASSERT_EQ(1, sent_.AddItemXML(item, 0));
    ASSERT_EQ(1, attributes_.EnableEncryption(1, 100));
    before_ = ReadText(File());
    attributes_before_ = ReadText(dir_.File("FolderAttr.xml"));
  }

  std::string File() const { return dir_.File("SentItemsFolder.xml"); }

  TempDir dir_;
  testing::FaultEnv env_;
  ScopedEnv use_{&env_};
  CSentItemsFolderXML sent_;
  CFolderAttrXML attributes_;
  std::string before_;
  std::string attributes_before_;
};

TEST_P(LockedFileTest, OperationsGiveUpAfterTheTimeoutAndLeaveTheFile) {
  LockHolder holder(File(), GetParam());
  ASSERT_TRUE(holder.locked());
  LockHolder attributes_holder(dir_.File("FolderAttr.xml"), GetParam());
  ASSERT_TRUE(attributes_holder.locked());

  // Step 1: a change waits about the timeout, then fails; nothing is written.
  SENTITEMS_ITEM_XML_DATA second;
  second.guid = "second";
  second.dictation_file_name = "second.dss";
  Clock::time_point start = Clock::now();
  EXPECT_EQ(0, sent_.AddItemXML(second, 0));
  EXPECT_GE(MillisecondsSince(start), kTimeoutMs - 20);
  EXPECT_LT(MillisecondsSince(start), 2000);
  EXPECT_EQ(0, sent_.DelItemXML(second));
  EXPECT_EQ(0, attributes_.EnableConfidentiality(1, 5));
  EXPECT_EQ(before_, ReadText(File()));
  EXPECT_EQ(attributes_before_, ReadText(dir_.File("FolderAttr.xml")));

  // Step 2: reads wait the same bounded time and report failure.
  start = Clock::now();
  EXPECT_EQ(0, sent_.GetItemCountXML(nullptr));
  EXPECT_EQ(0, attributes_.IsEncryption());
  EXPECT_LT(MillisecondsSince(start), 2000);

  // Step 3: a cache bracket cannot take the file either, and writes nothing at its end.
  CXmlDocument::ActiveCacheDOMDocument();
  EXPECT_EQ(0, sent_.AddItemXML(second, 0));
  CXmlDocument::DeactiveCacheDOMDocument(0);
  EXPECT_EQ(before_, ReadText(File()));

  // Step 4: the check made before touching a file sees it busy.
  EXPECT_EQ(0, IsFileFree(File()));

  // Step 5: once the other process lets go, everything works again.
  holder.Release();
  attributes_holder.Release();
  EXPECT_EQ(1, IsFileFree(File()));
  EXPECT_EQ(1, sent_.AddItemXML(second, 0));
  EXPECT_EQ(2, sent_.GetItemCountXML(nullptr));
  EXPECT_EQ(1, attributes_.EnableConfidentiality(1, 5));
  EXPECT_EQ(1, attributes_.IsEncryption());
}

INSTANTIATE_TEST_SUITE_P(BothLockKinds, LockedFileTest,
                         ::testing::Values(LockKind::kFlock, LockKind::kByteRange),
                         [](const ::testing::TestParamInfo<LockKind>& kind) {
                           return kind.param == LockKind::kFlock ? std::string("Flock")
                                                                 : std::string("ByteRange");
                         });

}  // namespace
}  // namespace Foldwise
