// The behaviour the three folders share, run on each: routing by the dictation's extension,
// one listing over both files, key operations across both, files that come and go with their
// entries, and counted arrays.
#include <string>
#include <vector>

#include "cached_folder_fixture.h"
#include "folder_kit.h"

namespace Foldwise {
namespace {

template <typename FolderClass>
class FolderRoutingTest : public CachedFolderFixture {
 protected:
  using Kit = testing::Kit<FolderClass>;
  using Item = typename FolderClass::Item;
  using ItemList = typename FolderClass::ItemList;

  void SetUp() override {
    CachedFolderFixture::SetUp();
    folder.SetXmlFalePath(dir.path().c_str());
  }
  static Item Entry(const std::string& guid, const std::string& name) {
    Item item;
    item.guid = guid;
    item.dictation_file_name = name;
    return item;
  }
  int Add(const std::string& guid, const std::string& name) {
    Item item = Entry(guid, name);
    return folder.AddItemXML(item, 0);
  }
  std::vector<std::string> ListedGuids() {
    long count = -1;
    Item* list = reinterpret_cast<Item*>(this);  // must be overwritten
    EXPECT_EQ(1, folder.GetItemListXML(&count, &list));
    std::vector<std::string> guids;
    for (long i = 0; i < count; ++i) guids.push_back(list[i].guid);
    FolderClass::ReleaseItemList(list);
    EXPECT_EQ(nullptr, list);
    return guids;
  }
  int Plain(const std::string& guid) { return CountIn(Kit::kPlain, guid); }
  int Encrypted(const std::string& guid) { return CountIn(Kit::kEncrypted, guid); }
  int CountIn(const char* file, const std::string& guid) {
    return Has(file) && Text(file).find("<guid>" + guid + "</guid>") != std::string::npos;
  }

  FolderClass folder;
};

using Folders = ::testing::Types<CVoiceFolderXML, CSentItemsFolderXML, CInBoxTypistFolderXML>;
TYPED_TEST_SUITE(FolderRoutingTest, Folders);

TYPED_TEST(FolderRoutingTest, ExtensionStartingWithDollarRoutesToEncryptedFile) {
  const std::vector<std::pair<std::string, bool>> names = {
      {"a.$wv", true},   {"b..$x", true},       {"c.d.$", true}, {"d.wav", false},
      {"e", false},      {"$f", false},         {"g.", false},   {"h.$x.wav", false},
      {"i$.wav", false}, {"dir.$/j.wav", false}};
  for (const auto& [name, encrypted] : names) {
    ASSERT_EQ(1, this->Add(name, name)) << name;
    EXPECT_EQ(encrypted, this->Encrypted(name)) << name;
    EXPECT_EQ(!encrypted, this->Plain(name)) << name;
  }
}

TYPED_TEST(FolderRoutingTest, EntriesComeAndGoAcrossBothFiles) {
  using Rec = typename TestFixture::Item;
  using K = typename TestFixture::Kit;
  // Step 1: an empty folder lists nothing in both forms.
  EXPECT_TRUE(this->ListedGuids().empty());
  long count = -1;
  typename TestFixture::ItemList* list = nullptr;
  EXPECT_EQ(1, this->folder.GetItemListXML(&count, &list));
  EXPECT_EQ(0, count);
  EXPECT_EQ(nullptr, list);

  // Step 2: the first entry of each kind creates its file; plain entries list first.
  ASSERT_EQ(1, this->Add("e1", "x.$1"));
  EXPECT_FALSE(this->Has(K::kPlain));
  ASSERT_EQ(1, this->Add("p1", "x.wav"));
  ASSERT_EQ(1, this->Add("p2", "y"));
  EXPECT_EQ((std::vector<std::string>{"p1", "p2", "e1"}), this->ListedGuids());
  EXPECT_EQ(3, this->folder.GetItemCountXML(nullptr));

  // Step 3: a change reaches both files and moves nothing, even with an encrypted name.
  Rec all;
  Rec values;
  values.status = "seen";
  ASSERT_EQ(1, this->folder.ChangeItemXML(all, values, 0));
  values.status = "";
  values.dictation_file_name = "x.$moved";
  Rec p1 = this->Entry("p1", "");
  ASSERT_EQ(1, this->folder.ChangeItemXML(p1, values, 0));
  EXPECT_EQ(1, this->Plain("p1"));
  Rec seen;
  seen.status = "seen";
  EXPECT_EQ(3, this->folder.GetItemCountXML(&seen));

  // Step 4: deleting by guid reaches the encrypted file; its last entry takes the file along.
  Rec e1 = this->Entry("e1", "");
  ASSERT_EQ(1, this->folder.DelItemXML(e1));
  EXPECT_FALSE(this->Has(K::kEncrypted));
  EXPECT_EQ((std::vector<std::string>{"p1", "p2"}), this->ListedGuids());

  // Step 5: replacing the list routes again; a file left without entries goes.
  std::vector<Rec> replacement = {this->Entry("n1", "a.$b"), this->Entry("n2", "a.b"),
                                  this->Entry("n3", "c.$d")};
  ASSERT_EQ(1, this->folder.SetItemListXML(3, replacement.data()));
  EXPECT_EQ((std::vector<std::string>{"n2", "n1", "n3"}), this->ListedGuids());
  ASSERT_EQ(1, this->folder.SetItemListXML(1, replacement.data() + 1));
  EXPECT_FALSE(this->Has(K::kEncrypted));
  ASSERT_EQ(1, this->folder.DelItemXML(all));
  EXPECT_FALSE(this->Has(K::kPlain));
}

TYPED_TEST(FolderRoutingTest, GetItemPrefersPlainFileAndLeavesOutputAloneWithoutMatch) {
  using Rec = typename TestFixture::Item;
  Rec encrypted = this->Entry("same", "a.$x");
  encrypted.status = "from encrypted";
  Rec plain = this->Entry("same", "a.x");
  plain.status = "from plain";
  ASSERT_EQ(1, this->folder.AddItemXML(encrypted, 0));
  ASSERT_EQ(1, this->folder.AddItemXML(plain, 0));
  Rec key = this->Entry("same", "");
  Rec out;
  ASSERT_EQ(1, this->folder.GetItemXML(key, &out));
  EXPECT_EQ("from plain", out.status);

  key.guid = "other";
  out.status = "untouched";
  EXPECT_EQ(0, this->folder.GetItemXML(key, &out));
  EXPECT_EQ("untouched", out.status);
}

TYPED_TEST(FolderRoutingTest, FailingListingStillHandsOutItsArray) {
  using K = typename TestFixture::Kit;
  ASSERT_EQ(1, this->Add("e", "a.$x"));
  testing::WriteText(this->dir.File(K::kPlain), "<root>");  // does not parse: counts 0
  long count = 0;
  typename TestFixture::ItemList* list = nullptr;
  EXPECT_EQ(0, this->folder.GetItemListXML(&count, &list));
  ASSERT_EQ(1, count);
  ASSERT_NE(nullptr, list);
  EXPECT_EQ("", list[0].item.guid);
  TypeParam::ReleaseItemList(list);
  EXPECT_EQ(1, this->folder.GetItemCountXML(nullptr));
}

}  // namespace
}  // namespace Foldwise
