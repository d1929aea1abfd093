// Cost of the voice folder's operations beside what parsing and saving the same file costs
// with pugixml alone. Each operation runs on a folder of 100, 1,000 and 10,000 entries; the
// baselines load the same file and write it back through the same crash-safe save.
//
// The default run is short (a minimum time of 0.05 s per case, so CI may run it); pass
// --benchmark_min_time=1 for steadier figures.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "foldwise/foldwise.h"

namespace Foldwise {
namespace {

VOICE_ITEM_XML_DATA Entry(int i) {
  VOICE_ITEM_XML_DATA item;
  item.guid = "{6F9619FF-8B86-D011-B42D-" + std::to_string(100000000000 + i) + "}";
  item.dictation_file_name = "dictation" + std::to_string(i) + ".dss";
  item.status = "recorded";
  item.document_file_name = "letter" + std::to_string(i) + ".doc";
  item.document_file_path = "/home/author/documents/letters";
  item.archive = "0";
  item.sent = "12/06/26";
  item.protocol = "mail";
  return item;
}

// A data directory holding a voice folder of |n| entries, restored to that state on demand.
class Folder {
 public:
  explicit Folder(int n) : n_(n) {
    std::string pattern = (std::filesystem::temp_directory_path() / "foldwise-bench-XXXXXX");
    dir_ = ::mkdtemp(pattern.data());
    path_ = dir_ + "/VoiceFolder.xml";
    voice.SetXmlFalePath(dir_.c_str());
    std::vector<VOICE_ITEM_XML_DATA> items;
    items.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) items.push_back(Entry(i));
    voice.SetItemListXML(n, items.data());
    Env::Current()->ReadFile(path_, &bytes_, kNoLock);
  }
  ~Folder() { std::filesystem::remove_all(dir_); }

  void Restore() const { WriteFileAtomically(Env::Current(), path_, bytes_); }
  const std::string& path() const { return path_; }
  std::size_t bytes() const { return bytes_.size(); }
  int size() const { return n_; }

  CVoiceFolderXML voice;

 private:
  int n_;
  std::string dir_;
  std::string path_;
  std::string bytes_;
};

Folder& FolderOf(int n) {
  static std::map<int, std::unique_ptr<Folder>> folders;
  auto& folder = folders[n];
  if (!folder) folder = std::make_unique<Folder>(n);
  return *folder;
}

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

void Parse(const std::string& path, pugi::xml_document* doc) {
  std::string text;
  Env::Current()->ReadFile(path, &text, kNoLock);
  if (!doc->load_buffer(text.data(), text.size(), kParseFlags)) std::abort();
}

void Report(benchmark::State& state, const Folder& folder) {
  state.counters["file_kb"] = static_cast<double>(folder.bytes()) / 1024.0;
}

// Read and parse only: the floor of listing and getting.
void BM_BaselineParse(benchmark::State& state) {
  Folder& folder = FolderOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    pugi::xml_document doc;
    Parse(folder.path(), &doc);
    benchmark::DoNotOptimize(doc.first_child());
  }
  Report(state, folder);
}

// Read, parse, serialise and save: the floor of every operation that changes the file.
void BM_BaselineParseSave(benchmark::State& state) {
  Folder& folder = FolderOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    pugi::xml_document doc;
    Parse(folder.path(), &doc);
    std::string out;
    StringWriter writer(&out);
    for (pugi::xml_node child = doc.first_child(); child; child = child.next_sibling()) {
      child.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
      out.append("\r\n");
    }
    if (WriteFileAtomically(Env::Current(), folder.path(), out) != 0) std::abort();
  }
  Report(state, folder);
}

void BM_List(benchmark::State& state) {
  Folder& folder = FolderOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    long count = 0;
    VOICE_ITEMLIST_XML_DATA* list = nullptr;
    if (!folder.voice.GetItemListXML(&count, &list) || count != folder.size()) std::abort();
    CVoiceFolderXML::ReleaseItemList(list);
  }
  Report(state, folder);
}

void BM_Get(benchmark::State& state) {
  Folder& folder = FolderOf(static_cast<int>(state.range(0)));
  VOICE_ITEM_XML_DATA key;
  key.guid = Entry(folder.size() - 1).guid;  // the last entry: the whole list is searched
  VOICE_ITEM_XML_DATA out;
  for (auto _ : state) {
    if (!folder.voice.GetItemXML(key, &out)) std::abort();
  }
  Report(state, folder);
}

void BM_Add(benchmark::State& state) {
  Folder& folder = FolderOf(static_cast<int>(state.range(0)));
  VOICE_ITEM_XML_DATA item = Entry(folder.size());
  for (auto _ : state) {
    if (!folder.voice.AddItemXML(item, 1)) std::abort();
    state.PauseTiming();
    folder.Restore();
    state.ResumeTiming();
  }
  Report(state, folder);
}

void BM_Change(benchmark::State& state) {
  Folder& folder = FolderOf(static_cast<int>(state.range(0)));
  VOICE_ITEM_XML_DATA key;
  key.guid = Entry(folder.size() / 2).guid;
  VOICE_ITEM_XML_DATA values;
  bool flip = false;
  for (auto _ : state) {
    values.status = (flip = !flip) ? "typed" : "recorded";  // same size either way
    if (!folder.voice.ChangeItemXML(key, values, 1)) std::abort();
  }
  Report(state, folder);
}

void BM_Delete(benchmark::State& state) {
  Folder& folder = FolderOf(static_cast<int>(state.range(0)));
  VOICE_ITEM_XML_DATA key;
  key.guid = Entry(folder.size() / 2).guid;
  for (auto _ : state) {
    if (!folder.voice.DelItemXML(key)) std::abort();
    state.PauseTiming();
    folder.Restore();
    state.ResumeTiming();
  }
  Report(state, folder);
}

#define FOLDWISE_FOLDER_SIZES(bm) \
  BENCHMARK(bm)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)

FOLDWISE_FOLDER_SIZES(BM_BaselineParse);
FOLDWISE_FOLDER_SIZES(BM_BaselineParseSave);
FOLDWISE_FOLDER_SIZES(BM_List);
FOLDWISE_FOLDER_SIZES(BM_Get);
FOLDWISE_FOLDER_SIZES(BM_Add);
FOLDWISE_FOLDER_SIZES(BM_Change);
FOLDWISE_FOLDER_SIZES(BM_Delete);

}  // namespace
}  // namespace Foldwise

int main(int argc, char** argv) {
  std::vector<char*> args(argv, argv + argc);
  bool timeGiven = false;
  for (char* arg : args) timeGiven |= std::string(arg).rfind("--benchmark_min_time", 0) == 0;
  static char shortRun[] = "--benchmark_min_time=0.05";
  if (!timeGiven) args.push_back(shortRun);
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
