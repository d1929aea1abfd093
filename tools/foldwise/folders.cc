// The folders of a data directory, their files, and reading data files for the tool.
#include <cstring>
#include <string>
#include <vector>

#include "foldwise/env.h"
#include "foldwise/facade.h"
#include "tool.h"

namespace foldwise_tool {

const std::vector<FolderInfo>& Folders() {
  static const std::vector<FolderInfo> folders = {
      {"voice",
       "author: recorded dictations",
       {"VoiceFolder.xml", "VoiceEFolder.xml"},
       Foldwise::kVoiceFolderBit},
      {"outbox", "author: deliveries queued", {"OutBoxFolder.xml"}, Foldwise::kOutBoxFolderBit},
      {"sent-items",
       "author: dictations sent",
       {"SentItemsFolder.xml", "SentItemsEFolder.xml"},
       Foldwise::kSentItemsFolderBit},
      {"documents",
       "author: documents received",
       {"DocumentsFolder.xml"},
       Foldwise::kDocumentsFolderBit},
      {"inbox",
       "typist: dictations received",
       {"InBoxTypistFolder.xml", "InBoxTypistEFolder.xml"},
       Foldwise::kInBoxTypistFolderBit},
      {"typist-documents",
       "typist: documents typed",
       {"DocumentsTypistFolder.xml"},
       Foldwise::kDocumentsTypistFolderBit},
      {"typist-outbox",
       "typist: documents queued",
       {"OutBoxTypistFolder.xml"},
       Foldwise::kOutBoxTypistFolderBit},
      {"typist-sent-items",
       "typist: documents sent",
       {"SentItemsTypistFolder.xml"},
       Foldwise::kSentItemsTypistFolderBit},
  };
  return folders;
}

const FolderInfo* FindFolder(const std::string& name) {
  for (const FolderInfo& folder : Folders()) {
    if (name == folder.name) return &folder;
  }
  return nullptr;
}

std::string FolderNames() {
  std::string names;
  for (const FolderInfo& folder : Folders()) {
    if (!names.empty()) names += ", ";
    names += folder.name;
  }
  return names;
}

std::string JoinFile(const std::string& dir, const std::string& name) {
  if (!dir.empty() && (dir.back() == '/' || dir.back() == '\\')) return dir + name;
  return dir + "/" + name;
}

std::string CheckDirectory(const std::string& dir) {
  if (dir.empty()) return "no data directory given";
  Foldwise::Env* env = Foldwise::Env::Current();
  const int error = env->Access(dir, Foldwise::kAccessExists);
  if (error != 0) return "cannot use data directory " + dir + ": " + std::strerror(error);
  // A regular file passes the existence test; a file below it does not.
  const int below = env->Access(JoinFile(dir, "."), Foldwise::kAccessExists);
  if (below != 0) return dir + " is not a directory";
  return "";
}

std::string ReadDataFile(const std::string& path, std::string* contents) {
  const int error = Foldwise::Env::Current()->ReadFile(path, contents, Foldwise::kNoLock);
  if (error != 0) return "cannot read " + path + ": " + std::strerror(error);
  return "";
}

}  // namespace foldwise_tool
