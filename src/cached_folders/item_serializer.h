// The writer and reader shared by every record of the cached folders. A record is described by
// a table of its text fields (member, element name, whether the value is a path kept in storage
// form); the list-form records add the delivery details, tied to the item's `protocol`.
#ifndef FOLDWISE_CACHED_FOLDERS_ITEM_SERIALIZER_H_
#define FOLDWISE_CACHED_FOLDERS_ITEM_SERIALIZER_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "cached_folders/record_cursor.h"
#include "cached_folders/record_serializers.h"
#include "foldwise/cached_records.h"
#include "foldwise/dom.h"
#include "foldwise/errors.h"

namespace Foldwise {

template <typename Record>
struct TextField {
  std::string Record::*member;
  const char* element;
  bool storageForm;
};

template <typename Record>
struct FieldTable {
  const TextField<Record>* begin;
  const TextField<Record>* end;
};

template <typename Record, std::size_t N>
constexpr FieldTable<Record> MakeTable(const TextField<Record> (&fields)[N]) {
  return {fields, fields + N};
}

// Filled in per record by the tables: the fields of a plain record in element order, and whether
// its file keeps dictation_file_path once for all items.
template <typename Item>
struct ItemSchema;
// The fields of a delivery record, in record order.
template <typename Delivery>
struct DeliverySchema;

constexpr char kProtocolElement[] = "protocol";
constexpr char kMailElement[] = "mail";
constexpr char kFtpElement[] = "ftp";
constexpr char kMailProtocol[] = "mail";
constexpr char kFtpProtocol[] = "ftp";

// The first child element called |name|: the same node the query |name| selects, found without
// compiling a query for every field of every item.
inline DomNode ChildElement(DomNode parent, const char* name) {
  return DomNode(parent.raw().child(name));
}

template <typename Record>
void WriteFields(RecordCursor& cursor, DomNode parent, const Record& record,
                 FieldTable<Record> fields, int depth) {
  for (const TextField<Record>* field = fields.begin; field != fields.end; ++field) {
    const std::string& value = record.*field->member;
    if (value.empty()) continue;
    DomNode element = cursor.AddChildElement(parent, field->element, depth);
    std::string text = cursor.TranslateValue(value);
    if (field->storageForm) text = StorageForm(text);
    element.SetText(text);  // a null element raises here
  }
}

// Each field takes the text of the first child element of its name, as a lookup by name would,
// found in one walk over the children: fields are stored in table order, so the search for the
// next one starts after the last match.
template <typename Record>
void ReadFields(DomNode parent, Record& record, FieldTable<Record> fields) {
  const std::size_t count = static_cast<std::size_t>(fields.end - fields.begin);
  std::uint32_t taken = 0;
  std::size_t next = 0;
  for (pugi::xml_node child = parent.raw().first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    for (std::size_t tried = 0; tried < count; ++tried) {
      const std::size_t at = (next + tried) % count;
      const TextField<Record>& field = fields.begin[at];
      if (std::strcmp(child.name(), field.element) != 0) continue;
      if ((taken & (1u << at)) == 0) {
        taken |= 1u << at;
        const std::string text = DomNode(child).Text();
        record.*field.member = field.storageForm ? LocalForm(text) : text;
      }
      next = at + 1;
      break;
    }
  }
}

// The text of /root/item_list/dictation_file_path of |item|'s document, found without a query:
// the first such element under the first item_list that has one.
inline DomNode FolderLevelPath(DomNode item) {
  pugi::xml_node root = item.raw().root().child("root");
  for (pugi::xml_node list = root.child("item_list"); list; list = list.next_sibling("item_list")) {
    pugi::xml_node path = list.child("dictation_file_path");
    if (path) return DomNode(path);
  }
  return DomNode();
}

template <typename Item>
DomNode WritePlainItem(RecordCursor& cursor, const Item& record, int depth) {
  DomNode item = cursor.NewElement("item");
  WriteFields(cursor, item, record, ItemSchema<Item>::Fields(), depth + 1);
  return item;
}

template <typename Item>
void ReadPlainItem(DomNode item, Item& record) {
  InitStruct(record);
  if (ItemSchema<Item>::kFolderLevelPath) {
    const DomNode path = FolderLevelPath(item);
    if (path) record.dictation_file_path = LocalForm(path.Text());
  }
  ReadFields(item, record, ItemSchema<Item>::Fields());
}

// Adds the delivery element |name| with the fields of |delivery|, and makes `protocol` say so.
template <typename Delivery>
void WriteDelivery(RecordCursor& cursor, DomNode item, const char* protocol, const char* name,
                   const Delivery& delivery, int depth) {
  // A protocol the plain record lacked is added at the depth FindOrCreateChild gives a child of
  // an element that is not yet in a document (1): its line is indented less than its siblings'.
  // Loading drops indentation, so only the look of the freshly saved file differs.
  cursor.FindOrCreateChild(item, kProtocolElement).SetText(cursor.TranslateValue(protocol));
  // Written even when every field is empty: the element records the kind of delivery.
  const DomNode element = cursor.AddChildElement(item, name, depth + 1);
  if (!element) throw ComError(kErrorDomFailure, "cannot add the delivery element");
  WriteFields(cursor, element, delivery, DeliverySchema<Delivery>::Fields(), depth + 2);
}

template <typename ItemList>
DomNode WriteListItem(RecordCursor& cursor, const ItemList& record, int depth) {
  DomNode item = WritePlainItem(cursor, record.item, depth);
  if (record.delivery_kind == kDeliveryMail) {
    WriteDelivery(cursor, item, kMailProtocol, kMailElement, record.smtp, depth);
  } else if (record.delivery_kind == kDeliveryFtp) {
    WriteDelivery(cursor, item, kFtpProtocol, kFtpElement, record.ftp, depth);
  }
  return item;
}

template <typename ItemList>
void ReadListItem(DomNode item, ItemList& record) {
  InitStruct(record);
  ReadPlainItem(item, record.item);
  // The stored protocol says which delivery details there are; letter case counts.
  if (record.item.protocol == kMailProtocol) {
    record.delivery_kind = kDeliveryMail;
    const DomNode mail = ChildElement(item, kMailElement);
    if (mail) ReadFields(mail, record.smtp, DeliverySchema<decltype(record.smtp)>::Fields());
  } else if (record.item.protocol == kFtpProtocol) {
    record.delivery_kind = kDeliveryFtp;
    const DomNode ftp = ChildElement(item, kFtpElement);
    if (ftp) ReadFields(ftp, record.ftp, DeliverySchema<decltype(record.ftp)>::Fields());
  }
}

// Type-erased entry points for the dispatch table.
template <typename Item>
DomNode WritePlainRecord(RecordCursor& cursor, const void* records, int index, int depth) {
  return WritePlainItem(cursor, static_cast<const Item*>(records)[index], depth);
}
template <typename Item>
int ReadPlainRecord(RecordCursor&, DomNode item, void* records, int index) {
  ReadPlainItem(item, static_cast<Item*>(records)[index]);
  return 1;
}
template <typename ItemList>
DomNode WriteListRecord(RecordCursor& cursor, const void* records, int index, int depth) {
  return WriteListItem(cursor, static_cast<const ItemList*>(records)[index], depth);
}
template <typename ItemList>
int ReadListRecord(RecordCursor&, DomNode item, void* records, int index) {
  ReadListItem(item, static_cast<ItemList*>(records)[index]);
  return 1;
}

template <typename ItemList>
constexpr RecordSerializer ListSerializer(int kind) {
  using Item = decltype(ItemList::item);
  return {ListRecordType(kind), &WriteListRecord<ItemList>, &ReadListRecord<ItemList>,
          ItemSchema<Item>::kFolderLevelPath};
}

template <typename Item>
constexpr RecordSerializer PlainSerializer(int kind) {
  return {PlainRecordType(kind), &WritePlainRecord<Item>, &ReadPlainRecord<Item>,
          ItemSchema<Item>::kFolderLevelPath};
}

}  // namespace Foldwise

#endif  // FOLDWISE_CACHED_FOLDERS_ITEM_SERIALIZER_H_
