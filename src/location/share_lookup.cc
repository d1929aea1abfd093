// Where a path lives on the network: this machine's shares, the connected network drives, and
// the drives the resolver connects itself.
#include <string>
#include <vector>

#include "base/path_text.h"
#include "foldwise/location.h"
#include "foldwise/network_services.h"

namespace Foldwise {
namespace {

// How deep a share path reaches, counting the separator that closes it: "C:\" and "C:" reach
// one level, "C:\Data" two, so a share of a folder beats a share of the drive above it.
int ShareDepth(const std::string& sharePath) {
  std::string trimmed = sharePath;
  while (!trimmed.empty() && IsPathSeparator(trimmed.back())) trimmed.pop_back();
  return path_text::CountSeparators(trimmed) + 1;
}

}  // namespace

int NetworkPathResolver::FindShare(ShareLookup mode, const std::string& input, std::string& out) {
  out.clear();
  std::vector<ShareInfo> shares;
  if (!NetworkServices::Current()->EnumerateShares(&shares)) return 0;

  if (mode == ShareLookup::kShareToLocal) {
    for (const ShareInfo& share : shares) {
      if (share.name.empty() || !path_text::StartsAtBoundary(input, share.name)) continue;
      out = path_text::JoinInForm(share.path, input.substr(share.name.size()));
      return 1;
    }
    return 0;
  }

  const ShareInfo* best = nullptr;
  int bestDepth = 0;
  for (const ShareInfo& share : shares) {
    if (share.path.empty() || !path_text::StartsAtBoundary(input, share.path)) continue;
    const int depth = ShareDepth(share.path);
    if (best == nullptr || depth > bestDepth) {
      best = &share;
      bestDepth = depth;
    }
  }
  if (best == nullptr) return 0;
  const std::string* host = KnownHostName();
  if (host == nullptr) return 0;
  out = path_text::JoinInForm("\\\\" + *host + "\\" + best->name, input.substr(best->path.size()));
  return 1;
}

int NetworkPathResolver::FindConnectedDrive(const std::string& path, std::string& out) {
  out.clear();
  if (cacheOn) {
    const auto remembered = pathCache.find(path);
    if (remembered != pathCache.end()) {
      out = remembered->second;
      return 1;
    }
  }
  if (!LookUpConnectedDrive(path, out)) return 0;
  if (cacheOn) pathCache[path] = out;
  return 1;
}

int NetworkPathResolver::LookUpConnectedDrive(const std::string& path, std::string& out) {
  std::string prefix;
  std::string rest;
  if (!path_text::SplitServerShare(path, &prefix, &rest)) return 0;

  std::vector<NetworkConnection> connected;
  if (NetworkServices::Current()->EnumerateConnections(&connected)) {
    for (const NetworkConnection& connection : connected) {
      if (connection.localName.empty() || !path_text::SameText(connection.remoteName, prefix)) {
        continue;
      }
      out = path_text::JoinInForm(connection.localName, rest);
      return 1;
    }
  }
  // The enumeration may fail or miss a connection this resolver made; its own table knows.
  for (const Connection& own : connections) {
    if (!path_text::SameText(own.remoteName, prefix)) continue;
    out = path_text::JoinInForm(own.localName, rest);
    return 1;
  }
  return 0;
}

int NetworkPathResolver::ConnectShare(const std::string& path, std::string& out) {
  out.clear();
  std::string prefix;
  std::string rest;
  if (!path_text::SplitServerShare(path, &prefix, &rest)) return 0;
  const std::string remoteName = path_text::WithBackslashes(prefix);
  std::string accessName;
  if (!NetworkServices::Current()->ConnectShare(remoteName, &accessName) || accessName.empty()) {
    return 0;
  }
  // A drive is remembered by its letter; a mount point by its whole path.
  std::string localName = accessName;
  if (path_text::IsDrivePath(accessName)) {
    localName = accessName.substr(0, 1) + ":";
  } else {
    path_text::TrimResult(localName);
  }
  if (connections.size() == connections.capacity()) connections.reserve(connections.size() * 2);
  connections.push_back(Connection{localName, remoteName});
  out = path_text::JoinInForm(accessName, rest);
  return 1;
}

const NetworkPathResolver::Connection* NetworkPathResolver::FindOwnConnection(
    const std::string& localPath) const {
  for (const Connection& own : connections) {
    if (path_text::IsDrivePath(localPath)) {
      // A drive letter is compared exactly as it was stored.
      if (path_text::IsDrivePath(own.localName) && own.localName[0] == localPath[0]) return &own;
    } else if (path_text::IsPosixPath(own.localName) &&
               path_text::StartsAtBoundary(localPath, own.localName)) {
      return &own;
    }
  }
  return nullptr;
}

int NetworkPathResolver::OwnConnectionHolds(const std::string& uncPath) const {
  for (const Connection& own : connections) {
    const std::string& remote = own.remoteName;
    // Case counts here: the text was built from this very entry.
    if (uncPath.compare(0, remote.size(), remote) != 0) continue;
    if (uncPath.size() == remote.size() || IsPathSeparator(uncPath[remote.size()])) return 1;
  }
  return 0;
}

}  // namespace Foldwise
