#include "location/file_path.h"

#include "foldwise/location.h"

namespace Foldwise {

void FilePath::Assign(const std::string& text) {
  hadTrailingSeparator = !text.empty() && IsPathSeparator(text.back()) ? 1 : 0;
  path = text;
  TrimTrailingSeparators(path);
}

FilePath::Parts FilePath::Split() const {
  std::string text = path;
  // A path that named a directory splits as one: everything is directory, nothing file name.
  if (hadTrailingSeparator && (text.empty() || !IsPathSeparator(text.back()))) {
    text.push_back('/');
  }
  Parts parts;
  std::string::size_type start = 0;
  if (path_text::IsDrivePath(text)) {
    parts.drive = text.substr(0, 2);
    start = 2;
  }
  std::string::size_type last_separator = std::string::npos;
  for (std::string::size_type i = text.size(); i > start; --i) {
    if (IsPathSeparator(text[i - 1])) {
      last_separator = i - 1;
      break;
    }
  }
  std::string::size_type name_start = start;
  if (last_separator != std::string::npos) {
    parts.dir = text.substr(start, last_separator + 1 - start);
    name_start = last_separator + 1;
  }
  const std::string name = text.substr(name_start);
  const std::string::size_type period = name.find_last_of('.');
  if (period == std::string::npos) {
    parts.fname = name;
  } else {
    parts.fname = name.substr(0, period);
    parts.ext = name.substr(period);
  }
  return parts;
}

void FilePath::SetDirectory(const std::string& dir) {
  const Parts parts = Split();
  std::string directory = dir;
  TrimTrailingSeparators(directory);
  Assign(JoinPath(directory, parts.fname + parts.ext));
}

void FilePath::SetFileName(const std::string& name) {
  const Parts parts = Split();
  Assign(parts.drive + parts.dir + name);
}

std::string FilePath::GetDirectory() const {
  const Parts parts = Split();
  std::string directory = parts.drive + parts.dir;
  TrimTrailingSeparators(directory);
  return directory;
}

std::string FilePath::GetFileName() const {
  const Parts parts = Split();
  return parts.fname + parts.ext;
}

std::string FilePath::GetExtension() const {
  std::string ext = Split().ext;
  const std::string::size_type first = ext.find_first_not_of('.');
  return first == std::string::npos ? std::string() : ext.substr(first);
}

std::string FilePath::GetLocalPath(int mayConnect) const {
  if (!path_text::IsUncPath(path) || GetDirectory().empty()) return path;
  std::string local;
  NetworkPathResolver::GetInstance().ToLocalPath(path, local, mayConnect);
  return local;
}

int FilePath::ToLocalPath(int mayConnect) {
  const std::string local = GetLocalPath(mayConnect);
  if (local.empty()) return 0;
  path = local;
  return 1;
}

int FilePath::Canonicalize() {
  const std::string stored = NetworkPathResolver::GetInstance().Canonicalize(path);
  if (stored.empty()) return 0;
  path = stored;
  return 1;
}

}  // namespace Foldwise
