// The documents folders of author and typist, the typist's sent items, and the synchroniser that
// mirrors every change of one documents folder into the other.
//
// These folders edit their document tree directly. The two documents folders hold their tree
// from OpenXML to CloseXML; a host may bracket several operations that way, otherwise each
// operation opens and closes the folder itself. The typist's sent items load and save the file
// in every call. Each folder keeps its file locked against other writers from the load to the
// save (from OpenXML to CloseXML for a held folder; those two calls come from one thread), and
// gives up with its failure result when another holder keeps it past the Env's lock timeout.
// A failing DOM call leaves an operation as ComError and reaches the host; so does a value a
// file cannot carry (see the README), raised before anything changes.
// Arrays handed out are counted arrays that only the folder's DelItemListXML releases.
#ifndef FOLDWISE_DOCUMENTS_FOLDERS_H_
#define FOLDWISE_DOCUMENTS_FOLDERS_H_

#include <memory>
#include <string>

#include "foldwise/document_records.h"
#include "foldwise/errors.h"
#include "foldwise/export.h"
#include "foldwise/xml_file_base.h"

namespace Foldwise {

class DomDocument;
namespace platform {
class FileHold;
}  // namespace platform

namespace documents_internal {
struct FolderAccess;
}  // namespace documents_internal

// The record types of one documents folder: the key record of its operations and the record a
// read fills (for the typist both are the item record).
struct FOLDWISE_EXPORT DocumentsRecords {
  using Item = DOCUMENTS_ITEM_XML_DATA;
  using Entry = DOCUMENTS_ITEMLIST_XML_DATA;
};

struct FOLDWISE_EXPORT DocumentsTypistRecords {
  using Item = DOCUMENTS_TYPIST_ITEM_XML_DATA;
  using Entry = DOCUMENTS_TYPIST_ITEM_XML_DATA;
};

// The operations both documents folders share, over the records of one of them. Items are found
// by the first match of a key: every non-empty identity field (guid, the two names, the two
// paths) equal ignoring case, paths in storage form; a key with none of them matches nothing.
// Every change made here is repeated in the other documents folder (CDocumentsSyncXML). Copies
// share the held document.
template <typename Records>
class FOLDWISE_EXPORT BasicDocumentsFolderXML : public XmlFileBase {
 public:
  using Item = typename Records::Item;
  using Entry = typename Records::Entry;

  ~BasicDocumentsFolderXML() override;

  // Writes a new, empty folder file; a non-empty file that does not parse is first set aside as
  // <file>.damaged-<UTC time> (and left alone when it cannot be).
  void MakeXML();
  // Locks and loads the file (made from the template when missing or empty): 0 opened now, 1
  // already open, -1 failure (the file is left as it is; also when it stays locked by another
  // writer past the lock timeout).
  int OpenXML();
  // When open: saves if |save| is non-zero and the file is free, then closes. A failed save
  // raises ComError and leaves the folder open.
  void CloseXML(int save);

  // Appends |count| items (the author's with the delivery of each entry's delivery_kind);
  // existing items stay.
  void SetItemListXML(long count, Entry* list);
  // Removes the first item matching |key|.
  void DelItemXML(Item key);
  // Sets guid, names and dictation path (and the typist's status, To and Received) of the first
  // match; abandoned when the item lacks a document_file_name, or the typist's status, that
  // |values| sets.
  void ChangeItemXML(Item key, Item values);
  // Reads the first match into |out|; no match leaves |out| untouched.
  void GetItemXML(Item key, Entry* out);
  // One entry per child node of item_list (so it ends with empty entries); 0 and null when
  // the folder cannot be read.
  void GetItemListXML(long* count, Entry** list);
  // Releases an array of GetItemListXML; null is ignored.
  void DelItemListXML(Entry* list);
  // Detaches the dictation of the first match: the author's dictation elements go, the
  // typist's are blanked. The overload also sets a new guid (and the typist's status).
  void DelItemDictationXML(Item key);
  void DelItemDictationXML(Item key, Item values);

 protected:
  BasicDocumentsFolderXML();
  BasicDocumentsFolderXML(const BasicDocumentsFolderXML&) = default;
  BasicDocumentsFolderXML& operator=(const BasicDocumentsFolderXML&) = default;

 private:
  friend struct documents_internal::FolderAccess;

  std::shared_ptr<DomDocument> document;
  bool open = false;
  std::string filePath;
  std::shared_ptr<platform::FileHold> hold;  // the file's lock from OpenXML to CloseXML
};

extern template class BasicDocumentsFolderXML<DocumentsRecords>;
extern template class BasicDocumentsFolderXML<DocumentsTypistRecords>;

// The author's documents folder: DocumentsFolder.xml in the data directory, items with their
// delivery details (e-mail or FTP).
class FOLDWISE_EXPORT CDocumentsFolderXML : public BasicDocumentsFolderXML<DocumentsRecords> {
 public:
  CDocumentsFolderXML();
  ~CDocumentsFolderXML() override;
  CDocumentsFolderXML(const CDocumentsFolderXML&) = default;
  CDocumentsFolderXML& operator=(const CDocumentsFolderXML&) = default;

  // Appends one item; the delivery subtree is written only when |withDetails| is exactly 1.
  void AddItemFtpXML(DOCUMENTS_ITEM_XML_DATA item, DOCUMENTS_FTP_XML_DATA ftp, int withDetails);
  void AddItemSmtpXML(DOCUMENTS_ITEM_XML_DATA item, DOCUMENTS_SMTP_XML_DATA mail, int withDetails);
  // Sets every stored field of the first match and replaces its delivery details.
  void ChangeItemListXML(DOCUMENTS_ITEM_XML_DATA key, DOCUMENTS_ITEMLIST_XML_DATA values);
};

// The typist's documents folder: DocumentsTypistFolder.xml, the twin of CDocumentsFolderXML
// with a status and the To and Received texts instead of delivery details.
class FOLDWISE_EXPORT CDocumentsTypistFolderXML
    : public BasicDocumentsFolderXML<DocumentsTypistRecords> {
 public:
  CDocumentsTypistFolderXML();
  ~CDocumentsTypistFolderXML() override;
  CDocumentsTypistFolderXML(const CDocumentsTypistFolderXML&) = default;
  CDocumentsTypistFolderXML& operator=(const CDocumentsTypistFolderXML&) = default;

  // Appends one item; To and Received only when non-empty.
  void AddItemXML(DOCUMENTS_TYPIST_ITEM_XML_DATA item);
};

// The typist's sent items: SentItemsTypistFolder.xml, loaded and saved in every call. Bool
// operations answer false when the file is busy or unreadable, nothing matches, or a required
// element is missing.
class FOLDWISE_EXPORT CSentItemsTypistFolderXML : public XmlFileBase {
 public:
  CSentItemsTypistFolderXML();
  ~CSentItemsTypistFolderXML() override;
  CSentItemsTypistFolderXML(const CSentItemsTypistFolderXML&) = default;
  CSentItemsTypistFolderXML& operator=(const CSentItemsTypistFolderXML&) = default;

  // Writes the empty folder file; a non-empty file that does not parse is first set aside as
  // <file>.damaged-<UTC time> (and left alone when it cannot be).
  void MakeXML();
  void AddItemFtpXML(SENTITEMS_TYPIST_ITEM_XML_DATA item, SENTITEMS_TYPIST_FTP_XML_DATA ftp);
  void AddItemSmtpXML(SENTITEMS_TYPIST_ITEM_XML_DATA item, SENTITEMS_TYPIST_SMTP_XML_DATA mail);
  bool AddItemXML(SENTITEMS_TYPIST_ITEM_XML_DATA item);
  bool SetItemListXML(long count, SENTITEMS_TYPIST_ITEMLIST_XML_DATA* list);
  bool DelItemXML(SENTITEMS_TYPIST_ITEM_XML_DATA key);
  // Every non-empty field, and the delivery details chosen by |values|' protocol text.
  bool ChangeItemXML(SENTITEMS_TYPIST_ITEM_XML_DATA key, SENTITEMS_TYPIST_ITEMLIST_XML_DATA values);
  // Names and paths on existing elements, then guid and status (created when missing).
  bool ChangeItemXML(SENTITEMS_TYPIST_ITEM_XML_DATA key, SENTITEMS_TYPIST_ITEM_XML_DATA values);
  void GetItemXML(SENTITEMS_TYPIST_ITEM_XML_DATA key, SENTITEMS_TYPIST_ITEMLIST_XML_DATA* out);
  // One entry per item; 0 and null for an empty folder.
  void GetItemListXML(long* count, SENTITEMS_TYPIST_ITEMLIST_XML_DATA** list);
  void DelItemListXML(SENTITEMS_TYPIST_ITEMLIST_XML_DATA* list);
  // Blanks the dictation texts of the first match, setting guid and status where given.
  void DelItemDictationXML(SENTITEMS_TYPIST_ITEM_XML_DATA key,
                           SENTITEMS_TYPIST_ITEM_XML_DATA values);
};

// Repeats a change of one documents folder in the other when that folder's file exists. Made by
// the folders for one notification each. A change made by a synchroniser is never mirrored back;
// the guard is per thread and survives a target operation that raises.
class FOLDWISE_EXPORT CDocumentsSyncXML : public XmlFileBase {
 public:
  explicit CDocumentsSyncXML(const std::string& dataDirectory);
  ~CDocumentsSyncXML() override;
  CDocumentsSyncXML(const CDocumentsSyncXML&) = default;
  CDocumentsSyncXML& operator=(const CDocumentsSyncXML&) = default;

  // Author to typist: adds the entries whose guid and document_file_name the typist folder
  // does not hold yet (exact comparison).
  void OnDocumentsAdded(DOCUMENTS_ITEM_XML_DATA item);
  void OnDocumentsListAdded(long count, DOCUMENTS_ITEMLIST_XML_DATA* list);
  // Typist to author, by the same rule.
  void OnTypistListAdded(long count, DOCUMENTS_TYPIST_ITEM_XML_DATA* list);
  // Repeat a change, a dictation removal or a deletion on the other side, by identity.
  void OnDocumentsChanged(DOCUMENTS_ITEM_XML_DATA oldItem, DOCUMENTS_ITEM_XML_DATA newItem);
  void OnTypistChanged(DOCUMENTS_TYPIST_ITEM_XML_DATA oldItem,
                       DOCUMENTS_TYPIST_ITEM_XML_DATA newItem);
  void OnDocumentsDictationDeleted(DOCUMENTS_ITEM_XML_DATA key);
  void OnTypistDictationDeleted(DOCUMENTS_TYPIST_ITEM_XML_DATA key);
  void OnDocumentsDeleted(DOCUMENTS_ITEM_XML_DATA key);
  void OnTypistDeleted(DOCUMENTS_TYPIST_ITEM_XML_DATA key);

 private:
  bool TargetExists(const char* fileName) const;

  CDocumentsFolderXML documents;
  CDocumentsTypistFolderXML typist;
};

}  // namespace Foldwise

#endif  // FOLDWISE_DOCUMENTS_FOLDERS_H_
