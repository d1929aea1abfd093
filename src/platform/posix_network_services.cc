// The POSIX NetworkServices: the host name from the socket layer, this machine's shares from
// the Samba configuration, and mounted Windows-style network shares as the connected drives.
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "foldwise/network_services.h"
#include "location/path_text.h"
#include "platform/network_config.h"

namespace Foldwise {
namespace {

// Nothing a configuration of this kind holds comes near this; anything longer is not one.
constexpr std::size_t kMaxConfigSize = std::size_t{4} << 20;

// Reads a small text file. False when it cannot be opened, read, or is implausibly large;
// the callers take that as "nothing configured".
bool ReadConfigFile(const std::string& path, std::string* text) {
  text->clear();
  if (path.empty()) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  char buffer[8192];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text->append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text->size() > kMaxConfigSize) return false;
  }
  return !in.bad();
}

// The names of the regular entries of |dir|, sorted so the share order is stable.
std::vector<std::string> ListDirectory(const std::string& dir) {
  std::vector<std::string> names;
  if (dir.empty()) return names;
  std::unique_ptr<DIR, int (*)(DIR*)> handle(::opendir(dir.c_str()), &::closedir);
  if (!handle) return names;
  while (const dirent* entry = ::readdir(handle.get())) {
    if (entry->d_name[0] == '.') continue;
    names.emplace_back(entry->d_name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

class PosixNetworkServices : public NetworkServices {
 public:
  explicit PosixNetworkServices(PosixNetworkFiles files) : files_(std::move(files)) {}

  int GetHostName(char* name, std::size_t len) override {
    if (name == nullptr || len == 0) return -1;
    char buffer[1024] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0) return -1;
    const std::size_t needed = std::strlen(buffer) + 1;
    if (needed > len) return -1;
    std::memcpy(name, buffer, needed);
    return 0;
  }

  bool GetComputerName(std::string* name) override {
    char buffer[1024] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0) return false;
    *name = buffer;
    return true;
  }

  // Sockets need no set-up here.
  bool InitializeSockets() override { return true; }

  bool EnumerateShares(std::vector<ShareInfo>* shares) override {
    shares->clear();
    std::string text;
    if (ReadConfigFile(files_.smbConf, &text)) *shares = network_config::ParseSmbConf(text);
    for (const std::string& fileName : ListDirectory(files_.usershareDir)) {
      ShareInfo share;
      if (!ReadConfigFile(files_.usershareDir + "/" + fileName, &text) ||
          !network_config::ParseUsershare(text, fileName, &share)) {
        continue;
      }
      // A name the configuration already defines stays with the configuration's share.
      const bool known = std::any_of(shares->begin(), shares->end(), [&](const ShareInfo& s) {
        return path_text::SameText(s.name, share.name);
      });
      if (!known) shares->push_back(share);
    }
    return true;
  }

  bool EnumerateConnections(std::vector<NetworkConnection>* connections) override {
    connections->clear();
    for (const network_config::MountEntry& mount : Mounts()) {
      if (!network_config::IsNetworkShareMount(mount)) continue;
      connections->push_back(
          NetworkConnection{network_config::RemoteNameOf(mount), mount.mountPoint});
    }
    return true;
  }

  bool GetConnection(const std::string& path, NetworkConnection* connection) override {
    const std::vector<network_config::MountEntry> mounts = Mounts();
    const network_config::MountEntry* mount = network_config::HoldingMount(mounts, path);
    if (mount == nullptr || !network_config::IsNetworkShareMount(*mount)) return false;
    *connection = NetworkConnection{network_config::RemoteNameOf(*mount), mount->mountPoint};
    return true;
  }

  DriveType GetDriveType(const std::string& path) override {
    const std::vector<network_config::MountEntry> mounts = Mounts();
    const network_config::MountEntry* mount = network_config::HoldingMount(mounts, path);
    if (mount != nullptr && network_config::IsNetworkShareMount(*mount)) return DriveType::kRemote;
    return DriveType::kFixed;
  }

  // Mounting needs privileges and credentials a library must never ask for.
  bool ConnectShare(const std::string&, std::string* accessName) override {
    accessName->clear();
    return false;
  }

  bool HasAdministrativeShares() override { return false; }

 private:
  // Read afresh each time: shares are mounted and unmounted while the process runs.
  std::vector<network_config::MountEntry> Mounts() const {
    std::string text;
    if (!ReadConfigFile(files_.mountinfo, &text)) return {};
    return network_config::ParseMountInfo(text);
  }

  const PosixNetworkFiles files_;
};

}  // namespace

NetworkServices* NetworkServices::Posix() {
  static PosixNetworkServices services{PosixNetworkFiles()};
  return &services;
}

std::unique_ptr<NetworkServices> NetworkServices::NewPosix(const PosixNetworkFiles& files) {
  return std::make_unique<PosixNetworkServices>(files);
}

}  // namespace Foldwise
