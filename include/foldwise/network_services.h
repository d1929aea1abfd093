// The networking seen by the location services: host name, this machine's shares, the network
// resources mounted or connected here, drive kinds and connecting a share.
//
// Every networking call of the library goes through the NetworkServices in force. The platform's
// own (POSIX, or Win32 on Windows) is in force unless a ScopedNetworkServices installs another one
// (a test fake, or a host's own), so a test scripts the network exactly and touches no process-wide
// state by hand.
//
// Thread safety: the services in force serve every thread, so an implementation must accept
// concurrent calls (the POSIX one does, behind one lock). Installing other services is set-up
// work, with no other thread inside the library.
#ifndef FOLDWISE_NETWORK_SERVICES_H_
#define FOLDWISE_NETWORK_SERVICES_H_

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "foldwise/export.h"

namespace Foldwise {

// A folder this machine shares: its share name and the local path it exposes.
struct ShareInfo {
  std::string name;
  std::string path;
};

// A network resource usable here: its remote name (\\server\share, backslashes) and the local
// name it is reached under (a drive such as "Z:", or a mount point such as "/mnt/share").
struct NetworkConnection {
  std::string remoteName;
  std::string localName;
};

// The kind of drive that holds a path, numbered as the resolver's rules number them.
enum class DriveType {
  kUnknown = 0,
  kNoRootDirectory = 1,
  kRemovable = 2,
  kFixed = 3,
  kRemote = 4,
  kCdRom = 5,
  kRamDisk = 6,
};

// Where the POSIX implementation reads what it knows. Empty members mean "none".
struct PosixNetworkFiles {
  std::string mountinfo = "/proc/self/mountinfo";
  std::string smbConf = "/etc/samba/smb.conf";
  std::string usershareDir = "/var/lib/samba/usershares";
};

class FOLDWISE_EXPORT NetworkServices {
 public:
  virtual ~NetworkServices() = default;

  // The NetworkServices in force for the calling process.
  static NetworkServices* Current();
  // This platform's own implementation (Win32 on Windows, POSIX elsewhere); never destroyed.
  static NetworkServices* Default();
#ifdef _WIN32
  // The Win32 implementation: Winsock, the network API and the Windows networking client.
  static NetworkServices* Win32();
#else
  // The POSIX implementation over the standard file locations; never destroyed.
  static NetworkServices* Posix();
  // A POSIX implementation reading the given files instead (for hosts and tests).
  static std::unique_ptr<NetworkServices> NewPosix(const PosixNetworkFiles& files);
#endif

  // Writes the host name with its NUL into |name|; 0 on success, -1 when it fails or does not
  // fit into |len| bytes.
  virtual int GetHostName(char* name, std::size_t len) = 0;
  // The computer name as the operating system reports it, the fallback for the host name.
  // False when it cannot be read.
  virtual bool GetComputerName(std::string* name) = 0;
  // Makes the socket layer usable; false when it cannot be.
  virtual bool InitializeSockets() = 0;

  // This machine's shares in enumeration order. False when they cannot be enumerated at all.
  virtual bool EnumerateShares(std::vector<ShareInfo>* shares) = 0;
  // The connected network disk resources in enumeration order. False when the enumeration
  // cannot be opened or read.
  virtual bool EnumerateConnections(std::vector<NetworkConnection>* connections) = 0;
  // The connected resource that holds the local path |path| (a drive path or a path under a
  // mount point). False when none does.
  virtual bool GetConnection(const std::string& path, NetworkConnection* connection) = 0;
  // The kind of drive that holds |path|: a drive root ("C:\") or a POSIX path.
  virtual DriveType GetDriveType(const std::string& path) = 0;
  // Connects the share |remoteName| (\\server\share) under a local name the system picks. True
  // and that name (such as "Z:") in |accessName| on success.
  virtual bool ConnectShare(const std::string& remoteName, std::string* accessName) = 0;
  // Whether every fixed drive is shared to administrators as "<letter>$".
  virtual bool HasAdministrativeShares() = 0;
};

// Forwards every call to another NetworkServices; a host or test derives from it and overrides
// only what it changes.
class FOLDWISE_EXPORT NetworkServicesWrapper : public NetworkServices {
 public:
  explicit NetworkServicesWrapper(NetworkServices* target) : target_(target) {}
  NetworkServices* target() const { return target_; }

  int GetHostName(char* name, std::size_t len) override { return target_->GetHostName(name, len); }
  bool GetComputerName(std::string* name) override { return target_->GetComputerName(name); }
  bool InitializeSockets() override { return target_->InitializeSockets(); }
  bool EnumerateShares(std::vector<ShareInfo>* shares) override {
    return target_->EnumerateShares(shares);
  }
  bool EnumerateConnections(std::vector<NetworkConnection>* connections) override {
    return target_->EnumerateConnections(connections);
  }
  bool GetConnection(const std::string& path, NetworkConnection* connection) override {
    return target_->GetConnection(path, connection);
  }
  DriveType GetDriveType(const std::string& path) override { return target_->GetDriveType(path); }
  bool ConnectShare(const std::string& remoteName, std::string* accessName) override {
    return target_->ConnectShare(remoteName, accessName);
  }
  bool HasAdministrativeShares() override { return target_->HasAdministrativeShares(); }

 private:
  NetworkServices* target_;
};

// Installs |services| as the NetworkServices in force for its lifetime and restores the previous
// one after. Scopes nest; they are meant for set-up code, not for use while other threads call
// the library.
class FOLDWISE_EXPORT ScopedNetworkServices {
 public:
  explicit ScopedNetworkServices(NetworkServices* services);
  ~ScopedNetworkServices();
  ScopedNetworkServices(const ScopedNetworkServices&) = delete;
  ScopedNetworkServices& operator=(const ScopedNetworkServices&) = delete;

 private:
  NetworkServices* previous_;
};

}  // namespace Foldwise

#endif  // FOLDWISE_NETWORK_SERVICES_H_
