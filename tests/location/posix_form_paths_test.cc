// The resolver on a POSIX machine's kind of paths: shares mounted under folders, shares of this
// machine exported from POSIX folders, and no administrative drive shares.
#include <string>

#include "location/location_fixture.h"

namespace Foldwise {
namespace {

class PosixFormPathsTest : public LocationFixture {
 protected:
  void SetUp() override {
    LocationFixture::SetUp();
    net.administrative_shares = false;
    net.shares = {{"data", "/srv/data"}, {"root", "/"}};
    net.connected_drives = {{"\\\\server\\share", "/mnt/share"}};
    net.SetDriveType("/mnt/share", DriveType::kRemote);
  }
};

TEST_F(PosixFormPathsTest, MountedShareResolvesToItsMountPoint) {
  EXPECT_EQ("/mnt/share/dir/file", Local("\\\\server\\share\\dir\\file"));
  EXPECT_EQ("/mnt/share/dir/file", Local("//server/share/dir/file/"));
  EXPECT_EQ("/mnt/share", Local("\\\\server\\share\\"));
  EXPECT_EQ("/mnt/share/a", Stored("\\\\SERVER\\share\\a"));
}

TEST_F(PosixFormPathsTest, SharesOfThisMachineResolveToTheirFolders) {
  EXPECT_EQ("/srv/data/a/b", Local("\\\\thishost\\data\\a\\b"));
  EXPECT_EQ("/etc/x", Local("\\\\thishost\\root\\etc\\x"));
  EXPECT_EQ("/", Local("\\\\thishost\\root"));
  EXPECT_EQ("\\\\thishost\\data\\a\\b", Shared("/srv/data/a/b"));
  EXPECT_EQ("\\\\thishost\\root\\srv\\database", Shared("/srv/database"));
  // Step: no administrative shares on this kind of machine.
  EXPECT_EQ("<fails>", Local("\\\\thishost\\c$\\x"));
  net.shares.clear();
  EXPECT_EQ("<fails>", Shared("/home/user"));
  EXPECT_EQ("\\\\thishost\\c$\\x", Stored("\\\\thishost\\c$\\x"));
}

TEST_F(PosixFormPathsTest, StorageFormKeepsLocalPathsAndNetworkFormsOnlyForOwnConnections) {
  // Step: plain local paths and paths under a mount made by someone else keep their form.
  EXPECT_EQ("/home/user/x", Resolver().Canonicalize("/home/user/x/"));
  EXPECT_EQ("/srv/data/a", Resolver().Canonicalize("/srv/data/a"));
  EXPECT_EQ("\\\\server\\share\\dir", Shared("/mnt/share/dir"));
  EXPECT_EQ("/mnt/share/dir", Resolver().Canonicalize("/mnt/share/dir"));
  EXPECT_EQ("/mnt/sharedir", Resolver().Canonicalize("/mnt/sharedir"));

  // Step: a mount the resolver made itself is stored as the network path, in backslashes.
  net.SetConnectResult("\\\\other\\pub", "/run/foldwise/pub");
  EXPECT_EQ("/run/foldwise/pub/f", Resolver().Canonicalize("//other/pub/f"));
  EXPECT_EQ("\\\\other\\pub\\dir\\f", Resolver().Canonicalize("/run/foldwise/pub/dir/f"));

  // Step: once its kind is unknown, the resolver's own table still names it.
  net.SetDriveType("/run/foldwise/pub", DriveType::kUnknown);
  EXPECT_EQ("\\\\other\\pub\\g", Shared("/run/foldwise/pub/g"));
  EXPECT_EQ("\\\\thishost\\root\\run\\foldwise\\public", Shared("/run/foldwise/public"));
}

}  // namespace
}  // namespace Foldwise
