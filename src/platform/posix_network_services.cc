// The POSIX NetworkServices: the host name from the socket layer, this machine's shares from
// the Samba configuration, and mounted Windows-style network shares as the connected drives.
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/path_text.h"
#include "foldwise/network_services.h"
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

// What stat says of a file, enough to tell that it was changed or replaced.
struct FileSignature {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified = {};

  static FileSignature Of(const std::string& path) {
    FileSignature signature;
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return signature;
    signature.exists = true;
    signature.device = st.st_dev;
    signature.inode = st.st_ino;
    signature.size = st.st_size;
    signature.modified = st.st_mtim;
    return signature;
  }
  bool operator==(const FileSignature& o) const {
    return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
           modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
  }
  bool operator!=(const FileSignature& o) const { return !(*this == o); }
};

// An open mount table that tells when it changed: the kernel flags the table for poll() on every
// mount and unmount, and a plain file given in its place changes its signature.
class MountTable {
 public:
  explicit MountTable(std::string path) : path_(std::move(path)) {}
  ~MountTable() { Close(); }
  MountTable(const MountTable&) = delete;
  MountTable& operator=(const MountTable&) = delete;

  // The mounts, read again only when the table changed since the last call.
  const std::vector<network_config::MountEntry>& Mounts() {
    const FileSignature signature = FileSignature::Of(path_);
    if (!read_ || signature != signature_ || Flagged()) Reload(signature);
    return mounts_;
  }

 private:
  bool Flagged() const {
    if (fd_ < 0) return false;
    pollfd watch{fd_, POLLPRI, 0};
    return ::poll(&watch, 1, 0) > 0 && (watch.revents & (POLLPRI | POLLERR)) != 0;
  }

  void Reload(const FileSignature& signature) {
    Close();
    read_ = true;
    signature_ = signature;
    mounts_.clear();
    if (path_.empty()) return;
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return;
    std::string text;
    char buffer[8192];
    for (;;) {
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 || text.size() > kMaxConfigSize) return;  // unreadable: no mounts
      if (n == 0) break;
      text.append(buffer, static_cast<std::size_t>(n));
    }
    mounts_ = network_config::ParseMountInfo(text);
  }

  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  const std::string path_;
  int fd_ = -1;
  bool read_ = false;
  FileSignature signature_;
  std::vector<network_config::MountEntry> mounts_;
};

class PosixNetworkServices : public NetworkServices {
 public:
  explicit PosixNetworkServices(PosixNetworkFiles files)
      : files_(std::move(files)), mountTable_(files_.mountinfo) {}

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

  // Every stored path asks for the shares, so they are parsed again only when the configuration
  // file or the usershares directory changed (usershares are replaced, not edited in place).
  bool EnumerateShares(std::vector<ShareInfo>* shares) override {
    std::lock_guard<std::mutex> guard(mutex_);
    const FileSignature conf = FileSignature::Of(files_.smbConf);
    const FileSignature dir = FileSignature::Of(files_.usershareDir);
    if (!sharesRead_ || conf != confSignature_ || dir != usershareSignature_) {
      ReadShares(&shares_);
      sharesRead_ = true;
      confSignature_ = conf;
      usershareSignature_ = dir;
    }
    *shares = shares_;
    return true;
  }

  bool EnumerateConnections(std::vector<NetworkConnection>* connections) override {
    std::lock_guard<std::mutex> guard(mutex_);
    connections->clear();
    for (const network_config::MountEntry& mount : mountTable_.Mounts()) {
      if (!network_config::IsNetworkShareMount(mount)) continue;
      connections->push_back(
          NetworkConnection{network_config::RemoteNameOf(mount), mount.mountPoint});
    }
    return true;
  }

  bool GetConnection(const std::string& path, NetworkConnection* connection) override {
    std::lock_guard<std::mutex> guard(mutex_);
    const network_config::MountEntry* mount =
        network_config::HoldingMount(mountTable_.Mounts(), path);
    if (mount == nullptr || !network_config::IsNetworkShareMount(*mount)) return false;
    *connection = NetworkConnection{network_config::RemoteNameOf(*mount), mount->mountPoint};
    return true;
  }

  DriveType GetDriveType(const std::string& path) override {
    std::lock_guard<std::mutex> guard(mutex_);
    const network_config::MountEntry* mount =
        network_config::HoldingMount(mountTable_.Mounts(), path);
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
  void ReadShares(std::vector<ShareInfo>* shares) const {
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
  }

  const PosixNetworkFiles files_;
  std::mutex mutex_;  // the services are one instance for the whole process
  MountTable mountTable_;
  bool sharesRead_ = false;
  FileSignature confSignature_;
  FileSignature usershareSignature_;
  std::vector<ShareInfo> shares_;
};

}  // namespace

NetworkServices* NetworkServices::Default() { return Posix(); }

NetworkServices* NetworkServices::Posix() {
  static PosixNetworkServices services{PosixNetworkFiles()};
  return &services;
}

std::unique_ptr<NetworkServices> NetworkServices::NewPosix(const PosixNetworkFiles& files) {
  return std::make_unique<PosixNetworkServices>(files);
}

}  // namespace Foldwise
