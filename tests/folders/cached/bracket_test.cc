// Changes made inside a cache bracket: what a failed change leaves, and that another thread's
// operations neither join nor lose anything to a bracket it did not open.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "cached_folder_fixture.h"
#include "foldwise/env.h"
#include "foldwise/xml_document.h"

namespace Foldwise {
namespace {

class BracketTest : public CachedFolderFixture {
 protected:
  void SetUp() override {
    CachedFolderFixture::SetUp();
    voice.SetXmlFalePath(dir.path().c_str());
    sent.SetXmlFalePath(dir.path().c_str());
  }
  static VOICE_ITEM_XML_DATA Voice(const std::string& guid) {
    VOICE_ITEM_XML_DATA item;
    item.guid = guid;
    item.dictation_file_name = guid + ".wav";
    item.status = "new";
    return item;
  }
  static SENTITEMS_ITEMLIST_XML_DATA SentWithFtp(const std::string& guid) {
    SENTITEMS_ITEMLIST_XML_DATA item;
    item.item.guid = guid;
    item.item.dictation_file_name = guid + ".wav";
    item.item.status = "new";
    item.delivery_kind = kDeliveryFtp;
    item.ftp.server = "srv";
    item.ftp.folder = "f";
    return item;
  }

  CVoiceFolderXML voice;
  CSentItemsFolderXML sent;
};

TEST_F(BracketTest, FailedChangeLeavesCachedDocumentUntouched) {
  VOICE_ITEMLIST_XML_DATA voiceItem;
  voiceItem.item = Voice("v");
  voiceItem.delivery_kind = kDeliveryFtp;
  voiceItem.ftp.server = "srv";
  voiceItem.ftp.folder = "f";
  ASSERT_EQ(1, voice.AddItemXML(voiceItem, 0));
  SENTITEMS_ITEMLIST_XML_DATA sentItem = SentWithFtp("s");
  ASSERT_EQ(1, sent.AddItemXML(sentItem, 0));
  // The texts a bracket's flush writes for these documents unchanged.
  CXmlDocument::ActiveCacheDOMDocument();
  ASSERT_EQ(1, voice.GetItemCountXML(nullptr));
  ASSERT_EQ(1, sent.GetItemCountXML(nullptr));
  CXmlDocument::DeactiveCacheDOMDocument(0);
  const std::string voiceBefore = Text("VoiceFolder.xml");
  const std::string sentBefore = Text("SentItemsFolder.xml");

  // Step 1: a change whose FTP part cannot be folded into the stored one fails...
  CXmlDocument::ActiveCacheDOMDocument();
  VOICE_ITEM_XML_DATA voiceKey;
  voiceKey.guid = "v";
  VOICE_ITEMLIST_XML_DATA voiceChange;
  voiceChange.item.status = "changed";
  voiceChange.delivery_kind = kDeliveryFtp;
  EXPECT_EQ(0, voice.ChangeItemXML(voiceKey, voiceChange, 0));
  SENTITEMS_ITEM_XML_DATA sentKey;
  sentKey.guid = "s";
  SENTITEMS_ITEMLIST_XML_DATA sentChange;
  sentChange.item.status = "changed";
  sentChange.delivery_kind = kDeliveryFtp;
  EXPECT_EQ(0, sent.ChangeItemXML(sentKey, sentChange, 0));

  // Step 2: ...and the flush writes both files exactly as they were.
  CXmlDocument::DeactiveCacheDOMDocument(0);
  EXPECT_EQ(voiceBefore, Text("VoiceFolder.xml"));
  EXPECT_EQ(sentBefore, Text("SentItemsFolder.xml"));
}

// The latch: the listing's first read of the voice file (inside its own bracket) lets the
// other thread go, and gives it time to finish its add while the bracket is still open.
class ListingLatchEnv : public EnvWrapper {
 public:
  explicit ListingLatchEnv(Env* target) : EnvWrapper(target) {}
  int ReadFile(const std::string& path, std::string* contents, int lock_timeout_ms) override {
    if (path.find("VoiceFolder.xml") != std::string::npos && !go.exchange(true)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return EnvWrapper::ReadFile(path, contents, lock_timeout_ms);
  }
  std::atomic<bool> go{false};
};

// The voice listing's own bracket closes with discard; a sent-items entry added meanwhile on
// another thread must still reach the file.
TEST_F(BracketTest, OtherThreadsAddSurvivesListingsOwnBracket) {
  for (int i = 0; i < 3; ++i) {
    VOICE_ITEM_XML_DATA item = Voice("v" + std::to_string(i));
    ASSERT_EQ(1, voice.AddItemXML(item, 0));
  }
  ListingLatchEnv latch(&env);
  ScopedEnv useLatch(&latch);
  constexpr int kRounds = 20;
  for (int round = 0; round < kRounds; ++round) {
    latch.go = false;
    std::atomic<int> added{-1};
    std::thread adder([&] {
      while (!latch.go.load()) std::this_thread::yield();
      CSentItemsFolderXML other;
      other.SetXmlFalePath(dir.path().c_str());
      SENTITEMS_ITEMLIST_XML_DATA entry = SentWithFtp("r" + std::to_string(round));
      added = other.AddItemXML(entry, 0);
    });
    long count = 0;
    VOICE_ITEMLIST_XML_DATA* list = nullptr;
    EXPECT_EQ(1, voice.GetItemListXML(&count, &list));
    EXPECT_EQ(3, count);
    CVoiceFolderXML::ReleaseItemList(list);
    adder.join();
    ASSERT_EQ(1, added.load()) << "round " << round;
    EXPECT_EQ(round + 1, sent.GetItemCountXML(nullptr)) << "round " << round;
  }
}

// A thread's operation waits for another thread's bracket only as long as the lock timeout,
// then fails without touching the file.
TEST_F(BracketTest, OtherThreadGivesUpOnALongBracket) {
  env.SetLockTimeoutMs(50);
  CXmlDocument::ActiveCacheDOMDocument();
  VOICE_ITEM_XML_DATA mine = Voice("mine");
  ASSERT_EQ(1, voice.AddItemXML(mine, 0));
  int added = -1;
  std::thread adder([&] {
    CVoiceFolderXML other;
    other.SetXmlFalePath(dir.path().c_str());
    VOICE_ITEM_XML_DATA theirs = Voice("theirs");
    added = other.AddItemXML(theirs, 0);
  });
  adder.join();
  EXPECT_EQ(0, added);
  EXPECT_EQ(1, voice.GetItemCountXML(nullptr));  // the other thread never joined the cache
  CXmlDocument::DeactiveCacheDOMDocument(0);
  EXPECT_EQ(1, voice.GetItemCountXML(nullptr));
}

}  // namespace
}  // namespace Foldwise
