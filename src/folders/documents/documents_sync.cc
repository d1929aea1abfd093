// Mirroring between the author's and the typist's documents folders. Only the five identity
// fields travel; a change the synchroniser makes is kept from coming back by a guard of the
// calling thread, held for exactly the time the synchroniser works in the other folder.
#include <memory>
#include <string>
#include <thread>

#include "folders/documents/tree_text.h"
#include "foldwise/documents_folders.h"
#include "foldwise/env.h"

namespace Foldwise {
namespace {

// Set while this thread's synchroniser works in a folder. Per thread, so that one thread's
// mirror never silences another's; restored on every exit, so a target operation that raises
// leaves later mirrors working.
thread_local bool mirroring = false;

class MirrorScope {
 public:
  MirrorScope() : previous_(mirroring) { mirroring = true; }
  ~MirrorScope() { mirroring = previous_; }
  MirrorScope(const MirrorScope&) = delete;
  MirrorScope& operator=(const MirrorScope&) = delete;

 private:
  bool previous_;
};

constexpr char kAuthorFile[] = "DocumentsFolder.xml";
constexpr char kTypistFile[] = "DocumentsTypistFolder.xml";

template <typename To, typename From>
To IdentityCopy(const From& from) {
  To to;
  to.guid = from.guid;
  to.document_file_name = from.document_file_name;
  to.document_file_path = from.document_file_path;
  to.dictation_file_name = from.dictation_file_name;
  to.dictation_file_path = from.dictation_file_path;
  return to;
}

DOCUMENTS_TYPIST_ITEM_XML_DATA ToTypist(const DOCUMENTS_ITEM_XML_DATA& item) {
  return IdentityCopy<DOCUMENTS_TYPIST_ITEM_XML_DATA>(item);
}
DOCUMENTS_ITEM_XML_DATA ToAuthor(const DOCUMENTS_TYPIST_ITEM_XML_DATA& item) {
  return IdentityCopy<DOCUMENTS_ITEM_XML_DATA>(item);
}

// Adds to |target| every given entry that is not the same document as one it held before:
// same guid, or else same document_file_name, compared exactly. The stored list is read once,
// so it ends with entries whose texts are all empty, and entries added here are not compared.
// The target file is written once, also when nothing was added, unless its list cannot be read.
template <typename StoredRecord, typename Target, typename Given, typename Add>
void MirrorList(Target& target, long count, const Given* given, Add add) {
  if (given == nullptr) count = 0;
  MirrorScope scope;
  if (target.OpenXML() < 0) return;
  long stored = 0;
  StoredRecord* first = nullptr;
  target.GetItemListXML(&stored, &first);
  if (first == nullptr) {
    // A folder without its item list: nothing to compare with, nothing to write.
    target.CloseXML(0);
    return;
  }
  auto release = [&target](StoredRecord* list) { target.DelItemListXML(list); };
  std::unique_ptr<StoredRecord, decltype(release)> list(first, release);
  for (long i = 0; i < count; ++i) {
    bool known = false;
    for (long j = 0; j < stored && !known; ++j) {
      known = first[j].guid == given[i].guid ||
              first[j].document_file_name == given[i].document_file_name;
      if (!known) std::this_thread::yield();
    }
    if (!known) add(given[i]);
  }
  list.reset();
  target.CloseXML(1);
}

}  // namespace

CDocumentsSyncXML::CDocumentsSyncXML(const std::string& dataDirectory) {
  SetDirectory(dataDirectory);
  documents.SetDirectory(GetDirectoryText());
  typist.SetDirectory(GetDirectoryText());
}

CDocumentsSyncXML::~CDocumentsSyncXML() = default;

bool CDocumentsSyncXML::TargetExists(const char* fileName) const {
  return Env::Current()->Access(documents::FolderFilePath(GetDirectoryText(), fileName),
                                kAccessExists) == 0;
}

// The notifying folders hand records in by value, as the interface has always done.
// NOLINTBEGIN(performance-unnecessary-value-param)

void CDocumentsSyncXML::OnDocumentsAdded(DOCUMENTS_ITEM_XML_DATA item) {
  if (mirroring || !TargetExists(kTypistFile)) return;
  DOCUMENTS_ITEMLIST_XML_DATA entry;
  static_cast<DOCUMENTS_ITEM_XML_DATA&>(entry) = item;
  OnDocumentsListAdded(1, &entry);
}

void CDocumentsSyncXML::OnDocumentsListAdded(long count, DOCUMENTS_ITEMLIST_XML_DATA* list) {
  if (mirroring || !TargetExists(kTypistFile)) return;
  MirrorList<DOCUMENTS_TYPIST_ITEM_XML_DATA>(
      typist, count, list,
      [this](const DOCUMENTS_ITEMLIST_XML_DATA& entry) { typist.AddItemXML(ToTypist(entry)); });
}

void CDocumentsSyncXML::OnTypistListAdded(long count, DOCUMENTS_TYPIST_ITEM_XML_DATA* list) {
  if (mirroring || !TargetExists(kAuthorFile)) return;
  MirrorList<DOCUMENTS_ITEMLIST_XML_DATA>(
      documents, count, list, [this](const DOCUMENTS_TYPIST_ITEM_XML_DATA& entry) {
        DOCUMENTS_ITEMLIST_XML_DATA converted;
        static_cast<DOCUMENTS_ITEM_XML_DATA&>(converted) = ToAuthor(entry);
        documents.SetItemListXML(1, &converted);
      });
}

void CDocumentsSyncXML::OnDocumentsChanged(DOCUMENTS_ITEM_XML_DATA oldItem,
                                           DOCUMENTS_ITEM_XML_DATA newItem) {
  if (mirroring || !TargetExists(kTypistFile)) return;
  MirrorScope scope;
  typist.ChangeItemXML(ToTypist(oldItem), ToTypist(newItem));
}

void CDocumentsSyncXML::OnTypistChanged(DOCUMENTS_TYPIST_ITEM_XML_DATA oldItem,
                                        DOCUMENTS_TYPIST_ITEM_XML_DATA newItem) {
  if (mirroring || !TargetExists(kAuthorFile)) return;
  MirrorScope scope;
  documents.ChangeItemXML(ToAuthor(oldItem), ToAuthor(newItem));
}

void CDocumentsSyncXML::OnDocumentsDictationDeleted(DOCUMENTS_ITEM_XML_DATA key) {
  if (mirroring || !TargetExists(kTypistFile)) return;
  MirrorScope scope;
  typist.DelItemDictationXML(ToTypist(key));
}

void CDocumentsSyncXML::OnTypistDictationDeleted(DOCUMENTS_TYPIST_ITEM_XML_DATA key) {
  if (mirroring || !TargetExists(kAuthorFile)) return;
  MirrorScope scope;
  documents.DelItemDictationXML(ToAuthor(key));
}

void CDocumentsSyncXML::OnDocumentsDeleted(DOCUMENTS_ITEM_XML_DATA key) {
  if (mirroring || !TargetExists(kTypistFile)) return;
  MirrorScope scope;
  typist.DelItemXML(ToTypist(key));
}

void CDocumentsSyncXML::OnTypistDeleted(DOCUMENTS_TYPIST_ITEM_XML_DATA key) {
  if (mirroring || !TargetExists(kAuthorFile)) return;
  MirrorScope scope;
  documents.DelItemXML(ToAuthor(key));
}

// NOLINTEND(performance-unnecessary-value-param)

}  // namespace Foldwise
