// A scripted network for tests: the host name, this machine's shares, the connected drives,
// drive kinds and what connecting a share gives are set by the test, and every call is counted.
//
//   Foldwise::testing::FakeNetworkServices net;
//   net.shares = {{"data", "D:\\Shared"}};
//   Foldwise::ScopedNetworkServices use(&net);
//   // \\thishost\data\x now resolves to D:\Shared\x.
//
// Thread safety: the script is set while no other thread uses the services; the call counters
// are atomic, connect_requests is not.
#ifndef FOLDWISE_TESTING_FAKE_NETWORK_SERVICES_H_
#define FOLDWISE_TESTING_FAKE_NETWORK_SERVICES_H_

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "foldwise/network_services.h"

namespace Foldwise {
namespace testing {

class FakeNetworkServices : public NetworkServices {
 public:
  FakeNetworkServices() = default;

  // The script. Names and paths are compared ignoring case, either slash kind matching.
  std::string host_name = "thishost";
  bool fail_host_name = false;
  std::string computer_name = "thishost";
  bool fail_computer_name = false;
  bool fail_socket_init = false;
  std::vector<ShareInfo> shares;  // in enumeration order
  bool fail_share_enumeration = false;
  std::vector<NetworkConnection> connected_drives;  // in enumeration order
  bool fail_connection_enumeration = false;
  DriveType default_drive_type = DriveType::kFixed;
  bool administrative_shares = true;

  // Paths under |root| (a drive root "Z:\" or a POSIX folder; the longest one wins, the later
  // of equal ones) are on a drive of |type|; other paths are on default_drive_type.
  void SetDriveType(const std::string& root, DriveType type);
  // ConnectShare of |remoteName| succeeds with |accessName| (such as "Z:"), and the new
  // connection then shows in connected_drives on a remote drive. Unscripted shares refuse.
  void SetConnectResult(const std::string& remoteName, const std::string& accessName);

  // Counts of calls made.
  std::atomic<int> host_name_calls{0};
  std::atomic<int> computer_name_calls{0};
  std::atomic<int> socket_inits{0};
  std::atomic<int> share_enumerations{0};
  std::atomic<int> connection_enumerations{0};
  std::atomic<int> connection_lookups{0};
  std::atomic<int> drive_type_queries{0};
  std::vector<std::string> connect_requests;  // the remote names asked for, in order

  int GetHostName(char* name, std::size_t len) override;
  bool GetComputerName(std::string* name) override;
  bool InitializeSockets() override;
  bool EnumerateShares(std::vector<ShareInfo>* result) override;
  bool EnumerateConnections(std::vector<NetworkConnection>* result) override;
  bool GetConnection(const std::string& path, NetworkConnection* connection) override;
  DriveType GetDriveType(const std::string& path) override;
  bool ConnectShare(const std::string& remoteName, std::string* accessName) override;
  bool HasAdministrativeShares() override { return administrative_shares; }

 private:
  std::vector<std::pair<std::string, DriveType>> drive_types_;
  std::vector<std::pair<std::string, std::string>> connect_results_;
};

}  // namespace testing
}  // namespace Foldwise

#endif  // FOLDWISE_TESTING_FAKE_NETWORK_SERVICES_H_
