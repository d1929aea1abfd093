// Random operation sequences on each folder, checked after every step against a plain in-memory
// model of two ordered lists; once call by call, once in cache brackets, where keyed operations
// find entries through the bracket's index and changes may give entries new guids.
#include <random>
#include <string>
#include <vector>

#include "cached_folder_fixture.h"
#include "folder_kit.h"

namespace Foldwise {
namespace {

struct ModelEntry {
  std::string guid, name, status, document;
};

struct Model {
  std::vector<ModelEntry> plain, encrypted;

  static bool IsEncrypted(const std::string& name) {
    const std::string::size_type dot = name.rfind('.');
    return dot != std::string::npos && dot + 1 < name.size() && name[dot + 1] == '$';
  }
  static bool Matches(const ModelEntry& entry, const ModelEntry& key) {
    return (key.guid.empty() || key.guid == entry.guid) &&
           (key.status.empty() || key.status == entry.status);
  }
  void Add(const ModelEntry& entry) {
    (IsEncrypted(entry.name) ? encrypted : plain).push_back(entry);
  }
  template <typename Apply>
  void ForEachMatch(const ModelEntry& key, Apply apply) {
    for (auto* list : {&plain, &encrypted}) {
      for (auto& entry : *list) {
        if (Matches(entry, key)) apply(entry);
      }
    }
  }
  int Count(const ModelEntry& key) {
    int count = 0;
    ForEachMatch(key, [&](ModelEntry&) { ++count; });
    return count;
  }
  std::vector<ModelEntry> Listing() const {
    std::vector<ModelEntry> all = plain;
    all.insert(all.end(), encrypted.begin(), encrypted.end());
    return all;
  }
};

template <typename FolderClass>
class FolderModelTest : public CachedFolderFixture {
 protected:
  using Item = typename FolderClass::Item;

  static Item ToItem(const ModelEntry& entry) {
    Item item;
    item.guid = entry.guid;
    item.dictation_file_name = entry.name;
    item.status = entry.status;
    item.document_file_name = entry.document;
    return item;
  }
  std::string Pick(std::initializer_list<const char*> choices) {
    std::uniform_int_distribution<std::size_t> pick(0, choices.size() - 1);
    return choices.begin()[pick(random)];
  }
  ModelEntry RandomEntry() {
    return {Pick({"g0", "g1", "g2", "g3", "g4", "g5", "g6"}),
            Pick({"a.wav", "b.$x", "c", "d..$e", "$f"}), Pick({"", "new", "done"}),
            Pick({"", "x.doc", "y.doc"})};
  }
  ModelEntry RandomKey() {
    return {Pick({"", "g0", "g1", "g2", "g4", "g5"}), "", Pick({"", "", "new"}), ""};
  }

  void Step(FolderClass& folder, Model& model) {
    const int op = std::uniform_int_distribution<int>(0, 9)(random);
    if (op < 5) {
      ModelEntry entry = RandomEntry();
      Item item = ToItem(entry);
      ASSERT_EQ(1, folder.AddItemXML(item, 0));
      model.Add(entry);
    } else if (op < 7) {
      const ModelEntry key = RandomKey();
      const ModelEntry values = {Pick({"", "", "", "g1", "g7"}), Pick({"", "z.$z"}),
                                 Pick({"", "typed", "%DELETE%"}), Pick({"", "w.doc"})};
      Item keyItem = ToItem(key);
      Item valueItem = ToItem(values);
      // A change without any field is an element without children, which cannot be merged
      // into a stored item that has them: the change fails wherever something matches.
      const bool noFields = values.guid.empty() && values.name.empty() && values.status.empty() &&
                            values.document.empty();
      ASSERT_EQ(model.Count(key) > 0 && noFields ? 0 : 1,
                folder.ChangeItemXML(keyItem, valueItem, 1));
      model.ForEachMatch(key, [&](ModelEntry& entry) {
        if (!values.guid.empty()) entry.guid = values.guid;
        if (!values.name.empty()) entry.name = values.name;  // changed where it is
        if (!values.status.empty()) entry.status = values.status == "%DELETE%" ? "" : values.status;
        if (!values.document.empty()) entry.document = values.document;
      });
    } else if (op < 9) {
      const ModelEntry key = RandomKey();
      Item keyItem = ToItem(key);
      ASSERT_EQ(1, folder.DelItemXML(keyItem));
      for (auto* list : {&model.plain, &model.encrypted}) {
        std::vector<ModelEntry> kept;
        for (const ModelEntry& entry : *list) {
          if (!Model::Matches(entry, key)) kept.push_back(entry);
        }
        *list = kept;
      }
    } else {
      model = Model();
      std::vector<Item> items;
      for (int i = std::uniform_int_distribution<int>(0, 4)(random); i > 0; --i) {
        const ModelEntry entry = RandomEntry();
        items.push_back(ToItem(entry));
        model.Add(entry);
      }
      ASSERT_EQ(1, folder.SetItemListXML(static_cast<long>(items.size()), items.data()));
    }
  }

  // The listing, the count and the count of each guid.
  void ExpectListed(FolderClass& folder, Model& model) {
    const std::vector<ModelEntry> expected = model.Listing();
    long count = -1;
    Item* list = nullptr;
    ASSERT_EQ(1, folder.GetItemListXML(&count, &list));
    ASSERT_EQ(static_cast<long>(expected.size()), count);
    for (long i = 0; i < count; ++i) {
      const ModelEntry& want = expected[static_cast<std::size_t>(i)];
      EXPECT_EQ(want.guid + "|" + want.name + "|" + want.status + "|" + want.document,
                list[i].guid + "|" + list[i].dictation_file_name + "|" + list[i].status + "|" +
                    list[i].document_file_name)
          << "entry " << i;
    }
    FolderClass::ReleaseItemList(list);
    EXPECT_EQ(nullptr, list);  // the plain form's release clears the host's pointer
    EXPECT_EQ(count, folder.GetItemCountXML(nullptr));
    for (const char* guid : {"g0", "g1", "g4", "g7"}) {
      Item keyItem = ToItem({guid, "", "", ""});
      EXPECT_EQ(model.Count({guid, "", "", ""}), folder.GetItemCountXML(&keyItem)) << guid;
    }
  }

  void ExpectSame(FolderClass& folder, Model& model) {
    ExpectListed(folder, model);
    // A file exists exactly while it holds entries.
    EXPECT_EQ(!model.plain.empty(), Has(testing::Kit<FolderClass>::kPlain));
    EXPECT_EQ(!model.encrypted.empty(), Has(testing::Kit<FolderClass>::kEncrypted));
  }

  std::mt19937 random{20261206};
};

using Folders = ::testing::Types<CVoiceFolderXML, CSentItemsFolderXML, CInBoxTypistFolderXML>;
TYPED_TEST_SUITE(FolderModelTest, Folders);

TYPED_TEST(FolderModelTest, RandomOperationsAgreeWithModel) {
  TypeParam folder;
  folder.SetXmlFalePath(this->dir.path().c_str());
  Model model;
  for (int step = 0; step < 150; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    this->Step(folder, model);
    this->ExpectSame(folder, model);
    if (this->HasFailure()) return;
  }
}

TYPED_TEST(FolderModelTest, RandomOperationsInBracketsAgreeWithModel) {
  TypeParam folder;
  folder.SetXmlFalePath(this->dir.path().c_str());
  Model model;
  for (int bracket = 0; bracket < 25; ++bracket) {
    SCOPED_TRACE("bracket " + std::to_string(bracket));
    CXmlDocument::ActiveCacheDOMDocument();
    for (int step = 0; step < 6 && !this->HasFailure(); ++step) {
      this->Step(folder, model);
      this->ExpectListed(folder, model);
    }
    CXmlDocument::DeactiveCacheDOMDocument(0);
    this->ExpectSame(folder, model);
    if (this->HasFailure()) return;
  }
}

}  // namespace
}  // namespace Foldwise
