// The writer and reader of the `item` element of every record of the item-file engine, and the
// typed cursor that carries host records through it.
//
// A family describes each of its records once, in its schema file, by specialising
// ItemSchema<Item> (the text fields of the plain record in element order, and whether its file
// keeps dictation_file_path once for all items) and DeliverySchema<Ftp> / DeliverySchema<Smtp>.
// The list-form record embeds the plain one as `item` and adds delivery_kind, ftp and smtp,
// tied to the item's `protocol`. Stored paths go through the family's path policy
// (engine/path_policy.h).
#ifndef FOLDWISE_ENGINE_ITEM_CODEC_H_
#define FOLDWISE_ENGINE_ITEM_CODEC_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "dom/dom.h"
#include "dom/dom_scan.h"
#include "engine/record_cursor.h"
#include "foldwise/cached_records.h"
#include "foldwise/errors.h"

namespace Foldwise {

template <typename Record>
struct TextField {
  std::string Record::*member;
  const char* element;
  bool storageForm;
};

// Specialised per record by the family's schema file:
//   static constexpr bool kFolderLevelPath;              (ItemSchema only)
//   static constexpr TextField<Record> kFields[] = {...};
template <typename Item>
struct ItemSchema;
template <typename Delivery>
struct DeliverySchema;

// Every folder's FTP record has the same two fields.
template <typename Ftp>
struct FtpSchema {
  static constexpr TextField<Ftp> kFields[] = {
      {&Ftp::server, "server", false},
      {&Ftp::folder, "folder", false},
  };
};

// The mail record of folders that keep no recipients: the voice and typist inbox folders.
template <typename Smtp>
struct ShortSmtpSchema {
  static constexpr TextField<Smtp> kFields[] = {
      {&Smtp::from, "from", false},
      {&Smtp::subject, "subject", false},
      {&Smtp::body, "body", false},
  };
};

// The mail record with recipients: the author's sent items.
template <typename Smtp>
struct FullSmtpSchema {
  static constexpr TextField<Smtp> kFields[] = {
      {&Smtp::from, "from", false},       {&Smtp::to, "to", false},
      {&Smtp::cc, "cc", false},           {&Smtp::bcc, "bcc", false},
      {&Smtp::subject, "subject", false}, {&Smtp::body, "body", false},
  };
};

constexpr char kProtocolElement[] = "protocol";
constexpr char kMailElement[] = "mail";
constexpr char kFtpElement[] = "ftp";
constexpr char kMailProtocol[] = "mail";
constexpr char kFtpProtocol[] = "ftp";

// The text of /root/item_list/dictation_file_path of |item|'s document, found without a query:
// the first such element under the first item_list that has one.
inline DomNode FolderLevelPath(DomNode item) {
  const DomNode root = FirstChildElement(DocumentOf(item), "root");
  for (DomNode list = FirstChildElement(root, "item_list"); list;
       list = NextSiblingElement(list, "item_list")) {
    const DomNode path = FirstChildElement(list, "dictation_file_path");
    if (path) return path;
  }
  return DomNode();
}

// The local forms of the stored paths one operation reads. The items of a file mostly share a
// few directories (the folder-level path is one for all of them), while each conversion composes
// and resolves the path afresh, so the last few are kept for the rest of the operation.
template <typename Paths>
class StoredPaths {
 public:
  // Replaces the stored path |text| by its local form, in place: a record's string keeps the
  // storage it was read into instead of taking a fresh copy per item.
  void ToLocal(std::string* text) {
    for (const Entry& entry : entries_) {
      if (entry.used && entry.stored == *text) {
        text->assign(entry.local);
        return;
      }
    }
    Entry& entry = entries_[next_];
    next_ = (next_ + 1) % kEntries;
    entry.stored = *text;
    entry.local = Paths::ToLocal(*text);
    entry.used = true;
    text->assign(entry.local);
  }

  // The folder-level path of |item|'s document. Inside a read pass the document cannot change,
  // so it is looked up once per document: a file without one would otherwise be searched to its
  // end for every item. Outside a pass it is looked up afresh.
  DomNode FolderPathOf(DomNode item) {
    if (!pass_) return FolderLevelPath(item);
    const DomNode document = DocumentOf(item);
    if (document != folderDocument_) {
      folderDocument_ = document;
      folderPath_ = FolderLevelPath(item);
    }
    return folderPath_;
  }
  void SetReadPass(bool on) {
    pass_ = on;
    folderDocument_ = DomNode();
    folderPath_ = DomNode();
  }

 private:
  static constexpr std::size_t kEntries = 4;
  struct Entry {
    bool used = false;
    std::string stored;
    std::string local;
  };
  Entry entries_[kEntries];
  std::size_t next_ = 0;
  bool pass_ = false;
  DomNode folderDocument_;
  DomNode folderPath_;
};

template <typename Paths, typename Record, std::size_t N>
void WriteFields(RecordCursor& cursor, DomNode parent, const Record& record,
                 const TextField<Record> (&fields)[N], int depth) {
  for (const TextField<Record>& field : fields) {
    const std::string& value = record.*field.member;
    if (value.empty()) continue;
    DomNode element = cursor.AddChildElement(parent, field.element, depth);
    std::string text = cursor.TranslateValue(value);
    if (field.storageForm) text = Paths::ToStored(text);
    element.SetText(text);  // a null element raises here
  }
}

// Whether every field of |record| can be stored and read back (IsXmlText): checked before an
// operation that writes several records touches any file, so a refused value changes nothing.
template <typename Record, std::size_t N>
bool FieldsAreXmlText(const Record& record, const TextField<Record> (&fields)[N]) {
  for (const TextField<Record>& field : fields) {
    if (!IsXmlText(record.*field.member)) return false;
  }
  return true;
}

// Fills each field with the text of the first child element of its name, as a lookup by name
// would, and empties the fields no child supplies. One walk over the children serves every field:
// fields are stored in table order, so the search for the next one starts after the last match,
// and a name whose first letter differs is passed over without a full compare. Children that are
// no field are offered to |other|.
template <typename Paths, typename Record, std::size_t N, typename Other>
void ReadFields(DomNode parent, Record& record, const TextField<Record> (&fields)[N],
                StoredPaths<Paths>& paths, Other&& other) {
  static_assert(N <= 32, "the fields already taken are tracked in a 32-bit mask");
  std::uint32_t taken = 0;
  std::size_t next = 0;
  for (DomNode child = FirstChildElement(parent, nullptr); child;
       child = NextSiblingElement(child, nullptr)) {
    const char* name = NameText(child);
    bool known = false;
    for (std::size_t tried = 0; tried < N; ++tried) {
      const std::size_t at = (next + tried) % N;
      const TextField<Record>& field = fields[at];
      if (name[0] != field.element[0] || std::strcmp(name, field.element) != 0) continue;
      if ((taken & (1u << at)) == 0) {
        taken |= 1u << at;
        std::string& member = record.*field.member;
        AssignText(child, &member);
        if (field.storageForm) paths.ToLocal(&member);
      }
      next = at + 1;
      known = true;
      break;
    }
    if (!known) other(child, name);
  }
  for (std::size_t at = 0; at < N; ++at) {
    if ((taken & (1u << at)) == 0) (record.*fields[at].member).clear();
  }
}

template <typename Paths, typename Record, std::size_t N>
void ReadFields(DomNode parent, Record& record, const TextField<Record> (&fields)[N],
                StoredPaths<Paths>& paths) {
  ReadFields(parent, record, fields, paths, [](DomNode, const char*) {});
}

// Empties every field of |record|.
template <typename Record, std::size_t N>
void ClearFields(Record& record, const TextField<Record> (&fields)[N]) {
  for (const TextField<Record>& field : fields) (record.*field.member).clear();
}

// Whether |Record| is a list-form record: one that embeds its plain record as `item`.
template <typename Record, typename = void>
struct IsListRecord : std::false_type {};
template <typename Record>
struct IsListRecord<Record, std::void_t<decltype(&Record::item)>> : std::true_type {};

template <typename Record, typename Paths, bool kList = IsListRecord<Record>::value>
struct ItemCodec;

// A plain record: the fields of its schema.
template <typename Item, typename Paths>
struct ItemCodec<Item, Paths, false> {
  using Schema = ItemSchema<Item>;
  // Reading writes every field of the table instead of emptying the record first, so the table
  // must name every member.
  static_assert(sizeof(Item) == (std::size(Schema::kFields) + (Schema::kFolderLevelPath ? 1 : 0)) *
                                    sizeof(std::string),
                "every member of the record is a field of its schema");

  static DomNode Write(RecordCursor& cursor, const Item& record, int depth) {
    DomNode item = cursor.NewElement("item");
    WriteFields<Paths>(cursor, item, record, Schema::kFields, depth + 1);
    return item;
  }

  // Every field of |record| is written: a record that held values before reads as a fresh one.
  template <typename Other>
  static void Read(DomNode item, Item& record, StoredPaths<Paths>& paths, Other&& other) {
    ReadFields<Paths>(item, record, Schema::kFields, paths, other);
    if constexpr (Schema::kFolderLevelPath) {
      const DomNode path = paths.FolderPathOf(item);
      if (path) {
        AssignText(path, &record.dictation_file_path);
        paths.ToLocal(&record.dictation_file_path);
      } else {
        record.dictation_file_path.clear();
      }
    }
  }
  static void Read(DomNode item, Item& record, StoredPaths<Paths>& paths) {
    Read(item, record, paths, [](DomNode, const char*) {});
  }

  static bool IsStorable(const Item& record) { return FieldsAreXmlText(record, Schema::kFields); }
};

// A list-form record: its item, then the delivery details the item's protocol names.
template <typename ItemList, typename Paths>
struct ItemCodec<ItemList, Paths, true> {
  using Item = decltype(ItemList::item);
  using Ftp = decltype(ItemList::ftp);
  using Smtp = decltype(ItemList::smtp);
  static_assert(sizeof(Ftp) == std::size(DeliverySchema<Ftp>::kFields) * sizeof(std::string) &&
                    sizeof(Smtp) == std::size(DeliverySchema<Smtp>::kFields) * sizeof(std::string),
                "every member of a delivery record is a field of its schema");

  static DomNode Write(RecordCursor& cursor, const ItemList& record, int depth) {
    DomNode item = ItemCodec<Item, Paths>::Write(cursor, record.item, depth);
    if (record.delivery_kind == kDeliveryMail) {
      WriteDelivery(cursor, item, kMailProtocol, kMailElement, record.smtp, depth);
    } else if (record.delivery_kind == kDeliveryFtp) {
      WriteDelivery(cursor, item, kFtpProtocol, kFtpElement, record.ftp, depth);
    }
    return item;
  }

  static void Read(DomNode item, ItemList& record, StoredPaths<Paths>& paths) {
    // The first delivery element of each kind is noted in the same walk as the item's fields.
    DomNode mail;
    DomNode ftp;
    ItemCodec<Item, Paths>::Read(item, record.item, paths, [&](DomNode child, const char* name) {
      if (!mail && std::strcmp(name, kMailElement) == 0) mail = child;
      if (!ftp && std::strcmp(name, kFtpElement) == 0) ftp = child;
    });
    // The stored protocol says which delivery details there are; letter case counts.
    record.delivery_kind = kDeliveryNone;
    const std::string& protocol = record.item.protocol;
    if (protocol == kMailProtocol) {
      record.delivery_kind = kDeliveryMail;
      if (mail) {
        ReadFields<Paths>(mail, record.smtp, DeliverySchema<Smtp>::kFields, paths);
      } else {
        ClearFields(record.smtp, DeliverySchema<Smtp>::kFields);
      }
      ClearFields(record.ftp, DeliverySchema<Ftp>::kFields);
    } else if (protocol == kFtpProtocol) {
      record.delivery_kind = kDeliveryFtp;
      if (ftp) {
        ReadFields<Paths>(ftp, record.ftp, DeliverySchema<Ftp>::kFields, paths);
      } else {
        ClearFields(record.ftp, DeliverySchema<Ftp>::kFields);
      }
      ClearFields(record.smtp, DeliverySchema<Smtp>::kFields);
    } else {
      ClearFields(record.ftp, DeliverySchema<Ftp>::kFields);
      ClearFields(record.smtp, DeliverySchema<Smtp>::kFields);
    }
  }

  static bool IsStorable(const ItemList& record) {
    return ItemCodec<Item, Paths>::IsStorable(record.item) &&
           FieldsAreXmlText(record.ftp, DeliverySchema<Ftp>::kFields) &&
           FieldsAreXmlText(record.smtp, DeliverySchema<Smtp>::kFields);
  }

 private:
  // Adds the delivery element |name| with the fields of |delivery|, and makes `protocol` say so.
  template <typename Delivery>
  static void WriteDelivery(RecordCursor& cursor, DomNode item, const char* protocol,
                            const char* name, const Delivery& delivery, int depth) {
    // A protocol the plain record lacked is added at the depth FindOrCreateChild gives a child
    // of an element that is not yet in a document (1): its line is indented less than its
    // siblings'. Loading drops indentation, so only the look of the freshly saved file differs.
    cursor.FindOrCreateChild(item, kProtocolElement).SetText(cursor.TranslateValue(protocol));
    // Written even when every field is empty: the element records the kind of delivery.
    const DomNode element = cursor.AddChildElement(item, name, depth + 1);
    if (!element) throw ComError(kErrorDomFailure, "cannot add the delivery element");
    WriteFields<Paths>(cursor, element, delivery, DeliverySchema<Delivery>::kFields, depth + 2);
  }
};

// A cursor over an array of |Record| (never owned), written and read by its codec.
template <typename Record, typename Paths>
class TypedCursor final : public RecordCursor {
 public:
  TypedCursor() = default;
  TypedCursor(Record* records, int recordCount) { Bind(records, recordCount); }

  // Whether every record can be stored and read back exactly (see FieldsAreXmlText).
  static bool AreStorable(const Record* records, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      if (!ItemCodec<Record, Paths>::IsStorable(records[i])) return false;
    }
    return true;
  }

  // Starts over on |recordCount| records at |records|: macros off, index 0.
  void Bind(Record* records, int recordCount) {
    records_ = records;
    Start(recordCount);
  }

 private:
  DomNode WriteAt(int at, int depth) override {
    return ItemCodec<Record, Paths>::Write(*this, records_[at], depth);
  }
  void ReadAt(int at, DomNode item) override {
    ItemCodec<Record, Paths>::Read(item, records_[at], paths_);
  }
  void SetReadPass(bool on) override { paths_.SetReadPass(on); }

  Record* records_ = nullptr;
  StoredPaths<Paths> paths_;
};

}  // namespace Foldwise

#endif  // FOLDWISE_ENGINE_ITEM_CODEC_H_
