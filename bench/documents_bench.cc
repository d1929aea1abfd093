// Cost of the author documents folder's operations beside what parsing (and saving) the same
// file costs with pugixml alone, on folders of 100 to 100,000 entries. Each operation runs once
// as a host calls it without a bracket (the folder is loaded, and saved when changed, in every
// call) and once inside the host's OpenXML bracket (the tree stays in memory).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "foldwise/documents_folders.h"
#include "foldwise/env.h"

namespace Foldwise {
namespace {

DOCUMENTS_ITEMLIST_XML_DATA DocumentEntry(int i) {
  DOCUMENTS_ITEMLIST_XML_DATA entry;
  entry.guid = "{6F9619FF-8B86-D011-B42D-" + std::to_string(100000000000 + i) + "}";
  entry.document_file_name = "letter" + std::to_string(i) + ".doc";
  entry.protocol = "mail";
  entry.date = "12/06/26";
  entry.time = "11:42:00";
  entry.dictation_file_name = "dictation" + std::to_string(i) + ".dss";
  entry.dictation_file_path = "/home/author/dictations";
  entry.delivery_kind = kDeliveryMail;
  entry.smtp = {"typist@example.com", "Letter " + std::to_string(i), "Typed and attached."};
  return entry;
}

// A data directory holding DocumentsFolder.xml with |n| entries, restorable on demand.
class DocumentsFolder {
 public:
  explicit DocumentsFolder(int n) : n_(n) {
    std::string pattern = (std::filesystem::temp_directory_path() / "foldwise-bench-XXXXXX");
    dir_ = ::mkdtemp(pattern.data());
    path_ = dir_ + "/DocumentsFolder.xml";
    folder.SetDirectory(dir_);
    std::vector<DOCUMENTS_ITEMLIST_XML_DATA> entries;
    entries.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) entries.push_back(DocumentEntry(i));
    folder.SetItemListXML(n, entries.data());
    Env::Current()->ReadFile(path_, &bytes_, kNoLock);
  }
  ~DocumentsFolder() { std::filesystem::remove_all(dir_); }

  void Restore() const { WriteFileAtomically(Env::Current(), path_, bytes_); }
  const std::string& path() const { return path_; }
  int size() const { return n_; }
  void Report(benchmark::State& state) const {
    state.counters["file_kb"] = static_cast<double>(bytes_.size()) / 1024.0;
  }

  CDocumentsFolderXML folder;

 private:
  int n_;
  std::string dir_;
  std::string path_;
  std::string bytes_;
};

DocumentsFolder& FolderOf(const benchmark::State& state) {
  static std::map<int, std::unique_ptr<DocumentsFolder>> folders;
  const int n = static_cast<int>(state.range(0));
  auto& folder = folders[n];
  if (!folder) folder = std::make_unique<DocumentsFolder>(n);
  return *folder;
}

// Opens the host's bracket for the duration of a benchmark when |held|.
class HostBracket {
 public:
  HostBracket(CDocumentsFolderXML& folder, bool held) : folder_(folder), held_(held) {
    if (held_ && folder_.OpenXML() != 0) std::abort();
  }
  ~HostBracket() {
    if (held_) folder_.CloseXML(0);
  }

 private:
  CDocumentsFolderXML& folder_;
  bool held_;
};

class StringWriter : public pugi::xml_writer {
 public:
  explicit StringWriter(std::string* out) : out_(out) {}
  void write(const void* data, size_t size) override {
    out_->append(static_cast<const char*>(data), size);
  }

 private:
  std::string* out_;
};

constexpr unsigned kParseFlags =
    pugi::parse_default | pugi::parse_comments | pugi::parse_declaration | pugi::parse_pi;

void BM_DocumentsBaselineParse(benchmark::State& state) {
  DocumentsFolder& folder = FolderOf(state);
  std::string text;
  for (auto _ : state) {
    Env::Current()->ReadFile(folder.path(), &text, kNoLock);
    pugi::xml_document doc;
    if (!doc.load_buffer(text.data(), text.size(), kParseFlags)) std::abort();
    benchmark::DoNotOptimize(doc.first_child());
  }
  folder.Report(state);
}

void BM_DocumentsBaselineParseSave(benchmark::State& state) {
  DocumentsFolder& folder = FolderOf(state);
  std::string text;
  std::string out;
  for (auto _ : state) {
    Env::Current()->ReadFile(folder.path(), &text, kNoLock);
    pugi::xml_document doc;
    if (!doc.load_buffer(text.data(), text.size(), kParseFlags)) std::abort();
    out.clear();
    StringWriter writer(&out);
    for (pugi::xml_node child = doc.first_child(); child; child = child.next_sibling()) {
      child.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
      out.append("\r\n");
    }
    if (WriteFileAtomically(Env::Current(), folder.path(), out) != 0) std::abort();
  }
  folder.Report(state);
}

void BM_DocumentsAdd(benchmark::State& state, bool held) {
  DocumentsFolder& folder = FolderOf(state);
  const DOCUMENTS_ITEMLIST_XML_DATA entry = DocumentEntry(folder.size());
  DOCUMENTS_ITEM_XML_DATA key;
  key.guid = entry.guid;
  {
    HostBracket bracket(folder.folder, held);
    for (auto _ : state) {
      folder.folder.AddItemSmtpXML(entry, entry.smtp, 1);
      state.PauseTiming();
      if (held) {
        folder.folder.DelItemXML(key);
      } else {
        folder.Restore();
      }
      state.ResumeTiming();
    }
  }
  folder.Report(state);
}

void BM_DocumentsChange(benchmark::State& state, bool held) {
  DocumentsFolder& folder = FolderOf(state);
  DOCUMENTS_ITEM_XML_DATA key;
  key.guid = DocumentEntry(folder.size() - 1).guid;  // the last entry: the whole list is searched
  DOCUMENTS_ITEM_XML_DATA values;
  bool flip = false;
  {
    HostBracket bracket(folder.folder, held);
    for (auto _ : state) {
      values.dictation_file_name = (flip = !flip) ? "changed.dss" : "another.dss";
      folder.folder.ChangeItemXML(key, values);
    }
  }
  folder.Restore();
  folder.Report(state);
}

void BM_DocumentsGet(benchmark::State& state, bool held) {
  DocumentsFolder& folder = FolderOf(state);
  DOCUMENTS_ITEM_XML_DATA key;
  key.guid = DocumentEntry(folder.size() - 1).guid;
  DOCUMENTS_ITEMLIST_XML_DATA out;
  {
    HostBracket bracket(folder.folder, held);
    for (auto _ : state) {
      out.guid.clear();
      folder.folder.GetItemXML(key, &out);
      if (out.guid != key.guid) std::abort();
    }
  }
  folder.Report(state);
}

void BM_DocumentsList(benchmark::State& state, bool held) {
  DocumentsFolder& folder = FolderOf(state);
  {
    HostBracket bracket(folder.folder, held);
    for (auto _ : state) {
      long count = 0;
      DOCUMENTS_ITEMLIST_XML_DATA* list = nullptr;
      folder.folder.GetItemListXML(&count, &list);
      if (count != folder.size() + 1) std::abort();
      folder.folder.DelItemListXML(list);
    }
  }
  folder.Report(state);
}

void DocumentsSizes(benchmark::internal::Benchmark* bm) {
  bm->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_DocumentsBaselineParse)->Apply(DocumentsSizes);
BENCHMARK(BM_DocumentsBaselineParseSave)->Apply(DocumentsSizes);
BENCHMARK_CAPTURE(BM_DocumentsAdd, each_call, false)->Apply(DocumentsSizes);
BENCHMARK_CAPTURE(BM_DocumentsAdd, open_bracket, true)->Apply(DocumentsSizes);
BENCHMARK_CAPTURE(BM_DocumentsChange, each_call, false)->Apply(DocumentsSizes);
BENCHMARK_CAPTURE(BM_DocumentsChange, open_bracket, true)->Apply(DocumentsSizes);
BENCHMARK_CAPTURE(BM_DocumentsGet, each_call, false)->Apply(DocumentsSizes);
BENCHMARK_CAPTURE(BM_DocumentsGet, open_bracket, true)->Apply(DocumentsSizes);
BENCHMARK_CAPTURE(BM_DocumentsList, each_call, false)->Apply(DocumentsSizes);
BENCHMARK_CAPTURE(BM_DocumentsList, open_bracket, true)->Apply(DocumentsSizes);

}  // namespace
}  // namespace Foldwise
