// Recognising and composing path texts in the forms a mixed workgroup writes: network paths
// (\\server\share\rest, or with forward slashes), drive paths (C:\dir), POSIX paths (/dir) and
// relative paths (.\dir). Both slash kinds separate components; names compare ignoring case.
//
// The bottom layer: text only, no file system, no other part of the library.
#ifndef FOLDWISE_BASE_PATH_TEXT_H_
#define FOLDWISE_BASE_PATH_TEXT_H_

#include <string>
#include <string_view>

namespace Foldwise {

// The separator this platform's own paths are composed with.
#ifdef _WIN32
constexpr char kNativeSeparator = '\\';
#else
constexpr char kNativeSeparator = '/';
#endif

// Whether |c| separates path components: '/' natively, '\\' in texts written by Windows machines.
inline bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

// Joins |dir| and |name| with exactly one native separator (none when |dir| is empty).
std::string JoinPath(const std::string& dir, const std::string& name);

// Removes every trailing separator ('\\' or '/').
void TrimTrailingSeparators(std::string& path);

namespace path_text {

// Two leading separators: a network path.
bool IsUncPath(std::string_view path);
// A colon as second character.
bool IsDrivePath(std::string_view path);
// Exactly one leading '/'.
bool IsPosixPath(std::string_view path);
// A path of this machine's own file system: a drive path or a POSIX path.
inline bool IsLocalPath(std::string_view path) { return IsDrivePath(path) || IsPosixPath(path); }
// Exactly one leading backslash: a network path that lost one of its two.
bool LostOneBackslash(std::string_view path);

// Equal ignoring case, either slash kind matching the other.
bool SameText(std::string_view a, std::string_view b);
// |text| begins with |prefix| by the rule of SameText; no boundary is required.
bool StartsWithText(std::string_view text, std::string_view prefix);
// |text| begins with |prefix| at a component boundary: |prefix| ends with a separator, or
// |text| ends there or continues with a separator.
bool StartsAtBoundary(std::string_view text, std::string_view prefix);

// The number of separators in |path|.
int CountSeparators(std::string_view path);
// |base| followed by |rest| with exactly one separator between them, in |base|'s own form: '/'
// behind a POSIX path, '\\' behind anything else; the separators of |rest| take that form too.
// Nothing is appended when |rest| holds no more than separators.
std::string JoinInForm(std::string_view base, std::string_view rest);
// Removes trailing separators, but never reduces a POSIX root "/" to nothing.
void TrimResult(std::string& path);

// \\server\share with both names non-empty and nothing after the share name.
bool IsServerShare(std::string_view path);
// Splits a network path into its \\server\share prefix and the rest (empty or starting with a
// separator) by cutting at the last separator until a server-share path remains. A path that is
// already one is its own prefix. False when no cut gives one.
bool SplitServerShare(std::string_view path, std::string* prefix, std::string* rest);
// The server of a network path: the text between the two leading separators and the next one.
std::string ServerOf(std::string_view path);
// The server of a network path and the text after the separator that follows it. False unless
// the path is a network path with a non-empty server followed by a separator and more text.
bool SplitServer(std::string_view path, std::string* server, std::string* rest);
// |text| with every separator turned into a backslash.
std::string WithBackslashes(std::string_view text);

}  // namespace path_text
}  // namespace Foldwise

#endif  // FOLDWISE_BASE_PATH_TEXT_H_
