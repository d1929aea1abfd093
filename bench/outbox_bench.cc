// Cost of the author outbox's operations beside what parsing (and saving) the same file costs
// with pugixml alone, in the same run. Each operation runs on outboxes of 100, 1,000, 10,000 and
// 100,000 mail items; the baselines load the same file and write it back through the same
// crash-safe save.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>

#include "foldwise/env.h"
#include "foldwise/outbox_folders.h"

namespace Foldwise {
namespace {

std::string Guid(int i) {
  return "{6F9619FF-8B86-D011-B42D-" + std::to_string(100000000000 + i) + "}";
}

OUTBOX_ITEM_XML_DATA OutboxItem(int i) {
  OUTBOX_ITEM_XML_DATA item;
  item.guid = Guid(i);
  item.dictation_file_name = "dictation" + std::to_string(i) + ".dss";
  item.dictation_file_path = "/home/author/dictations";
  item.protocol = "mail";
  item.date = "06.12.2026";
  item.time = "11:58";
  return item;
}

OUTBOX_SMTP_XML_DATA OutboxMail(int i) {
  OUTBOX_SMTP_XML_DATA mail;
  mail.to = "typist" + std::to_string(i % 7) + "@example.com";
  mail.subject = "Letter " + std::to_string(i);
  mail.body = "Please type.";
  return mail;
}

// The file as the outbox leaves it after a load and a save: items without indentation.
std::string OutboxText(int n) {
  std::string text =
      "<?xml version=\"1.0\"?>\r\n<!--Quillnote OutBoxFolderXML-->\r\n<root><server_info_list>"
      "<server_info><protocol>mail</protocol><server>smtp.example.com</server></server_info>"
      "</server_info_list><item_list>";
  for (int i = 0; i < n; ++i) {
    const OUTBOX_ITEM_XML_DATA item = OutboxItem(i);
    const OUTBOX_SMTP_XML_DATA mail = OutboxMail(i);
    text += "<item><guid>" + item.guid + "</guid><dictation_file_name>" + item.dictation_file_name +
            "</dictation_file_name><dictation_file_path>" + item.dictation_file_path +
            "</dictation_file_path><date>" + item.date + "</date><time>" + item.time +
            "</time><protocol>mail</protocol><mail><to>" + mail.to + "</to><subject>" +
            mail.subject + "</subject><body>" + mail.body + "</body></mail></item>";
  }
  return text + "</item_list></root>\r\n";
}

// A data directory holding an outbox of |n| items, restored to that state on demand.
class Outbox {
 public:
  explicit Outbox(int n) : n_(n), bytes_(OutboxText(n)) {
    std::string pattern = (std::filesystem::temp_directory_path() / "foldwise-outbox-XXXXXX");
    dir_ = ::mkdtemp(pattern.data());
    path_ = dir_ + "/OutBoxFolder.xml";
    folder.SetDirectory(dir_);
    Restore();
  }
  ~Outbox() { std::filesystem::remove_all(dir_); }

  void Restore() const {
    if (WriteFileAtomically(Env::Current(), path_, bytes_) != 0) std::abort();
  }
  const std::string& path() const { return path_; }
  int size() const { return n_; }
  std::size_t bytes() const { return bytes_.size(); }

  COutBoxFolderXML folder;

 private:
  int n_;
  std::string bytes_;
  std::string dir_;
  std::string path_;
};

Outbox& OutboxOf(benchmark::State& state) {
  static std::map<int, std::unique_ptr<Outbox>> outboxes;
  const int n = static_cast<int>(state.range(0));
  auto& outbox = outboxes[n];
  if (!outbox) outbox = std::make_unique<Outbox>(n);
  state.counters["file_kb"] = static_cast<double>(outbox->bytes()) / 1024.0;
  return *outbox;
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

// The floor of the reading operations.
void BM_OutboxBaselineParse(benchmark::State& state) {
  Outbox& outbox = OutboxOf(state);
  for (auto _ : state) {
    pugi::xml_document doc;
    Parse(outbox.path(), &doc);
    benchmark::DoNotOptimize(doc.first_child());
  }
}

// The floor of the changing operations.
void BM_OutboxBaselineParseSave(benchmark::State& state) {
  Outbox& outbox = OutboxOf(state);
  for (auto _ : state) {
    pugi::xml_document doc;
    Parse(outbox.path(), &doc);
    std::string out;
    StringWriter writer(&out);
    for (pugi::xml_node child = doc.first_child(); child; child = child.next_sibling()) {
      child.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
      out.append("\r\n");
    }
    if (WriteFileAtomically(Env::Current(), outbox.path(), out) != 0) std::abort();
  }
}

void BM_OutboxAdd(benchmark::State& state) {
  Outbox& outbox = OutboxOf(state);
  const OUTBOX_ITEM_XML_DATA item = OutboxItem(outbox.size());
  const OUTBOX_SMTP_XML_DATA mail = OutboxMail(outbox.size());
  for (auto _ : state) {
    outbox.folder.AddItemSmtpXML(item, mail);
    state.PauseTiming();
    if (std::filesystem::file_size(outbox.path()) <= outbox.bytes()) std::abort();
    outbox.Restore();
    state.ResumeTiming();
  }
}

// An error on the last item: the whole list is searched, then the file saved.
void BM_OutboxAddError(benchmark::State& state) {
  Outbox& outbox = OutboxOf(state);
  OUTBOX_ITEM_XML_DATA key;
  key.guid = Guid(outbox.size() - 1);
  const OUTBOX_ERRINFO_XML_DATA error{"06.12.2026", "12:00", "connection refused"};
  for (auto _ : state) {
    outbox.folder.AddItemErrInfoXML(key, error);
    state.PauseTiming();
    outbox.Restore();
    state.ResumeTiming();
  }
}

// The four-record change of the middle item's date; the file keeps its size.
void BM_OutboxChange(benchmark::State& state) {
  Outbox& outbox = OutboxOf(state);
  OUTBOX_ITEM_XML_DATA key;
  key.guid = Guid(outbox.size() / 2);
  OUTBOX_ITEM_XML_DATA values;
  bool flip = false;
  for (auto _ : state) {
    values.date = (flip = !flip) ? "07.12.2026" : "06.12.2026";
    if (!outbox.folder.ChangeItemXML(key, values, {}, {})) std::abort();
  }
}

// The last item's full delivery details: the whole list is compared.
void BM_OutboxDetailsLookup(benchmark::State& state) {
  Outbox& outbox = OutboxOf(state);
  OUTBOX_ITEMLIST_XML_DATA key;
  static_cast<OUTBOX_ITEM_XML_DATA&>(key) = OutboxItem(outbox.size() - 1);
  key.delivery_kind = kDeliveryMail;
  key.smtp = OutboxMail(outbox.size() - 1);
  for (auto _ : state) {
    OUTBOX_ITEMLIST_XML_DATA out;
    outbox.folder.GetItemXMLDetails(key, &out);
    if (out.guid != key.guid) std::abort();
  }
}

void BM_OutboxList(benchmark::State& state) {
  Outbox& outbox = OutboxOf(state);
  for (auto _ : state) {
    std::int32_t count = 0;
    OUTBOX_ITEMLIST_XML_DATA* list = nullptr;
    outbox.folder.GetItemListXML(&count, &list);
    if (count != outbox.size()) std::abort();
    outbox.folder.DelItemListXML(count, list);
  }
}

#define FOLDWISE_OUTBOX_SIZES(bm) \
  BENCHMARK(bm)->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)

FOLDWISE_OUTBOX_SIZES(BM_OutboxBaselineParse);
FOLDWISE_OUTBOX_SIZES(BM_OutboxBaselineParseSave);
FOLDWISE_OUTBOX_SIZES(BM_OutboxAdd);
FOLDWISE_OUTBOX_SIZES(BM_OutboxAddError);
FOLDWISE_OUTBOX_SIZES(BM_OutboxChange);
FOLDWISE_OUTBOX_SIZES(BM_OutboxDetailsLookup);
FOLDWISE_OUTBOX_SIZES(BM_OutboxList);

}  // namespace
}  // namespace Foldwise
