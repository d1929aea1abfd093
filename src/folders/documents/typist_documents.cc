// The typist's documents folder: the twin engine with a status and the To and Received texts,
// and no delivery details.
#include "folders/documents/twin_folder.h"
#include "foldwise/errors.h"

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

struct TypistTraits {
  using Folder = CDocumentsTypistFolderXML;
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
};

using Engine = TwinFolder<TypistTraits>;

}  // namespace
}  // namespace documents

// The host hands records in by value, as the interface has always done.
// NOLINTBEGIN(performance-unnecessary-value-param)

CDocumentsTypistFolderXML::CDocumentsTypistFolderXML() = default;
CDocumentsTypistFolderXML::~CDocumentsTypistFolderXML() = default;

void CDocumentsTypistFolderXML::MakeXML() { documents::Engine::View(*this).Make(); }
int CDocumentsTypistFolderXML::OpenXML() { return documents::Engine::View(*this).Open(); }
void CDocumentsTypistFolderXML::CloseXML(int save) { documents::Engine::View(*this).Close(save); }

void CDocumentsTypistFolderXML::AddItemXML(DOCUMENTS_TYPIST_ITEM_XML_DATA item) {
  if (!documents::Engine::Append(*this, 1, &item)) return;
  CDocumentsSyncXML(directory).OnTypistListAdded(1, &item);
}

void CDocumentsTypistFolderXML::SetItemListXML(long count, DOCUMENTS_TYPIST_ITEM_XML_DATA* list) {
  if (count > 0 && list == nullptr) throw ComError(kErrorPointer, "null list");
  if (!documents::Engine::Append(*this, count, list)) return;
  CDocumentsSyncXML(directory).OnTypistListAdded(count, list);
}

void CDocumentsTypistFolderXML::DelItemXML(DOCUMENTS_TYPIST_ITEM_XML_DATA key) {
  if (!documents::Engine::Delete(*this, key)) return;
  CDocumentsSyncXML(directory).OnTypistDeleted(key);
}

void CDocumentsTypistFolderXML::ChangeItemXML(DOCUMENTS_TYPIST_ITEM_XML_DATA key,
                                              DOCUMENTS_TYPIST_ITEM_XML_DATA values) {
  if (!documents::Engine::Change(*this, key, values)) return;
  CDocumentsSyncXML(directory).OnTypistChanged(key, values);
}

void CDocumentsTypistFolderXML::GetItemXML(DOCUMENTS_TYPIST_ITEM_XML_DATA key,
                                           DOCUMENTS_TYPIST_ITEM_XML_DATA* out) {
  documents::Engine::Get(*this, key, out);
}

void CDocumentsTypistFolderXML::GetItemListXML(long* count, DOCUMENTS_TYPIST_ITEM_XML_DATA** list) {
  documents::Engine::GetList(*this, count, list);
}

void CDocumentsTypistFolderXML::DelItemListXML(DOCUMENTS_TYPIST_ITEM_XML_DATA* list) {
  documents::Engine::Release(list);
}

void CDocumentsTypistFolderXML::DelItemDictationXML(DOCUMENTS_TYPIST_ITEM_XML_DATA key) {
  if (!documents::Engine::RemoveDictation(*this, key, nullptr)) return;
  CDocumentsSyncXML(directory).OnTypistDictationDeleted(key);
}

void CDocumentsTypistFolderXML::DelItemDictationXML(DOCUMENTS_TYPIST_ITEM_XML_DATA key,
                                                    DOCUMENTS_TYPIST_ITEM_XML_DATA values) {
  if (!documents::Engine::RemoveDictation(*this, key, &values)) return;
  CDocumentsSyncXML(directory).OnTypistDictationDeleted(key);
}

// NOLINTEND(performance-unnecessary-value-param)

}  // namespace Foldwise
