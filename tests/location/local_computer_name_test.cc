// The computer name, asked of the socket layer each time or read once per caching period.
#include <cstring>
#include <string>

#include "location/location_fixture.h"

namespace Foldwise {
namespace {

class LocalComputerNameTest : public LocationFixture {
 protected:
  CLocalComputerName& Names() { return CLocalComputerName::GetInstance(); }

  // The name a query gives, or "<-1>" when it fails.
  std::string Query(int len = 256) {
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    if (Names().GetLocalComputerName(buffer, len) != 0) return "<-1>";
    return buffer;
  }
};

TEST_F(LocalComputerNameTest, UncachedQueriesAskTheSocketLayerEveryTime) {
  net.host_name = "alpha";
  EXPECT_EQ("alpha", Query());
  EXPECT_EQ("alpha", Query());
  EXPECT_EQ(2, net.host_name_calls.load());
  // Step: the socket layer's own rule for a too small buffer.
  EXPECT_EQ("<-1>", Query(5));
  EXPECT_EQ("alpha", Query(6));

  // Step: discarding (harmless twice) forgets an open period; a new instance starts uncached.
  Names().ActivateCache();
  CLocalComputerName::DiscardInstance();
  CLocalComputerName::DiscardInstance();
  net.host_name = "fresh";
  EXPECT_EQ("fresh", Query());
}

TEST_F(LocalComputerNameTest, CachingPeriodReadsTheNameOnceAndAppliesTheBufferRule) {
  net.host_name = "hostname";  // 8 characters
  Names().ActivateCache();
  Names().ActivateCache();  // nested: only counts
  EXPECT_EQ(1, net.host_name_calls.load());

  // Step: too small a buffer fails and writes nothing.
  char buffer[16];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(-1, Names().GetLocalComputerName(buffer, 8));
  EXPECT_EQ('x', buffer[0]);
  EXPECT_EQ(0, Names().GetLocalComputerName(buffer, 9));
  EXPECT_STREQ("hostname", buffer);

  // Step: a renamed host is not seen while any period is open.
  net.host_name = "renamed";
  Names().DeactivateCache();
  EXPECT_EQ("hostname", Query());
  EXPECT_EQ(1, net.host_name_calls.load());

  // Step: the next period that opens from zero reads again.
  Names().DeactivateCache();
  Names().ActivateCache();
  EXPECT_EQ("renamed", Query());
  EXPECT_EQ(2, net.host_name_calls.load());
}

TEST_F(LocalComputerNameTest, FailedLookupGivesTheEmptyNameForTheWholePeriod) {
  net.fail_host_name = true;
  Names().ActivateCache();
  net.fail_host_name = false;  // recovers, but the period keeps what it read
  char buffer[8] = "old";
  EXPECT_EQ(-1, Names().GetLocalComputerName(buffer, sizeof buffer));
  EXPECT_STREQ("", buffer);
  Names().DeactivateCache();
  EXPECT_EQ("thishost", Query());

  // Step: an unbalanced deactivation (count -1) keeps the next activation uncached; the one
  // after it reads, then answers from memory.
  Names().DeactivateCache();
  Names().ActivateCache();
  const int asked = net.host_name_calls.load();
  Query();
  Names().ActivateCache();
  Query();
  EXPECT_EQ(asked + 2, net.host_name_calls.load());
}

}  // namespace
}  // namespace Foldwise
