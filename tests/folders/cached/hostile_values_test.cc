// Every hostile value against every key-based operation of the voice, sent-items and typist
// inbox folders: a key never matches more than its exact value, and a value round-trips exactly
// or is refused with 0 and both files unchanged.
#include "support/hostile_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cached_folder_fixture.h"
#include "folder_kit.h"

namespace Foldwise {
namespace {

using testing::HostileValue;

template <typename Folder>
class HostileValuesTest : public CachedFolderFixture {
 protected:
  using Item = typename Folder::Item;
  using Kit = testing::Kit<Folder>;

  void SetUp() override {
    CachedFolderFixture::SetUp();
    folder.SetXmlFalePath(dir.path().c_str());
  }

  static Item Entry(const std::string& guid, const std::string& name = "",
                    const std::string& status = "") {
    Item item;
    item.guid = guid;
    item.dictation_file_name = name;
    item.status = status;
    return item;
  }

  // Both files as they stand ("-" for a missing one).
  std::string Files() const {
    return (Has(Kit::kPlain) ? Text(Kit::kPlain) : "-") + "#" +
           (Has(Kit::kEncrypted) ? Text(Kit::kEncrypted) : "-");
  }

  std::vector<std::string> Guids() {
    long count = 0;
    Item* list = nullptr;
    EXPECT_EQ(1, folder.GetItemListXML(&count, &list));
    std::vector<std::string> guids(count);
    for (long i = 0; i < count; ++i) guids[i] = list[i].guid;
    Folder::ReleaseItemList(list);
    return guids;
  }

  // Two ordinary entries, the second in the encrypted file; |a| and |A| differ only in case.
  void StoreBaseline() {
    Item base[] = {Entry("a", "a.dss", "plain"), Entry("A", "b.$ss", "encrypted")};
    ASSERT_EQ(1, folder.SetItemListXML(2, base));
  }

  // A key with |text| is refused: it finds, changes and deletes nothing.
  void ExpectKeyFindsNothing(const std::string& text) {
    const std::string before = Files();
    Item key = Entry(text), out = Entry("untouched");
    EXPECT_EQ(0, folder.GetItemXML(key, &out));
    EXPECT_EQ("untouched", out.guid);
    EXPECT_EQ(0, folder.GetItemCountXML(&key));
    Item values = Entry("", "", "changed");
    EXPECT_EQ(0, folder.ChangeItemXML(key, values, 0));
    EXPECT_EQ(0, folder.DelItemXML(key));
    EXPECT_EQ(before, Files());
  }

  void CheckStorable(const HostileValue& value) {
    StoreBaseline();
    Item hostile = Entry(value.text, "h.dss", value.text);
    ASSERT_EQ(1, folder.AddItemXML(hostile, 0));
    EXPECT_EQ((std::vector<std::string>{"a", value.text, "A"}), Guids());
    // An apostrophe keeps the value from being a key, though it is stored and listed exactly.
    if (value.apostrophe) return ExpectKeyFindsNothing(value.text);

    Item key = Entry(value.text), out;
    ASSERT_EQ(1, folder.GetItemXML(key, &out));
    EXPECT_EQ(value.text, out.guid);
    EXPECT_EQ(value.text, out.status);
    EXPECT_EQ(1, folder.GetItemCountXML(&key));

    // A change by the value's key touches only that entry; a change of another entry to the
    // value stores it exactly too.
    Item values = Entry("", "", "changed"), plainKey = Entry("a"), upper = Entry("A");
    ASSERT_EQ(1, folder.ChangeItemXML(key, values, 0));
    Item toHostile = Entry("", "", value.text);
    ASSERT_EQ(1, folder.ChangeItemXML(plainKey, toHostile, 0));
    ASSERT_EQ(1, folder.GetItemXML(plainKey, &out));
    EXPECT_EQ(value.text, out.status);
    ASSERT_EQ(1, folder.GetItemXML(key, &out));
    EXPECT_EQ("changed", out.status);
    ASSERT_EQ(1, folder.GetItemXML(upper, &out));
    EXPECT_EQ("encrypted", out.status);

    ASSERT_EQ(1, folder.DelItemXML(key));
    EXPECT_EQ((std::vector<std::string>{"a", "A"}), Guids());
  }

  void CheckRefused(const HostileValue& value) {
    StoreBaseline();
    const std::string before = Files();
    Item hostile = Entry(value.text, "h.dss", "s"), hostileStatus = Entry("g", "h.dss", value.text);
    EXPECT_EQ(0, folder.AddItemXML(hostile, 0));
    EXPECT_EQ(0, folder.AddItemXML(hostileStatus, 0));
    // A list with one refused value in its encrypted part rewrites neither file.
    Item list[] = {Entry("n", "n.dss", "ok"), Entry("e", "e.$ss", value.text)};
    EXPECT_EQ(0, folder.SetItemListXML(2, list));
    Item plainKey = Entry("a"), toHostile = Entry("", "", value.text);
    EXPECT_EQ(0, folder.ChangeItemXML(plainKey, toHostile, 0));
    EXPECT_EQ(before, Files());
    ExpectKeyFindsNothing(value.text);
  }

  Folder folder;
};

using Folders = ::testing::Types<CVoiceFolderXML, CSentItemsFolderXML, CInBoxTypistFolderXML>;
TYPED_TEST_SUITE(HostileValuesTest, Folders);

TYPED_TEST(HostileValuesTest, EveryValueRoundTripsOrIsRefusedWithNothingChanged) {
  testing::ForEachHostileValue([this](const HostileValue& value) { this->CheckStorable(value); },
                               [this](const HostileValue& value) { this->CheckRefused(value); });
}

// How near misses of a key fare is compared with a reference in key_match_test.cc.
TYPED_TEST(HostileValuesTest, ApostropheKeysFailAlsoWithoutFiles) {
  this->ExpectKeyFindsNothing("' or '1'='1");
  EXPECT_EQ("-#-", this->Files());
}

}  // namespace
}  // namespace Foldwise
