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
  // An entry of either folder's list form, sent by FTP.
  template <typename List>
  static List WithFtp(const std::string& guid) {
    List entry;
    entry.item.guid = guid;
    entry.item.dictation_file_name = guid + ".wav";
    entry.item.status = "new";
    entry.delivery_kind = kDeliveryFtp;
    entry.ftp.server = "srv";
    entry.ftp.folder = "f";
    return entry;
  }
  static VOICE_ITEM_XML_DATA Voice(const std::string& guid) {
    return WithFtp<VOICE_ITEMLIST_XML_DATA>(guid).item;
  }
  // A change whose FTP part has no fields, which cannot be folded into the stored one.
  template <typename Folder>
  static void ExpectFailedFtpChange(Folder& folder, const std::string& guid) {
    typename Folder::Item key;
    key.guid = guid;
    typename Folder::ItemList change;
    change.item.status = "changed";
    change.delivery_kind = kDeliveryFtp;
    EXPECT_EQ(0, folder.ChangeItemXML(key, change, 0));
  }
};

TEST_F(BracketTest, FailedChangeLeavesCachedDocumentUntouched) {
  auto voiceItem = WithFtp<VOICE_ITEMLIST_XML_DATA>("v");
  auto sentItem = WithFtp<SENTITEMS_ITEMLIST_XML_DATA>("s");
  ASSERT_EQ(1, voice.AddItemXML(voiceItem, 0));
  ASSERT_EQ(1, sent.AddItemXML(sentItem, 0));
  // The texts a bracket's flush writes for these documents unchanged.
  CXmlDocument::ActiveCacheDOMDocument();
  ASSERT_EQ(1, voice.GetItemCountXML(nullptr));
  ASSERT_EQ(1, sent.GetItemCountXML(nullptr));
  CXmlDocument::DeactiveCacheDOMDocument(0);
  const std::string voiceBefore = Text("VoiceFolder.xml");
  const std::string sentBefore = Text("SentItemsFolder.xml");

  // Step 1: the failing changes inside a bracket...
  CXmlDocument::ActiveCacheDOMDocument();
  ExpectFailedFtpChange(voice, "v");
  ExpectFailedFtpChange(sent, "s");
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
      auto entry = WithFtp<SENTITEMS_ITEMLIST_XML_DATA>("r" + std::to_string(round));
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
