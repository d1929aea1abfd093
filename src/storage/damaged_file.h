// Files that do not parse are never destroyed: an operation that writes a new file in place of
// one is first to move a damaged one aside, under a name `foldwise check` lists.
#ifndef FOLDWISE_STORAGE_DAMAGED_FILE_H_
#define FOLDWISE_STORAGE_DAMAGED_FILE_H_

#include <ctime>
#include <string>

namespace Foldwise {

// The text put after a folder file's name when it is set aside: ".damaged-" and the UTC time
// as YYYYMMDD-HHMMSS, then "-2", "-3"... should that name be taken.
constexpr char kDamagedSuffix[] = ".damaged-";
std::string DamagedFileName(const std::string& path, std::time_t when);

// Makes way for a new file at |path|: a file there with content that does not parse is renamed
// aside (see DamagedFileName) through the Env, and the rename made durable. True when |path|
// may now be replaced: it is missing or empty, it parses, or it was set aside. False when it
// cannot be read or the rename failed; then it is left as it is.
bool MakeWayForNewFile(const std::string& path);

}  // namespace Foldwise

#endif  // FOLDWISE_STORAGE_DAMAGED_FILE_H_
