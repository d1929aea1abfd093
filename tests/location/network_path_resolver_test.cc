// The resolver against a scripted Windows-style network: drive paths, backslashes.
#include <string>

#include "location/location_fixture.h"

namespace Foldwise {
namespace {

class NetworkPathResolverTest : public LocationFixture {
 protected:
  void SetUp() override {
    LocationFixture::SetUp();
    net.shares = {{"data", "D:\\Shared"}};
    net.connected_drives = {{"\\\\server\\share", "Z:"}};
    net.SetDriveType("Z:\\", DriveType::kRemote);
  }
};

TEST_F(NetworkPathResolverTest, NetworkPathsToLocalPaths) {
  // Step: a share of this machine becomes its own folder, host and share names in any case.
  EXPECT_EQ("D:\\Shared\\dir\\file", Local("\\\\thishost\\data\\dir\\file"));
  EXPECT_EQ("D:\\Shared\\dir", Local("\\\\THISHOST\\DATA\\dir\\"));
  EXPECT_EQ("<fails>", Local("\\\\thishost\\database\\x"));  // no share of that name

  // Step: an administrative drive share of this machine becomes the drive.
  EXPECT_EQ("c:\\x", Local("\\\\thishost\\c$\\x"));

  // Step: another machine's share through the connected drive.
  EXPECT_EQ("Z:\\dir\\file", Local("\\\\server\\share\\dir\\file"));
  EXPECT_EQ("Z:", Local("\\\\Server\\Share"));
  EXPECT_EQ("Z:\\a", Local("//server/share/a"));

  // Step: drive and relative paths pass, trailing separators go, bare names fail.
  EXPECT_EQ("C:\\x", Local("C:\\x\\"));
  EXPECT_EQ(".\\x", Local(".\\x"));
  EXPECT_EQ("<fails>", Local("x"));
  EXPECT_EQ("<fails>", Local(""));
  EXPECT_EQ("<fails>", Local("\\"));
}

TEST_F(NetworkPathResolverTest, DriveFormOfThisMachineSkipsTheShareLookup) {
  EXPECT_EQ("<fails>", Local("\\\\thishost\\D:\\Shared"));
  EXPECT_EQ(0, net.share_enumerations.load());
  EXPECT_EQ(1, net.connection_enumerations.load());
}

TEST_F(NetworkPathResolverTest, ConnectsOnlyWhenAllowed) {
  net.SetConnectResult("\\\\other\\pub", "Y:");
  EXPECT_EQ("<fails>", Local("\\\\other\\pub\\a"));
  EXPECT_TRUE(net.connect_requests.empty());

  // Step: one leading backslash is a network path that lost one, and may connect.
  EXPECT_EQ("Y:\\a", Local("\\other\\pub\\a"));
  ASSERT_EQ(1u, net.connect_requests.size());
  EXPECT_EQ("\\\\other\\pub", net.connect_requests[0]);

  // Step: a refused connection fails the conversion.
  EXPECT_EQ("<fails>", Local("\\\\nobody\\pub\\a", 1));

  // Step: the resolver's own table answers when the enumeration cannot be read.
  net.fail_connection_enumeration = true;
  EXPECT_EQ("Y:\\b", Local("\\\\OTHER\\pub\\b"));
  EXPECT_EQ(2u, net.connect_requests.size());
}

TEST_F(NetworkPathResolverTest, LocalPathsToNetworkPaths) {
  // Step: the deepest share holding the path wins, whatever the enumeration order.
  for (int order = 0; order < 2; ++order) {
    SCOPED_TRACE(order);
    net.shares = {{"C$", "C:\\"}, {"data", "C:\\Data"}};
    if (order == 1) std::swap(net.shares[0], net.shares[1]);
    EXPECT_EQ("\\\\thishost\\data\\a", Shared("C:\\Data\\a"));
    EXPECT_EQ("\\\\thishost\\data", Shared("c:\\data\\"));
    EXPECT_EQ("\\\\thishost\\C$\\Database\\a", Shared("C:\\Database\\a"));
  }

  // Step: of equally deep shares the first enumerated wins.
  net.shares = {{"first", "E:\\x"}, {"second", "E:\\x\\"}};
  EXPECT_EQ("\\\\thishost\\first\\y", Shared("E:\\x\\y"));

  // Step: an unshared fixed drive falls back to its administrative share, if the machine has
  // them; other drives fail.
  EXPECT_EQ("\\\\thishost\\F$\\dir", Shared("F:\\dir\\"));
  net.administrative_shares = false;
  EXPECT_EQ("<fails>", Shared("F:\\dir"));
  net.administrative_shares = true;
  net.SetDriveType("R:\\", DriveType::kRemovable);
  EXPECT_EQ("<fails>", Shared("R:\\dir"));

  // Step: a remote drive gives its connection's remote name.
  EXPECT_EQ("\\\\server\\share\\dir", Shared("Z:\\dir"));
  net.SetDriveType("W:\\", DriveType::kRemote);
  EXPECT_EQ("<fails>", Shared("W:\\dir"));  // no connection behind it

  // Step: network paths pass unchanged, anything else that is not a drive path fails.
  EXPECT_EQ("\\\\any\\where\\", Shared("\\\\any\\where\\"));
  EXPECT_EQ("<fails>", Shared(".\\x"));
}

TEST_F(NetworkPathResolverTest, UnknownDriveIsFoundAmongOwnConnectionsByExactLetter) {
  net.SetConnectResult("\\\\other\\pub", "Y:");
  ASSERT_EQ("Y:", Local("\\\\other\\pub", 1));
  net.SetDriveType("Y:\\", DriveType::kUnknown);
  net.SetDriveType("y:\\", DriveType::kNoRootDirectory);
  EXPECT_EQ("\\\\other\\pub\\a", Shared("Y:\\a"));
  EXPECT_EQ("<fails>", Shared("y:\\a"));
}

TEST_F(NetworkPathResolverTest, StorageForm) {
  net.SetConnectResult("\\\\other\\pub", "Y:");
  // Step: other drive paths keep their drive form.
  EXPECT_EQ("C:\\x", Resolver().Canonicalize("C:\\x\\"));
  EXPECT_EQ("Z:\\dir", Resolver().Canonicalize("Z:\\dir"));
  // Step: a share of this machine is stored as its folder.
  EXPECT_EQ("D:\\Shared\\f", Resolver().Canonicalize("\\\\thishost\\data\\f"));
  // Step: another machine's share is stored as a drive, connected if need be...
  EXPECT_EQ("Y:\\f", Resolver().Canonicalize("\\\\other\\pub\\f"));
  EXPECT_EQ(1u, net.connect_requests.size());
  // ...and a path on that drive, which only this process knows, in network form.
  EXPECT_EQ("\\\\other\\pub\\f", Resolver().Canonicalize("Y:\\f"));
  // Step: what cannot be converted stays as it is.
  EXPECT_EQ("\\\\nobody\\x", Resolver().Canonicalize("\\\\nobody\\x"));
  EXPECT_EQ("rel", Resolver().Canonicalize("rel"));
  EXPECT_EQ("", Resolver().Canonicalize(""));
}

TEST_F(NetworkPathResolverTest, UnknownHostName) {
  net.fail_host_name = true;
  net.fail_computer_name = true;
  EXPECT_EQ("<fails>", Local("\\\\thishost\\data\\x"));
  EXPECT_EQ("<fails>", Shared("D:\\Shared\\x"));  // a share, but no host to name it
  EXPECT_EQ("D:\\Shared\\x", Resolver().Canonicalize("D:\\Shared\\x"));
  EXPECT_EQ("\\\\server\\share\\x", Resolver().Canonicalize("Z:\\x"));

  // Step: asked again until known; the computer name stands in for the host name.
  net.fail_computer_name = false;
  net.computer_name = "fallback";
  char buffer[16];
  int size = 9;
  EXPECT_EQ(1, Resolver().GetHostName(buffer, size));
  EXPECT_STREQ("fallback", buffer);
  EXPECT_EQ(8, size);
  const int asked = net.computer_name_calls.load();
  size = 8;  // no room for the NUL
  EXPECT_EQ(0, Resolver().GetHostName(buffer, size));
  EXPECT_EQ(asked, net.computer_name_calls.load());  // known now: not asked again
}

TEST_F(NetworkPathResolverTest, CachePeriodMemoisesConnectedDriveLookups) {
  const std::string path = "\\\\server\\share\\dir\\file";
  Local(path);
  Local(path);
  EXPECT_EQ(2, net.connection_enumerations.load());  // no memo outside a period

  Resolver().BeginCachePeriod();
  EXPECT_EQ("Z:\\dir\\file", Local(path));
  EXPECT_EQ("Z:\\dir\\file", Local(path));
  EXPECT_EQ(3, net.connection_enumerations.load());
  EXPECT_EQ("<fails>", Local("\\\\server\\gone\\x"));
  EXPECT_EQ("<fails>", Local("\\\\server\\gone\\x"));
  EXPECT_EQ(5, net.connection_enumerations.load());  // failures are not remembered
  Resolver().EndCachePeriod();

  // Step: every period starts with an empty memo.
  net.connected_drives = {{"\\\\server\\share", "X:"}};
  Resolver().BeginCachePeriod();
  EXPECT_EQ("X:\\dir\\file", Local(path));
  Resolver().EndCachePeriod();
}

}  // namespace
}  // namespace Foldwise
