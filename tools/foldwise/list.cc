// foldwise list DIR FOLDER [--json]: one folder's entries (and an outbox's servers).
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "tool.h"

namespace foldwise_tool {

int RunList(const std::string& dir, const std::string& folderName, bool json) {
  const FolderInfo* folder = FindFolder(folderName);
  if (folder == nullptr) {
    std::fprintf(stderr, "foldwise list: unknown folder \"%s\"; FOLDER is one of: %s\n",
                 folderName.c_str(), FolderNames().c_str());
    return kExitError;
  }
  const std::string dirError = CheckDirectory(dir);
  if (!dirError.empty()) {
    std::fprintf(stderr, "foldwise list: %s\n", dirError.c_str());
    return kExitError;
  }
  const std::string problems = InspectFolderFiles(dir, *folder);
  if (!problems.empty()) {
    std::fprintf(stderr, "foldwise list: the %s folder cannot be listed:\n%s", folder->name,
                 problems.c_str());
    return kExitError;
  }
  Json contents;
  try {
    contents = ReadFolder(dir, *folder);
  } catch (const std::runtime_error& e) {
    std::fprintf(stderr, "foldwise list: %s\n", e.what());
    return kExitError;
  }
  if (json) {
    std::printf("%s\n", contents.dump(2, ' ', false, Json::error_handler_t::replace).c_str());
    return kExitOk;
  }
  const std::vector<Json> entries = contents["entries"];
  std::printf("%s folder (%s) in %s: %zu entr%s\n\n", folder->name, folder->title, dir.c_str(),
              entries.size(), entries.size() == 1 ? "y" : "ies");
  PrintTable(entries, "(no entries)");
  if (contents.contains("servers")) {
    const std::vector<Json> servers = contents["servers"];
    std::printf("\nservers: %zu\n\n", servers.size());
    PrintTable(servers, "(no servers)");
  }
  return kExitOk;
}

}  // namespace foldwise_tool
