// The documents folders of author and typist, the typist's sent items and the synchroniser
// between the two documents folders: every operation.
#include "foldwise/documents_folders.h"
#include "harness/operation_lists.h"

namespace Foldwise {
namespace harness {
namespace {

using Doc = DOCUMENTS_ITEM_XML_DATA;
using DocList = DOCUMENTS_ITEMLIST_XML_DATA;
using TypistDoc = DOCUMENTS_TYPIST_ITEM_XML_DATA;
using Sent = SENTITEMS_TYPIST_ITEM_XML_DATA;
using SentList = SENTITEMS_TYPIST_ITEMLIST_XML_DATA;

// A new entry of each record: identity, names and the texts the folder needs.
template <typename Record>
Record NewEntry(Texts& t, const char* guid) {
  return t.Value<Record>({{"guid", guid},
                          {"document_file_name", "n.doc"},
                          {"dictation_file_name", "n.wav"},
                          {"protocol", "ftp"},
                          {"status", "open"},
                          {"To", "author"},
                          {"server", "srv"},
                          {"folder", "in"}});
}

template <typename Record>
Record KeyOf(Texts& t, const char* guid) {
  return t.Key<Record>({{"guid", guid}});
}

// Reads of the first match: 1 when |out| was filled.
template <typename Folder, typename Key, typename Out>
int Found(Folder& f, const Key& key) {
  Out out;
  out.guid = "\x01untouched";
  f.GetItemXML(key, &out);
  return out.guid != "\x01untouched" ? 1 : 0;
}

template <typename Folder, typename Listed>
int ListsAny(Folder& f) {
  long count = 0;
  Listed* list = nullptr;
  f.GetItemListXML(&count, &list);
  f.DelItemListXML(list);
  return count > 0 ? 1 : 0;
}

void AddDocuments(Operations& ops) {
  using F = CDocumentsFolderXML;
  auto row = [&](const char* name, Effect effect, auto work) {
    AddRow<F>(ops, kDocuments, name, effect, [work](F& f, Texts& t) {
      work(f, t);
      return -1;
    });
  };
  row("make", Effect::kChanges, [](F& f, Texts&) { f.MakeXML(); });
  row("open, add, close", Effect::kChanges, [](F& f, Texts& t) {
    f.OpenXML();
    f.AddItemFtpXML(NewEntry<Doc>(t, "g4"), t.Value<DOCUMENTS_FTP_XML_DATA>({}), 1);
    f.CloseXML(1);
  });
  row("add ftp", Effect::kChanges, [](F& f, Texts& t) {
    f.AddItemFtpXML(NewEntry<Doc>(t, "g3"),
                    t.Value<DOCUMENTS_FTP_XML_DATA>({{"server", "srv"}, {"folder", "in"}}), 1);
  });
  row("add smtp", Effect::kChanges, [](F& f, Texts& t) {
    f.AddItemSmtpXML(NewEntry<Doc>(t, "g3"),
                     t.Value<DOCUMENTS_SMTP_XML_DATA>({{"from", "me"}, {"subject", "s"}}), 1);
  });
  row("set list", Effect::kChanges, [](F& f, Texts& t) {
    DocList list[1] = {NewEntry<DocList>(t, "g5")};
    list[0].delivery_kind = kDeliveryFtp;
    f.SetItemListXML(1, list);
  });
  row("delete", Effect::kChanges, [](F& f, Texts& t) { f.DelItemXML(KeyOf<Doc>(t, "g1")); });
  row("change", Effect::kChanges, [](F& f, Texts& t) {
    f.ChangeItemXML(KeyOf<Doc>(t, "g1"), t.Value<Doc>({{"dictation_file_name", "renamed.wav"}}));
  });
  row("change list", Effect::kChanges,
      [](F& f, Texts& t) { f.ChangeItemListXML(KeyOf<Doc>(t, "g2"), NewEntry<DocList>(t, "g9")); });
  row("delete dictation", Effect::kChanges,
      [](F& f, Texts& t) { f.DelItemDictationXML(KeyOf<Doc>(t, "g2")); });
  row("delete dictation, new guid", Effect::kChanges, [](F& f, Texts& t) {
    f.DelItemDictationXML(KeyOf<Doc>(t, "g2"), t.Value<Doc>({{"guid", "g8"}}));
  });
  AddRow<F>(ops, kDocuments, "get", Effect::kReads,
            [](F& f, Texts& t) { return Found<F, Doc, DocList>(f, KeyOf<Doc>(t, "g1")); });
  AddRow<F>(ops, kDocuments, "list", Effect::kReads,
            [](F& f, Texts&) { return ListsAny<F, DocList>(f); });
}

void AddTypistDocuments(Operations& ops) {
  using F = CDocumentsTypistFolderXML;
  auto row = [&](const char* name, Effect effect, auto work) {
    AddRow<F>(ops, kTypistDocuments, name, effect, [work](F& f, Texts& t) {
      work(f, t);
      return -1;
    });
  };
  row("make", Effect::kChanges, [](F& f, Texts&) { f.MakeXML(); });
  row("open, add, close", Effect::kChanges, [](F& f, Texts& t) {
    f.OpenXML();
    f.AddItemXML(NewEntry<TypistDoc>(t, "g4"));
    f.CloseXML(1);
  });
  row("add", Effect::kChanges, [](F& f, Texts& t) { f.AddItemXML(NewEntry<TypistDoc>(t, "g3")); });
  row("set list", Effect::kChanges, [](F& f, Texts& t) {
    TypistDoc list[1] = {NewEntry<TypistDoc>(t, "g5")};
    f.SetItemListXML(1, list);
  });
  row("delete", Effect::kChanges, [](F& f, Texts& t) { f.DelItemXML(KeyOf<TypistDoc>(t, "g1")); });
  row("change", Effect::kChanges, [](F& f, Texts& t) {
    f.ChangeItemXML(KeyOf<TypistDoc>(t, "g1"),
                    t.Value<TypistDoc>({{"dictation_file_name", "renamed.wav"}}));
  });
  row("delete dictation", Effect::kChanges,
      [](F& f, Texts& t) { f.DelItemDictationXML(KeyOf<TypistDoc>(t, "g2")); });
  row("delete dictation, new guid", Effect::kChanges, [](F& f, Texts& t) {
    f.DelItemDictationXML(KeyOf<TypistDoc>(t, "g2"),
                          t.Value<TypistDoc>({{"guid", "g8"}, {"status", "done"}}));
  });
  AddRow<F>(ops, kTypistDocuments, "get", Effect::kReads, [](F& f, Texts& t) {
    return Found<F, TypistDoc, TypistDoc>(f, KeyOf<TypistDoc>(t, "g1"));
  });
  AddRow<F>(ops, kTypistDocuments, "list", Effect::kReads,
            [](F& f, Texts&) { return ListsAny<F, TypistDoc>(f); });
}

void AddTypistSentItems(Operations& ops) {
  using F = CSentItemsTypistFolderXML;
  auto row = [&](const char* name, Effect effect, auto work) {
    AddRow<F>(ops, kTypistSentItems, name, effect, work);
  };
  row("make", Effect::kChanges, [](F& f, Texts&) {
    f.MakeXML();
    return -1;
  });
  row("add", Effect::kChanges,
      [](F& f, Texts& t) { return static_cast<int>(f.AddItemXML(NewEntry<Sent>(t, "g3"))); });
  row("add ftp", Effect::kChanges, [](F& f, Texts& t) {
    f.AddItemFtpXML(NewEntry<Sent>(t, "g3"),
                    t.Value<SENTITEMS_TYPIST_FTP_XML_DATA>({{"server", "srv"}, {"folder", "out"}}));
    return -1;
  });
  row("add smtp", Effect::kChanges, [](F& f, Texts& t) {
    f.AddItemSmtpXML(NewEntry<Sent>(t, "g3"),
                     t.Value<SENTITEMS_TYPIST_SMTP_XML_DATA>({{"to", "a@b"}, {"subject", "s"}}));
    return -1;
  });
  row("set list", Effect::kChanges, [](F& f, Texts& t) {
    SentList list[1] = {NewEntry<SentList>(t, "g5")};
    list[0].delivery_kind = kDeliveryFtp;
    return static_cast<int>(f.SetItemListXML(1, list));
  });
  row("delete", Effect::kChanges,
      [](F& f, Texts& t) { return static_cast<int>(f.DelItemXML(KeyOf<Sent>(t, "g1"))); });
  row("change", Effect::kChanges, [](F& f, Texts& t) {
    return static_cast<int>(
        f.ChangeItemXML(KeyOf<Sent>(t, "g1"), t.Value<Sent>({{"status", "done"}})));
  });
  row("change list form", Effect::kChanges, [](F& f, Texts& t) {
    SentList values =
        t.Value<SentList>({{"status", "done"}, {"protocol", "ftp"}, {"server", "s2"}});
    return static_cast<int>(f.ChangeItemXML(KeyOf<Sent>(t, "g1"), values));
  });
  row("delete dictation", Effect::kChanges, [](F& f, Texts& t) {
    f.DelItemDictationXML(KeyOf<Sent>(t, "g2"), t.Value<Sent>({}));
    return -1;
  });
  row("get", Effect::kReads,
      [](F& f, Texts& t) { return Found<F, Sent, SentList>(f, KeyOf<Sent>(t, "g1")); });
  row("list", Effect::kReads, [](F& f, Texts&) { return ListsAny<F, SentList>(f); });
}

// The synchroniser works on the data directory that holds both documents files.
void AddDocumentsSync(Operations& ops) {
  auto row = [&](const char* name, auto work) {
    ops.push_back(
        {kDocumentsSync, name, Effect::kChanges, [work](const std::string& dir, Texts& t) {
           CDocumentsSyncXML sync(dir);
           work(sync, t);
           return -1;
         }});
  };
  using S = CDocumentsSyncXML;
  row("documents added", [](S& s, Texts& t) { s.OnDocumentsAdded(NewEntry<Doc>(t, "g6")); });
  row("documents list added", [](S& s, Texts& t) {
    DocList list[1] = {NewEntry<DocList>(t, "g6")};
    s.OnDocumentsListAdded(1, list);
  });
  row("typist list added", [](S& s, Texts& t) {
    TypistDoc list[1] = {NewEntry<TypistDoc>(t, "g6")};
    s.OnTypistListAdded(1, list);
  });
  row("documents changed", [](S& s, Texts& t) {
    s.OnDocumentsChanged(KeyOf<Doc>(t, "g1"), t.Value<Doc>({{"dictation_file_name", "r.wav"}}));
  });
  row("typist changed", [](S& s, Texts& t) {
    s.OnTypistChanged(KeyOf<TypistDoc>(t, "g1"),
                      t.Value<TypistDoc>({{"dictation_file_name", "r.wav"}}));
  });
  row("documents dictation deleted",
      [](S& s, Texts& t) { s.OnDocumentsDictationDeleted(KeyOf<Doc>(t, "g2")); });
  row("typist dictation deleted",
      [](S& s, Texts& t) { s.OnTypistDictationDeleted(KeyOf<TypistDoc>(t, "g2")); });
  row("documents deleted", [](S& s, Texts& t) { s.OnDocumentsDeleted(KeyOf<Doc>(t, "g1")); });
  row("typist deleted", [](S& s, Texts& t) { s.OnTypistDeleted(KeyOf<TypistDoc>(t, "g1")); });
}

}  // namespace

void AddDocumentOperations(Operations& ops) {
  AddDocuments(ops);
  AddTypistDocuments(ops);
  AddTypistSentItems(ops);
  AddDocumentsSync(ops);
}

}  // namespace harness
}  // namespace Foldwise
