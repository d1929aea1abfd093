// The documents families: the author's documents, the typist's documents and the typist's sent
// items. Each call outside a bracket loads the file (and saves it when it changes); the two
// documents folders also run 100 changes inside the host's OpenXML bracket, which holds the
// tree from OpenXML to CloseXML.
#include "bench_support.h"
#include "foldwise/documents_folders.h"

namespace Foldwise {
namespace bench {
namespace {

template <typename Item>
void Fill(Item& item, const std::string& index) {
  item.guid = SampleGuid(index);
  item.document_file_name = "letter" + index + ".doc";
  item.document_file_path = "/home/typist/documents";
  item.dictation_file_name = "dictation" + index + ".dss";
  item.dictation_file_path = "/home/author/dictations";
}

DOCUMENTS_ITEMLIST_XML_DATA DocumentEntry(const std::string& index) {
  DOCUMENTS_ITEMLIST_XML_DATA entry;
  Fill(entry, index);
  entry.protocol = "mail";
  entry.date = "12/06/26";
  entry.time = "11:42:00";
  entry.delivery_kind = kDeliveryMail;
  entry.smtp = {"typist@example.com", "Letter " + index, "Typed and attached."};
  return entry;
}

DOCUMENTS_TYPIST_ITEM_XML_DATA TypistEntry(const std::string& index) {
  DOCUMENTS_TYPIST_ITEM_XML_DATA entry;
  Fill(entry, index);
  entry.status = "received";
  entry.To = "author@example.com";
  entry.Received = "12/06/26 11:42";
  return entry;
}

SENTITEMS_TYPIST_ITEMLIST_XML_DATA SentEntry(const std::string& index) {
  SENTITEMS_TYPIST_ITEMLIST_XML_DATA entry;
  Fill(entry, index);
  entry.status = "sent";
  entry.protocol = "mail";
  entry.date = "12/06/26";
  entry.time = "11:42:00";
  entry.delivery_kind = kDeliveryMail;
  entry.smtp.to = "author@example.com";
  entry.smtp.subject = "Letter " + index;
  entry.smtp.body = "Typed.";
  return entry;
}

template <typename FolderXml>
FolderXml& Open(const Folder& folder) {
  static FolderXml xml;
  xml.SetDirectory(folder.dir());
  return xml;
}

// The operations every documents family has; |Key| is the record that selects an entry.
template <typename FolderXml, typename Key, typename Out, typename ListRecord, typename Changes>
void RegisterCommon(const std::string& family, Changes changes) {
  auto op = [&family](const std::string& name, const std::string& baseline, bool restores,
                      std::function<void(Folder&)> run) {
    AddOperation({family, name, baseline, restores, std::move(run)});
  };
  op("list", "extract", false, [](Folder& folder) {
    long count = 0;
    ListRecord* list = nullptr;
    Open<FolderXml>(folder).GetItemListXML(&count, &list);
    // The author's listing also reports the folder's own path as a first entry.
    if (count < folder.size()) Fail("list");
    Open<FolderXml>(folder).DelItemListXML(list);
  });
  op("get", "parse", false, [](Folder& folder) {
    Key key;
    key.guid = Guid(folder.size() - 1);
    Out out;
    Open<FolderXml>(folder).GetItemXML(key, &out);
    if (out.guid != key.guid) Fail("get");
  });
  op("change", "save", false, [changes](Folder& folder) {
    Key key;
    key.guid = Guid(folder.size() / 2);
    Key values;
    changes(values, folder.Flip());
    Open<FolderXml>(folder).ChangeItemXML(key, values);
  });
  op("delete", "save", true, [](Folder& folder) {
    Key key;
    key.guid = Guid(folder.size() / 2);
    Open<FolderXml>(folder).DelItemXML(key);
  });
}

// 100 changes to different entries inside the host's OpenXML bracket, saved once at CloseXML.
template <typename FolderXml, typename Key, typename Changes>
void RegisterBracket(const std::string& family, Changes changes) {
  AddOperation({family, "openxml100", "save_scan100", false, [changes](Folder& folder) {
                  FolderXml& xml = Open<FolderXml>(folder);
                  const int step = folder.size() >= 100 ? folder.size() / 100 : 1;
                  const bool flip = folder.Flip();
                  if (xml.OpenXML() != 0) Fail("OpenXML");
                  for (int k = 0; k < 100; ++k) {
                    Key key;
                    key.guid = Guid((k * step) % folder.size());
                    Key values;
                    changes(values, flip);
                    xml.ChangeItemXML(key, values);
                  }
                  xml.CloseXML(1);
                }});
}

const bool registered = [] {
  auto newName = [](auto& values, bool flip) {
    values.dictation_file_name = flip ? "changed.dss" : "another.dss";
  };
  AddFamily("documents", "DocumentsFolder.xml", [](const std::string& dir) {
    CDocumentsFolderXML xml;
    xml.SetDirectory(dir);
    DOCUMENTS_ITEMLIST_XML_DATA entry = DocumentEntry(kIndexMark);
    xml.SetItemListXML(1, &entry);
  });
  RegisterCommon<CDocumentsFolderXML, DOCUMENTS_ITEM_XML_DATA, DOCUMENTS_ITEMLIST_XML_DATA,
                 DOCUMENTS_ITEMLIST_XML_DATA>("documents", newName);
  AddOperation({"documents", "add", "save", true, [](Folder& folder) {
                  const DOCUMENTS_ITEMLIST_XML_DATA entry =
                      DocumentEntry(std::to_string(folder.size()));
                  Open<CDocumentsFolderXML>(folder).AddItemSmtpXML(entry, entry.smtp, 1);
                }});
  RegisterBracket<CDocumentsFolderXML, DOCUMENTS_ITEM_XML_DATA>("documents", newName);

  AddFamily("typist_documents", "DocumentsTypistFolder.xml", [](const std::string& dir) {
    CDocumentsTypistFolderXML xml;
    xml.SetDirectory(dir);
    DOCUMENTS_TYPIST_ITEM_XML_DATA entry = TypistEntry(kIndexMark);
    xml.SetItemListXML(1, &entry);
  });
  RegisterCommon<CDocumentsTypistFolderXML, DOCUMENTS_TYPIST_ITEM_XML_DATA,
                 DOCUMENTS_TYPIST_ITEM_XML_DATA, DOCUMENTS_TYPIST_ITEM_XML_DATA>("typist_documents",
                                                                                 newName);
  AddOperation({"typist_documents", "add", "save", true, [](Folder& folder) {
                  Open<CDocumentsTypistFolderXML>(folder).AddItemXML(
                      TypistEntry(std::to_string(folder.size())));
                }});
  RegisterBracket<CDocumentsTypistFolderXML, DOCUMENTS_TYPIST_ITEM_XML_DATA>("typist_documents",
                                                                             newName);

  AddFamily("typist_sent_items", "SentItemsTypistFolder.xml", [](const std::string& dir) {
    CSentItemsTypistFolderXML xml;
    xml.SetDirectory(dir);
    SENTITEMS_TYPIST_ITEMLIST_XML_DATA entry = SentEntry(kIndexMark);
    if (!xml.SetItemListXML(1, &entry)) Fail("sample entry");
  });
  RegisterCommon<CSentItemsTypistFolderXML, SENTITEMS_TYPIST_ITEM_XML_DATA,
                 SENTITEMS_TYPIST_ITEMLIST_XML_DATA, SENTITEMS_TYPIST_ITEMLIST_XML_DATA>(
      "typist_sent_items", newName);
  AddOperation({"typist_sent_items", "add", "save", true, [](Folder& folder) {
                  const SENTITEMS_TYPIST_ITEMLIST_XML_DATA entry =
                      SentEntry(std::to_string(folder.size()));
                  Open<CSentItemsTypistFolderXML>(folder).AddItemSmtpXML(entry, entry.smtp);
                }});
  return true;
}();

}  // namespace
}  // namespace bench
}  // namespace Foldwise
