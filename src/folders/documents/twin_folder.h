// The engine of the author's and the typist's documents folders. The two differ only in what
// their traits give: the file, the records, how an item is written and read, which fields a
// change sets and how a dictation is detached. Everything else is here once.
#ifndef FOLDWISE_FOLDERS_DOCUMENTS_TWIN_FOLDER_H_
#define FOLDWISE_FOLDERS_DOCUMENTS_TWIN_FOLDER_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "dom/dom_scan.h"
#include "engine/counted_array.h"
#include "engine/guid_index.h"
#include "folders/documents/held_folder.h"
#include "folders/documents/identity.h"
#include "folders/documents/item_fields.h"
#include "folders/documents/tree_text.h"
#include "foldwise/documents_folders.h"

namespace Foldwise {

namespace documents_internal {

// Reaches the state the public folder classes keep private.
struct FolderAccess {
  template <typename Folder>
  static documents::HeldFolder View(Folder& folder, const documents::FolderShape& shape) {
    return documents::HeldFolder(folder.GetDirectoryText(), folder.document, folder.open,
                                 folder.filePath, folder.hold, shape);
  }
};

}  // namespace documents_internal

namespace documents {

// What one documents folder gives the engine; specialised beside each folder's tables:
//   Folder, Item, Entry            the public class and its records
//   kShape, kDictationRemoval      the file and how a dictation is detached
//   WriteItem, ReadItem            an item's layout
//   ItemChanges, RemovalChanges    the tables of the change and of the dictation removal
//   kOnListAdded, kOnChanged, kOnDeleted, kOnDictationDeleted
//                                  the synchroniser's notification for each kind of change
template <typename Records>
struct TwinTraits;

template <typename Traits>
class TwinFolder {
 public:
  using Folder = typename Traits::Folder;
  using Item = typename Traits::Item;
  using Entry = typename Traits::Entry;  // the record of the list operations and of reads

  static HeldFolder View(Folder& folder) {
    return documents_internal::FolderAccess::View(folder, Traits::kShape);
  }

  // Appends |count| entries, each preceded by its indent line and followed by the closing one.
  // True when the change was made (so the synchroniser is to hear of it).
  static bool Append(Folder& folder, long count, const Entry* entries) {
    HeldFolder held = View(folder);
    OpenedHere operation(held);
    if (!operation.Usable()) return false;
    DomNode list = held.ItemList();
    if (!list) return false;
    DomDocument& doc = held.Document();
    DropGuidIndexes(&doc);
    // Every item is written before any joins the list: a value the file cannot carry raises
    // ComError while the held tree is still as it was.
    DomNodeList items;
    items.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (long i = 0; i < count; ++i) {
      DomNode item = doc.CreateElement("item");
      Traits::WriteItem(doc, item, entries[i]);
      AppendIndent(doc, item, kItemDepth);
      items.push_back(item);
    }
    for (const DomNode& item : items) {
      AppendIndent(doc, list, kItemDepth);
      list.AppendChild(item);
      AppendIndent(doc, list, kItemDepth - 1);
    }
    operation.Commit();
    return true;
  }

  // Runs |edit| (doc, item) -> bool on the first item |key| matches; saves only when it says
  // the change is made. True when it did. |keepsGuids|: the edit neither removes the item nor
  // touches a guid, even when it fails halfway, so the bracket's guid index stays true.
  template <typename Edit>
  static bool EditFirstMatch(Folder& folder, const Item& key, bool keepsGuids, Edit edit) {
    HeldFolder held = View(folder);
    const bool bracket = held.IsOpen();
    OpenedHere operation(held);
    if (!operation.Usable()) return false;
    const DomNode list = held.ItemList();
    if (!list) return false;
    DomNode item = Find(held, bracket, list, key);
    if (!item) return false;
    if (!keepsGuids) DropGuidIndexes(&held.Document());
    if (!edit(held.Document(), item)) return false;
    operation.Commit();
    return true;
  }

  static bool Delete(Folder& folder, const Item& key) {
    return EditFirstMatch(folder, key, false, [](DomDocument&, DomNode item) {
      DomNode parent = item.ParentNode();
      if (!parent) return false;
      parent.RemoveChild(item);
      return true;
    });
  }

  static bool Change(Folder& folder, const Item& key, const Item& values) {
    return EditFirstMatch(folder, key, values.guid.empty(),
                          [&values](DomDocument& doc, DomNode item) {
                            return ApplyChanges(doc, item, values, Traits::ItemChanges());
                          });
  }

  // Sets what |values| gives through the table of the two-record removal, then detaches the
  // dictation; without |values| only the latter.
  static bool RemoveDictation(Folder& folder, const Item& key, const Item* values) {
    const bool keepsGuids = values == nullptr || values->guid.empty();
    return EditFirstMatch(folder, key, keepsGuids, [values](DomDocument& doc, DomNode item) {
      if (values != nullptr && !ApplyChanges(doc, item, *values, Traits::RemovalChanges())) {
        return false;
      }
      DetachDictation(item, Traits::kDictationRemoval);
      return true;
    });
  }

  static void Get(Folder& folder, const Item& key, Entry* out) {
    HeldFolder held = View(folder);
    const bool bracket = held.IsOpen();
    OpenedHere operation(held);
    if (!operation.Usable() || out == nullptr) return;
    const DomNode list = held.ItemList();
    if (!list) return;
    const DomNode item = Find(held, bracket, list, key);
    if (!item) return;
    Traits::ReadItem(item, FolderPath(list), *out);
  }

  // One entry per child node of item_list, filled from the front by the items.
  static void GetList(Folder& folder, long* count, Entry** list) {
    if (count != nullptr) *count = 0;
    if (list != nullptr) *list = nullptr;
    if (count == nullptr || list == nullptr) return;
    HeldFolder held = View(folder);
    OpenedHere operation(held);
    if (!operation.Usable()) return;
    const DomNode itemList = held.ItemList();
    if (!itemList) return;
    const std::string folderPath = FolderPath(itemList);
    const long children = static_cast<long>(itemList.ChildCount());
    if (children == 0) return;
    Entry* entries = NewCountedArray<Entry>(static_cast<std::size_t>(children));
    long next = 0;
    try {
      for (DomNode item = FirstChildElement(itemList, "item"); item;
           item = NextSiblingElement(item, "item")) {
        Traits::ReadItem(item, folderPath, entries[next++]);
      }
    } catch (...) {
      ReleaseCountedArray(entries);
      throw;
    }
    *count = children;
    *list = entries;
  }

  static void Release(Entry* list) { ReleaseCountedArray(list); }

 private:
  // The first item |key| matches. Inside the host's bracket (|bracket|: the folder was open
  // before the operation) a key that names a guid tries only the items the held document's guid
  // index gives, so a bracket of many changes walks the items once; a single operation outside a
  // bracket walks them up to its match instead, which costs less than building the index.
  static DomNode Find(HeldFolder& held, bool bracket, DomNode list, const Item& key) {
    const IdentityKey identity = IdentityOf(key);
    if (!bracket || identity.guid.empty()) {
      return FindFirstMatch(list, identity, DocumentPathScope::kFolderLevel);
    }
    // The held document is the folder object's, whichever thread calls it.
    const GuidIndex* index =
        GuidIndexOf(held.DocumentPointer(), list, IndexOwner::kDocument, &IndexByGuid);
    if (index == nullptr) return FindFirstMatch(list, identity, DocumentPathScope::kFolderLevel);
    return FindFirstMatchAmong(list, identity, index->Find(identity.guid));
  }

  // The folder-level document_file_path, resolved once for every item read.
  static std::string FolderPath(DomNode itemList) {
    return SharePaths::ToLocal(itemList.ChildText("document_file_path"));
  }
};

}  // namespace documents
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_DOCUMENTS_TWIN_FOLDER_H_
