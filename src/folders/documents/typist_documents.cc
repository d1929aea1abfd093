// The typist's documents folder: the twin engine with a status and the To and Received texts,
// and no delivery details.
#include "folders/documents/shared_operations.h"
#include "folders/documents/twin_folder.h"

namespace Foldwise {
namespace documents {
namespace {

using Item = DOCUMENTS_TYPIST_ITEM_XML_DATA;

constexpr Field<Item> kFields[] = {
    {&Item::guid, "guid", Stored::kText, Written::kAlways},
    {&Item::document_file_name, "document_file_name", Stored::kText, Written::kAlways},
    {&Item::dictation_file_name, "dictation_file_name", Stored::kText, Written::kAlways},
    {&Item::dictation_file_path, "dictation_file_path", Stored::kPath, Written::kAlways},
    {&Item::status, "status", Stored::kText, Written::kAlways},
    {&Item::To, "To", Stored::kText, Written::kWhenNonEmpty},
    {&Item::Received, "Received", Stored::kText, Written::kWhenNonEmpty},
};

constexpr Change<Item> kItemChanges[] = {
    {&Item::guid, "guid", Stored::kText, IfMissing::kSkip},
    {&Item::document_file_name, "document_file_name", Stored::kText, IfMissing::kAbandon},
    {&Item::dictation_file_name, "dictation_file_name", Stored::kText, IfMissing::kAppend},
    {&Item::dictation_file_path, "dictation_file_path", Stored::kPath, IfMissing::kAppend},
    {&Item::status, "status", Stored::kText, IfMissing::kAbandon},
    {&Item::To, "To", Stored::kText, IfMissing::kAppend},
    {&Item::Received, "Received", Stored::kText, IfMissing::kAppend},
};
constexpr Change<Item> kRemovalChanges[] = {
    {&Item::guid, "guid", Stored::kText, IfMissing::kAbandon},
    {&Item::status, "status", Stored::kText, IfMissing::kAbandon},
};

}  // namespace

template <>
struct TwinTraits<DocumentsTypistRecords> {
  using Folder = BasicDocumentsFolderXML<DocumentsTypistRecords>;
  using Item = DOCUMENTS_TYPIST_ITEM_XML_DATA;
  using Entry = DOCUMENTS_TYPIST_ITEM_XML_DATA;
  static constexpr FolderShape kShape = {"DocumentsTypistFolder.xml",
                                         "Quillnote DocumentsTypistFolderXML"};
  static constexpr DictationRemoval kDictationRemoval = DictationRemoval::kBlankTexts;

  static void WriteItem(DomDocument& doc, DomNode item, const Entry& entry) {
    WriteFields(doc, item, entry, TableOf(kFields), kFieldDepth);
  }
  static void ReadItem(DomNode item, const std::string& folderPath, Entry& out) {
    ReadFields(item, out, TableOf(kFields));
    out.document_file_path = folderPath;
  }
  static Changes<Item> ItemChanges() { return ChangesOf(kItemChanges); }
  static Changes<Item> RemovalChanges() { return ChangesOf(kRemovalChanges); }

  static constexpr auto kOnListAdded = &CDocumentsSyncXML::OnTypistListAdded;
  static constexpr auto kOnChanged = &CDocumentsSyncXML::OnTypistChanged;
  static constexpr auto kOnDeleted = &CDocumentsSyncXML::OnTypistDeleted;
  static constexpr auto kOnDictationDeleted = &CDocumentsSyncXML::OnTypistDictationDeleted;
};

using Engine = TwinFolder<TwinTraits<DocumentsTypistRecords>>;

}  // namespace documents

// The host hands records in by value, as the interface has always done.
// NOLINTBEGIN(performance-unnecessary-value-param)

CDocumentsTypistFolderXML::CDocumentsTypistFolderXML() = default;
CDocumentsTypistFolderXML::~CDocumentsTypistFolderXML() = default;

void CDocumentsTypistFolderXML::AddItemXML(DOCUMENTS_TYPIST_ITEM_XML_DATA item) {
  if (!documents::Engine::Append(*this, 1, &item)) return;
  CDocumentsSyncXML(directory).OnTypistListAdded(1, &item);
}

// NOLINTEND(performance-unnecessary-value-param)

template class BasicDocumentsFolderXML<DocumentsTypistRecords>;

}  // namespace Foldwise
