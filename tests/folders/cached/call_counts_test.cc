// What each folder call asks of the platform, counted through the fakes rather than timed: a
// cache bracket reads and writes each file at most once however many operations it holds, and
// one operation checks, locks and converts paths a fixed number of times, not once per entry.
#include <array>
#include <string>
#include <vector>

#include "cached_folder_fixture.h"
#include "foldwise/folder_attributes.h"
#include "foldwise/xml_document.h"

namespace Foldwise {
namespace {

// The platform calls of one stretch of work, by kind.
enum Kind { kReads, kWrites, kStatusChecks, kLocks, kProbes, kNetwork };
using Calls = std::array<int, 6>;

class CallCountsTest : public CachedFolderFixture {
 protected:
  void SetUp() override {
    CachedFolderFixture::SetUp();
    attributes.SetDirectory(dir.path());
  }

  template <typename Item>
  Item Entry(int i) {
    Item item;
    item.guid = "g" + std::to_string(i);
    item.dictation_file_name = "d" + std::to_string(i) + ".wav";
    // A path on this machine's share: stored in its network form, converted back when read.
    item.dictation_file_path = dir.File("shared") + "/dictations";
    item.document_file_path = dir.File("shared") + "/letters";
    item.status = "recorded";
    return item;
  }

  // Folders of |n| entries each.
  void Fill(int n) {
    for (int i = 0; i < n; ++i) {
      auto v = Entry<VOICE_ITEM_XML_DATA>(i);
      auto s = Entry<SENTITEMS_ITEM_XML_DATA>(i);
      auto t = Entry<INBOX_TYPIST_ITEM_XML_DATA>(i);
      ASSERT_EQ(1, voice.AddItemXML(v, 0));
      ASSERT_EQ(1, sent.AddItemXML(s, 0));
      ASSERT_EQ(1, inbox.AddItemXML(t, 0));
    }
    ASSERT_EQ(1, attributes.EnableEncryption(1, 2));
  }

  void Reset() {
    env.reads = env.files_written = env.status_checks = env.locks = env.probes = 0;
    net.host_name_calls = net.computer_name_calls = net.share_enumerations = 0;
    net.connection_enumerations = net.connection_lookups = net.drive_type_queries = 0;
  }

  Calls Count() const {
    return {env.reads,
            env.files_written,
            env.status_checks,
            env.locks,
            env.probes,
            net.host_name_calls + net.computer_name_calls + net.share_enumerations +
                net.connection_enumerations + net.connection_lookups + net.drive_type_queries};
  }

  // Runs each kind of operation once on the voice folder and the attributes, returning the
  // calls of each in a fixed order.
  std::vector<Calls> EachOperation() {
    std::vector<Calls> calls;
    auto measure = [&](const auto& work) {
      Reset();
      work();
      calls.push_back(Count());
    };
    VOICE_ITEM_XML_DATA key;
    key.guid = "g1";
    VOICE_ITEM_XML_DATA out;
    measure([&] { EXPECT_EQ(1, voice.GetItemXML(key, &out)); });
    measure([&] { EXPECT_LT(0, voice.GetItemCountXML(nullptr)); });
    long count = 0;
    VOICE_ITEMLIST_XML_DATA* list = nullptr;
    measure([&] { EXPECT_EQ(1, voice.GetItemListXML(&count, &list)); });
    CVoiceFolderXML::ReleaseItemList(list);
    VOICE_ITEM_XML_DATA* plain = nullptr;
    measure([&] { EXPECT_EQ(1, voice.GetItemListXML(&count, &plain)); });
    CVoiceFolderXML::ReleaseItemList(plain);
    VOICE_ITEM_XML_DATA values;
    values.status = "typed";
    values.dictation_file_path = dir.File("shared") + "/other";
    measure([&] { EXPECT_EQ(1, voice.ChangeItemXML(key, values, 0)); });
    auto extra = Entry<VOICE_ITEM_XML_DATA>(1000);
    measure([&] { EXPECT_EQ(1, voice.AddItemXML(extra, 0)); });
    measure([&] { EXPECT_EQ(1, voice.DelItemXML(extra)); });
    measure([&] { EXPECT_EQ(1, attributes.IsEncryption()); });
    measure([&] { EXPECT_EQ(1, attributes.EnableConfidentiality(1, 3)); });
    return calls;
  }

  CFolderAttrXML attributes;
};

TEST_F(CallCountsTest, BracketReadsAndWritesEachFileAtMostOnce) {
  Fill(10);
  Reset();
  CXmlDocument::ActiveCacheDOMDocument();
  for (int k = 0; k < 100; ++k) {
    VOICE_ITEM_XML_DATA voiceKey;
    voiceKey.guid = "g" + std::to_string(k % 10);
    VOICE_ITEM_XML_DATA values;
    values.status = "typed" + std::to_string(k);
    ASSERT_EQ(1, voice.ChangeItemXML(voiceKey, values, 0));
    SENTITEMS_ITEM_XML_DATA sentKey;
    sentKey.guid = voiceKey.guid;
    SENTITEMS_ITEM_XML_DATA sentOut;
    ASSERT_EQ(1, sent.GetItemXML(sentKey, &sentOut));
    ASSERT_EQ(10, inbox.GetItemCountXML(nullptr));
    ASSERT_EQ(1, attributes.EnableConfidentiality(1, 3 + k % 2));
  }
  // Step 1: 400 operations, yet each of the four files was read once...
  EXPECT_EQ(4, env.reads);
  EXPECT_EQ(0, env.files_written);
  CXmlDocument::DeactiveCacheDOMDocument(0);
  // ...and the flush wrote the two that changed, once each; the two only read stay untouched.
  EXPECT_EQ(4, env.reads);
  EXPECT_EQ(2, env.files_written);
  EXPECT_NE(std::string::npos, Text("VoiceFolder.xml").find("typed99"));
  EXPECT_EQ(4, attributes.GetConfidentialityVer());

  // Step 2: a bracket that only reads writes nothing.
  const std::string before = Text("SentItemsFolder.xml");
  Reset();
  CXmlDocument::ActiveCacheDOMDocument();
  for (int k = 0; k < 50; ++k) {
    ASSERT_EQ(10, sent.GetItemCountXML(nullptr));
    ASSERT_EQ(1, attributes.IsEncryption());
  }
  CXmlDocument::DeactiveCacheDOMDocument(0);
  EXPECT_EQ(2, env.reads);
  EXPECT_EQ(0, env.files_written);
  EXPECT_EQ(before, Text("SentItemsFolder.xml"));
}

// One operation's checks, locks, reads and network calls are a fixed number, not one per entry
// or per path field: a folder ten times larger costs exactly the same calls.
TEST_F(CallCountsTest, PerOperationWorkDoesNotGrowWithTheFolder) {
  Fill(3);
  const std::vector<Calls> small = EachOperation();
  for (int i = 3; i < 30; ++i) {
    auto v = Entry<VOICE_ITEM_XML_DATA>(i);
    ASSERT_EQ(1, voice.AddItemXML(v, 0));
  }
  const std::vector<Calls> large = EachOperation();
  ASSERT_EQ(small.size(), large.size());
  for (std::size_t i = 0; i < small.size(); ++i) {
    SCOPED_TRACE("operation " + std::to_string(i));
    EXPECT_EQ(small[i], large[i]);
    // Every operation reads its file once; a listing counts and reads from the same parse.
    EXPECT_EQ(1, large[i][kReads]);
    EXPECT_LE(large[i][kWrites], 1);
    EXPECT_LE(large[i][kLocks], 2);  // the operation's hold of the file and the save's
    EXPECT_EQ(0, large[i][kProbes]);
  }
  // Reading operations look at each file once and do not build (and so convert the path of) a
  // skeleton for the missing encrypted file; the list form's bracket does not lock it either.
  EXPECT_EQ(1, large[0][kStatusChecks]);  // get: the plain file holds the entry
  for (int reader : {1, 2, 3}) {          // count and both listings
    EXPECT_EQ(2, large[reader][kStatusChecks]);
    EXPECT_EQ(0, large[reader][kNetwork]);
  }
  EXPECT_EQ(1, large[2][kLocks]);
}

}  // namespace
}  // namespace Foldwise
