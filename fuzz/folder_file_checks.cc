// Arbitrary bytes as a folder file, then the folder's operations on it.
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

using harness::Kind;
using harness::Op;

Op MakeOp(harness::Family family, Kind kind, const char* guid, const char* name) {
  Op op;
  op.family = family;
  op.kind = kind;
  op.guid = guid;
  op.name = name;
  op.status = "on";
  op.version = 110;
  return op;
}

// Every changing operation the kill loop knows for |family|, plus a cache bracket around one.
std::vector<Op> OperationsOf(harness::Family family) {
  std::vector<Op> ops;
  switch (family) {
    case harness::kAttributes:
      ops.push_back(MakeOp(family, Kind::kSwitch, "", ""));
      ops.push_back(MakeOp(family, Kind::kSwitch, "", ""));
      ops.back().flag = 1;
      ops.back().status = "off";
      break;
    case harness::kVoice:
    case harness::kSentItems:
    case harness::kTypistInbox:
      ops.push_back(MakeOp(family, Kind::kAdd, "g1", "a.wav"));
      ops.push_back(MakeOp(family, Kind::kAdd, "g2", "b.$wv"));
      ops.push_back(MakeOp(family, Kind::kChange, "g1", ""));
      ops.push_back(MakeOp(family, Kind::kDelete, "g0", ""));
      ops.push_back(MakeOp(family, Kind::kSetList, "", ""));
      break;
    case harness::kOutbox:
    case harness::kTypistOutbox:
      ops.push_back(MakeOp(family, Kind::kChange, "g0", ""));
      [[fallthrough]];
    default:
      ops.push_back(MakeOp(family, Kind::kAdd, "g1", "a.doc"));
      ops.push_back(MakeOp(family, Kind::kDelete, "g0", ""));
  }
  Op bracket;
  bracket.kind = Kind::kBracket;
  bracket.parts.push_back(ops.front());
  ops.push_back(bracket);
  return ops;
}

}  // namespace

std::string CheckFolderFile(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return "";
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

  (void)harness::ReadFile(root, file, scratch);
  for (const Op& op : OperationsOf(harness::FamilyOf(file))) {
    try {
      harness::Execute(op, root);
    } catch (const ComError&) {
      // The documents and outbox folders report DOM failures this way.
    }
    if (CXmlDocument::IsCacheActive()) CXmlDocument::DeactiveCacheDOMDocument(1);
    (void)harness::ReadFile(root, file, scratch);
  }
  // An empty file counts as missing: the folder may write its template there. Bytes that do
  // not parse must survive: where they were, or set aside as <file>.damaged-<time>.
  if (parses || content.empty()) return "";
  for (const auto& [name, bytes] : Snapshot(root)) {
    if (bytes == content && (name == path || name.rfind(path + ".damaged-", 0) == 0)) return "";
  }
  return file + ": a file that does not parse was changed and not set aside";
}

}  // namespace fuzz
}  // namespace Foldwise
