// Every hostile value against every key-based operation of the voice, sent-items and typist
// inbox folders: a key never matches more than its exact value, and a value round-trips exactly
// or is refused with 0 and both files unchanged.
#include "support/hostile_values.h"

#include <gtest/gtest.h>

#include <string>

#include "cached_folder_fixture.h"
#include "folder_kit.h"

namespace Foldwise {
namespace {

using testing::HostileValue;
using testing::HostileValues;

template <typename Folder>
class HostileValuesTest : public CachedFolderFixture {
 protected:
  using Item = typename Folder::Item;
  using ItemList = typename Folder::ItemList;
  using Kit = testing::Kit<Folder>;

  void SetUp() override {
    CachedFolderFixture::SetUp();
    folder.SetXmlFalePath(dir.path().c_str());
  }

  static Item Entry(const std::string& guid, const std::string& name, const std::string& status) {
    Item item;
    item.guid = guid;
    item.dictation_file_name = name;
    item.status = status;
    return item;
  }
  static Item Key(const std::string& guid) {
    Item key;
    key.guid = guid;
    return key;
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
    std::vector<std::string> guids;
    for (long i = 0; i < count; ++i) guids.push_back(list[i].guid);
    Folder::ReleaseItemList(list);
    return guids;
  }

  // Two ordinary entries, the second in the encrypted file; |a| and |A| differ only in case.
  void StoreBaseline() {
    Item base[] = {Entry("a", "a.dss", "plain"), Entry("A", "b.$ss", "encrypted")};
    ASSERT_EQ(1, folder.SetItemListXML(2, base));
  }

  void CheckStorable(const HostileValue& value) {
    SCOPED_TRACE(value.label);
    StoreBaseline();
    Item hostile = Entry(value.text, "h.dss", value.text);
    ASSERT_EQ(1, folder.AddItemXML(hostile, 0));
    EXPECT_EQ((std::vector<std::string>{"a", value.text, "A"}), Guids());

    // The stored value reads back exactly, through the listing and (unless an apostrophe
    // keeps it from being a key) through its own key.
    Item key = Key(value.text);
    Item out;
    if (value.apostrophe) {
      const std::string before = Files();
      EXPECT_EQ(0, folder.GetItemXML(key, &out));
      EXPECT_EQ(0, folder.GetItemCountXML(&key));
      Item values = Entry("", "", "changed");
      EXPECT_EQ(0, folder.ChangeItemXML(key, values, 0));
      EXPECT_EQ(0, folder.DelItemXML(key));
      EXPECT_EQ(before, Files());
      return;
    }
    ASSERT_EQ(1, folder.GetItemXML(key, &out));
    EXPECT_EQ(value.text, out.guid);
    EXPECT_EQ(value.text, out.status);
    EXPECT_EQ(1, folder.GetItemCountXML(&key));

    // A change by the value's key touches only that entry; a change of another entry to the
    // value stores it exactly too.
    Item values = Entry("", "", "changed");
    ASSERT_EQ(1, folder.ChangeItemXML(key, values, 0));
    Item plainKey = Key("a");
    Item toHostile = Entry("", "", value.text);
    ASSERT_EQ(1, folder.ChangeItemXML(plainKey, toHostile, 0));
    ASSERT_EQ(1, folder.GetItemXML(plainKey, &out));
    EXPECT_EQ(value.text, out.status);
    ASSERT_EQ(1, folder.GetItemXML(key, &out));
    EXPECT_EQ("changed", out.status);
    Item upper = Key("A");
    ASSERT_EQ(1, folder.GetItemXML(upper, &out));
    EXPECT_EQ("encrypted", out.status);

    // Deleting by the value's key removes that entry alone.
    ASSERT_EQ(1, folder.DelItemXML(key));
    EXPECT_EQ((std::vector<std::string>{"a", "A"}), Guids());
  }

  void CheckRefused(const HostileValue& value) {
    SCOPED_TRACE(value.label);
    StoreBaseline();
    const std::string before = Files();
    Item hostile = Entry(value.text, "h.dss", "s");
    EXPECT_EQ(0, folder.AddItemXML(hostile, 0));
    Item hostileStatus = Entry("g", "h.dss", value.text);
    EXPECT_EQ(0, folder.AddItemXML(hostileStatus, 0));
    // A list with one refused value in its encrypted part rewrites neither file.
    Item list[] = {Entry("n", "n.dss", "ok"), Entry("e", "e.$ss", value.text)};
    EXPECT_EQ(0, folder.SetItemListXML(2, list));

    Item key = Key(value.text);
    Item out;
    out.guid = "untouched";
    EXPECT_EQ(0, folder.GetItemXML(key, &out));
    EXPECT_EQ("untouched", out.guid);
    EXPECT_EQ(0, folder.GetItemCountXML(&key));
    Item values = Entry("", "", "changed");
    EXPECT_EQ(0, folder.ChangeItemXML(key, values, 0));
    Item plainKey = Key("a");
    Item toHostile = Entry("", "", value.text);
    EXPECT_EQ(0, folder.ChangeItemXML(plainKey, toHostile, 0));
    EXPECT_EQ(0, folder.DelItemXML(key));
    EXPECT_EQ(before, Files());
  }

  Folder folder;
};

using Folders = ::testing::Types<CVoiceFolderXML, CSentItemsFolderXML, CInBoxTypistFolderXML>;
TYPED_TEST_SUITE(HostileValuesTest, Folders);

TYPED_TEST(HostileValuesTest, EveryValueRoundTripsOrIsRefusedWithNothingChanged) {
  for (const HostileValue& value : HostileValues()) {
    if (value.storable) {
      this->CheckStorable(value);
    } else {
      this->CheckRefused(value);
    }
    if (this->HasFailure()) return;
  }
}

TYPED_TEST(HostileValuesTest, KeysMatchTheirExactValueOnly) {
  this->StoreBaseline();
  // Step 1: neither a case variant nor a prefix, nor whitespace around the value, matches.
  for (const char* near : {"a ", " a", "aa", "a\r", "\ta"}) {
    typename TypeParam::Item key = this->Key(near);
    typename TypeParam::Item out;
    EXPECT_EQ(0, this->folder.GetItemXML(key, &out)) << near;
    EXPECT_EQ(0, this->folder.GetItemCountXML(&key)) << near;
  }
  // Step 2: the NUL trick that used to match and delete "a" is refused and deletes nothing.
  typename TypeParam::Item trick = this->Key(std::string("a\0' or 'x'='x", 13));
  EXPECT_EQ(0, this->folder.DelItemXML(trick));
  EXPECT_EQ((std::vector<std::string>{"a", "A"}), this->Guids());
}

TYPED_TEST(HostileValuesTest, ApostropheKeysFailAlsoWithoutFiles) {
  typename TypeParam::Item key = this->Key("' or '1'='1");
  typename TypeParam::Item values = this->Entry("", "", "changed");
  EXPECT_EQ(0, this->folder.ChangeItemXML(key, values, 0));
  EXPECT_EQ(0, this->folder.DelItemXML(key));
  EXPECT_EQ("-#-", this->Files());
}

}  // namespace
}  // namespace Foldwise
