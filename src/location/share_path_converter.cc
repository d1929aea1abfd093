// Reading back a stored path: the documents and outbox folders store network paths, which this
// machine reaches through its connected drives or, for its own drives, directly.
#include <mutex>
#include <string>
#include <vector>

#include "base/path_text.h"
#include "foldwise/location.h"
#include "foldwise/network_services.h"

namespace Foldwise {
namespace {

// The host name does not change while the process runs, so it is asked for once.
struct RememberedHostName {
  std::mutex mutex;
  bool set = false;
  std::string name;
};

RememberedHostName& Remembered() {
  static RememberedHostName remembered;
  return remembered;
}

constexpr int kHostNameBufferSize = 128;

// |local| followed by |rest| as it stands, its separators in |local|'s form.
std::string AppendInForm(const std::string& local, const std::string& rest) {
  const char separator = path_text::IsPosixPath(local) ? '/' : '\\';
  std::string joined = local;
  for (char c : rest) joined.push_back(IsPathSeparator(c) ? separator : c);
  return joined;
}

}  // namespace

void SharePathConverter::ForgetRememberedHostName() {
  RememberedHostName& remembered = Remembered();
  std::lock_guard<std::mutex> guard(remembered.mutex);
  remembered.set = false;
  remembered.name.clear();
}

int SharePathConverter::ResolveStoredPath(const std::string& path, std::string& out) {
  out.clear();
  if (path.empty()) return 0;
  if (path_text::IsLocalPath(path)) {
    out = path;
    return 1;
  }

  NetworkServices* services = NetworkServices::Current();
  if (!services->InitializeSockets()) return 0;
  {
    RememberedHostName& remembered = Remembered();
    std::lock_guard<std::mutex> guard(remembered.mutex);
    if (!remembered.set) {
      char name[kHostNameBufferSize] = {};
      if (CLocalComputerName::GetInstance().GetLocalComputerName(name, sizeof name) != 0) {
        return 0;
      }
      remembered.name = name;
      remembered.set = true;
    }
    hostName = remembered.name;
  }

  std::vector<NetworkConnection> connected;
  if (!services->EnumerateConnections(&connected)) return 0;
  for (const NetworkConnection& connection : connected) {
    if (connection.localName.empty() || connection.remoteName.empty()) continue;
    if (!path_text::StartsWithText(path, connection.remoteName)) continue;
    out = AppendInForm(connection.localName, path.substr(connection.remoteName.size()));
    return 1;
  }

  std::string server;
  std::string rest;
  if (!path_text::SplitServer(path, &server, &rest)) return 0;
  out = path;
  if (!path_text::SameText(server, hostName)) return 1;
  // This machine's own drive, written as its administrative share: c$\dir becomes c:\dir.
  if (rest.find('$', 1) != std::string::npos && services->HasAdministrativeShares()) {
    for (char& c : rest) {
      if (c == '$') c = ':';
    }
    out = path_text::WithBackslashes(rest);
  }
  return 1;
}

}  // namespace Foldwise
