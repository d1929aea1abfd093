// Arbitrary texts in every key and value of every family with record texts.
#include <cctype>
#include <functional>
#include <vector>

#include "foldwise/cached_folders.h"
#include "foldwise/documents_folders.h"
#include "foldwise/errors.h"
#include "foldwise/outbox_folders.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"

namespace Foldwise {
namespace fuzz {
namespace {

template <typename Record>
struct Field {
  const char* name;
  std::string Record::*member;
  bool key;          // the family matches keys on it
  bool ignoresCase;  // and compares it ignoring case
};

// Every stored text of a record and how keys use it. Paths are stored in a converted form, so
// they are tried for crashes and matching only, never for an exact round trip.
bool IsPath(const char* name) { return std::string(name).find("path") != std::string::npos; }

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// |text| with every byte outside printable ASCII as \xNN, so a report shows what was tried.
std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F && c != '\\') {
      out.push_back(c);
    } else {
      static const char kHex[] = "0123456789abcdef";
      out += "\\x";
      out.push_back(kHex[u >> 4]);
      out.push_back(kHex[u & 15]);
    }
  }
  return out;
}

// One family seen through four calls on a data directory.
template <typename Record>
struct Family {
  const char* name;
  std::vector<Field<Record>> fields;
  // Adds |record|; false when the folder refused it (a result of 0, or ComError).
  std::function<bool(const std::string&, const Record&)> add;
  // Every stored entry.
  std::function<std::vector<Record>(const std::string&)> list;
  // Whether |key| finds an entry.
  std::function<bool(const std::string&, const Record&)> find;
  std::function<void(const std::string&, const Record&)> remove;
};

// The known entry every key is tried against, and the base of every new entry.
template <typename Record>
Record Known(const Family<Record>& family, const char* text) {
  Record record;
  for (const auto& field : family.fields) record.*(field.member) = text;
  return record;
}

// The listed entries that hold anything: a documents listing has one entry per child node.
template <typename Record>
std::vector<Record> Stored(const Family<Record>& family, const std::string& dir) {
  std::vector<Record> kept;
  for (const Record& record : family.list(dir)) {
    for (const auto& field : family.fields) {
      if (!(record.*(field.member)).empty()) {
        kept.push_back(record);
        break;
      }
    }
  }
  return kept;
}

template <typename Record>
std::string CheckValue(const Family<Record>& family, const Field<Record>& field,
                       const std::string& text) {
  const std::string dir = FreshScratch("values");
  Record record = Known(family, "fz");
  record.*(field.member) = text;
  bool refused = true;
  try {
    refused = !family.add(dir, record);
  } catch (const ComError&) {
  }
  const std::vector<Record> stored = Stored(family, dir);
  const ValueClass kind = ClassifyValue(text);
  const std::string where =
      std::string(family.name) + "." + field.name + " = \"" + Escaped(text) + "\"";
  if (!refused && stored.size() != 1)
    return where + ": accepted, but " + std::to_string(stored.size()) + " entries";
  if (refused && !stored.empty()) return where + ": refused, but an entry was written";
  TallyValue(kind, refused);
  for (const auto& [file, bytes] : Snapshot(dir)) {
    const std::string problem = StrictXmlProblem(bytes);
    if (!problem.empty()) return where + ": " + file + " holds " + problem;
  }
  if (!refused && MustBeRefused(kind) && stored[0].*(field.member) == text)
    return where + ": stored a value no XML file can carry";
  if (refused || IsPath(field.name)) return "";
  if (stored[0].*(field.member) == text) return "";
  return where + ": stored, but read back as \"" + Escaped(stored[0].*(field.member)) + "\" (" +
         ClassName(kind) + ")";
}

template <typename Record>
std::string CheckKey(const Family<Record>& family, const Field<Record>& field,
                     const std::string& text) {
  if (text.empty() || !field.key) return "";  // an empty field is no condition
  const std::string dir = FreshScratch("keys");
  const Record known = Known(family, "a");
  try {
    if (!family.add(dir, known)) return std::string(family.name) + ": the known entry was refused";
  } catch (const ComError& error) {
    return std::string(family.name) + ": the known entry raised " + error.what();
  }
  Record key;
  key.*(field.member) = text;
  const bool equal = field.ignoresCase ? EqualsIgnoringCase(text, "a") : text == "a";
  const std::string where =
      std::string(family.name) + " key " + field.name + " = \"" + Escaped(text) + "\"";
  bool found = false;
  try {
    found = family.find(dir, key);
  } catch (const ComError&) {
  }
  if (found && !equal) return where + ": matched the entry \"a\"";
  try {
    family.remove(dir, key);
  } catch (const ComError&) {
  }
  if (!equal && Stored(family, dir).size() != 1) {
    return where + ": deleted the entry \"a\"";
  }
  return "";
}

template <typename Record>
std::string Check(const Family<Record>& family, unsigned fieldByte, const std::string& text) {
  const Field<Record>& field = family.fields[fieldByte % family.fields.size()];
  std::string error = CheckValue(family, field, text);
  if (error.empty()) error = CheckKey(family, field, text);
  return error;
}

// ---- The families -------------------------------------------------------------------------

template <typename Folder>
Folder CachedAt(const std::string& dir) {
  Folder folder;
  folder.SetXmlFalePath(dir.c_str());
  return folder;
}

template <typename Folder>
Folder At(const std::string& dir) {
  Folder folder;
  folder.SetDirectory(dir);
  return folder;
}

// Cached keys are exact on every field.
template <typename Folder>
Family<typename Folder::Item> Cached(const char* name,
                                     std::vector<Field<typename Folder::Item>> fields) {
  using Item = typename Folder::Item;
  Family<Item> family;
  family.name = name;
  family.fields = std::move(fields);
  family.add = [](const std::string& dir, const Item& item) {
    Item copy = item;
    return CachedAt<Folder>(dir).AddItemXML(copy, 0) == 1;
  };
  family.list = [](const std::string& dir) {
    long count = 0;
    Item* list = nullptr;
    CachedAt<Folder>(dir).GetItemListXML(&count, &list);
    std::vector<Item> items(list, list + (list != nullptr ? count : 0));
    Folder::ReleaseItemList(list);
    return items;
  };
  family.find = [](const std::string& dir, const Item& key) {
    Item copy = key;
    Item out;
    return CachedAt<Folder>(dir).GetItemXML(copy, &out) == 1;
  };
  family.remove = [](const std::string& dir, const Item& key) {
    Item copy = key;
    CachedAt<Folder>(dir).DelItemXML(copy);
  };
  return family;
}

template <typename Folder, typename Listed>
std::vector<Listed> ListDocuments(const std::string& dir) {
  Folder folder = At<Folder>(dir);
  long count = 0;
  Listed* list = nullptr;
  folder.GetItemListXML(&count, &list);
  std::vector<Listed> items(list, list + (list != nullptr ? count : 0));
  folder.DelItemListXML(list);
  return items;
}

// The documents folders: keys are the identity fields, compared ignoring case.
template <typename Folder, typename Item, typename Listed>
Family<Item> Documents(const char* name, std::vector<Field<Item>> fields,
                       std::function<bool(Folder&, const Item&)> add) {
  Family<Item> family;
  family.name = name;
  family.fields = std::move(fields);
  family.add = [add](const std::string& dir, const Item& item) {
    Folder folder = At<Folder>(dir);
    return add(folder, item);
  };
  family.list = [](const std::string& dir) {
    std::vector<Item> items;
    for (const Listed& listed : ListDocuments<Folder, Listed>(dir)) items.push_back(listed);
    return items;
  };
  family.find = [](const std::string& dir, const Item& key) {
    Listed out;
    out.guid = "\x01untouched";
    At<Folder>(dir).GetItemXML(key, &out);
    return out.guid != "\x01untouched";
  };
  family.remove = [](const std::string& dir, const Item& key) { At<Folder>(dir).DelItemXML(key); };
  return family;
}

// The outboxes find and delete by the identity of the dictation, guid included, ignoring case
// (the matching hook of the by-reference change compares the guid exactly; not used here).
template <typename Folder>
Family<typename Folder::Item> Outbox(const char* name,
                                     std::vector<Field<typename Folder::Item>> fields) {
  using Item = typename Folder::Item;
  using ItemList = typename Folder::ItemList;
  Family<Item> family;
  family.name = name;
  family.fields = std::move(fields);
  family.add = [](const std::string& dir, const Item& item) {
    At<Folder>(dir).AddItemSmtpXML(item, {});
    return true;
  };
  family.list = [](const std::string& dir) {
    Folder folder = At<Folder>(dir);
    std::int32_t count = 0;
    ItemList* list = nullptr;
    folder.GetItemListXML(&count, &list);
    std::vector<Item> items;
    for (std::int32_t i = 0; list != nullptr && i < count; ++i) items.push_back(list[i]);
    folder.DelItemListXML(count, list);
    return items;
  };
  family.find = [](const std::string& dir, const Item& key) {
    Folder folder = At<Folder>(dir);
    ItemList out;
    out.guid = "\x01untouched";
    folder.GetItemXML(key, &out);
    folder.DelDataErrInfoXML(out.error_list);
    return out.guid != "\x01untouched";
  };
  family.remove = [](const std::string& dir, const Item& key) { At<Folder>(dir).DelItemXML(key); };
  return family;
}

#define FIELD(Record, name, key, ignoresCase) \
  Field<Record> { #name, &Record::name, key, ignoresCase }

using Voice = VOICE_ITEM_XML_DATA;
using Sent = SENTITEMS_ITEM_XML_DATA;
using Inbox = INBOX_TYPIST_ITEM_XML_DATA;
using Doc = DOCUMENTS_ITEM_XML_DATA;
using TypistDoc = DOCUMENTS_TYPIST_ITEM_XML_DATA;
using TypistSent = SENTITEMS_TYPIST_ITEM_XML_DATA;
using Out = OUTBOX_ITEM_XML_DATA;
using TypistOut = OUTBOX_TYPIST_ITEM_XML_DATA;

const Family<Voice>& VoiceFamily() {
  static const Family<Voice> family = Cached<CVoiceFolderXML>(
      "voice", {FIELD(Voice, guid, true, false), FIELD(Voice, dictation_file_name, true, false),
                FIELD(Voice, dictation_file_path, false, false), FIELD(Voice, status, true, false),
                FIELD(Voice, document_file_name, true, false),
                FIELD(Voice, document_file_path, false, false), FIELD(Voice, archive, true, false),
                FIELD(Voice, sent, true, false), FIELD(Voice, protocol, true, false)});
  return family;
}

const Family<Sent>& SentFamily() {
  static const Family<Sent> family = Cached<CSentItemsFolderXML>(
      "sent items",
      {FIELD(Sent, guid, true, false), FIELD(Sent, status, true, false),
       FIELD(Sent, dictation_file_name, true, false),
       FIELD(Sent, dictation_file_path, false, false), FIELD(Sent, document_file_name, true, false),
       FIELD(Sent, document_file_path, false, false), FIELD(Sent, protocol, true, false),
       FIELD(Sent, date, true, false), FIELD(Sent, time, true, false)});
  return family;
}

const Family<Inbox>& InboxFamily() {
  static const Family<Inbox> family = Cached<CInBoxTypistFolderXML>(
      "typist inbox",
      {FIELD(Inbox, guid, true, false), FIELD(Inbox, dictation_file_name, true, false),
       FIELD(Inbox, dictation_file_path, false, false), FIELD(Inbox, status, true, false),
       FIELD(Inbox, protocol, true, false), FIELD(Inbox, date, true, false),
       FIELD(Inbox, time, true, false), FIELD(Inbox, document_file_name, true, false),
       FIELD(Inbox, document_file_path, false, false)});
  return family;
}

const Family<Doc>& DocumentsFamily() {
  static const Family<Doc> family =
      Documents<CDocumentsFolderXML, Doc, DOCUMENTS_ITEMLIST_XML_DATA>(
          "documents",
          {FIELD(Doc, guid, true, true), FIELD(Doc, document_file_name, true, true),
           FIELD(Doc, document_file_path, false, false), FIELD(Doc, protocol, false, false),
           FIELD(Doc, date, false, false), FIELD(Doc, time, false, false),
           FIELD(Doc, dictation_file_name, true, true),
           FIELD(Doc, dictation_file_path, false, false)},
          [](CDocumentsFolderXML& folder, const Doc& item) {
            folder.AddItemFtpXML(item, {"srv", "in"}, 1);
            return true;
          });
  return family;
}

const Family<TypistDoc>& TypistDocumentsFamily() {
  static const Family<TypistDoc> family =
      Documents<CDocumentsTypistFolderXML, TypistDoc, TypistDoc>(
          "typist documents",
          {FIELD(TypistDoc, guid, true, true), FIELD(TypistDoc, document_file_name, true, true),
           FIELD(TypistDoc, document_file_path, false, false),
           FIELD(TypistDoc, dictation_file_name, true, true),
           FIELD(TypistDoc, dictation_file_path, false, false),
           FIELD(TypistDoc, status, false, false), FIELD(TypistDoc, To, false, false),
           FIELD(TypistDoc, Received, false, false)},
          [](CDocumentsTypistFolderXML& folder, const TypistDoc& item) {
            folder.AddItemXML(item);
            return true;
          });
  return family;
}

const Family<TypistSent>& TypistSentFamily() {
  static const Family<TypistSent> family =
      Documents<CSentItemsTypistFolderXML, TypistSent, SENTITEMS_TYPIST_ITEMLIST_XML_DATA>(
          "typist sent items",
          {FIELD(TypistSent, guid, true, true), FIELD(TypistSent, status, false, false),
           FIELD(TypistSent, document_file_name, true, true),
           FIELD(TypistSent, document_file_path, false, false),
           FIELD(TypistSent, dictation_file_name, true, true),
           FIELD(TypistSent, dictation_file_path, false, false),
           FIELD(TypistSent, protocol, false, false), FIELD(TypistSent, date, false, false),
           FIELD(TypistSent, time, false, false)},
          [](CSentItemsTypistFolderXML& folder, const TypistSent& item) {
            return folder.AddItemXML(item);
          });
  return family;
}

const Family<Out>& OutboxFamily() {
  static const Family<Out> family = Outbox<COutBoxFolderXML>(
      "outbox", {FIELD(Out, guid, true, true), FIELD(Out, dictation_file_name, true, true),
                 FIELD(Out, dictation_file_path, false, false), FIELD(Out, protocol, true, true),
                 FIELD(Out, date, false, false), FIELD(Out, time, false, false)});
  return family;
}

const Family<TypistOut>& TypistOutboxFamily() {
  static const Family<TypistOut> family = Outbox<COutBoxTypistFolderXML>(
      "typist outbox",
      {FIELD(TypistOut, guid, true, true), FIELD(TypistOut, document_file_name, true, true),
       FIELD(TypistOut, document_file_path, false, false),
       FIELD(TypistOut, dictation_file_name, true, true),
       FIELD(TypistOut, dictation_file_path, false, false), FIELD(TypistOut, protocol, true, true),
       FIELD(TypistOut, date, true, true), FIELD(TypistOut, time, true, true)});
  return family;
}

#undef FIELD

std::string CheckOne(unsigned familyByte, unsigned fieldByte, const std::string& text) {
  switch (familyByte % 8) {
    case 0:
      return Check(VoiceFamily(), fieldByte, text);
    case 1:
      return Check(SentFamily(), fieldByte, text);
    case 2:
      return Check(InboxFamily(), fieldByte, text);
    case 3:
      return Check(DocumentsFamily(), fieldByte, text);
    case 4:
      return Check(TypistDocumentsFamily(), fieldByte, text);
    case 5:
      return Check(TypistSentFamily(), fieldByte, text);
    case 6:
      return Check(OutboxFamily(), fieldByte, text);
    default:
      return Check(TypistOutboxFamily(), fieldByte, text);
  }
}

}  // namespace

std::string CheckRecordTexts(const std::uint8_t* data, std::size_t size) {
  // Rounds of: family byte, field byte, length byte (0..63), then that many bytes of text.
  std::size_t at = 0;
  for (int round = 0; round < 4 && at + 3 <= size; ++round) {
    const unsigned family = data[at];
    const unsigned field = data[at + 1];
    const std::size_t length = std::min<std::size_t>(data[at + 2] % 64, size - at - 3);
    const std::string text(reinterpret_cast<const char*>(data) + at + 3, length);
    at += 3 + length;
    std::string error = CheckOne(family, field, text);
    if (!error.empty()) return error;
  }
  return "";
}

}  // namespace fuzz
}  // namespace Foldwise
