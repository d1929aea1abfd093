// The POSIX network services on real files: a mount table and Samba configuration written into
// a temporary directory, and this machine's own host name. The parsers themselves are tested on
// strings in network_config_test.cc, the resolver on what these services answer in
// posix_form_paths_test.cc.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "foldwise/location.h"
#include "foldwise/network_services.h"
#include "platform/network_samples.h"

namespace Foldwise {
namespace {

using testing::kMountInfo;
using testing::kSmbConf;

class PosixNetworkServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/foldwise-net-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(pattern));
    dir_ = pattern;
    files_.mountinfo = dir_ + "/mountinfo";
    files_.smbConf = dir_ + "/smb.conf";
    files_.usershareDir = dir_ + "/usershares";
    std::filesystem::create_directory(files_.usershareDir);
  }
  void TearDown() override {
    NetworkPathResolver::DiscardInstance();
    std::filesystem::remove_all(dir_);
  }

  static void Write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
  }

  std::unique_ptr<NetworkServices> Services() { return NetworkServices::NewPosix(files_); }

  std::string dir_;
  PosixNetworkFiles files_;
};

TEST_F(PosixNetworkServicesTest, MountedNetworkSharesAreTheConnectedDrives) {
  Write(files_.mountinfo, kMountInfo);
  auto net = Services();
  std::vector<NetworkConnection> connected;
  ASSERT_TRUE(net->EnumerateConnections(&connected));
  ASSERT_EQ(4u, connected.size());
  EXPECT_EQ("\\\\server\\share", connected[0].remoteName);
  EXPECT_EQ("/mnt/my share", connected[0].localName);

  // Step: drive kinds and connections follow the mount that holds the path.
  EXPECT_EQ(DriveType::kRemote, net->GetDriveType("/mnt/my share/a"));
  EXPECT_EQ(DriveType::kFixed, net->GetDriveType("/mnt/my share/local/a"));  // mounted over
  EXPECT_EQ(DriveType::kFixed, net->GetDriveType("C:\\"));
  NetworkConnection connection;
  ASSERT_TRUE(net->GetConnection("/mnt/docs/x/y", &connection));
  EXPECT_EQ("\\\\Files\\Docs", connection.remoteName);
  EXPECT_EQ("/mnt/docs", connection.localName);
  EXPECT_FALSE(net->GetConnection("/mnt/nfs/x", &connection));
  EXPECT_FALSE(net->GetConnection("Z:", &connection));
}

TEST_F(PosixNetworkServicesTest, SambaSharesInConfigurationOrderThenUsershares) {
  Write(files_.smbConf, kSmbConf);
  Write(files_.usershareDir + "/music", "#VERSION 2\npath=/home/u/Music\nsharename=Music\n");
  Write(files_.usershareDir + "/data", "#VERSION 2\npath=/home/u/other\n");  // name taken
  Write(files_.usershareDir + "/broken", "no path in here\n\x01\x02");
  Write(files_.usershareDir + "/.hidden", "path=/hidden\n");
  std::vector<ShareInfo> shares;
  ASSERT_TRUE(Services()->EnumerateShares(&shares));
  ASSERT_EQ(3u, shares.size());
  EXPECT_EQ("Data", shares[0].name);
  EXPECT_EQ("/srv/data", shares[0].path);
  EXPECT_EQ("Public Files", shares[1].name);
  EXPECT_EQ("/srv/public files", shares[1].path);
  EXPECT_EQ("Music", shares[2].name);
  EXPECT_EQ("/home/u/Music", shares[2].path);
}

TEST_F(PosixNetworkServicesTest, MissingOrUnreadableFilesMeanNone) {
  auto net = Services();
  std::vector<ShareInfo> shares;
  std::vector<NetworkConnection> connected;
  // Step: nothing there at all.
  std::filesystem::remove(files_.usershareDir);
  EXPECT_TRUE(net->EnumerateShares(&shares));
  EXPECT_TRUE(shares.empty());
  EXPECT_TRUE(net->EnumerateConnections(&connected));
  EXPECT_TRUE(connected.empty());
  EXPECT_EQ(DriveType::kFixed, net->GetDriveType("/mnt/my share"));

  // Step: a directory where a file should be.
  files_.smbConf = dir_;
  files_.mountinfo = dir_;
  EXPECT_TRUE(Services()->EnumerateShares(&shares));
  EXPECT_TRUE(shares.empty());
  EXPECT_EQ(DriveType::kFixed, Services()->GetDriveType("/"));
}

TEST_F(PosixNetworkServicesTest, ChangedFilesAreReadAgainAndUnchangedOnesAreNot) {
  Write(files_.smbConf, "[a]\npath=/srv/a\n");
  Write(files_.mountinfo, "30 22 0:40 / /mnt/a rw - cifs //server/a rw\n");
  auto net = Services();
  std::vector<ShareInfo> shares;
  std::vector<NetworkConnection> connected;
  ASSERT_TRUE(net->EnumerateShares(&shares));
  ASSERT_TRUE(net->EnumerateConnections(&connected));
  ASSERT_EQ(1u, shares.size());
  ASSERT_EQ(1u, connected.size());

  // Step: the files change; the next calls see the new content.
  Write(files_.smbConf, "[b]\npath=/srv/b\n[c]\npath=/srv/c\n");
  Write(files_.mountinfo, "31 22 0:41 / /mnt/b rw - smb3 //server/b rw\n");
  ASSERT_TRUE(net->EnumerateShares(&shares));
  ASSERT_EQ(2u, shares.size());
  EXPECT_EQ("b", shares[0].name);
  EXPECT_EQ(DriveType::kRemote, net->GetDriveType("/mnt/b/x"));
  EXPECT_EQ(DriveType::kFixed, net->GetDriveType("/mnt/a/x"));

  // Step: a usershare added beside the configuration shows too.
  Write(files_.usershareDir + "/d", "path=/srv/d\n");
  ASSERT_TRUE(net->EnumerateShares(&shares));
  EXPECT_EQ(3u, shares.size());
}

TEST_F(PosixNetworkServicesTest, HostNameIsThisMachines) {
  std::ifstream kernel("/proc/sys/kernel/hostname");
  std::string expected;
  if (!std::getline(kernel, expected)) GTEST_SKIP() << "no kernel host name to compare with";
  auto net = Services();
  char name[256];
  ASSERT_EQ(0, net->GetHostName(name, sizeof name));
  EXPECT_EQ(expected, name);
  std::string computer;
  ASSERT_TRUE(net->GetComputerName(&computer));
  EXPECT_EQ(expected, computer);
  // Step: exactly the room for the name and its NUL, and one byte less.
  EXPECT_EQ(0, net->GetHostName(name, expected.size() + 1));
  EXPECT_EQ(-1, net->GetHostName(name, expected.size()));

  // Step: the default services answer the cache with the same name.
  CLocalComputerName::DiscardInstance();
  EXPECT_EQ(0, CLocalComputerName::GetInstance().GetLocalComputerName(name, sizeof name));
  EXPECT_EQ(expected, name);
  CLocalComputerName::DiscardInstance();
}

}  // namespace
}  // namespace Foldwise
