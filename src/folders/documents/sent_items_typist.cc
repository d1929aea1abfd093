// The typist's sent items: the shared item tables and identity match on a file that is loaded
// and saved in every call, with every identity path stored in each item.
#include "dom/dom_scan.h"
#include "engine/counted_array.h"
#include "folders/documents/identity.h"
#include "folders/documents/item_fields.h"
#include "folders/documents/sent_items_frame.h"
#include "foldwise/documents_folders.h"
#include "foldwise/errors.h"

namespace Foldwise {
namespace documents {
namespace {

using Item = SENTITEMS_TYPIST_ITEM_XML_DATA;
using Entry = SENTITEMS_TYPIST_ITEMLIST_XML_DATA;
using Ftp = SENTITEMS_TYPIST_FTP_XML_DATA;
using Smtp = SENTITEMS_TYPIST_SMTP_XML_DATA;
using Probe = SentItemsFrame::Probe;

constexpr Field<Item> kLeading[] = {
    {&Item::guid, "guid", Stored::kText, Written::kAlways},
    {&Item::status, "status", Stored::kText, Written::kAlways},
    {&Item::document_file_name, "document_file_name", Stored::kText, Written::kAlways},
    {&Item::document_file_path, "document_file_path", Stored::kPath, Written::kAlways},
    {&Item::dictation_file_name, "dictation_file_name", Stored::kText, Written::kAlways},
    {&Item::dictation_file_path, "dictation_file_path", Stored::kPath, Written::kAlways},
    {&Item::protocol, "protocol", Stored::kText, Written::kAlways},
};
constexpr Field<Item> kTrailing[] = {
    {&Item::date, "date", Stored::kText, Written::kAlways},
    {&Item::time, "time", Stored::kText, Written::kAlways},
};
constexpr Field<Ftp> kFtpFields[] = {
    {&Ftp::server, "server", Stored::kText, Written::kAlways},
    {&Ftp::folder, "folder", Stored::kText, Written::kAlways},
};
constexpr Field<Smtp> kMailFields[] = {
    {&Smtp::from, "from", Stored::kText, Written::kAlways},
    {&Smtp::to, "to", Stored::kText, Written::kAlways},
    {&Smtp::cc, "cc", Stored::kText, Written::kWhenNonEmpty},
    {&Smtp::bcc, "bcc", Stored::kText, Written::kWhenNonEmpty},
    {&Smtp::subject, "subject", Stored::kText, Written::kAlways},
    {&Smtp::body, "body", Stored::kText, Written::kAlways},
};

// The item-record change: names and paths only where the item has them, then guid and status.
constexpr Change<Item> kItemChanges[] = {
    {&Item::document_file_name, "document_file_name", Stored::kText, IfMissing::kAbandon},
    {&Item::document_file_path, "document_file_path", Stored::kPath, IfMissing::kAbandon},
    {&Item::dictation_file_name, "dictation_file_name", Stored::kText, IfMissing::kAbandon},
    {&Item::dictation_file_path, "dictation_file_path", Stored::kPath, IfMissing::kAbandon},
    {&Item::guid, "guid", Stored::kText, IfMissing::kAppend},
    {&Item::status, "status", Stored::kText, IfMissing::kAppend},
};
constexpr Change<Item> kListChanges[] = {
    {&Item::guid, "guid", Stored::kText, IfMissing::kAppend},
    {&Item::status, "status", Stored::kText, IfMissing::kAppend},
    {&Item::document_file_name, "document_file_name", Stored::kText, IfMissing::kAppend},
    {&Item::document_file_path, "document_file_path", Stored::kPath, IfMissing::kAppend},
    {&Item::dictation_file_name, "dictation_file_name", Stored::kText, IfMissing::kAppend},
    {&Item::dictation_file_path, "dictation_file_path", Stored::kPath, IfMissing::kAppend},
    {&Item::protocol, "protocol", Stored::kText, IfMissing::kAppend},
    {&Item::date, "date", Stored::kText, IfMissing::kAppend},
    {&Item::time, "time", Stored::kText, IfMissing::kAppend},
};
constexpr Change<Ftp> kFtpChanges[] = {
    {&Ftp::server, "server", Stored::kText, IfMissing::kAbandon},
    {&Ftp::folder, "folder", Stored::kText, IfMissing::kAbandon},
};
constexpr Change<Smtp> kMailChanges[] = {
    {&Smtp::from, "from", Stored::kText, IfMissing::kAbandon},
    {&Smtp::to, "to", Stored::kText, IfMissing::kAbandon},
    {&Smtp::cc, "cc", Stored::kText, IfMissing::kAbandon},
    {&Smtp::bcc, "bcc", Stored::kText, IfMissing::kAbandon},
    {&Smtp::subject, "subject", Stored::kText, IfMissing::kAbandon},
    {&Smtp::body, "body", Stored::kText, IfMissing::kAbandon},
};
constexpr Change<Item> kRemovalChanges[] = {
    {&Item::guid, "guid", Stored::kText, IfMissing::kAbandon},
    {&Item::status, "status", Stored::kText, IfMissing::kAbandon},
};

// Appends an item holding |entry| (delivery by its kind) to |list|, with the indent text before
// it only when |indentBefore|.
void AppendEntry(DomDocument& doc, DomNode list, const Entry& entry, bool indentBefore) {
  if (indentBefore) AppendIndent(doc, list, kItemDepth);
  DomNode item = list.AppendChild(doc.CreateElement("item"));
  WriteFields<Item>(doc, item, entry, TableOf(kLeading), kFieldDepth);
  WriteDeliveryOf(doc, item, entry, TableOf(kFtpFields), TableOf(kMailFields));
  WriteFields<Item>(doc, item, entry, TableOf(kTrailing), kFieldDepth);
  AppendIndent(doc, item, kItemDepth);
}

void ReadEntry(DomNode item, Entry& out) {
  ReadFields<Item>(item, out, TableOf(kLeading), TableOf(kTrailing));
  ReadDeliveryOf(item, out, TableOf(kFtpFields), TableOf(kMailFields));
}

Entry EntryOf(const Item& item, unsigned char kind) {
  Entry entry;
  static_cast<Item&>(entry) = item;
  entry.delivery_kind = kind;
  return entry;
}

// Adds a delivery subtree the item lacks when |protocol| asks for it, or changes the fields of
// the one it has. False when the existing subtree lacks a field that |values| sets.
template <typename Delivery>
bool ChangeDelivery(DomDocument& doc, DomNode item, const Entry& values, const char* name,
                    const Delivery& delivery, Fields<Delivery> fields, Changes<Delivery> changes) {
  const DomNode subtree = FirstChildElement(item, name);
  if (!subtree) {
    if (values.protocol == name) WriteDelivery(doc, item, name, delivery, fields);
    return true;
  }
  return ApplyChanges(doc, subtree, delivery, changes);
}

// Loads the file, finds the first item |key| matches and runs |edit| (doc, item) -> bool on it;
// saves when it says so. The result of the save, or false when nothing was changed.
template <typename Edit>
bool EditFirstMatch(const std::string& directory, Probe probe, const Item& key, Edit edit) {
  SentItemsFrame frame(directory, probe);
  if (!frame.Load()) return false;
  const DomNode list = frame.ItemList();
  if (!list) return false;
  DomNode item = FindFirstMatch(list, IdentityOf(key), DocumentPathScope::kPerItem);
  if (!item || !edit(frame.Document(), item)) return false;
  return frame.Save();
}

}  // namespace
}  // namespace documents

// The host hands records in by value, as the interface has always done.
// NOLINTBEGIN(performance-unnecessary-value-param)

using documents::Probe;
using documents::SentItemsFrame;

CSentItemsTypistFolderXML::CSentItemsTypistFolderXML() = default;
CSentItemsTypistFolderXML::~CSentItemsTypistFolderXML() = default;

void CSentItemsTypistFolderXML::MakeXML() { documents::MakeSentItemsFile(directory); }

void CSentItemsTypistFolderXML::AddItemFtpXML(SENTITEMS_TYPIST_ITEM_XML_DATA item,
                                              SENTITEMS_TYPIST_FTP_XML_DATA ftp) {
  SentItemsFrame frame(directory, Probe::kAtTheSave);
  if (!frame.Load()) return;
  DomNode list = frame.ItemList();
  if (!list) return;
  SENTITEMS_TYPIST_ITEMLIST_XML_DATA entry = documents::EntryOf(item, kDeliveryFtp);
  entry.ftp = ftp;
  documents::AppendEntry(frame.Document(), list, entry, true);
  AppendIndent(frame.Document(), list, documents::kItemDepth - 1);
  frame.Save();
}

void CSentItemsTypistFolderXML::AddItemSmtpXML(SENTITEMS_TYPIST_ITEM_XML_DATA item,
                                               SENTITEMS_TYPIST_SMTP_XML_DATA mail) {
  SentItemsFrame frame(directory, Probe::kAtTheSave);
  if (!frame.Load()) return;
  DomNode list = frame.ItemList();
  if (!list) return;
  SENTITEMS_TYPIST_ITEMLIST_XML_DATA entry = documents::EntryOf(item, kDeliveryMail);
  entry.smtp = mail;
  documents::AppendEntry(frame.Document(), list, entry, true);
  AppendIndent(frame.Document(), list, documents::kItemDepth - 1);
  frame.Save();
}

bool CSentItemsTypistFolderXML::AddItemXML(SENTITEMS_TYPIST_ITEM_XML_DATA item) {
  SentItemsFrame frame(directory, Probe::kFirst);
  if (!frame.Load()) return false;
  DomNode list = frame.ItemList();
  if (!list) return false;
  // No indent text before the item: the line break comes only after it.
  documents::AppendEntry(frame.Document(), list, documents::EntryOf(item, kDeliveryNone), false);
  AppendIndent(frame.Document(), list, documents::kItemDepth - 1);
  return frame.Save();
}

bool CSentItemsTypistFolderXML::SetItemListXML(long count,
                                               SENTITEMS_TYPIST_ITEMLIST_XML_DATA* list) {
  if (count > 0 && list == nullptr) throw ComError(kErrorPointer, "null list");
  SentItemsFrame frame(directory, Probe::kFirst);
  if (!frame.Load()) return false;
  DomNode itemList = frame.ItemList();
  if (!itemList) return false;
  for (long i = 0; i < count; ++i) {
    documents::AppendEntry(frame.Document(), itemList, list[i], true);
  }
  if (count > 0) AppendIndent(frame.Document(), itemList, documents::kItemDepth - 1);
  return frame.Save();
}

bool CSentItemsTypistFolderXML::DelItemXML(SENTITEMS_TYPIST_ITEM_XML_DATA key) {
  return documents::EditFirstMatch(directory, Probe::kAtTheSave, key,
                                   [](DomDocument&, DomNode item) {
                                     DomNode parent = item.ParentNode();
                                     if (!parent) return false;
                                     parent.RemoveChild(item);
                                     return true;
                                   });
}

bool CSentItemsTypistFolderXML::ChangeItemXML(SENTITEMS_TYPIST_ITEM_XML_DATA key,
                                              SENTITEMS_TYPIST_ITEMLIST_XML_DATA values) {
  using documents::ChangesOf;
  using documents::TableOf;
  return documents::EditFirstMatch(
      directory, Probe::kFirst, key, [&values](DomDocument& doc, DomNode item) {
        const SENTITEMS_TYPIST_ITEM_XML_DATA& fields = values;
        return documents::ApplyChanges(doc, item, fields, ChangesOf(documents::kListChanges)) &&
               documents::ChangeDelivery(doc, item, values, "mail", values.smtp,
                                         TableOf(documents::kMailFields),
                                         ChangesOf(documents::kMailChanges)) &&
               documents::ChangeDelivery(doc, item, values, "ftp", values.ftp,
                                         TableOf(documents::kFtpFields),
                                         ChangesOf(documents::kFtpChanges));
      });
}

bool CSentItemsTypistFolderXML::ChangeItemXML(SENTITEMS_TYPIST_ITEM_XML_DATA key,
                                              SENTITEMS_TYPIST_ITEM_XML_DATA values) {
  return documents::EditFirstMatch(
      directory, Probe::kAtTheSave, key, [&values](DomDocument& doc, DomNode item) {
        return documents::ApplyChanges(doc, item, values,
                                       documents::ChangesOf(documents::kItemChanges));
      });
}

void CSentItemsTypistFolderXML::GetItemXML(SENTITEMS_TYPIST_ITEM_XML_DATA key,
                                           SENTITEMS_TYPIST_ITEMLIST_XML_DATA* out) {
  if (out == nullptr) return;
  SentItemsFrame frame(directory, Probe::kAtTheSave);
  if (!frame.Load()) return;
  const DomNode list = frame.ItemList();
  if (!list) return;
  const DomNode item = documents::FindFirstMatch(list, documents::IdentityOf(key),
                                                 documents::DocumentPathScope::kPerItem);
  if (item) documents::ReadEntry(item, *out);
}

void CSentItemsTypistFolderXML::GetItemListXML(long* count,
                                               SENTITEMS_TYPIST_ITEMLIST_XML_DATA** list) {
  if (count == nullptr || list == nullptr) return;
  *count = 0;
  *list = nullptr;
  SentItemsFrame frame(directory, Probe::kAtTheSave);
  if (!frame.Load()) return;
  const DomNode itemList = frame.ItemList();
  if (!itemList) return;
  const long children = static_cast<long>(itemList.ChildCount());
  if (children == 0) return;
  auto* entries =
      NewCountedArray<SENTITEMS_TYPIST_ITEMLIST_XML_DATA>(static_cast<std::size_t>(children));
  try {
    long next = 0;
    for (DomNode node = itemList.FirstChild(); node; node = node.NextSibling()) {
      documents::ReadEntry(node, entries[next++]);
    }
  } catch (...) {
    ReleaseCountedArray(entries);
    throw;
  }
  *count = children;
  *list = entries;
}

void CSentItemsTypistFolderXML::DelItemListXML(SENTITEMS_TYPIST_ITEMLIST_XML_DATA* list) {
  ReleaseCountedArray(list);
}

void CSentItemsTypistFolderXML::DelItemDictationXML(SENTITEMS_TYPIST_ITEM_XML_DATA key,
                                                    SENTITEMS_TYPIST_ITEM_XML_DATA values) {
  documents::EditFirstMatch(
      directory, Probe::kAtTheSave, key, [&values](DomDocument& doc, DomNode item) {
        if (!documents::ApplyChanges(doc, item, values,
                                     documents::ChangesOf(documents::kRemovalChanges))) {
          return false;
        }
        documents::DetachDictation(item, documents::DictationRemoval::kBlankTexts);
        return true;
      });
}

// NOLINTEND(performance-unnecessary-value-param)

}  // namespace Foldwise
