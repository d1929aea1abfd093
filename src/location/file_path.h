// A file-system path composed from a directory and a file name, split like the C runtime's
// _splitpath and converted between its local and storage forms by the network path resolver.
// It lives with the location services because its conversions call the resolver; the path text
// helpers it builds on (base/path_text.h) come with it for its users.
#ifndef FOLDWISE_LOCATION_FILE_PATH_H_
#define FOLDWISE_LOCATION_FILE_PATH_H_

#include <string>

#include "base/path_text.h"

namespace Foldwise {

class FilePath {
 public:
  FilePath() = default;
  explicit FilePath(const std::string& fullPath) { Assign(fullPath); }
  FilePath(const std::string& dir, const std::string& name) {
    SetDirectory(dir);
    SetFileName(name);
  }

  // Stores |text| without trailing separators, remembering whether it had one (then it names a
  // directory when split).
  void Assign(const std::string& text);
  // Replaces drive and directory by |dir|, keeping the file name; one separator between them.
  void SetDirectory(const std::string& dir);
  // Replaces file name and extension by |name|, keeping drive and directory.
  void SetFileName(const std::string& name);

  const std::string& GetPath() const { return path; }
  // Drive and directory without trailing separator.
  std::string GetDirectory() const;
  // The file name with its extension.
  std::string GetFileName() const;
  // The text after the last period of the file name, without leading periods.
  std::string GetExtension() const;

  // The path usable on this machine: a network path mapped to a local one by the resolver (empty
  // when it cannot be mapped); any other path unchanged.
  std::string GetLocalPath(int mayConnect) const;
  // Replaces the path by GetLocalPath; 1 when that is non-empty, else 0 and the path stays.
  int ToLocalPath(int mayConnect);
  // Replaces the path by its storage form; 1 when that is non-empty, else 0 and the path stays.
  int Canonicalize();

  // The parts _splitpath gives: a drive only for a drive path ("C:"), the directory with its
  // trailing separator, the base name, and the extension with its period.
  struct Parts {
    std::string drive;
    std::string dir;
    std::string fname;
    std::string ext;
  };
  Parts Split() const;

 private:
  std::string path;
  int hadTrailingSeparator = 0;
};

}  // namespace Foldwise

#endif  // FOLDWISE_LOCATION_FILE_PATH_H_
