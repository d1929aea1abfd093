// The resolver's single instance, its cache periods and the host name it converts against.
#include <memory>
#include <mutex>

#include "foldwise/location.h"
#include "foldwise/network_services.h"

namespace Foldwise {
namespace {

// Any thread may make the first call; the mutex keeps two of them from making two instances.
// Shared ownership lets a cache period keep the instance it opened until it has ended it.
std::mutex g_instanceLock;
std::shared_ptr<NetworkPathResolver> g_instance;

// Room for a host name, as the socket layer and the operating system give it.
constexpr int kHostNameBufferSize = 256;

}  // namespace

NetworkPathResolver::NetworkPathResolver() {
  // A workgroup rarely needs more than a handful of drives connected by the library.
  connections.reserve(5);
}

NetworkPathResolver::~NetworkPathResolver() = default;

NetworkPathResolver& NetworkPathResolver::GetInstance() {
  std::lock_guard<std::mutex> guard(g_instanceLock);
  if (!g_instance) g_instance.reset(new NetworkPathResolver);
  return *g_instance;
}

std::shared_ptr<NetworkPathResolver> NetworkPathResolver::ExistingInstance() {
  std::lock_guard<std::mutex> guard(g_instanceLock);
  return g_instance;
}

bool NetworkPathResolver::HasInstance() { return ExistingInstance() != nullptr; }

void NetworkPathResolver::DiscardInstance() {
  std::shared_ptr<NetworkPathResolver> discarded;
  std::lock_guard<std::mutex> guard(g_instanceLock);
  discarded.swap(g_instance);
}

void NetworkPathResolver::BeginCachePeriod() {
  lock.lock();
  cacheOn = 1;
  pathCache.clear();
}

void NetworkPathResolver::EndCachePeriod() {
  cacheOn = 0;
  lock.unlock();
}

const std::string* NetworkPathResolver::KnownHostName() {
  if (!hostNameKnown) {
    char name[kHostNameBufferSize] = {};
    std::string computerName;
    if (CLocalComputerName::GetInstance().GetLocalComputerName(name, sizeof name) == 0) {
      hostName = name;
      hostNameKnown = 1;
    } else if (NetworkServices::Current()->GetComputerName(&computerName) &&
               computerName.size() < static_cast<std::size_t>(kHostNameBufferSize)) {
      hostName = computerName;
      hostNameKnown = 1;
    }
    // Otherwise the next conversion asks again.
  }
  return hostNameKnown ? &hostName : nullptr;
}

int NetworkPathResolver::GetHostName(char* buffer, int& size) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  const std::string* name = KnownHostName();
  if (name == nullptr || buffer == nullptr || size < 0) return 0;
  if (name->size() >= static_cast<std::size_t>(size)) return 0;
  name->copy(buffer, name->size());
  buffer[name->size()] = '\0';
  size = static_cast<int>(name->size());
  return 1;
}

}  // namespace Foldwise
