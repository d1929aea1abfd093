// A new list set inside a cache bracket: the flush writes it, and the bracket's later calls see
// it rather than the list it replaced.
#include "cached_folder_fixture.h"
#include "folder_kit.h"

namespace Foldwise {
namespace {

template <typename FolderClass>
class ListInBracketTest : public CachedFolderFixture {
 protected:
  using Item = typename FolderClass::Item;

  static Item Entry(const char* guid, const char* name) {
    Item item;
    item.guid = guid;
    item.dictation_file_name = name;
    item.status = "new";
    return item;
  }
};

using Folders = ::testing::Types<CVoiceFolderXML, CSentItemsFolderXML, CInBoxTypistFolderXML>;
TYPED_TEST_SUITE(ListInBracketTest, Folders);

TYPED_TEST(ListInBracketTest, FlushWritesTheNewListAndLaterCallsSeeIt) {
  using Kit = testing::Kit<TypeParam>;
  TypeParam folder;
  folder.SetXmlFalePath(this->dir.path().c_str());
  // Step 1: one entry in each file.
  for (auto item : {this->Entry("old", "a.wav"), this->Entry("old", "b.$wv")}) {
    ASSERT_EQ(1, folder.AddItemXML(item, 0));
  }
  // Step 2: in one bracket, a plain-only list, then one more entry.
  CXmlDocument::ActiveCacheDOMDocument();
  auto list = this->Entry("new", "c.wav");
  EXPECT_EQ(1, folder.SetItemListXML(1, &list));
  auto more = this->Entry("more", "d.wav");
  EXPECT_EQ(1, folder.AddItemXML(more, 0));
  EXPECT_EQ(2, folder.GetItemCountXML(nullptr));
  CXmlDocument::DeactiveCacheDOMDocument(0);
  // Step 3: the files hold the new list; the emptied encrypted file is gone.
  EXPECT_EQ(2, folder.GetItemCountXML(nullptr));
  typename TypeParam::Item key;
  key.guid = "old";
  EXPECT_EQ(0, folder.GetItemCountXML(&key));
  EXPECT_FALSE(this->Has(Kit::kEncrypted));
}

}  // namespace
}  // namespace Foldwise
