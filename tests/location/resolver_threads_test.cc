// The process-wide location objects reached from several threads at once: one instance each,
// and no connection the resolver makes is lost.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "foldwise/location.h"
#include "foldwise/network_services.h"
#include "foldwise/testing/fake_network_services.h"
#include "location/location_fixture.h"

namespace Foldwise {
namespace {

constexpr int kThreads = 8;

// A network on which every share can be connected, under /mnt/<share>. Nothing in its script
// changes on a connection, so many threads may call it at once.
class ConnectingNetwork : public testing::FakeNetworkServices {
 public:
  ConnectingNetwork() {
    default_drive_type = DriveType::kNoRootDirectory;
    administrative_shares = false;
  }
  bool ConnectShare(const std::string& remoteName, std::string* accessName) override {
    *accessName = "/mnt/" + remoteName.substr(remoteName.find_last_of('\\') + 1);
    return true;
  }
};

// Runs |work(thread)| on kThreads threads released at the same moment.
template <typename Work>
void RunTogether(Work work) {
  std::atomic<int> waiting{kThreads};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      waiting.fetch_sub(1);
      while (waiting.load() > 0) std::this_thread::yield();
      work(t);
    });
  }
  for (std::thread& thread : threads) thread.join();
}

using ResolverThreadsTest = LocationFixture;

TEST_F(ResolverThreadsTest, FirstCallsFromManyThreadsMakeOneInstance) {
  for (int round = 0; round < 100; ++round) {
    ForgetLocation();
    const void* resolvers[kThreads];
    const void* names[kThreads];
    RunTogether([&](int t) {
      resolvers[t] = &NetworkPathResolver::GetInstance();
      names[t] = &CLocalComputerName::GetInstance();
    });
    for (int t = 1; t < kThreads; ++t) {
      ASSERT_EQ(resolvers[0], resolvers[t]) << "round " << round;
      ASSERT_EQ(names[0], names[t]) << "round " << round;
    }
  }
}

TEST_F(ResolverThreadsTest, ConnectionsMadeOnManyThreadsAreAllRemembered) {
  ConnectingNetwork network;
  ScopedNetworkServices use_network(&network);
  constexpr int kSharesPerThread = 150;
  auto share = [](int t, int i) { return "s" + std::to_string(t) + "x" + std::to_string(i); };

  // Step 1: every thread converts paths of shares nobody connected yet, so each conversion
  // connects one and remembers it.
  std::atomic<int> converted{0};
  RunTogether([&](int t) {
    for (int i = 0; i < kSharesPerThread; ++i) {
      std::string local;
      if (Resolver().ToLocalPath("\\\\server\\" + share(t, i) + "\\a.dss", local, 1) &&
          local == "/mnt/" + share(t, i) + "/a.dss") {
        ++converted;
      }
    }
  });
  EXPECT_EQ(kThreads * kSharesPerThread, converted.load());

  // Step 2: the resolver knows every one of them as its own connection.
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kSharesPerThread; ++i) {
      EXPECT_EQ("\\\\server\\" + share(t, i) + "\\a.dss", Shared("/mnt/" + share(t, i) + "/a.dss"));
    }
  }
}

}  // namespace
}  // namespace Foldwise
