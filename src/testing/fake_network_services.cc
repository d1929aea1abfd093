#include "foldwise/testing/fake_network_services.h"

#include <cstring>

#include "base/path_text.h"

namespace Foldwise {
namespace testing {

void FakeNetworkServices::SetDriveType(const std::string& root, DriveType type) {
  drive_types_.emplace_back(root, type);
}

void FakeNetworkServices::SetConnectResult(const std::string& remoteName,
                                           const std::string& accessName) {
  connect_results_.emplace_back(remoteName, accessName);
}

int FakeNetworkServices::GetHostName(char* name, std::size_t len) {
  ++host_name_calls;
  if (fail_host_name || name == nullptr || host_name.size() + 1 > len) return -1;
  std::memcpy(name, host_name.c_str(), host_name.size() + 1);
  return 0;
}

bool FakeNetworkServices::GetComputerName(std::string* name) {
  ++computer_name_calls;
  if (fail_computer_name) return false;
  *name = computer_name;
  return true;
}

bool FakeNetworkServices::InitializeSockets() {
  ++socket_inits;
  return !fail_socket_init;
}

bool FakeNetworkServices::EnumerateShares(std::vector<ShareInfo>* result) {
  ++share_enumerations;
  result->clear();
  if (fail_share_enumeration) return false;
  *result = shares;
  return true;
}

bool FakeNetworkServices::EnumerateConnections(std::vector<NetworkConnection>* result) {
  ++connection_enumerations;
  result->clear();
  if (fail_connection_enumeration) return false;
  *result = connected_drives;
  return true;
}

bool FakeNetworkServices::GetConnection(const std::string& path, NetworkConnection* connection) {
  ++connection_lookups;
  const NetworkConnection* holding = nullptr;
  for (const NetworkConnection& drive : connected_drives) {
    if (drive.localName.empty() || !path_text::StartsAtBoundary(path, drive.localName)) continue;
    if (holding == nullptr || drive.localName.size() > holding->localName.size()) holding = &drive;
  }
  if (holding == nullptr) return false;
  *connection = *holding;
  return true;
}

DriveType FakeNetworkServices::GetDriveType(const std::string& path) {
  ++drive_type_queries;
  const std::pair<std::string, DriveType>* best = nullptr;
  for (const auto& scripted : drive_types_) {
    if (!path_text::StartsAtBoundary(path, scripted.first)) continue;
    // The later of two equal roots wins, so a test can change a drive's kind.
    if (best == nullptr || scripted.first.size() >= best->first.size()) best = &scripted;
  }
  return best != nullptr ? best->second : default_drive_type;
}

bool FakeNetworkServices::ConnectShare(const std::string& remoteName, std::string* accessName) {
  connect_requests.push_back(remoteName);
  accessName->clear();
  for (const auto& scripted : connect_results_) {
    if (!path_text::SameText(scripted.first, remoteName)) continue;
    *accessName = scripted.second;
    std::string localName = scripted.second;
    if (path_text::IsDrivePath(localName)) localName = localName.substr(0, 2);
    connected_drives.push_back(NetworkConnection{remoteName, localName});
    SetDriveType(path_text::IsDrivePath(localName) ? localName + "\\" : localName,
                 DriveType::kRemote);
    return true;
  }
  return false;
}

}  // namespace testing
}  // namespace Foldwise
