// The author's voice folder, the author's sent items and the typist's inbox.
//
// Each folder keeps its entries in two item files of the data directory: one for entries whose
// dictation is stored plainly, one for entries whose dictation file is encrypted (its extension
// begins with "$"). All three folders are one engine, CachedItemFolder, instantiated with the
// record types of each folder.
//
// Thread safety: a folder object is not synchronised; different objects may be used from
// different threads at once. Their files go through the document cache: inside a cache bracket
// (foldwise/xml_document.h) every operation must come from the thread that opened it.
#ifndef FOLDWISE_CACHED_FOLDERS_H_
#define FOLDWISE_CACHED_FOLDERS_H_

#include <memory>

#include "foldwise/cached_records.h"
#include "foldwise/export.h"

namespace Foldwise {

// The records of each folder. Its files, identifiers and field lists belong to the engine.
struct FOLDWISE_EXPORT VoiceFolderRecords {
  using Item = VOICE_ITEM_XML_DATA;
  using ItemList = VOICE_ITEMLIST_XML_DATA;
};
struct FOLDWISE_EXPORT SentItemsFolderRecords {
  using Item = SENTITEMS_ITEM_XML_DATA;
  using ItemList = SENTITEMS_ITEMLIST_XML_DATA;
};
struct FOLDWISE_EXPORT InBoxTypistFolderRecords {
  using Item = INBOX_TYPIST_ITEM_XML_DATA;
  using ItemList = INBOX_TYPIST_ITEMLIST_XML_DATA;
};

// A folder of dictation entries split over a plain and an encrypted item file.
//
// Results are 1 for success and 0 for failure; nothing raises. Lists handed out are counted
// arrays that belong to the library: give them back to ReleaseItemList. Keys match an entry when
// every non-empty field of the key equals the stored text exactly; a key value containing an
// apostrophe makes the operation fail.
template <typename Records>
class FOLDWISE_EXPORT CachedItemFolder {
 public:
  using Item = typename Records::Item;
  using ItemList = typename Records::ItemList;

  CachedItemFolder();
  ~CachedItemFolder();
  CachedItemFolder(const CachedItemFolder& other);
  CachedItemFolder& operator=(const CachedItemFolder& other);

  // Sets the data directory of both files.
  void SetXmlFalePath(const char* dir);
  // Nothing to do: each file is made from its template on its first save.
  void MakeXML();

  // All entries, plain file first. An empty folder gives 1, a count of 0 and a null list. On
  // failure the array is still handed out (partly filled) and must be released. For the voice
  // folder the list-form listing opens and closes a cache bracket of its own, dropping unsaved
  // changes of any bracket the host holds: never call it inside a host bracket.
  int GetItemListXML(long* count, ItemList** list);
  int GetItemListXML(long* count, Item** list);
  // The first entry matching |key| (plain file first); 0 and |out| untouched when none.
  int GetItemXML(Item& key, Item* out);
  int GetItemXML(Item& key, ItemList* out);
  // Entries matching |key|, or all entries when |key| is null.
  int GetItemCountXML(Item* key);
  // Replaces both files by |list|, each entry routed by its dictation file name. A file that
  // does not parse is first set aside as <file>.damaged-<UTC time>; 0 when it cannot be.
  int SetItemListXML(long count, ItemList* list);
  int SetItemListXML(long count, Item* list);
  // Appends |item| to the file its dictation file name routes it to. |macros| non-zero expands
  // "%DELETE%", "%DATE%" and "%TIME%" in the values.
  int AddItemXML(Item& item, int macros);
  int AddItemXML(ItemList& item, int macros);
  // Changes every entry matching |key| in both files, where it is. Fields empty in |values| stay;
  // a "%DELETE%" value (macros on) removes the field.
  int ChangeItemXML(Item& key, Item& values, int macros);
  int ChangeItemXML(Item& key, ItemList& values, int macros);
  // Deletes every entry matching |key| in both files.
  int DelItemXML(Item& key);

  // Frees a list handed out by GetItemListXML; the plain-form one also nulls the pointer.
  static void ReleaseItemList(Item*& list);
  static void ReleaseItemList(ItemList* list);

 private:
  // The engine: the plain and the encrypted item file.
  class Files;
  std::unique_ptr<Files> files;
};

extern template class CachedItemFolder<VoiceFolderRecords>;
extern template class CachedItemFolder<SentItemsFolderRecords>;
extern template class CachedItemFolder<InBoxTypistFolderRecords>;

// The author's recorded dictations: VoiceFolder.xml and VoiceEFolder.xml.
class FOLDWISE_EXPORT CVoiceFolderXML : public CachedItemFolder<VoiceFolderRecords> {};
// The author's dictations sent to a typist: SentItemsFolder.xml and SentItemsEFolder.xml.
class FOLDWISE_EXPORT CSentItemsFolderXML : public CachedItemFolder<SentItemsFolderRecords> {};
// The typist's dictations received from authors: InBoxTypistFolder.xml and
// InBoxTypistEFolder.xml.
class FOLDWISE_EXPORT CInBoxTypistFolderXML : public CachedItemFolder<InBoxTypistFolderRecords> {};

}  // namespace Foldwise

#endif  // FOLDWISE_CACHED_FOLDERS_H_
