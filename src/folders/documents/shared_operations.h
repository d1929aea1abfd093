// The operations the author's and the typist's documents folders share, defined once over the
// traits of each folder: TwinTraits<Records>, specialised beside that folder's tables, gives the
// engine its file, records and item layout, and names the synchroniser's notification for each
// change. Included by the one source file of each folder after its specialisation; that file
// instantiates the class for its records.
#ifndef FOLDWISE_FOLDERS_DOCUMENTS_SHARED_OPERATIONS_H_
#define FOLDWISE_FOLDERS_DOCUMENTS_SHARED_OPERATIONS_H_

#include "folders/documents/twin_folder.h"
#include "foldwise/documents_folders.h"
#include "foldwise/errors.h"

namespace Foldwise {

// The host hands records in by value, as the interface has always done.
// NOLINTBEGIN(performance-unnecessary-value-param)

template <typename Records>
BasicDocumentsFolderXML<Records>::BasicDocumentsFolderXML() = default;
template <typename Records>
BasicDocumentsFolderXML<Records>::~BasicDocumentsFolderXML() = default;

template <typename Records>
void BasicDocumentsFolderXML<Records>::MakeXML() {
  documents::TwinFolder<documents::TwinTraits<Records>>::View(*this).Make();
}

template <typename Records>
int BasicDocumentsFolderXML<Records>::OpenXML() {
  return documents::TwinFolder<documents::TwinTraits<Records>>::View(*this).Open();
}

template <typename Records>
void BasicDocumentsFolderXML<Records>::CloseXML(int save) {
  documents::TwinFolder<documents::TwinTraits<Records>>::View(*this).Close(save);
}

template <typename Records>
void BasicDocumentsFolderXML<Records>::SetItemListXML(long count, Entry* list) {
  using Traits = documents::TwinTraits<Records>;
  if (count > 0 && list == nullptr) throw ComError(kErrorPointer, "null list");
  if (!documents::TwinFolder<Traits>::Append(*this, count, list)) return;
  CDocumentsSyncXML sync(this->directory);
  (sync.*Traits::kOnListAdded)(count, list);
}

template <typename Records>
void BasicDocumentsFolderXML<Records>::DelItemXML(Item key) {
  using Traits = documents::TwinTraits<Records>;
  if (!documents::TwinFolder<Traits>::Delete(*this, key)) return;
  CDocumentsSyncXML sync(this->directory);
  (sync.*Traits::kOnDeleted)(key);
}

template <typename Records>
void BasicDocumentsFolderXML<Records>::ChangeItemXML(Item key, Item values) {
  using Traits = documents::TwinTraits<Records>;
  if (!documents::TwinFolder<Traits>::Change(*this, key, values)) return;
  CDocumentsSyncXML sync(this->directory);
  (sync.*Traits::kOnChanged)(key, values);
}

template <typename Records>
void BasicDocumentsFolderXML<Records>::GetItemXML(Item key, Entry* out) {
  documents::TwinFolder<documents::TwinTraits<Records>>::Get(*this, key, out);
}

template <typename Records>
void BasicDocumentsFolderXML<Records>::GetItemListXML(long* count, Entry** list) {
  documents::TwinFolder<documents::TwinTraits<Records>>::GetList(*this, count, list);
}

template <typename Records>
void BasicDocumentsFolderXML<Records>::DelItemListXML(Entry* list) {
  documents::TwinFolder<documents::TwinTraits<Records>>::Release(list);
}

template <typename Records>
void BasicDocumentsFolderXML<Records>::DelItemDictationXML(Item key) {
  using Traits = documents::TwinTraits<Records>;
  if (!documents::TwinFolder<Traits>::RemoveDictation(*this, key, nullptr)) return;
  CDocumentsSyncXML sync(this->directory);
  (sync.*Traits::kOnDictationDeleted)(key);
}

template <typename Records>
void BasicDocumentsFolderXML<Records>::DelItemDictationXML(Item key, Item values) {
  using Traits = documents::TwinTraits<Records>;
  if (!documents::TwinFolder<Traits>::RemoveDictation(*this, key, &values)) return;
  CDocumentsSyncXML sync(this->directory);
  (sync.*Traits::kOnDictationDeleted)(key);
}

// NOLINTEND(performance-unnecessary-value-param)

}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_DOCUMENTS_SHARED_OPERATIONS_H_
