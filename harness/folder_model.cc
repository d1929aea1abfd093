#include "harness/folder_model.h"

#include <algorithm>
#include <filesystem>
#include <random>

#include "foldwise/cached_folders.h"
#include "foldwise/documents_folders.h"
#include "foldwise/errors.h"
#include "foldwise/folder_attributes.h"
#include "foldwise/outbox_folders.h"
#include "foldwise/xml_document.h"

namespace Foldwise {
namespace harness {
namespace {

namespace fs = std::filesystem;

struct FamilyFiles {
  const char* dir;
  const char* plain;
  const char* encrypted;  // the second file of a cached folder, else null
};

const FamilyFiles kFiles[kModelFamilies] = {
    {"voice", "VoiceFolder.xml", "VoiceEFolder.xml"},
    {"sent-items", "SentItemsFolder.xml", "SentItemsEFolder.xml"},
    {"typist-inbox", "InBoxTypistFolder.xml", "InBoxTypistEFolder.xml"},
    {"attributes", "FolderAttr.xml", nullptr},
    {"documents", "DocumentsFolder.xml", nullptr},
    {"typist-documents", "DocumentsTypistFolder.xml", nullptr},
    {"typist-sent-items", "SentItemsTypistFolder.xml", nullptr},
    {"outbox", "OutBoxFolder.xml", nullptr},
    {"typist-outbox", "OutBoxTypistFolder.xml", nullptr},
};

bool IsCached(Family family) { return family <= kTypistInbox; }
std::string PlainFile(Family f) { return std::string(kFiles[f].dir) + "/" + kFiles[f].plain; }
std::string EncryptedFile(Family f) {
  return std::string(kFiles[f].dir) + "/" + kFiles[f].encrypted;
}

template <typename T>
const T& Pick(std::mt19937_64& random, std::initializer_list<T> choices) {
  return choices.begin()[random() % choices.size()];
}

Op GenerateOne(std::mt19937_64& random) {
  Op op;
  op.family = static_cast<Family>(random() % kModelFamilies);
  op.guid = Pick<const char*>(random, {"g0", "g1", "g2", "g3", "g4"});
  const unsigned roll = random() % 10;
  if (IsCached(op.family)) {
    op.name = Pick<const char*>(random, {"a.wav", "b.$wv", "c.dss", "d.$ds"});
    op.status = Pick<const char*>(random, {"new", "typed", "done"});
    op.kind = roll < 4   ? Kind::kAdd
              : roll < 6 ? Kind::kDelete
              : roll < 9 ? Kind::kChange
                         : Kind::kSetList;
    if (op.kind == Kind::kSetList) {
      for (unsigned n = random() % 4; n > 0; --n) op.parts.push_back(GenerateOne(random));
      for (Op& part : op.parts) {
        part.family = op.family;
        if (part.name.empty()) part.name = "e.wav";
        if (part.status.empty()) part.status = "new";
      }
    }
  } else if (op.family == kAttributes) {
    op.kind = Kind::kSwitch;
    op.flag = static_cast<int>(random() % 2);
    op.status = roll < 6 ? "on" : "off";
    op.version = Pick<int>(random, {0, 110, 250});
  } else {
    op.name = op.guid + Pick<const char*>(random, {".doc", ".rtf"});
    const bool outbox = op.family == kOutbox || op.family == kTypistOutbox;
    op.kind = roll < 5 ? Kind::kAdd : (outbox && roll >= 8) ? Kind::kChange : Kind::kDelete;
  }
  return op;
}

// The cached folders' routing: a dictation file whose extension begins with "$" is encrypted.
bool IsEncryptedName(const std::string& name) {
  const std::string::size_type dot = name.rfind('.');
  return dot != std::string::npos && dot + 1 < name.size() && name[dot + 1] == '$';
}

std::vector<Entry> SwitchesOff() {
  return {{"encryption", "", "", 0}, {"confidentiality", "", "", 0}};
}

void ApplyOne(const Op& op, Model& model) {
  const Family f = op.family;
  if (IsCached(f)) {
    std::vector<Entry>& plain = model[PlainFile(f)];
    std::vector<Entry>& encrypted = model[EncryptedFile(f)];
    auto routed = [&](const Op& add) -> std::vector<Entry>& {
      return IsEncryptedName(add.name) ? encrypted : plain;
    };
    switch (op.kind) {
      case Kind::kAdd:
        routed(op).push_back({op.guid, op.name, op.status, 0});
        break;
      case Kind::kDelete:
        for (auto* list : {&plain, &encrypted}) {
          list->erase(std::remove_if(list->begin(), list->end(),
                                     [&](const Entry& e) { return e.guid == op.guid; }),
                      list->end());
        }
        break;
      case Kind::kChange:
        for (auto* list : {&plain, &encrypted}) {
          for (Entry& e : *list) {
            if (e.guid == op.guid) e.status = op.status;
          }
        }
        break;
      default:
        plain.clear();
        encrypted.clear();
        for (const Op& part : op.parts)
          routed(part).push_back({part.guid, part.name, part.status, 0});
    }
    return;
  }
  std::vector<Entry>& list = model[PlainFile(f)];
  if (f == kAttributes) {
    if (list.size() != 2) list = SwitchesOff();
    Entry& which = list[static_cast<std::size_t>(op.flag)];
    const bool on = op.status == "on";
    which.status = on ? "on" : "";
    which.errors = on ? op.version : 0;
    return;
  }
  const auto first =
      std::find_if(list.begin(), list.end(), [&](const Entry& e) { return e.guid == op.guid; });
  if (op.kind == Kind::kAdd) {
    list.push_back({op.guid, op.name, "", 0});
  } else if (op.kind == Kind::kDelete) {
    if (first != list.end()) list.erase(first);
  } else if (first != list.end()) {
    ++first->errors;
  }
}

// Replaces a cached folder's whole list: the one operation whose length the generator picks.
template <typename Folder>
void SetList(const Op& op, const std::string& dir) {
  using Item = typename Folder::Item;
  std::vector<Item> list;
  for (const Op& part : op.parts) {
    Item record;
    record.guid = part.guid;
    record.dictation_file_name = part.name;
    record.status = part.status;
    list.push_back(record);
  }
  Folder folder;
  folder.SetXmlFalePath(dir.c_str());
  folder.SetItemListXML(static_cast<long>(list.size()), list.empty() ? nullptr : list.data());
}

// The family table's row for |op|, with the generated texts in place of the row's own.
void RunRow(const Op& op, const std::string& dir) {
  static const char* const kRows[kModelFamilies][3] = {
      // add, delete, change
      {"add plain", "delete one", "change one"},
      {"add plain", "delete one", "change one"},
      {"add plain", "delete one", "change one"},
      {nullptr, nullptr, nullptr},
      {"add ftp", "delete", nullptr},
      {"add", "delete", nullptr},
      {"add", "delete", nullptr},
      {"add smtp", "delete", "add error"},
      {"add smtp", "delete", "add error"},
  };
  Texts texts;
  texts.Set(Role::kKey, "guid", op.guid);
  if (op.kind == Kind::kAdd) {
    texts.Set(Role::kValue, "guid", op.guid);
    const bool documents = op.family >= kDocuments && op.family <= kTypistSentItems;
    texts.Set(Role::kValue, documents ? "document_file_name" : "dictation_file_name", op.name);
    if (IsCached(op.family)) texts.Set(Role::kValue, "status", op.status);
  } else if (op.kind == Kind::kChange) {
    texts.Set(Role::kValue, "status", op.status);
  }
  const char* row = kRows[op.family][static_cast<int>(op.kind)];
  FindOperation(op.family, row).run(dir, texts);
}

}  // namespace

Op GenerateOp(std::uint64_t seed, int index) {
  std::mt19937_64 random(seed * 0x9E3779B97F4A7C15ull + static_cast<std::uint64_t>(index));
  if (random() % 6 != 0) return GenerateOne(random);
  Op bracket;
  bracket.kind = Kind::kBracket;
  for (unsigned n = 2 + random() % 4; n > 0; --n) bracket.parts.push_back(GenerateOne(random));
  return bracket;
}

std::string Describe(const Op& op) {
  static const char* const kKinds[] = {"add", "delete", "change", "set list", "switch", "bracket"};
  std::string text = kKinds[static_cast<int>(op.kind)];
  if (op.kind == Kind::kBracket) {
    text += " {";
    for (const Op& part : op.parts) text += " " + Describe(part) + ";";
    return text + " }";
  }
  text +=
      std::string(" ") + kFiles[op.family].dir + " " + op.guid + " " + op.name + " " + op.status;
  if (op.family == kAttributes)
    text += " " + std::to_string(op.flag) + "/" + std::to_string(op.version);
  for (const Op& part : op.parts) text += " [" + part.guid + " " + part.name + "]";
  return text;
}

std::vector<std::string> FolderFiles() {
  std::vector<std::string> files;
  for (int f = 0; f < kModelFamilies; ++f) {
    files.push_back(PlainFile(static_cast<Family>(f)));
    if (kFiles[f].encrypted != nullptr) files.push_back(EncryptedFile(static_cast<Family>(f)));
  }
  return files;
}

Family FamilyOf(const std::string& file) {
  const std::string dir = file.substr(0, file.find('/'));
  int f = 0;
  while (f + 1 < kModelFamilies && dir != kFiles[f].dir) ++f;
  return static_cast<Family>(f);
}

bool IsCachedFamily(const std::string& file) {
  for (int f = 0; f <= kAttributes; ++f) {
    if (file.rfind(std::string(kFiles[f].dir) + "/", 0) == 0) return true;
  }
  return false;
}

void Apply(const Op& op, Model* model, std::vector<Model>* steps) {
  if (model->count(PlainFile(kAttributes)) == 0) (*model)[PlainFile(kAttributes)] = SwitchesOff();
  if (op.kind != Kind::kBracket) {
    ApplyOne(op, *model);
    return;
  }
  for (const Op& part : op.parts) {
    ApplyOne(part, *model);
    if (steps != nullptr) steps->push_back(*model);
  }
}

std::string Render(const std::vector<Entry>& entries) {
  std::string text;
  for (const Entry& e : entries) {
    text += e.guid + "|" + e.name + "|" + e.status + "|" + std::to_string(e.errors) + "; ";
  }
  return text;
}

void PrepareRoot(const std::string& root) {
  for (const FamilyFiles& family : kFiles) fs::create_directories(fs::path(root) / family.dir);
}

void Execute(const Op& op, const std::string& root) {
  if (op.kind == Kind::kBracket) {
    CXmlDocument::ActiveCacheDOMDocument();
    for (const Op& part : op.parts) Execute(part, root);
    CXmlDocument::DeactiveCacheDOMDocument(0);
    return;
  }
  const std::string dir = root + "/" + kFiles[op.family].dir;
  if (op.family == kAttributes) {
    CFolderAttrXML folder;
    folder.SetDirectory(dir);
    const int on = op.status == "on" ? 1 : 0;
    if (op.flag == 0) {
      folder.EnableEncryption(on, op.version);
    } else {
      folder.EnableConfidentiality(on, op.version);
    }
  } else if (op.kind == Kind::kSetList) {
    switch (op.family) {
      case kVoice:
        return SetList<CVoiceFolderXML>(op, dir);
      case kSentItems:
        return SetList<CSentItemsFolderXML>(op, dir);
      default:
        return SetList<CInBoxTypistFolderXML>(op, dir);
    }
  } else {
    RunRow(op, dir);
  }
}

std::vector<Entry> ReadFile(const std::string& root, const std::string& file,
                            const std::string& scratch) {
  const std::string familyDir = file.substr(0, file.find('/'));
  const fs::path copy = fs::path(scratch) / familyDir;
  fs::remove_all(copy);
  fs::create_directories(copy);
  const bool exists = fs::exists(fs::path(root) / file);
  if (exists) fs::copy_file(fs::path(root) / file, fs::path(scratch) / file);
  const Family family = FamilyOf(file);
  // Listing a missing documents or outbox file would make it from the template.
  if (!exists && !IsCached(family) && family != kAttributes) return {};
  const bool documents = family >= kDocuments && family <= kTypistSentItems;
  std::vector<Entry> entries;
  for (const Stored& stored : ReadFamily(family, copy.string())) {
    const auto text = [&](const char* field) {
      const auto found = stored.texts.find(field);
      return found == stored.texts.end() ? std::string() : found->second;
    };
    if (stored.server || (!IsCached(family) && text("guid").empty())) continue;
    entries.push_back({text("guid"), text(documents ? "document_file_name" : "dictation_file_name"),
                       IsCached(family) || family == kAttributes ? text("status") : "",
                       stored.errors});
  }
  return entries;
}

}  // namespace harness
}  // namespace Foldwise
