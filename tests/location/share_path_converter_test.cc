#include <string>

#include "location/location_fixture.h"

namespace Foldwise {
namespace {

class SharePathConverterTest : public LocationFixture {
 protected:
  void SetUp() override {
    LocationFixture::SetUp();
    net.connected_drives = {{"\\\\server\\share", "Z:"}, {"\\\\server\\docs", ""}};
  }
};

TEST_F(SharePathConverterTest, ResolvesStoredPaths) {
  // Step: local paths are usable as they are; an empty one is not a path.
  EXPECT_EQ("C:\\x\\", Stored("C:\\x\\"));
  EXPECT_EQ("/home/x", Stored("/home/x"));
  EXPECT_EQ("<fails>", Stored(""));
  EXPECT_EQ(0, net.socket_inits.load());

  // Step: a connected drive, matched by plain prefix.
  EXPECT_EQ("Z:\\dir\\f", Stored("\\\\SERVER\\share\\dir\\f"));
  EXPECT_EQ("Z:s\\f", Stored("\\\\server\\shares\\f"));
  // Step: a resource without local name is passed over.
  EXPECT_EQ("\\\\server\\docs\\f", Stored("\\\\server\\docs\\f"));

  // Step: another machine's share stays; this machine's drive share becomes the drive.
  EXPECT_EQ("\\\\otherhost\\share\\a", Stored("\\\\otherhost\\share\\a"));
  EXPECT_EQ("c:\\dir\\file", Stored("\\\\ThisHost\\c$\\dir\\file"));
  EXPECT_EQ("\\\\thishost\\data\\f", Stored("\\\\thishost\\data\\f"));
  EXPECT_EQ("\\\\thishost\\$x", Stored("\\\\thishost\\$x"));  // the dollar must follow a letter

  // Step: what is no network path fails.
  EXPECT_EQ("<fails>", Stored("\\\\thishost"));
  EXPECT_EQ("<fails>", Stored("\\\\thishost\\"));
  EXPECT_EQ("<fails>", Stored("relative\\x"));
}

TEST_F(SharePathConverterTest, HostNameIsAskedOncePerProcess) {
  Stored("\\\\a\\b\\c");
  net.host_name = "renamed";
  EXPECT_EQ("c:\\x", Stored("\\\\thishost\\c$\\x"));
  EXPECT_EQ(1, net.host_name_calls.load());
  SharePathConverter::ForgetRememberedHostName();
  EXPECT_EQ("c:\\x", Stored("\\\\renamed\\c$\\x"));
}

TEST_F(SharePathConverterTest, PlatformFailuresFail) {
  net.fail_socket_init = true;
  EXPECT_EQ("<fails>", Stored("\\\\a\\b\\c"));
  net.fail_socket_init = false;
  net.fail_host_name = true;
  EXPECT_EQ("<fails>", Stored("\\\\a\\b\\c"));
  net.fail_host_name = false;
  net.fail_connection_enumeration = true;
  EXPECT_EQ("<fails>", Stored("\\\\a\\b\\c"));
}

}  // namespace
}  // namespace Foldwise
