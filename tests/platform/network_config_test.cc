// The parsers of the mount table and the Samba configuration, fed strings. The shares of a Samba
// configuration and of usershare files are checked on files in posix_network_services_test.cc.
#include "platform/network_config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/network_samples.h"

namespace Foldwise {
namespace network_config {
namespace {

// The network shares of a mount table, as "remote name -> mount point" texts.
std::vector<std::string> Shares(const std::vector<MountEntry>& mounts) {
  std::vector<std::string> shares;
  for (const MountEntry& mount : mounts) {
    if (IsNetworkShareMount(mount))
      shares.push_back(RemoteNameOf(mount) + " -> " + mount.mountPoint);
  }
  return shares;
}

// The mount point holding |path|, or "none".
std::string Holder(const std::vector<MountEntry>& mounts, const std::string& path) {
  const MountEntry* mount = HoldingMount(mounts, path);
  return mount == nullptr ? "none" : mount->mountPoint + " " + mount->fsType;
}

TEST(NetworkConfigTest, MountTableGivesNetworkSharesAndTheirHolders) {
  const std::vector<MountEntry> mounts = ParseMountInfo(testing::kMountInfo);
  EXPECT_EQ((std::vector<std::string>{
                "\\\\server\\share -> /mnt/my share",
                "\\\\Files\\Docs -> /mnt/docs",
                "\\\\server\\share\\sub\\dir -> /srv/bound",  // a bound subdirectory
                "\\\\old\\share -> /mnt/over",
            }),
            Shares(mounts));

  // Step: the longest mount point holds a path; of two at one point the later covers.
  EXPECT_EQ("/mnt/my share cifs", Holder(mounts, "/mnt/my share/a"));
  EXPECT_EQ("/mnt/my share cifs", Holder(mounts, "/mnt/my share"));
  EXPECT_EQ("/mnt/my share/local ext4", Holder(mounts, "/mnt/my share/local/a"));
  EXPECT_EQ("/ ext4", Holder(mounts, "/mnt/my shared"));  // no boundary, so only the root
  EXPECT_EQ("/mnt/over ext4", Holder(mounts, "/mnt/over/a"));
  EXPECT_EQ("/mnt/nfs nfs", Holder(mounts, "/mnt/nfs/a"));
  EXPECT_EQ("none", Holder(mounts, "C:\\"));
}

TEST(NetworkConfigTest, NoiseGivesNothingButReadableLines) {
  std::string noise = "[\n]\n=\n[[]]\npath\n- - - -\n1 2 3 4 5 6 - cifs\n\\0\\04\n";
  for (int i = 0; i < 512; ++i) noise.push_back(static_cast<char>((i * 131) % 256));
  EXPECT_TRUE(ParseSmbConf(noise).empty());
  ShareInfo share;
  EXPECT_FALSE(ParseUsershare(noise, "noise", &share));
  const std::vector<MountEntry> mounts =
      ParseMountInfo(noise + "\n1 2 3 / /m\\04 o - cifs //a/b\\0");
  // The readable last line, its broken escape kept as text.
  EXPECT_EQ((std::vector<std::string>{"\\\\a\\b\\0 -> /m\\04"}), Shares(mounts));
}

}  // namespace
}  // namespace network_config
}  // namespace Foldwise
