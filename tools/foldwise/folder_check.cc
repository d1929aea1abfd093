// The layout every folder file must have, checked on the tree of the well-formedness scan.
#include <algorithm>
#include <string>
#include <vector>

#include "tool.h"
#include "xml_scan.h"

namespace foldwise_tool {
namespace {

// What a file of one kind may hold: the children of `root`, which of them must be there, and
// what the list element (`item_list` or `attribute`) may hold.
struct Layout {
  std::vector<std::string> rootChildren;
  std::vector<std::string> required;
  std::string list;
  std::vector<std::string> listChildren;
};

Layout LayoutOf(const std::string& fileName) {
  if (fileName == "FolderAttr.xml") {
    return {{"attribute"}, {"attribute"}, "attribute", {"cryptical", "confidential"}};
  }
  if (fileName == "OutBoxFolder.xml" || fileName == "OutBoxTypistFolder.xml") {
    return {{"server_info_list", "item_list"}, {"item_list"}, "item_list", {"item"}};
  }
  if (fileName == "DocumentsFolder.xml" || fileName == "DocumentsTypistFolder.xml") {
    return {{"item_list"}, {"item_list"}, "item_list", {"document_file_path", "item"}};
  }
  if (fileName == "SentItemsTypistFolder.xml") {
    return {{"item_list"}, {"item_list"}, "item_list", {"item"}};
  }
  // The item files of the voice folder, the sent items and the typist inbox; the first and last
  // keep one dictation path for all their items.
  return {{"item_list"}, {"item_list"}, "item_list", {"dictation_file_path", "item"}};
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

void CheckFolderFile(const std::string& fileName, const std::string& text,
                     std::vector<Problem>* problems) {
  // An empty file is what a folder leaves after a busy-check on a missing file; every folder
  // reads it as a folder without entries.
  if (text.empty()) return;
  const XmlScan scan = ScanXml(text);
  if (!scan.ok) {
    problems->push_back({fileName, LineColumn(text, scan.errorOffset), scan.error});
    return;
  }
  auto report = [&](const XmlElement& at, const std::string& message) {
    problems->push_back({fileName, LineColumn(text, at.offset), message});
  };
  if (scan.root.name != "root") {
    report(scan.root, "the document element is <" + scan.root.name + ">, not <root>");
    return;
  }
  const Layout layout = LayoutOf(fileName);
  for (const std::string& name : layout.required) {
    const auto count = std::count_if(scan.root.children.begin(), scan.root.children.end(),
                                     [&](const XmlElement& e) { return e.name == name; });
    if (count == 0) report(scan.root, "<root> has no <" + name + ">");
    if (count > 1) report(scan.root, "<root> has " + std::to_string(count) + " <" + name + ">");
  }
  for (const XmlElement& child : scan.root.children) {
    if (!Contains(layout.rootChildren, child.name)) {
      report(child, "unexpected <" + child.name + "> in <root>");
      continue;
    }
    if (child.name == "server_info_list") {
      for (const XmlElement& server : child.children) {
        if (server.name != "server_info") {
          report(server, "unexpected <" + server.name + "> in <server_info_list>");
        }
      }
    }
    if (child.name != layout.list) continue;
    for (const XmlElement& entry : child.children) {
      if (!Contains(layout.listChildren, entry.name)) {
        report(entry, "unexpected <" + entry.name + "> in <" + layout.list + ">");
      }
    }
  }
}

}  // namespace foldwise_tool
