#include "platform/network_config.h"

#include <cctype>
#include <cstddef>
#include <map>

#include "base/path_text.h"

namespace Foldwise {
namespace network_config {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// Splits |text| into lines, without their line ends.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::string_view::size_type end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::string_view::size_type i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::string_view::size_type start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

// The mount table writes space, tab, line feed and backslash as \040, \011, \012 and \134.
std::string Unescape(std::string_view field) {
  std::string text;
  for (std::string_view::size_type i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) &&
        IsOctal(field[i + 2]) && IsOctal(field[i + 3])) {
      const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
      if (value > 0 && value < 256) {
        text.push_back(static_cast<char>(value));
        i += 3;
        continue;
      }
    }
    text.push_back(field[i]);
  }
  return text;
}

bool IsTrue(std::string_view value) {
  const std::string lower = Lower(Trim(value));
  return lower == "yes" || lower == "true" || lower == "1" || lower == "on";
}

bool IsFalse(std::string_view value) {
  const std::string lower = Lower(Trim(value));
  return lower == "no" || lower == "false" || lower == "0" || lower == "off";
}

// Parameter and section names ignore case and whitespace ("Print OK" is "printok").
std::string NormalName(std::string_view name) {
  std::string normal;
  for (char c : name) {
    if (IsBlank(c)) continue;
    normal.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return normal;
}

std::string Unquoted(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

// A share path as the share list gives it: without trailing separators, but "/" stays "/".
std::string SharePath(std::string_view value) {
  std::string path = Unquoted(value);
  while (path.size() > 1 && IsPathSeparator(path.back())) path.pop_back();
  return path;
}

bool HoldsPath(const std::string& mountPoint, const std::string& path) {
  if (mountPoint.empty() || path.compare(0, mountPoint.size(), mountPoint) != 0) return false;
  return mountPoint.back() == '/' || path.size() == mountPoint.size() ||
         IsPathSeparator(path[mountPoint.size()]);
}

struct Section {
  std::string name;
  std::map<std::string, std::string> parameters;
};

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> mounts;
  for (std::string_view line : Lines(text)) {
    const std::vector<std::string_view> fields = Fields(line);
    // id parent major:minor root mount-point options [optional fields...] - type source ...
    std::size_t dash = 6;
    while (dash < fields.size() && fields[dash] != "-") ++dash;
    if (dash + 2 >= fields.size()) continue;
    MountEntry mount;
    mount.root = Unescape(fields[3]);
    mount.mountPoint = Unescape(fields[4]);
    mount.fsType = Unescape(fields[dash + 1]);
    mount.source = Unescape(fields[dash + 2]);
    if (mount.root.empty() || mount.root[0] != '/') continue;
    if (mount.mountPoint.empty() || mount.mountPoint[0] != '/') continue;
    mounts.push_back(std::move(mount));
  }
  return mounts;
}

bool IsNetworkShareMount(const MountEntry& mount) {
  if (mount.fsType != "cifs" && mount.fsType != "smb3") return false;
  const std::string& source = mount.source;
  // //server/share: a network path whose server name is not empty.
  return source.size() >= 3 && path_text::IsUncPath(source) && !IsPathSeparator(source[2]);
}

std::string RemoteNameOf(const MountEntry& mount) {
  std::string remote = mount.source;
  if (mount.root != "/") remote += mount.root;
  for (char& c : remote) {
    if (IsPathSeparator(c)) c = '\\';
  }
  while (remote.size() > 2 && remote.back() == '\\') remote.pop_back();
  return remote;
}

const MountEntry* HoldingMount(const std::vector<MountEntry>& mounts, const std::string& path) {
  const MountEntry* holding = nullptr;
  for (const MountEntry& mount : mounts) {
    if (!HoldsPath(mount.mountPoint, path)) continue;
    if (holding == nullptr || mount.mountPoint.size() >= holding->mountPoint.size()) {
      holding = &mount;
    }
  }
  return holding;
}

std::vector<ShareInfo> ParseSmbConf(std::string_view text) {
  std::vector<Section> sections;
  std::map<std::string, std::size_t> byName;
  Section* current = nullptr;
  std::string logical;
  const std::vector<std::string_view> lines = Lines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = Trim(lines[i]);
    // A backslash at the end continues the line on the next one.
    logical.clear();
    while (!line.empty() && line.back() == '\\' && i + 1 < lines.size()) {
      logical.append(line.substr(0, line.size() - 1));
      line = Trim(lines[++i]);
    }
    logical.append(line);
    const std::string_view entry = Trim(logical);
    if (entry.empty() || entry[0] == '#' || entry[0] == ';') continue;
    if (entry[0] == '[') {
      const std::string_view::size_type close = entry.find(']');
      const std::string_view name =
          close == std::string_view::npos ? std::string_view() : Trim(entry.substr(1, close - 1));
      current = nullptr;
      if (name.empty()) continue;  // an unreadable header: its parameters belong to nobody
      const std::string key = NormalName(name);
      // A section named twice is one share; the later lines add to it.
      const auto known = byName.find(key);
      if (known == byName.end()) {
        byName.emplace(key, sections.size());
        sections.push_back(Section{std::string(name), {}});
        current = &sections.back();
      } else {
        current = &sections[known->second];
      }
      continue;
    }
    const std::string_view::size_type equals = entry.find('=');
    if (current == nullptr || equals == std::string_view::npos) continue;
    const std::string parameter = NormalName(entry.substr(0, equals));
    if (parameter.empty()) continue;
    current->parameters[parameter] = std::string(Trim(entry.substr(equals + 1)));
  }

  std::vector<ShareInfo> shares;
  for (const Section& section : sections) {
    const std::string name = NormalName(section.name);
    if (name == "global" || name == "printers" || name == "homes" || name == "print$") continue;
    const auto& parameters = section.parameters;
    const auto path = parameters.find("path");
    if (path == parameters.end()) continue;
    const std::string sharePath = SharePath(path->second);
    // A path with substitutions names a different folder for every user.
    if (sharePath.empty() || sharePath.find('%') != std::string::npos) continue;
    const auto printable = parameters.find("printable");
    const auto printOk = parameters.find("printok");
    if ((printable != parameters.end() && IsTrue(printable->second)) ||
        (printOk != parameters.end() && IsTrue(printOk->second))) {
      continue;
    }
    const auto available = parameters.find("available");
    if (available != parameters.end() && IsFalse(available->second)) continue;
    shares.push_back(ShareInfo{section.name, sharePath});
  }
  return shares;
}

bool ParseUsershare(std::string_view text, const std::string& fileName, ShareInfo* share) {
  std::string name = fileName;
  std::string path;
  for (std::string_view line : Lines(text)) {
    line = Trim(line);
    const std::string_view::size_type equals = line.find('=');
    if (line.empty() || line[0] == '#' || equals == std::string_view::npos) continue;
    const std::string key = NormalName(line.substr(0, equals));
    const std::string_view value = Trim(line.substr(equals + 1));
    if (key == "path") path = SharePath(value);
    if (key == "sharename" && !value.empty()) name = std::string(value);
  }
  if (name.empty() || path.empty() || path.find('%') != std::string::npos) return false;
  share->name = name;
  share->path = path;
  return true;
}

}  // namespace network_config
}  // namespace Foldwise
