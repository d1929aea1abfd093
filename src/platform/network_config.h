// Reading what a POSIX machine says about its network file sharing: the mount table and the
// Samba configuration. Every parser takes text of any quality and skips what it cannot read.
#ifndef FOLDWISE_PLATFORM_NETWORK_CONFIG_H_
#define FOLDWISE_PLATFORM_NETWORK_CONFIG_H_

#include <string>
#include <string_view>
#include <vector>

#include "foldwise/network_services.h"

namespace Foldwise {
namespace network_config {

// One line of /proc/self/mountinfo, escapes resolved.
struct MountEntry {
  std::string root;        // the directory of the mounted file system that is mounted
  std::string mountPoint;  // where it is mounted here
  std::string fsType;
  std::string source;
};

// The mounts in table order; malformed lines are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);
// Whether |mount| is a mounted Windows-style network share (cifs or smb3 from //server/share).
bool IsNetworkShareMount(const MountEntry& mount);
// The remote name of such a mount: \\server\share, plus the mounted subdirectory if any.
std::string RemoteNameOf(const MountEntry& mount);
// The mount that |path| lies under: the longest mount point holding it, the later mount of two
// at the same point (it covers the earlier). Null when none holds it.
const MountEntry* HoldingMount(const std::vector<MountEntry>& mounts, const std::string& path);

// The disk shares an smb.conf defines, in file order: sections with a path, except the
// special sections and printers, unavailable shares and paths that vary by user.
std::vector<ShareInfo> ParseSmbConf(std::string_view text);
// The share of one usershare file; |fileName| names it when the file does not. False when the
// file defines no usable share.
bool ParseUsershare(std::string_view text, const std::string& fileName, ShareInfo* share);

}  // namespace network_config
}  // namespace Foldwise

#endif  // FOLDWISE_PLATFORM_NETWORK_CONFIG_H_
