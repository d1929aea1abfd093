#include "harness/family_operations.h"

#include "foldwise/cached_folders.h"
#include "foldwise/documents_folders.h"
#include "foldwise/folder_attributes.h"
#include "foldwise/outbox_folders.h"
#include "foldwise/xml_document.h"

namespace Foldwise {
namespace harness {
namespace {

using Ops = std::vector<FamilyOperation>;

template <typename Folder>
Folder At(const std::string& dir) {
  Folder folder;
  folder.SetDirectory(dir);
  return folder;
}

// Voice, sent items and typist inbox: two entries in the plain file, one in the encrypted one.
template <typename Folder>
void AddCached(Ops& ops, const std::string& family) {
  using Item = typename Folder::Item;
  auto folderAt = [](const std::string& dir) {
    Folder folder;
    folder.SetXmlFalePath(dir.c_str());
    return folder;
  };
  auto item = [](const char* guid, const char* name, const char* status) {
    Item record;
    record.guid = guid;
    record.dictation_file_name = name;
    record.status = status;
    return record;
  };
  auto setup = [=](const std::string& dir) {
    Folder folder = folderAt(dir);
    for (Item record :
         {item("g1", "a.wav", "new"), item("g2", "b.wav", "new"), item("g3", "c.$wv", "new")}) {
      folder.AddItemXML(record, 0);
    }
  };
  auto add = [&](const char* name, Item record) {
    ops.push_back({family, name, SaveFailure::kReturnsZero, setup, [=](const std::string& dir) {
                     Item copy = record;
                     return folderAt(dir).AddItemXML(copy, 0);
                   }});
  };
  add("add plain", item("g4", "d.wav", "new"));
  add("add encrypted", item("g5", "e.$wv", "new"));
  auto change = [&](const char* name, Item key) {
    ops.push_back({family, name, SaveFailure::kReturnsZero, setup, [=](const std::string& dir) {
                     Item k = key;
                     Item values = item("", "", "typed");
                     return folderAt(dir).ChangeItemXML(k, values, 0);
                   }});
  };
  change("change one", item("g1", "", ""));
  change("change in both files", item("", "", "new"));
  auto del = [&](const char* name, Item key) {
    ops.push_back({family, name, SaveFailure::kReturnsZero, setup, [=](const std::string& dir) {
                     Item k = key;
                     return folderAt(dir).DelItemXML(k);
                   }});
  };
  del("delete one", item("g1", "", ""));
  del("delete emptying a file", item("g3", "", ""));
  del("delete in both files", item("", "", "new"));
  ops.push_back({family, "set list", SaveFailure::kReturnsZero, setup, [=](const std::string& dir) {
                   Item list[2] = {item("s1", "x.wav", "new"), item("s2", "y.$wv", "new")};
                   return folderAt(dir).SetItemListXML(2, list);
                 }});
  ops.push_back(
      {family, "set empty list", SaveFailure::kReturnsZero, setup, [=](const std::string& dir) {
         Item* none = nullptr;
         return folderAt(dir).SetItemListXML(0, none);
       }});
  // A bracket reports nothing: its flush either lands or leaves the files as they were.
  ops.push_back({family, "add in a cache bracket", SaveFailure::kReturnsZero, setup,
                 [=](const std::string& dir) {
                   CXmlDocument::ActiveCacheDOMDocument();
                   Item record = item("g6", "f.$wv", "new");
                   Folder folder = folderAt(dir);
                   folder.AddItemXML(record, 0);
                   Item key = item("g1", "", "");
                   folder.DelItemXML(key);
                   CXmlDocument::DeactiveCacheDOMDocument(0);
                   return -1;
                 }});
}

void AddAttributes(Ops& ops) {
  auto setup = [](const std::string& dir) { At<CFolderAttrXML>(dir).EnableEncryption(1, 101); };
  auto op = [&](const char* name, std::function<int(CFolderAttrXML&)> work) {
    ops.push_back(
        {"attributes", name, SaveFailure::kReturnsZero, setup, [=](const std::string& dir) {
           CFolderAttrXML folder = At<CFolderAttrXML>(dir);
           return work(folder);
         }});
  };
  op("encryption version", [](CFolderAttrXML& f) { return f.EnableEncryption(1, 205); });
  op("confidentiality on", [](CFolderAttrXML& f) { return f.EnableConfidentiality(1, 0); });
  op("encryption off (deletes)", [](CFolderAttrXML& f) { return f.EnableEncryption(0, 0); });
}

DOCUMENTS_ITEM_XML_DATA DocumentsItem(const char* guid) {
  DOCUMENTS_ITEM_XML_DATA item;
  item.guid = guid;
  item.document_file_name = std::string(guid) + ".doc";
  item.dictation_file_name = std::string(guid) + ".wav";
  item.protocol = "ftp";
  return item;
}

void AddDocuments(Ops& ops) {
  using Folder = CDocumentsFolderXML;
  auto setup = [](const std::string& dir) {
    Folder folder = At<Folder>(dir);
    folder.AddItemFtpXML(DocumentsItem("g1"), {"srv", "in"}, 1);
    folder.AddItemFtpXML(DocumentsItem("g2"), {"srv", "in"}, 1);
  };
  auto op = [&](const char* name, std::function<void(Folder&)> work) {
    ops.push_back(
        {"documents", name, SaveFailure::kRaisesComError, setup, [=](const std::string& dir) {
           Folder folder = At<Folder>(dir);
           work(folder);
           return -1;
         }});
  };
  op("add ftp", [](Folder& f) { f.AddItemFtpXML(DocumentsItem("g3"), {"srv", "in"}, 1); });
  op("add smtp", [](Folder& f) { f.AddItemSmtpXML(DocumentsItem("g3"), {"me", "s", "b"}, 1); });
  op("delete", [](Folder& f) { f.DelItemXML(DocumentsItem("g1")); });
  op("change", [](Folder& f) {
    DOCUMENTS_ITEM_XML_DATA values;
    values.dictation_file_name = "renamed.wav";
    f.ChangeItemXML(DocumentsItem("g1"), values);
  });
  op("change list", [](Folder& f) {
    DOCUMENTS_ITEMLIST_XML_DATA values;
    static_cast<DOCUMENTS_ITEM_XML_DATA&>(values) = DocumentsItem("g9");
    f.ChangeItemListXML(DocumentsItem("g2"), values);
  });
  op("set list", [](Folder& f) {
    DOCUMENTS_ITEMLIST_XML_DATA list[1];
    static_cast<DOCUMENTS_ITEM_XML_DATA&>(list[0]) = DocumentsItem("g5");
    f.SetItemListXML(1, list);
  });
  op("delete dictation", [](Folder& f) { f.DelItemDictationXML(DocumentsItem("g2")); });
  op("make", [](Folder& f) { f.MakeXML(); });
  op("open, add, close", [](Folder& f) {
    f.OpenXML();
    f.AddItemFtpXML(DocumentsItem("g4"), {"srv", "in"}, 1);
    f.CloseXML(1);
  });
}

DOCUMENTS_TYPIST_ITEM_XML_DATA TypistItem(const char* guid) {
  DOCUMENTS_TYPIST_ITEM_XML_DATA item;
  item.guid = guid;
  item.document_file_name = std::string(guid) + ".doc";
  item.dictation_file_name = std::string(guid) + ".wav";
  item.status = "open";
  item.To = "author";
  return item;
}

void AddTypistDocuments(Ops& ops) {
  using Folder = CDocumentsTypistFolderXML;
  auto setup = [](const std::string& dir) {
    Folder folder = At<Folder>(dir);
    folder.AddItemXML(TypistItem("g1"));
    folder.AddItemXML(TypistItem("g2"));
  };
  auto op = [&](const char* name, std::function<void(Folder&)> work) {
    ops.push_back({"typist documents", name, SaveFailure::kRaisesComError, setup,
                   [=](const std::string& dir) {
                     Folder folder = At<Folder>(dir);
                     work(folder);
                     return -1;
                   }});
  };
  op("add", [](Folder& f) { f.AddItemXML(TypistItem("g3")); });
  op("delete", [](Folder& f) { f.DelItemXML(TypistItem("g1")); });
  op("change", [](Folder& f) {
    DOCUMENTS_TYPIST_ITEM_XML_DATA values;
    values.dictation_file_name = "renamed.wav";
    f.ChangeItemXML(TypistItem("g1"), values);
  });
  op("set list", [](Folder& f) {
    DOCUMENTS_TYPIST_ITEM_XML_DATA list[1] = {TypistItem("g5")};
    f.SetItemListXML(1, list);
  });
  op("delete dictation", [](Folder& f) { f.DelItemDictationXML(TypistItem("g2")); });
  op("make", [](Folder& f) { f.MakeXML(); });
}

SENTITEMS_TYPIST_ITEM_XML_DATA SentItem(const char* guid) {
  SENTITEMS_TYPIST_ITEM_XML_DATA item;
  item.guid = guid;
  item.status = "sent";
  item.document_file_name = std::string(guid) + ".doc";
  item.dictation_file_name = std::string(guid) + ".wav";
  item.protocol = "ftp";
  return item;
}

void AddTypistSentItems(Ops& ops) {
  using Folder = CSentItemsTypistFolderXML;
  auto setup = [](const std::string& dir) {
    Folder folder = At<Folder>(dir);
    folder.AddItemXML(SentItem("g1"));
    folder.AddItemXML(SentItem("g2"));
  };
  auto op = [&](const char* name, std::function<int(Folder&)> work) {
    ops.push_back({"typist sent items", name, SaveFailure::kRaisesComError, setup,
                   [=](const std::string& dir) {
                     Folder folder = At<Folder>(dir);
                     return work(folder);
                   }});
  };
  op("add", [](Folder& f) { return static_cast<int>(f.AddItemXML(SentItem("g3"))); });
  op("add ftp", [](Folder& f) {
    f.AddItemFtpXML(SentItem("g3"), {"srv", "out"});
    return -1;
  });
  op("delete", [](Folder& f) { return static_cast<int>(f.DelItemXML(SentItem("g1"))); });
  op("change", [](Folder& f) {
    SENTITEMS_TYPIST_ITEM_XML_DATA values;
    values.status = "done";
    return static_cast<int>(f.ChangeItemXML(SentItem("g1"), values));
  });
  op("set list", [](Folder& f) {
    SENTITEMS_TYPIST_ITEMLIST_XML_DATA list[1];
    static_cast<SENTITEMS_TYPIST_ITEM_XML_DATA&>(list[0]) = SentItem("g5");
    return static_cast<int>(f.SetItemListXML(1, list));
  });
  op("delete dictation", [](Folder& f) {
    f.DelItemDictationXML(SentItem("g2"), SENTITEMS_TYPIST_ITEM_XML_DATA());
    return -1;
  });
}

template <typename Folder>
void AddOutbox(Ops& ops, const std::string& family) {
  using Item = typename Folder::Item;
  using SrvInfo = typename Folder::SrvInfo;
  using ErrInfo = typename Folder::ErrInfo;
  auto item = [](const char* guid) {
    Item record;
    record.guid = guid;
    record.dictation_file_name = std::string(guid) + ".wav";
    record.protocol = "smtp";
    return record;
  };
  auto setup = [=](const std::string& dir) {
    Folder folder = At<Folder>(dir);
    folder.AddItemSmtpXML(item("g1"), {});
    folder.AddItemSmtpXML(item("g2"), {});
    folder.AddItemErrInfoXML(item("g2"), ErrInfo{"d", "t", "refused"});
    folder.AddServerInfoXML(SrvInfo{"ftp", "srv"});
  };
  auto op = [&](const char* name, std::function<int(Folder&)> work) {
    ops.push_back({family, name, SaveFailure::kRaisesComError, setup, [=](const std::string& dir) {
                     Folder folder = At<Folder>(dir);
                     return work(folder);
                   }});
  };
  op("add smtp", [=](Folder& f) {
    f.AddItemSmtpXML(item("g3"), {});
    return -1;
  });
  op("add ftp", [=](Folder& f) {
    f.AddItemFtpXML(item("g3"), {"srv", "in"});
    return -1;
  });
  op("add error", [=](Folder& f) {
    f.AddItemErrInfoXML(item("g1"), ErrInfo{"d", "t", "timeout"});
    return -1;
  });
  op("clear errors", [=](Folder& f) {
    f.ClearItemErrInfoXML(item("g2"));
    return -1;
  });
  op("delete", [=](Folder& f) { return static_cast<int>(f.DelItemXML(item("g1"))); });
  op("change with details", [=](Folder& f) {
    Item values;
    values.date = "2026-12-06";
    return static_cast<int>(f.ChangeItemXML(item("g1"), values, {}, {}));
  });
  op("change by reference", [=](Folder& f) {
    Item values;
    values.time = "12:00";
    return f.ChangeItemXML(item("g1"), values);
  });
  op("add server", [=](Folder& f) {
    f.AddServerInfoXML(SrvInfo{"smtp", "mail"});
    return -1;
  });
  op("delete server", [=](Folder& f) {
    f.DelServerInfoXML(SrvInfo{"ftp", "srv"});
    return -1;
  });
  op("make", [=](Folder& f) {
    f.MakeXML();
    return -1;
  });
}

}  // namespace

std::vector<FamilyOperation> AllFamilyOperations() {
  Ops ops;
  AddCached<CVoiceFolderXML>(ops, "voice");
  AddCached<CSentItemsFolderXML>(ops, "sent items");
  AddCached<CInBoxTypistFolderXML>(ops, "typist inbox");
  AddAttributes(ops);
  AddDocuments(ops);
  AddTypistDocuments(ops);
  AddTypistSentItems(ops);
  AddOutbox<COutBoxFolderXML>(ops, "outbox");
  AddOutbox<COutBoxTypistFolderXML>(ops, "typist outbox");
  ops.push_back({"typist outbox", "unlink", SaveFailure::kRaisesComError, ops.back().setup,
                 [](const std::string& dir) {
                   COutBoxTypistFolderXML folder = At<COutBoxTypistFolderXML>(dir);
                   OUTBOX_TYPIST_ITEM_XML_DATA key;
                   key.guid = "g1";
                   return folder.DelLinkXML(key, OUTBOX_TYPIST_ITEM_XML_DATA());
                 }});
  return ops;
}

}  // namespace harness
}  // namespace Foldwise
