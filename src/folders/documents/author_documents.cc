// The author's documents folder: the twin engine with delivery details (e-mail or FTP) after the
// protocol of each item.
#include "dom/dom_scan.h"
#include "folders/documents/shared_operations.h"
#include "folders/documents/twin_folder.h"
#include "foldwise/errors.h"

namespace Foldwise {
namespace documents {
namespace {

using Item = DOCUMENTS_ITEM_XML_DATA;
using Entry = DOCUMENTS_ITEMLIST_XML_DATA;
using Ftp = DOCUMENTS_FTP_XML_DATA;
using Smtp = DOCUMENTS_SMTP_XML_DATA;

// An item's elements: these, the delivery subtree when there is one, then the trailing ones.
constexpr Field<Item> kLeading[] = {
    {&Item::guid, "guid", Stored::kText, Written::kAlways},
    {&Item::document_file_name, "document_file_name", Stored::kText, Written::kAlways},
    {&Item::protocol, "protocol", Stored::kText, Written::kAlways},
};
constexpr Field<Item> kTrailing[] = {
    {&Item::date, "date", Stored::kText, Written::kAlways},
    {&Item::time, "time", Stored::kText, Written::kAlways},
    {&Item::dictation_file_name, "dictation_file_name", Stored::kText, Written::kAlways},
    {&Item::dictation_file_path, "dictation_file_path", Stored::kPath, Written::kAlways},
};
constexpr Field<Ftp> kFtpFields[] = {
    {&Ftp::server, "server", Stored::kText, Written::kAlways},
    {&Ftp::folder, "folder", Stored::kText, Written::kAlways},
};
constexpr Field<Smtp> kMailFields[] = {
    {&Smtp::from, "from", Stored::kText, Written::kAlways},
    {&Smtp::subject, "subject", Stored::kText, Written::kAlways},
    {&Smtp::body, "body", Stored::kText, Written::kAlways},
};

constexpr Change<Item> kItemChanges[] = {
    {&Item::guid, "guid", Stored::kText, IfMissing::kSkip},
    {&Item::document_file_name, "document_file_name", Stored::kText, IfMissing::kAbandon},
    {&Item::dictation_file_name, "dictation_file_name", Stored::kText, IfMissing::kAppend},
    {&Item::dictation_file_path, "dictation_file_path", Stored::kPath, IfMissing::kAppend},
};
// The list-record change: these, the delivery details replaced, then the trailing ones.
constexpr Change<Item> kListLeadingChanges[] = {
    {&Item::guid, "guid", Stored::kText, IfMissing::kSkip},
    {&Item::document_file_name, "document_file_name", Stored::kText, IfMissing::kSkip},
    {&Item::protocol, "protocol", Stored::kText, IfMissing::kAppend},
};
constexpr Change<Item> kListTrailingChanges[] = {
    {&Item::date, "date", Stored::kText, IfMissing::kAppend},
    {&Item::time, "time", Stored::kText, IfMissing::kAppend},
    {&Item::dictation_file_name, "dictation_file_name", Stored::kText, IfMissing::kAppend},
    {&Item::dictation_file_path, "dictation_file_path", Stored::kPath, IfMissing::kAppend},
};
constexpr Change<Item> kRemovalChanges[] = {
    {&Item::guid, "guid", Stored::kText, IfMissing::kAbandon},
};

void WriteAuthorDelivery(DomDocument& doc, DomNode item, const Entry& entry) {
  WriteDeliveryOf(doc, item, entry, TableOf(kFtpFields), TableOf(kMailFields));
}

// Replaces the delivery details of |item| by those |values| asks for, whatever its protocol.
void ReplaceDelivery(DomDocument& doc, DomNode item, const Entry& values) {
  for (const char* name : {"ftp", "mail"}) {
    const DomNode old = FirstChildElement(item, name);
    if (old) item.RemoveChild(old);
  }
  WriteAuthorDelivery(doc, item, values);
}

Entry EntryOf(const Item& item) {
  Entry entry;
  static_cast<Item&>(entry) = item;
  return entry;
}

}  // namespace

template <>
struct TwinTraits<DocumentsRecords> {
  using Folder = BasicDocumentsFolderXML<DocumentsRecords>;
  using Item = DOCUMENTS_ITEM_XML_DATA;
  using Entry = DOCUMENTS_ITEMLIST_XML_DATA;
  static constexpr FolderShape kShape = {"DocumentsFolder.xml", "Quillnote DocumentsFolderXML"};
  static constexpr DictationRemoval kDictationRemoval = DictationRemoval::kRemoveElements;

  static void WriteItem(DomDocument& doc, DomNode item, const Entry& entry) {
    WriteFields<Item>(doc, item, entry, TableOf(kLeading), kFieldDepth);
    WriteAuthorDelivery(doc, item, entry);
    WriteFields<Item>(doc, item, entry, TableOf(kTrailing), kFieldDepth);
  }

  static void ReadItem(DomNode item, const std::string& folderPath, Entry& out) {
    ReadFields<Item>(item, out, TableOf(kLeading), TableOf(kTrailing));
    out.document_file_path = folderPath;
    ReadDeliveryOf(item, out, TableOf(kFtpFields), TableOf(kMailFields));
  }

  static Changes<Item> ItemChanges() { return ChangesOf(kItemChanges); }
  static Changes<Item> RemovalChanges() { return ChangesOf(kRemovalChanges); }

  static constexpr auto kOnListAdded = &CDocumentsSyncXML::OnDocumentsListAdded;
  static constexpr auto kOnChanged = &CDocumentsSyncXML::OnDocumentsChanged;
  static constexpr auto kOnDeleted = &CDocumentsSyncXML::OnDocumentsDeleted;
  static constexpr auto kOnDictationDeleted = &CDocumentsSyncXML::OnDocumentsDictationDeleted;
};

using Engine = TwinFolder<TwinTraits<DocumentsRecords>>;

}  // namespace documents

// The host hands records in by value, as the interface has always done.
// NOLINTBEGIN(performance-unnecessary-value-param)

CDocumentsFolderXML::CDocumentsFolderXML() = default;
CDocumentsFolderXML::~CDocumentsFolderXML() = default;

void CDocumentsFolderXML::AddItemFtpXML(DOCUMENTS_ITEM_XML_DATA item, DOCUMENTS_FTP_XML_DATA ftp,
                                        int withDetails) {
  DOCUMENTS_ITEMLIST_XML_DATA entry = documents::EntryOf(item);
  if (withDetails == 1) {
    entry.delivery_kind = kDeliveryFtp;
    entry.ftp = ftp;
  }
  if (!documents::Engine::Append(*this, 1, &entry)) return;
  CDocumentsSyncXML(directory).OnDocumentsAdded(item);
}

void CDocumentsFolderXML::AddItemSmtpXML(DOCUMENTS_ITEM_XML_DATA item, DOCUMENTS_SMTP_XML_DATA mail,
                                         int withDetails) {
  DOCUMENTS_ITEMLIST_XML_DATA entry = documents::EntryOf(item);
  if (withDetails == 1) {
    entry.delivery_kind = kDeliveryMail;
    entry.smtp = mail;
  }
  if (!documents::Engine::Append(*this, 1, &entry)) return;
  CDocumentsSyncXML(directory).OnDocumentsAdded(item);
}

void CDocumentsFolderXML::ChangeItemListXML(DOCUMENTS_ITEM_XML_DATA key,
                                            DOCUMENTS_ITEMLIST_XML_DATA values) {
  using documents::ChangesOf;
  const bool changed = documents::Engine::EditFirstMatch(
      *this, key, values.guid.empty(), [&values](DomDocument& doc, DomNode item) {
        const DOCUMENTS_ITEM_XML_DATA& fields = values;
        documents::ApplyChanges(doc, item, fields, ChangesOf(documents::kListLeadingChanges));
        documents::ReplaceDelivery(doc, item, values);
        documents::ApplyChanges(doc, item, fields, ChangesOf(documents::kListTrailingChanges));
        return true;
      });
  if (!changed) return;
  CDocumentsSyncXML(directory).OnDocumentsChanged(key, values);
}

// NOLINTEND(performance-unnecessary-value-param)

template class BasicDocumentsFolderXML<DocumentsRecords>;

}  // namespace Foldwise
