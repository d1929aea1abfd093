// The Win32 NetworkServices: the host name through Winsock, this computer's shares through the
// network management API, and the drives of the Windows networking client.
#include <winsock2.h>
// winsock2.h before windows.h (through win32_text.h), which would bring the old winsock.h.
#include <lm.h>
#include <winnetwk.h>

#include <mutex>
#include <string>
#include <vector>

#include "base/path_text.h"
#include "foldwise/network_services.h"
#include "platform/win32/win32_text.h"

namespace Foldwise {
namespace {

using platform::Narrow;
using platform::Widen;

// The share kind without the special and temporary flags above it.
constexpr DWORD kShareTypeMask = 0xFF;

// A drive name "X:" for a path that begins with a drive letter, else empty.
std::wstring DriveOf(const std::string& path) {
  if (!path_text::IsDrivePath(path)) return std::wstring();
  std::wstring drive;
  if (!Widen(path.substr(0, 2), &drive)) return std::wstring();
  return drive;
}

// Frees what the network management API allocated.
struct NetBuffer {
  LPBYTE data = nullptr;
  ~NetBuffer() {
    if (data != nullptr) ::NetApiBufferFree(data);
  }
};

class Win32NetworkServices : public NetworkServices {
 public:
  int GetHostName(char* name, std::size_t len) override {
    if (!InitializeSockets() || len == 0 || len > 0x7fffffff) return -1;
    return ::gethostname(name, static_cast<int>(len)) == 0 ? 0 : -1;
  }

  bool GetComputerName(std::string* name) override {
    // The wide form, so a name outside the ANSI code page arrives as UTF-8 like every text.
    wchar_t buffer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!::GetComputerNameW(buffer, &size)) return false;
    return Narrow(std::wstring_view(buffer, size), name);
  }

  bool InitializeSockets() override {
    // Once per process; the library never calls WSACleanup, a host may still use the sockets.
    std::call_once(sockets_once_, [this] {
      WSADATA data;
      sockets_ready_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    });
    return sockets_ready_;
  }

  bool EnumerateShares(std::vector<ShareInfo>* shares) override {
    shares->clear();
    NetBuffer buffer;
    DWORD read = 0;
    DWORD total = 0;
    DWORD resume = 0;
    // Level 2 carries the local paths; it needs administrative rights, as the original did.
    const NET_API_STATUS status =
        ::NetShareEnum(nullptr, 2, &buffer.data, MAX_PREFERRED_LENGTH, &read, &total, &resume);
    if (status != NERR_Success) return false;
    const auto* entries = reinterpret_cast<const SHARE_INFO_2*>(buffer.data);
    for (DWORD i = 0; i < read; ++i) {
      if ((entries[i].shi2_type & kShareTypeMask) != STYPE_DISKTREE) continue;
      ShareInfo share;
      if (!Narrow(entries[i].shi2_netname, &share.name) ||
          !Narrow(entries[i].shi2_path, &share.path)) {
        continue;
      }
      shares->push_back(std::move(share));
    }
    return true;
  }

  bool EnumerateConnections(std::vector<NetworkConnection>* connections) override {
    connections->clear();
    HANDLE enumeration = nullptr;
    if (::WNetOpenEnumW(RESOURCE_CONNECTED, RESOURCETYPE_DISK, 0, nullptr, &enumeration) !=
        NO_ERROR) {
      return false;
    }
    std::vector<unsigned char> buffer(16384);
    bool ok = true;
    for (;;) {
      DWORD count = 0xFFFFFFFF;
      DWORD size = static_cast<DWORD>(buffer.size());
      const DWORD result = ::WNetEnumResourceW(enumeration, &count, buffer.data(), &size);
      if (result == ERROR_NO_MORE_ITEMS) break;
      if (result == ERROR_MORE_DATA && size > buffer.size()) {
        buffer.resize(size);
        continue;
      }
      if (result != NO_ERROR) {
        ok = false;
        break;
      }
      const auto* resources = reinterpret_cast<const NETRESOURCEW*>(buffer.data());
      for (DWORD i = 0; i < count; ++i) {
        NetworkConnection connection;
        if (resources[i].lpRemoteName == nullptr || resources[i].lpLocalName == nullptr ||
            !Narrow(resources[i].lpRemoteName, &connection.remoteName) ||
            !Narrow(resources[i].lpLocalName, &connection.localName)) {
          continue;
        }
        connections->push_back(std::move(connection));
      }
    }
    ::WNetCloseEnum(enumeration);
    return ok;
  }

  bool GetConnection(const std::string& path, NetworkConnection* connection) override {
    const std::wstring drive = DriveOf(path);
    if (drive.empty()) return false;
    std::vector<wchar_t> remote(MAX_PATH + 1);
    DWORD size = static_cast<DWORD>(remote.size());
    DWORD result = ::WNetGetConnectionW(drive.c_str(), remote.data(), &size);
    if (result == ERROR_MORE_DATA) {
      remote.resize(size);
      result = ::WNetGetConnectionW(drive.c_str(), remote.data(), &size);
    }
    if (result != NO_ERROR) return false;
    return Narrow(remote.data(), &connection->remoteName) && Narrow(drive, &connection->localName);
  }

  DriveType GetDriveType(const std::string& path) override {
    std::wstring root = DriveOf(path);
    if (!root.empty()) {
      root += L'\\';
    } else if (!Widen(path, &root)) {
      return DriveType::kUnknown;
    }
    const UINT type = ::GetDriveTypeW(root.c_str());
    // The system numbers drive kinds exactly as DriveType does.
    return type <= DRIVE_RAMDISK ? static_cast<DriveType>(type) : DriveType::kUnknown;
  }

  bool ConnectShare(const std::string& remoteName, std::string* accessName) override {
    std::wstring remote;
    if (!Widen(remoteName, &remote)) return false;
    // The highest free drive letter, as the system's own "next drive" picks from the end.
    const DWORD used = ::GetLogicalDrives();
    for (int letter = 'Z'; letter >= 'D'; --letter) {
      if (used & (1u << (letter - 'A'))) continue;
      wchar_t local[3] = {static_cast<wchar_t>(letter), L':', L'\0'};
      NETRESOURCEW resource{};
      resource.dwType = RESOURCETYPE_DISK;
      resource.lpLocalName = local;
      resource.lpRemoteName = remote.data();
      // No CONNECT_INTERACTIVE: a library never prompts for credentials.
      const DWORD result = ::WNetAddConnection2W(&resource, nullptr, nullptr, 0);
      if (result == NO_ERROR) return Narrow(local, accessName);
      if (result != ERROR_ALREADY_ASSIGNED && result != ERROR_DEVICE_ALREADY_REMEMBERED) {
        return false;
      }
    }
    return false;
  }

  bool HasAdministrativeShares() override {
    NetBuffer buffer;
    DWORD read = 0;
    DWORD total = 0;
    DWORD resume = 0;
    if (::NetShareEnum(nullptr, 1, &buffer.data, MAX_PREFERRED_LENGTH, &read, &total, &resume) !=
        NERR_Success) {
      return false;
    }
    const auto* entries = reinterpret_cast<const SHARE_INFO_1*>(buffer.data);
    const DWORD drives = ::GetLogicalDrives();
    for (int letter = 'A'; letter <= 'Z'; ++letter) {
      if ((drives & (1u << (letter - 'A'))) == 0) continue;
      const wchar_t root[4] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
      if (::GetDriveTypeW(root) != DRIVE_FIXED) continue;
      const wchar_t share[3] = {static_cast<wchar_t>(letter), L'$', L'\0'};
      bool found = false;
      for (DWORD i = 0; i < read && !found; ++i) {
        found = ::lstrcmpiW(entries[i].shi1_netname, share) == 0;
      }
      if (!found) return false;
    }
    return true;
  }

 private:
  std::once_flag sockets_once_;
  bool sockets_ready_ = false;
};

}  // namespace

NetworkServices* NetworkServices::Default() { return Win32(); }

NetworkServices* NetworkServices::Win32() {
  static Win32NetworkServices services;
  return &services;
}

}  // namespace Foldwise
