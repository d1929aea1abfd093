// The author's voice folder, the author's sent items and the typist's inbox.
//
// Each folder keeps its entries in two item files of the data directory: one for entries whose
// dictation is stored plainly, one for entries whose dictation file is encrypted (its extension
// begins with "$"). All three folders are one engine, CachedItemFolder, instantiated with a
// traits record that names the record types, the files and their identifiers.
#ifndef FOLDWISE_CACHED_FOLDERS_H_
#define FOLDWISE_CACHED_FOLDERS_H_

#include <string>

#include "foldwise/cached_records.h"
#include "foldwise/xml_file.h"

namespace Foldwise {

class RecordCursor;

// One item file: a flat list of `item` elements under /root/item_list. Every operation loads
// the file (or takes the cached document inside a cache bracket), works on it, saves it when it
// changed and closes it; no document is held between operations. DOM failures never leave an
// operation: they turn into 0, or a count of 0.
class FolderFile : public XmlDocumentFile {
 public:
  // |kind|: 1 voice folder, 2 sent items, 5 typist inbox. |fileName| is the bare file name;
  // |identifier| becomes the comment of a new file.
  FolderFile(int kind, std::string fileName, std::string identifier);
  ~FolderFile() override;
  FolderFile(const FolderFile&) = default;
  FolderFile& operator=(const FolderFile&) = default;

  // Puts the file into |dir|; a network directory is turned into the local path the resolver
  // finds for it (connecting allowed). Called again, keeps the file name and swaps the directory.
  void SetXmlFalePath(const std::string& dir);
  // 1 when the cache bracket holds the file's document; otherwise HasContent of the path, so 1
  // also when its status cannot be read for another reason than the file's absence.
  int Exists();
  // Items matching |key| (all items when |key| is null); 0 on any failure.
  int CountItems(RecordCursor* key);
  // Reads every item into |cursor|, in file order; 0 at the first item that cannot be read
  // (the records read before stay filled).
  int ReadAll(RecordCursor& cursor);
  // Reads the first item matching |key| into |out|; 0 when none matches.
  int ReadFirstMatch(RecordCursor& key, RecordCursor& out);
  // Rewrites the file from every remaining record of |cursor|; no record deletes the file.
  int WriteAll(RecordCursor& cursor);
  // Appends the current record of |cursor| as a new item.
  int AppendItem(RecordCursor& cursor);
  // Folds the current record of |values| into every item matching |key|. 1 also when nothing
  // matches (then nothing is saved).
  int ChangeItems(RecordCursor& key, RecordCursor& values);
  // Removes every item matching |key|; the file is deleted when none is left. 1 also when
  // nothing matches (then nothing is saved).
  int DeleteItems(RecordCursor& key);

  int GetKind() const { return kind; }
  const std::string& GetPath() const { return path; }

 protected:
  int MakeTemplate() override;
  int OnAutoDelete() override;

 private:
  int kind;
  std::string path;
  std::string identifier;
};

// What distinguishes the three folders. Everything else is the shared engine.
struct VoiceFolderTraits {
  using Item = VOICE_ITEM_XML_DATA;
  using ItemList = VOICE_ITEMLIST_XML_DATA;
  static constexpr int kItemKind = 1;
  static constexpr const char* kPlainFileName = "VoiceFolder.xml";
  static constexpr const char* kPlainIdentifier = "Quillnote VoiceFolderXML";
  static constexpr const char* kEncryptedFileName = "VoiceEFolder.xml";
  static constexpr const char* kEncryptedIdentifier = "Quillnote Voice Encryption FolderXML";
  // The list-form listing runs in a cache bracket and a resolver cache period of its own, so
  // each file is parsed once and repeated stored paths are resolved once.
  static constexpr bool kListingOpensCacheBracket = true;
};

struct SentItemsFolderTraits {
  using Item = SENTITEMS_ITEM_XML_DATA;
  using ItemList = SENTITEMS_ITEMLIST_XML_DATA;
  static constexpr int kItemKind = 2;
  static constexpr const char* kPlainFileName = "SentItemsFolder.xml";
  static constexpr const char* kPlainIdentifier = "Quillnote SentItemsFolderXML";
  static constexpr const char* kEncryptedFileName = "SentItemsEFolder.xml";
  static constexpr const char* kEncryptedIdentifier = "Quillnote SentItems Encryption FolderXML";
  static constexpr bool kListingOpensCacheBracket = false;
};

struct InBoxTypistFolderTraits {
  using Item = INBOX_TYPIST_ITEM_XML_DATA;
  using ItemList = INBOX_TYPIST_ITEMLIST_XML_DATA;
  static constexpr int kItemKind = 5;
  static constexpr const char* kPlainFileName = "InBoxTypistFolder.xml";
  static constexpr const char* kPlainIdentifier = "Quillnote InBoxTypistFolderXML";
  static constexpr const char* kEncryptedFileName = "InBoxTypistEFolder.xml";
  static constexpr const char* kEncryptedIdentifier = "Quillnote InBoxTypist Encryption FolderXML";
  static constexpr bool kListingOpensCacheBracket = false;
};

// A folder of dictation entries split over a plain and an encrypted item file.
//
// Results are 1 for success and 0 for failure; nothing raises. Lists handed out are counted
// arrays that belong to the library: give them back to ReleaseItemList. Keys match an entry when
// every non-empty field of the key equals the stored text exactly; a key value containing an
// apostrophe makes the operation fail.
template <typename Traits>
class CachedItemFolder {
 public:
  using Item = typename Traits::Item;
  using ItemList = typename Traits::ItemList;

  CachedItemFolder();

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
  // Replaces both files by |list|, each entry routed by its dictation file name.
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
  // 1 when the entry belongs to the encrypted file: its extension begins with "$".
  static int IsEncryptionItem(const Item& item);

  template <typename Record>
  int ListItems(long* count, Record** list);
  // Reads the plain file, then the encrypted one, into |cursor|.
  int ReadAllInto(RecordCursor& cursor);
  template <typename Record>
  int GetItem(Item& key, Record* out);
  template <typename Record>
  int SetItems(long count, Record* list);
  template <typename Record>
  int AddItem(Record& item, int macros);
  template <typename Record>
  int ChangeItems(Item& key, Record& values, int macros);

  FolderFile plainFile;
  FolderFile encryptedFile;
};

extern template class CachedItemFolder<VoiceFolderTraits>;
extern template class CachedItemFolder<SentItemsFolderTraits>;
extern template class CachedItemFolder<InBoxTypistFolderTraits>;

// The author's recorded dictations: VoiceFolder.xml and VoiceEFolder.xml.
class CVoiceFolderXML : public CachedItemFolder<VoiceFolderTraits> {};
// The author's dictations sent to a typist: SentItemsFolder.xml and SentItemsEFolder.xml.
class CSentItemsFolderXML : public CachedItemFolder<SentItemsFolderTraits> {};
// The typist's dictations received from authors: InBoxTypistFolder.xml and
// InBoxTypistEFolder.xml.
class CInBoxTypistFolderXML : public CachedItemFolder<InBoxTypistFolderTraits> {};

}  // namespace Foldwise

#endif  // FOLDWISE_CACHED_FOLDERS_H_
