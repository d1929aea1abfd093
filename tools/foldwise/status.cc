// foldwise status DIR: which folder files exist, how many entries each folder holds, and the
// folder attributes.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "foldwise/foldwise.h"
#include "tool.h"

namespace foldwise_tool {
namespace {

// The attribute switches, read only when FolderAttr.xml is there (reading never creates it).
std::string AttributesText(const std::string& dir) {
  Foldwise::CFolderAttrXML attributes;
  attributes.SetDirectory(dir);
  if (!attributes.IsExistXml()) return "FolderAttr.xml absent: encryption off, confidentiality off";
  auto describe = [](int on, int version) {
    if (!on) return std::string("off");
    return version > 0 ? "on (version " + std::to_string(version) + ")" : std::string("on");
  };
  return "FolderAttr.xml: encryption " +
         describe(attributes.IsEncryption(), attributes.GetEncryptionVer()) + ", confidentiality " +
         describe(attributes.IsConfidentiality(), attributes.GetConfidentialityVer());
}

}  // namespace

int RunStatus(const std::string& dir) {
  const std::string dirError = CheckDirectory(dir);
  if (!dirError.empty()) {
    std::fprintf(stderr, "foldwise status: %s\n", dirError.c_str());
    return kExitError;
  }
  const unsigned long present = Foldwise::CFoldwise::ExistsXML(dir.c_str());
  std::printf("data directory  %s\nExistsXML       0x%02lx\n\n", dir.c_str(), present);

  int status = kExitOk;
  std::vector<Json> rows;
  for (const FolderInfo& folder : Folders()) {
    std::string files;
    for (const char* name : folder.files) {
      if (Foldwise::Env::Current()->Access(JoinFile(dir, name), Foldwise::kAccessExists) == 0) {
        files += files.empty() ? name : std::string(" ") + name;
      }
    }
    std::string entries = "-";
    std::string servers;
    if (present & folder.bit) {
      const std::string problems = InspectFolderFiles(dir, folder);
      if (!problems.empty()) {
        std::fprintf(stderr, "%s", problems.c_str());
        entries = "unreadable";
        status = kExitError;
      } else {
        try {
          const Json contents = ReadFolder(dir, folder);
          entries = std::to_string(contents["entries"].size());
          if (contents.contains("servers")) servers = std::to_string(contents["servers"].size());
        } catch (const std::runtime_error& e) {
          std::fprintf(stderr, "%s\n", e.what());
          entries = "unreadable";
          status = kExitError;
        }
      }
    }
    rows.push_back(Json{{"folder", folder.name},
                        {"kept by", folder.title},
                        {"files", files.empty() ? "(none)" : files},
                        {"entries", entries},
                        {"servers", servers}});
  }
  PrintTable(rows, "");
  std::printf("\nattributes      %s\n", AttributesText(dir).c_str());
  if (status != kExitOk) {
    std::fprintf(stderr, "foldwise status: some folder files cannot be read; run foldwise check\n");
  }
  return status;
}

}  // namespace foldwise_tool
