// The shared fixtures and the pugixml baselines. The baselines read through the same Env and
// save through the same crash-safe save as the library, so the ratios show the library's own
// work and not a difference in file handling.
#include "bench_support.h"

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <pugixml.hpp>

#include "foldwise/env.h"

namespace Foldwise {
namespace bench {
namespace {

constexpr unsigned kParseFlags =
    pugi::parse_default | pugi::parse_comments | pugi::parse_declaration | pugi::parse_pi;

class StringWriter : public pugi::xml_writer {
 public:
  explicit StringWriter(std::string* out) : out_(out) {}
  void write(const void* data, size_t size) override {
    out_->append(static_cast<const char*>(data), size);
  }

 private:
  std::string* out_;
};

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// Repeats the one entry of |sample| |n| times, numbering each copy.
std::string Repeat(const std::string& sample, int n) {
  const std::size_t open = sample.find("<item>");
  if (open == std::string::npos) return sample;  // a file without entries (folder attributes)
  std::size_t begin = open;
  while (begin > 0 && std::strchr(" \t\r\n", sample[begin - 1]) != nullptr) --begin;
  const std::size_t close = sample.find("</item>", open);
  if (close == std::string::npos) Fail("sample entry without an end");
  const std::size_t end = close + std::strlen("</item>");
  const std::string entry = sample.substr(begin, end - begin);
  std::string text = sample.substr(0, begin);
  text.reserve(sample.size() + entry.size() * static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) text += ReplaceAll(entry, kIndexMark, std::to_string(i));
  return text + sample.substr(end);
}

void Load(const Folder& folder, std::string* text, pugi::xml_document* doc) {
  if (Env::Current()->ReadFile(folder.path(), text, kNoLock) != 0) Fail("read " + folder.path());
  if (!doc->load_buffer_inplace(text->data(), text->size(), kParseFlags)) {
    Fail("parse " + folder.path());
  }
}

// The text a save gives: top-level nodes unindented, each followed by CR LF.
std::string Serialise(const pugi::xml_document& doc) {
  std::string out;
  StringWriter writer(&out);
  for (pugi::xml_node child = doc.first_child(); child; child = child.next_sibling()) {
    child.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    out.append("\r\n");
  }
  return out;
}

void Save(const Folder& folder, const pugi::xml_document& doc) {
  const std::string out = Serialise(doc);
  if (WriteFileAtomically(Env::Current(), folder.path(), out) != 0) Fail("save " + folder.path());
}

pugi::xml_node Items(const pugi::xml_document& doc) { return doc.child("root").child("item_list"); }

}  // namespace

std::string SampleGuid(const std::string& index) {
  return "{6F9619FF-8B86-D011-B42D-" + index + "}";
}

Folder::Folder(const std::string& family, const std::string& fileName, int n,
               const std::function<void(const std::string& dir)>& writeSample,
               const std::string& dir, bool build)
    : family_(family), dir_(dir), n_(n), owned_(dir.empty()) {
  if (owned_) {
    std::string pattern = (std::filesystem::temp_directory_path() / "foldwise-bench-XXXXXX");
    if (::mkdtemp(pattern.data()) == nullptr) Fail("mkdtemp");
    dir_ = pattern;
  }
  path_ = dir_ + "/" + fileName;
  if (!build) return;
  writeSample(dir_);
  std::string sample;
  if (Env::Current()->ReadFile(path_, &sample, kNoLock) != 0) Fail("no sample " + path_);
  // Stored as a save leaves it (whitespace dropped, nothing re-indented), so that the changes
  // and the save baseline write back the file they read and every iteration sees the same one.
  std::string text = Repeat(sample, n);
  pugi::xml_document doc;
  if (!doc.load_buffer(text.data(), text.size(), kParseFlags)) Fail("parse the built file");
  bytes_ = Serialise(doc);
  Restore();
}

Folder::~Folder() {
  if (owned_) std::filesystem::remove_all(dir_);
}

void Folder::Restore() const {
  if (WriteFileAtomically(Env::Current(), path_, bytes_) != 0) Fail("restore " + path_);
}

std::vector<Family>& Families() {
  static std::vector<Family> families;
  return families;
}

std::vector<Operation>& Operations() {
  static std::vector<Operation> operations;
  return operations;
}

bool AddFamily(const std::string& name, const std::string& fileName,
               std::function<void(const std::string& dir)> writeSample, std::vector<int> sizes) {
  Families().push_back({name, fileName, std::move(writeSample), std::move(sizes)});
  return true;
}

bool AddOperation(Operation operation) {
  Operations().push_back(std::move(operation));
  return true;
}

std::vector<Operation> OperationsOf(const Family& family) {
  std::vector<Operation> own;
  for (const Operation& operation : Operations()) {
    if (operation.family == family.name) own.push_back(operation);
  }
  auto used = [&own](const std::string& baseline) {
    for (const Operation& operation : own) {
      if (operation.baseline == baseline) return true;
    }
    return baseline == "parse" || baseline == "save";
  };
  const std::pair<const char*, void (*)(Folder&)> baselines[] = {
      {"parse", BaselineParse},
      {"extract", BaselineExtract},
      {"save", BaselineSave},
      {"save_scan100", BaselineSaveScan100}};
  std::vector<Operation> result;
  for (const auto& [name, run] : baselines) {
    if (used(name)) result.push_back({family.name, name, "", false, run});
  }
  result.insert(result.end(), own.begin(), own.end());
  return result;
}

const Family* FindFamily(const std::string& name) {
  for (const Family& family : Families()) {
    if (family.name == name) return &family;
  }
  return nullptr;
}

void BaselineParse(Folder& folder) {
  std::string text;
  pugi::xml_document doc;
  Load(folder, &text, &doc);
  benchmark::DoNotOptimize(doc.first_child());
}

void BaselineExtract(Folder& folder) {
  std::string text;
  pugi::xml_document doc;
  Load(folder, &text, &doc);
  std::vector<std::string> fields;
  for (pugi::xml_node item : Items(doc).children("item")) {
    for (pugi::xml_node field : item.children()) {
      if (field.first_child().type() == pugi::node_element) {
        for (pugi::xml_node detail : field.children()) fields.emplace_back(detail.child_value());
      } else {
        fields.emplace_back(field.child_value());
      }
    }
  }
  benchmark::DoNotOptimize(fields.data());
}

void BaselineSave(Folder& folder) {
  std::string text;
  pugi::xml_document doc;
  Load(folder, &text, &doc);
  Save(folder, doc);
}

void BaselineSaveScan100(Folder& folder) {
  std::string text;
  pugi::xml_document doc;
  Load(folder, &text, &doc);
  const pugi::xml_node items = Items(doc);
  const int step = folder.size() >= 100 ? folder.size() / 100 : 1;
  for (int k = 0; k < 100; ++k) {
    const std::string key = Guid((k * step) % (folder.size() > 0 ? folder.size() : 1));
    pugi::xml_node found;
    for (pugi::xml_node item : items.children("item")) {
      if (std::strcmp(item.child("guid").child_value(), key.c_str()) == 0) {
        found = item;
        break;
      }
    }
    benchmark::DoNotOptimize(found);
  }
  Save(folder, doc);
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "foldwise_bench: %s failed\n", what.c_str());
  std::abort();
}

}  // namespace bench
}  // namespace Foldwise
