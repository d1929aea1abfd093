// Random operation sequences on each documents-family folder, checked after every step against
// a plain ordered list of entries.
#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "documents_fixture.h"

namespace Foldwise {
namespace {

struct ModelEntry {
  std::string guid, document, dictation;
};

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// First entry a key matches: every non-empty key field equal ignoring case; an empty key none.
ModelEntry* FirstMatch(std::vector<ModelEntry>& entries, const ModelEntry& key) {
  if (key.guid.empty() && key.document.empty()) return nullptr;
  for (ModelEntry& entry : entries) {
    if ((key.guid.empty() || Upper(key.guid) == Upper(entry.guid)) &&
        (key.document.empty() || Upper(key.document) == Upper(entry.document))) {
      return &entry;
    }
  }
  return nullptr;
}

template <typename Item>
Item ToItem(const ModelEntry& entry) {
  Item item;
  item.guid = entry.guid;
  item.document_file_name = entry.document;
  item.dictation_file_name = entry.dictation;
  return item;
}

// How the model's additions and dictation removals reach each folder.
void AddTo(CDocumentsFolderXML& folder, const ModelEntry& entry) {
  folder.AddItemFtpXML(ToItem<DOCUMENTS_ITEM_XML_DATA>(entry), {"s", "f"}, 1);
}
void AddTo(CDocumentsTypistFolderXML& folder, const ModelEntry& entry) {
  folder.AddItemXML(ToItem<DOCUMENTS_TYPIST_ITEM_XML_DATA>(entry));
}
void AddTo(CSentItemsTypistFolderXML& folder, const ModelEntry& entry) {
  ASSERT_TRUE(folder.AddItemXML(ToItem<SENTITEMS_TYPIST_ITEM_XML_DATA>(entry)));
}
template <typename Folder, typename Item>
void DetachIn(Folder& folder, const Item& key) {
  folder.DelItemDictationXML(key);
}
void DetachIn(CSentItemsTypistFolderXML& folder, const SENTITEMS_TYPIST_ITEM_XML_DATA& key) {
  folder.DelItemDictationXML(key, {});
}

// The operations of a folder the model knows, and the empty entries its list ends with.
template <typename Folder, typename Item, typename Entry, long kEmpty>
struct Adapter {
  static constexpr long kTrailingEmpty = kEmpty;
  Folder& folder;
  void Add(const ModelEntry& entry) { AddTo(folder, entry); }
  void Delete(const ModelEntry& key) { folder.DelItemXML(ToItem<Item>(key)); }
  void Change(const ModelEntry& key, const ModelEntry& values) {
    folder.ChangeItemXML(ToItem<Item>(key), ToItem<Item>(values));
  }
  void Detach(const ModelEntry& key) { DetachIn(folder, ToItem<Item>(key)); }
  template <typename Visit>
  long List(Visit visit) {
    long count = 0;
    Entry* list = nullptr;
    folder.GetItemListXML(&count, &list);
    for (long i = 0; i < count; ++i) {
      visit({list[i].guid, list[i].document_file_name, list[i].dictation_file_name});
    }
    folder.DelItemListXML(list);
    return count;
  }
};
using AuthorAdapter =
    Adapter<CDocumentsFolderXML, DOCUMENTS_ITEM_XML_DATA, DOCUMENTS_ITEMLIST_XML_DATA, 1>;
using TypistAdapter = Adapter<CDocumentsTypistFolderXML, DOCUMENTS_TYPIST_ITEM_XML_DATA,
                              DOCUMENTS_TYPIST_ITEM_XML_DATA, 1>;
using SentAdapter = Adapter<CSentItemsTypistFolderXML, SENTITEMS_TYPIST_ITEM_XML_DATA,
                            SENTITEMS_TYPIST_ITEMLIST_XML_DATA, 0>;

class DocumentsModelTest : public DocumentsFixture {
 protected:
  std::string Pick(std::initializer_list<const char*> choices) {
    return choices
        .begin()[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random)];
  }
  // Keys name an entry by guid or document name, in either letter case, or by nothing.
  ModelEntry RandomKey() {
    ModelEntry key{Pick({"", "g1", "g2", "g3"}), Pick({"", "a.doc", "b.doc"}), ""};
    if (random() % 2 == 0) key.guid = Upper(key.guid);
    return key;
  }

  template <typename Adapter>
  void Run(Adapter adapter, bool useBracket) {
    std::vector<ModelEntry> model;
    for (int step = 0; step < 120 && !HasFailure(); ++step) {
      SCOPED_TRACE("step " + std::to_string(step));
      // Now and then a run of operations inside the host's bracket, saved at its end.
      const bool bracket = useBracket && random() % 4 == 0;
      if (bracket) {
        ASSERT_EQ(0, author.OpenXML());
      }
      for (int op = 0; op < (bracket ? 3 : 1); ++op) Step(adapter, model);
      if (bracket) author.CloseXML(1);

      std::vector<ModelEntry> listed;
      const long count = adapter.List([&](const ModelEntry& entry) { listed.push_back(entry); });
      ASSERT_EQ(static_cast<long>(model.size()) + Adapter::kTrailingEmpty, count);
      listed.resize(model.size());
      for (std::size_t i = 0; i < model.size(); ++i) {
        EXPECT_EQ(model[i].guid + "|" + model[i].document + "|" + model[i].dictation,
                  listed[i].guid + "|" + listed[i].document + "|" + listed[i].dictation)
            << "entry " << i;
      }
    }
  }

  template <typename Adapter>
  void Step(Adapter& adapter, std::vector<ModelEntry>& model) {
    const int op = std::uniform_int_distribution<int>(0, 9)(random);
    if (op < 4) {
      const ModelEntry entry{Pick({"g1", "g2", "g3"}), Pick({"a.doc", "b.doc", "c.doc"}),
                             Pick({"", "x.wav", "y.wav"})};
      adapter.Add(entry);
      model.push_back(entry);
    } else if (op < 6) {
      const ModelEntry key = RandomKey();
      adapter.Delete(key);
      if (ModelEntry* match = FirstMatch(model, key))
        model.erase(model.begin() + (match - &model[0]));
    } else if (op < 8) {
      const ModelEntry key = RandomKey();
      const ModelEntry values{Pick({"", "g1", "g4"}), "", Pick({"", "z.wav"})};
      adapter.Change(key, values);
      if (ModelEntry* match = FirstMatch(model, key)) {
        if (!values.guid.empty()) match->guid = values.guid;
        if (!values.dictation.empty()) match->dictation = values.dictation;
      }
    } else {
      const ModelEntry key = RandomKey();
      adapter.Detach(key);
      if (ModelEntry* match = FirstMatch(model, key)) match->dictation.clear();
    }
  }

  std::mt19937 random{20261206};
};

TEST_F(DocumentsModelTest, AuthorFolderAgreesWithModel) { Run(AuthorAdapter{author}, true); }

TEST_F(DocumentsModelTest, TypistFolderAgreesWithModel) {
  // The author folder's file exists too, so every change is also mirrored there.
  author.MakeXML();
  Run(TypistAdapter{typist}, false);
}

TEST_F(DocumentsModelTest, SentItemsAgreeWithModel) { Run(SentAdapter{sent}, false); }

}  // namespace
}  // namespace Foldwise
