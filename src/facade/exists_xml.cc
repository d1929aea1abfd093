// The presence check of the folder files in a directory: existence only, no file is opened.
#include <cerrno>
#include <string>

#include "foldwise/env.h"
#include "foldwise/facade.h"
#include "location/file_path.h"

namespace Foldwise {
namespace {

struct FolderFileBit {
  const char* fileName;
  unsigned long bit;
};

// Tested in this order; both files of a plain/encrypted pair set the same bit.
constexpr FolderFileBit kFolderFiles[] = {
    {"VoiceFolder.xml", kVoiceFolderBit},
    {"VoiceEFolder.xml", kVoiceFolderBit},
    {"SentItemsFolder.xml", kSentItemsFolderBit},
    {"SentItemsEFolder.xml", kSentItemsFolderBit},
    {"OutBoxFolder.xml", kOutBoxFolderBit},
    {"DocumentsFolder.xml", kDocumentsFolderBit},
    {"InBoxTypistFolder.xml", kInBoxTypistFolderBit},
    {"InBoxTypistEFolder.xml", kInBoxTypistFolderBit},
    {"OutBoxTypistFolder.xml", kOutBoxTypistFolderBit},
    {"SentItemsTypistFolder.xml", kSentItemsTypistFolderBit},
    {"DocumentsTypistFolder.xml", kDocumentsTypistFolderBit},
};

// A file counts unless the system says plainly that it is not there: one that exists but
// cannot be examined (no search permission, an I/O error) still counts. ENOTDIR says the same
// as ENOENT on POSIX when the "directory" is a regular file, where Windows reports ENOENT.
bool CountsAsPresent(Env* env, const std::string& path) {
  const int error = env->Access(path, kAccessExists);
  return error != ENOENT && error != ENOTDIR;
}

}  // namespace

unsigned long CFoldwise::ExistsXML(const char* dir) {
  if (dir == nullptr || *dir == '\0') return 0;
  // As a directory, so that the text with or without trailing separators names the same one.
  FilePath directory;
  directory.Assign(dir);
  std::string text = directory.GetPath();
  // Only separators: the root, which trimming would have turned into the empty text.
  if (text.empty()) text = "/";
  Env* env = Env::Current();
  if (env->Access(text, kAccessExists) != 0) return 0;
  unsigned long bits = 0;
  for (const FolderFileBit& file : kFolderFiles) {
    if (CountsAsPresent(env, JoinPath(text, file.fileName))) bits |= file.bit;
  }
  return bits;
}

}  // namespace Foldwise
