// The voice folder, the sent items and the typist inbox: every operation, in both record forms.
#include "foldwise/cached_folders.h"
#include "foldwise/folder_attributes.h"
#include "foldwise/xml_document.h"
#include "harness/operation_lists.h"

namespace Foldwise {
namespace harness {
namespace {

// Lists the folder in one record form: 1 when it holds anything.
template <typename Listed, typename Folder>
int ListsAny(Folder& folder) {
  long count = 0;
  Listed* list = nullptr;
  folder.GetItemListXML(&count, &list);
  Folder::ReleaseItemList(list);
  return count > 0 ? 1 : 0;
}

template <typename Folder>
void AddCached(Operations& ops, Family family) {
  using Item = typename Folder::Item;
  using ItemList = typename Folder::ItemList;
  auto row = [&](const char* name, Effect effect, auto work) {
    AddRow<Folder>(ops, family, name, effect, work);
  };
  auto key = [](Texts& t, const char* guid) { return t.Key<Item>({{"guid", guid}}); };
  auto added = [](Texts& t, const char* guid, const char* name) {
    return t.Value<Item>({{"guid", guid}, {"dictation_file_name", name}, {"status", "new"}});
  };
  auto addedList = [](Texts& t, const char* guid, unsigned char delivery) {
    ItemList record = t.Value<ItemList>({{"guid", guid},
                                         {"dictation_file_name", "l.wav"},
                                         {"status", "new"},
                                         {"server", "srv"},
                                         {"subject", "s"}});
    record.delivery_kind = delivery;
    return record;
  };

  // Makes nothing: each file is made from its template on its first save.
  row("make", Effect::kReads, [](Folder& f, Texts&) {
    f.MakeXML();
    return -1;
  });
  row("list", Effect::kReads, [](Folder& f, Texts&) { return ListsAny<ItemList>(f); });
  row("list plain form", Effect::kReads, [](Folder& f, Texts&) { return ListsAny<Item>(f); });
  row("get", Effect::kReads, [=](Folder& f, Texts& t) {
    Item k = key(t, "g1");
    Item out;
    return f.GetItemXML(k, &out);
  });
  row("get list form", Effect::kReads, [=](Folder& f, Texts& t) {
    Item k = key(t, "g1");
    ItemList out;
    return f.GetItemXML(k, &out);
  });
  row("count", Effect::kReads, [=](Folder& f, Texts& t) {
    Item k = key(t, "g1");
    return f.GetItemCountXML(&k);
  });
  row("count all", Effect::kReads, [](Folder& f, Texts&) { return f.GetItemCountXML(nullptr); });
  row("add plain", Effect::kChanges, [=](Folder& f, Texts& t) {
    Item record = added(t, "g4", "d.wav");
    return f.AddItemXML(record, 0);
  });
  row("add encrypted", Effect::kChanges, [=](Folder& f, Texts& t) {
    Item record = added(t, "g5", "e.$wv");
    return f.AddItemXML(record, 0);
  });
  row("add list form", Effect::kChanges, [=](Folder& f, Texts& t) {
    ItemList record = addedList(t, "g4", kDeliveryMail);
    return f.AddItemXML(record, 0);
  });
  row("change one", Effect::kChanges, [=](Folder& f, Texts& t) {
    Item k = key(t, "g1");
    Item values = t.Value<Item>({{"status", "typed"}});
    return f.ChangeItemXML(k, values, 0);
  });
  row("change in both files", Effect::kChanges, [](Folder& f, Texts& t) {
    Item k = t.Key<Item>({{"status", "new"}});
    Item values = t.Value<Item>({{"status", "typed"}});
    return f.ChangeItemXML(k, values, 0);
  });
  row("change list form", Effect::kChanges, [=](Folder& f, Texts& t) {
    Item k = key(t, "g2");
    ItemList values = t.Value<ItemList>({{"status", "typed"}});
    return f.ChangeItemXML(k, values, 0);
  });
  for (const auto& [name, guid] : {std::pair<const char*, const char*>{"delete one", "g1"},
                                   {"delete emptying a file", "g3"}}) {
    row(name, Effect::kChanges, [=, guid = guid](Folder& f, Texts& t) {
      Item k = key(t, guid);
      return f.DelItemXML(k);
    });
  }
  row("delete in both files", Effect::kChanges, [](Folder& f, Texts& t) {
    Item k = t.Key<Item>({{"status", "new"}});
    return f.DelItemXML(k);
  });
  row("set list", Effect::kChanges, [=](Folder& f, Texts& t) {
    Item list[2] = {added(t, "s1", "x.wav"), added(t, "s2", "y.$wv")};
    return f.SetItemListXML(2, list);
  });
  row("set list form", Effect::kChanges, [=](Folder& f, Texts& t) {
    ItemList list[2] = {addedList(t, "s1", kDeliveryFtp), addedList(t, "s2", kDeliveryMail)};
    return f.SetItemListXML(2, list);
  });
  row("set empty list", Effect::kChanges, [](Folder& f, Texts&) {
    Item* none = nullptr;
    return f.SetItemListXML(0, none);
  });
  // A bracket reports nothing: its flush either lands or leaves the files as they were.
  row("add in a cache bracket", Effect::kChanges, [=](Folder& f, Texts& t) {
    CXmlDocument::ActiveCacheDOMDocument();
    Item record = added(t, "g6", "f.$wv");
    f.AddItemXML(record, 0);
    Item k = key(t, "g1");
    f.DelItemXML(k);
    CXmlDocument::DeactiveCacheDOMDocument(0);
    return -1;
  });
}

}  // namespace

void AddCachedOperations(Operations& ops) {
  AddCached<CVoiceFolderXML>(ops, kVoice);
  AddCached<CSentItemsFolderXML>(ops, kSentItems);
  AddCached<CInBoxTypistFolderXML>(ops, kTypistInbox);
}

void AddAttributeOperations(Operations& ops) {
  auto row = [&](const char* name, Effect effect, int (*work)(CFolderAttrXML&)) {
    AddRow<CFolderAttrXML>(ops, kAttributes, name, effect,
                           [work](CFolderAttrXML& f, Texts&) { return work(f); });
  };
  row("encryption version", Effect::kChanges,
      [](CFolderAttrXML& f) { return f.EnableEncryption(1, 205); });
  row("confidentiality on", Effect::kChanges,
      [](CFolderAttrXML& f) { return f.EnableConfidentiality(1, 0); });
  row("encryption off (deletes)", Effect::kChanges,
      [](CFolderAttrXML& f) { return f.EnableEncryption(0, 0); });
  row("confidentiality off", Effect::kChanges,
      [](CFolderAttrXML& f) { return f.EnableConfidentiality(0, 0); });
  row("read switches", Effect::kReads, [](CFolderAttrXML& f) {
    return f.IsEncryption() + f.IsConfidentiality() + f.GetEncryptionVer() +
           f.GetConfidentialityVer() + f.IsExistXml();
  });
}

}  // namespace harness
}  // namespace Foldwise
