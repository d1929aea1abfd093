// Random operation sequences on each documents-family folder, checked after every step against
// a plain ordered list of entries.
#include <cctype>
#include <random>
#include <string>
#include <type_traits>
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

// How the model's operations reach a folder, and the empty entries its list ends with.
template <typename Folder, typename Item, typename Entry, long kEmpty>
struct Adapter {
  static constexpr long kTrailingEmpty = kEmpty;
  static constexpr bool kSent = std::is_same_v<Folder, CSentItemsTypistFolderXML>;
  Folder& folder;
  static Item Of(const ModelEntry& entry) {
    Item item;
    item.guid = entry.guid;
    item.document_file_name = entry.document;
    item.dictation_file_name = entry.dictation;
    return item;
  }
  void Add(const ModelEntry& entry) {
    if constexpr (std::is_same_v<Folder, CDocumentsFolderXML>) {
      folder.AddItemFtpXML(Of(entry), {"s", "f"}, 1);
    } else if constexpr (kSent) {
      ASSERT_TRUE(folder.AddItemXML(Of(entry)));
    } else {
      folder.AddItemXML(Of(entry));
    }
  }
  void Delete(const ModelEntry& key) { folder.DelItemXML(Of(key)); }
  void Change(const ModelEntry& key, const ModelEntry& values) {
    folder.ChangeItemXML(Of(key), Of(values));
  }
  void Detach(const ModelEntry& key) {
    if constexpr (kSent) {
      folder.DelItemDictationXML(Of(key), {});
    } else {
      folder.DelItemDictationXML(Of(key));
    }
  }
  std::vector<ModelEntry> List() {
    long count = 0;
    Entry* list = nullptr;
    folder.GetItemListXML(&count, &list);
    std::vector<ModelEntry> listed;
    for (long i = 0; i < count; ++i) {
      listed.push_back({list[i].guid, list[i].document_file_name, list[i].dictation_file_name});
    }
    folder.DelItemListXML(list);
    return listed;
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

      std::vector<ModelEntry> listed = adapter.List();
      ASSERT_EQ(model.size() + Adapter::kTrailingEmpty, listed.size());
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
