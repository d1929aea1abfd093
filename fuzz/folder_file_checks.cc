// Arbitrary bytes as a folder file, then every operation of the folder's family on it.
#include <filesystem>
#include <fstream>

#include "dom/dom.h"
#include "foldwise/errors.h"
#include "foldwise/xml_document.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"
#include "harness/folder_model.h"

namespace Foldwise {
namespace fuzz {
namespace {

// Whether bytes that do not parse (none when |content| is empty: an empty file counts as
// missing, and the folder may write its template there) survive: where they were, or set aside
// as <file>.damaged-<time>.
bool Survives(const std::string& root, const std::string& path, const std::string& content) {
  if (content.empty()) return true;
  const std::string file = std::filesystem::path(path).generic_string();
  for (const auto& [name, bytes] : Snapshot(root)) {
    if (bytes == content && (name == file || name.rfind(file + ".damaged-", 0) == 0)) return true;
  }
  return false;
}

}  // namespace

std::string CheckFolderFile(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return "";
  FakeNetwork network;
  const std::string root = FreshScratch("files");
  const std::string scratch = FreshScratch("files-read");
  harness::PrepareRoot(root);
  const std::vector<std::string> files = harness::FolderFiles();
  const std::string file = files[data[0] % files.size()];
  const std::string content(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string path = root + "/" + file;
  {
    std::ofstream out(path, std::ios::binary);
    out << content;
  }
  DomDocument probe;
  const bool parses = probe.LoadXml(content);

  // The synchroniser works on a documents file too (the other one is missing here).
  const harness::Family family = harness::FamilyOf(file);
  const bool documents = family == harness::kDocuments || family == harness::kTypistDocuments;
  const std::string dir = root + "/" + file.substr(0, file.find('/'));
  (void)harness::ReadFile(root, file, scratch);
  for (const harness::Operation& op : harness::AllOperations()) {
    if (op.family != family && !(documents && op.family == harness::kDocumentsSync)) continue;
    harness::Texts texts;
    try {
      op.run(dir, texts);
    } catch (const ComError&) {
      // The documents and outbox folders report DOM failures this way.
    }
    if (CXmlDocument::IsCacheActive()) CXmlDocument::DeactiveCacheDOMDocument(1);
    (void)harness::ReadFile(root, file, scratch);
    if (!Survives(root, path, parses ? "" : content)) {
      return file + ": " + op.name + " changed a file that does not parse and did not set it aside";
    }
  }
  return "";
}

}  // namespace fuzz
}  // namespace Foldwise
