// The process-wide location objects reached from several threads at once: one instance each,
// and no connection the resolver makes is lost.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "foldwise/location.h"
#include "foldwise/network_services.h"
#include "location/location_fixture.h"

namespace Foldwise {
namespace {

constexpr int kThreads = 8;

// A network on which every share can be connected, under /mnt/<share>, safe to call from many
// threads (the scripted fake is not).
class ConnectingNetwork : public NetworkServices {
 public:
  int GetHostName(char* name, std::size_t len) override {
    const std::string host = "thishost";
    if (len <= host.size()) return -1;
    host.copy(name, host.size());
    name[host.size()] = '\0';
    return 0;
  }
  bool GetComputerName(std::string* name) override {
    *name = "thishost";
    return true;
  }
  bool InitializeSockets() override { return true; }
  bool EnumerateShares(std::vector<ShareInfo>* shares) override {
    shares->clear();
    return true;
  }
  bool EnumerateConnections(std::vector<NetworkConnection>* connections) override {
    connections->clear();
    return true;
  }
  bool GetConnection(const std::string&, NetworkConnection*) override { return false; }
  DriveType GetDriveType(const std::string&) override { return DriveType::kNoRootDirectory; }
  bool ConnectShare(const std::string& remoteName, std::string* accessName) override {
    *accessName = "/mnt/" + remoteName.substr(remoteName.find_last_of('\\') + 1);
    return true;
  }
  bool HasAdministrativeShares() override { return false; }
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
