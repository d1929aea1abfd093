// The behaviour the three folders share, run on each: routing by the dictation's extension,
// which file a get prefers, and the arrays a listing hands out.
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
  bool In(const char* file, const std::string& guid) {
    return Has(file) && Text(file).find("<guid>" + guid + "</guid>") != std::string::npos;
  }
  // An empty folder's listing in either form: a count of 0 and no array.
  template <typename Record>
  void ExpectEmptyListing() {
    long count = -1;
    Record* list = reinterpret_cast<Record*>(this);  // must be overwritten
    EXPECT_EQ(1, folder.GetItemListXML(&count, &list));
    EXPECT_EQ(0, count);
    EXPECT_EQ(nullptr, list);
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
    EXPECT_EQ(encrypted, this->In(TestFixture::Kit::kEncrypted, name)) << name;
    EXPECT_EQ(!encrypted, this->In(TestFixture::Kit::kPlain, name)) << name;
  }
}

// How entries come and go across both files is checked against a model in
// folder_model_test.cc; an empty folder hands out no array in either form.
TYPED_TEST(FolderRoutingTest, EmptyFolderListsNothingInBothForms) {
  this->template ExpectEmptyListing<typename TestFixture::Item>();
  this->template ExpectEmptyListing<typename TestFixture::ItemList>();
  EXPECT_FALSE(this->Has(TestFixture::Kit::kPlain));
  EXPECT_FALSE(this->Has(TestFixture::Kit::kEncrypted));
}

// A get without a match is the hostile-value tests', on every folder.
TYPED_TEST(FolderRoutingTest, GetItemPrefersPlainFile) {
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
