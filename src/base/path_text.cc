#include "base/path_text.h"

#include <cctype>

namespace Foldwise {

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  // Only the root ends in a separator here; a second one would make it a network path.
  if (IsPathSeparator(dir.back())) return dir + name;
  return dir + kNativeSeparator + name;
}

void TrimTrailingSeparators(std::string& path) {
  // The root keeps its separator: trimmed to nothing it would name the current directory.
  while (path.size() > 1 && IsPathSeparator(path.back())) path.pop_back();
}

namespace path_text {
namespace {

char Folded(char c) {
  if (IsPathSeparator(c)) return '\\';
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool SameChar(char a, char b) { return Folded(a) == Folded(b); }

}  // namespace

bool IsUncPath(std::string_view path) {
  return path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]);
}

bool IsDrivePath(std::string_view path) { return path.size() >= 2 && path[1] == ':'; }

bool IsPosixPath(std::string_view path) {
  return !path.empty() && path[0] == '/' && (path.size() < 2 || !IsPathSeparator(path[1]));
}

bool LostOneBackslash(std::string_view path) {
  return !path.empty() && path[0] == '\\' && (path.size() < 2 || !IsPathSeparator(path[1]));
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::string_view::size_type i = 0; i < a.size(); ++i) {
    if (!SameChar(a[i], b[i])) return false;
  }
  return true;
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool StartsAtBoundary(std::string_view text, std::string_view prefix) {
  if (!StartsWithText(text, prefix)) return false;
  if (!prefix.empty() && IsPathSeparator(prefix.back())) return true;
  return text.size() == prefix.size() || IsPathSeparator(text[prefix.size()]);
}

int CountSeparators(std::string_view path) {
  int count = 0;
  for (char c : path) count += IsPathSeparator(c) ? 1 : 0;
  return count;
}

std::string JoinInForm(std::string_view base, std::string_view rest) {
  const char separator = IsPosixPath(base) ? '/' : '\\';
  while (!rest.empty() && IsPathSeparator(rest.front())) rest.remove_prefix(1);
  std::string joined(base);
  if (rest.empty()) return joined;
  while (!joined.empty() && IsPathSeparator(joined.back())) joined.pop_back();
  joined.push_back(separator);
  for (char c : rest) joined.push_back(IsPathSeparator(c) ? separator : c);
  return joined;
}

void TrimResult(std::string& path) {
  const bool posix_root = IsPosixPath(path);
  // The root keeps its separator: trimmed to nothing it would name the current directory.
  while (path.size() > 1 && IsPathSeparator(path.back())) path.pop_back();
  if (path.empty() && posix_root) path = "/";
}

bool IsServerShare(std::string_view path) {
  if (!IsUncPath(path)) return false;
  const std::string_view names = path.substr(2);
  std::string_view::size_type separator = std::string_view::npos;
  for (std::string_view::size_type i = 0; i < names.size(); ++i) {
    if (!IsPathSeparator(names[i])) continue;
    if (separator != std::string_view::npos) return false;
    separator = i;
  }
  return separator != std::string_view::npos && separator > 0 && separator + 1 < names.size();
}

bool SplitServerShare(std::string_view path, std::string* prefix, std::string* rest) {
  if (!IsUncPath(path)) return false;
  std::string_view::size_type cut = path.size();
  while (true) {
    const std::string_view candidate = path.substr(0, cut);
    if (IsServerShare(candidate)) {
      prefix->assign(candidate);
      rest->assign(path.substr(cut));
      return true;
    }
    // Cut at the last separator of what remains, beyond the two leading ones.
    std::string_view::size_type next = std::string_view::npos;
    for (std::string_view::size_type i = cut; i > 2; --i) {
      if (IsPathSeparator(path[i - 1])) {
        next = i - 1;
        break;
      }
    }
    if (next == std::string_view::npos) return false;
    cut = next;
  }
}

std::string ServerOf(std::string_view path) {
  if (!IsUncPath(path)) return std::string();
  std::string_view::size_type end = 2;
  while (end < path.size() && !IsPathSeparator(path[end])) ++end;
  return std::string(path.substr(2, end - 2));
}

bool SplitServer(std::string_view path, std::string* server, std::string* rest) {
  if (!IsUncPath(path)) return false;
  std::string_view::size_type end = 2;
  while (end < path.size() && !IsPathSeparator(path[end])) ++end;
  if (end == 2 || end + 1 >= path.size()) return false;
  server->assign(path.substr(2, end - 2));
  rest->assign(path.substr(end + 1));
  return true;
}

std::string WithBackslashes(std::string_view text) {
  std::string converted(text);
  for (char& c : converted) {
    if (IsPathSeparator(c)) c = '\\';
  }
  return converted;
}

}  // namespace path_text
}  // namespace Foldwise
