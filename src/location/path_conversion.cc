// The three conversions of the resolver: network path to local path, local path to network
// path, and the storage form that every machine of the workgroup can read back.
#include <cctype>
#include <string>

#include "base/path_text.h"
#include "foldwise/location.h"
#include "foldwise/network_services.h"

namespace Foldwise {
namespace {

// "c$\rest": a drive shared to administrators under its letter and a dollar sign.
bool IsAdministrativeShareText(const std::string& text) {
  return text.size() >= 3 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == '$' &&
         IsPathSeparator(text[2]);
}

}  // namespace

int NetworkPathResolver::ToLocalPath(const std::string& path, std::string& out, int mayConnect) {
  // The memo, the connections and the host name are shared by every thread; the period lock is
  // re-entrant, so a period's own thread passes.
  std::lock_guard<std::recursive_mutex> guard(lock);
  out.clear();
  if (path.empty()) return 0;

  int found = 0;
  if (path_text::IsUncPath(path)) {
    NetworkServices* services = NetworkServices::Current();
    const std::string* host = KnownHostName();
    const std::string server = path_text::ServerOf(path);
    const std::string::size_type restStart = 2 + server.size() + 1;
    const std::string rest = restStart < path.size() ? path.substr(restStart) : std::string();
    // A share of this machine is reached through its own folder, never through the network.
    if (host != nullptr && path_text::SameText(server, *host) && !path_text::IsDrivePath(rest)) {
      found = FindShare(ShareLookup::kShareToLocal, rest, out);
      if (!found && IsAdministrativeShareText(rest) && services->HasAdministrativeShares()) {
        out = path_text::JoinInForm(rest.substr(0, 1) + ":", rest.substr(2));
        found = 1;
      }
    }
    if (!found) found = FindConnectedDrive(path, out);
    if (!found && mayConnect) found = ConnectShare(path, out);
  } else if (path_text::IsLocalPath(path) || path[0] == '.') {
    out = path;
    found = 1;
  } else if (path_text::LostOneBackslash(path) && path.size() >= 2) {
    return ToLocalPath("\\" + path, out, 1);
  }

  if (found) path_text::TrimResult(out);
  if (!found || out.empty()) {
    out.clear();
    return 0;
  }
  return 1;
}

int NetworkPathResolver::ToSharePath(const std::string& path, std::string& out) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  out.clear();
  if (path_text::IsUncPath(path)) {
    out = path;
    return 1;
  }
  if (!path_text::IsLocalPath(path)) return 0;

  NetworkServices* services = NetworkServices::Current();
  const bool drive = path_text::IsDrivePath(path);
  const DriveType type = services->GetDriveType(drive ? path.substr(0, 2) + "\\" : path);
  switch (type) {
    case DriveType::kRemote: {
      NetworkConnection connection;
      if (!services->GetConnection(drive ? path.substr(0, 2) : path, &connection)) return 0;
      std::string::size_type restStart = 2;
      if (!drive) {
        if (!path_text::StartsAtBoundary(path, connection.localName)) return 0;
        restStart = connection.localName.size();
      }
      out = path_text::JoinInForm(connection.remoteName, path.substr(restStart));
      break;
    }
    case DriveType::kUnknown:
    case DriveType::kNoRootDirectory: {
      const Connection* own = FindOwnConnection(path);
      if (own == nullptr) return 0;
      out = path_text::JoinInForm(own->remoteName, path.substr(own->localName.size()));
      break;
    }
    default:
      if (FindShare(ShareLookup::kLocalToShare, path, out)) break;
      // Every fixed drive is also reachable as its administrative share, where there are any.
      if (type != DriveType::kFixed || !drive || !services->HasAdministrativeShares()) return 0;
      const std::string* host = KnownHostName();
      if (host == nullptr) return 0;
      out = path_text::JoinInForm("\\\\" + *host + "\\" + path.substr(0, 1) + "$", path.substr(2));
      break;
  }
  path_text::TrimResult(out);
  return 1;
}

std::string NetworkPathResolver::Canonicalize(const std::string& path) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  if (path.empty()) return std::string();
  std::string shared;
  if (!ToSharePath(path, shared) || !path_text::IsUncPath(shared)) return path;
  const std::string* host = KnownHostName();
  if (host == nullptr) return shared;

  // A drive this resolver connected exists only in this process; other machines need the
  // network form. Everything else is stored in the form usable here.
  const bool thisMachine = path_text::SameText(path_text::ServerOf(shared), *host);
  if (!thisMachine && OwnConnectionHolds(shared)) return shared;
  std::string local;
  return ToLocalPath(path, local, 1) ? local : path;
}

}  // namespace Foldwise
