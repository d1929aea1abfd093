// The host name cache. Path conversions ask for the host name for every stored path, and the
// socket layer is slow to answer, so a caching period reads it once.
#include <cstring>
#include <memory>
#include <mutex>

#include "foldwise/location.h"
#include "foldwise/network_services.h"

namespace Foldwise {
namespace {

// Any thread may make the first call; the mutex keeps two of them from making two instances.
std::mutex g_instanceLock;
std::unique_ptr<CLocalComputerName> g_instance;

}  // namespace

CLocalComputerName::CLocalComputerName() = default;
CLocalComputerName::~CLocalComputerName() = default;

CLocalComputerName& CLocalComputerName::GetInstance() {
  std::lock_guard<std::mutex> guard(g_instanceLock);
  if (!g_instance) g_instance.reset(new CLocalComputerName);
  return *g_instance;
}

void CLocalComputerName::DiscardInstance() {
  std::unique_ptr<CLocalComputerName> discarded;
  std::lock_guard<std::mutex> guard(g_instanceLock);
  discarded.swap(g_instance);
}

void CLocalComputerName::ActivateCache() {
  std::lock_guard<std::mutex> guard(lock);
  if (++activeCount != 1) return;
  std::memset(cachedName, 0, sizeof cachedName);
  cachedResult = NetworkServices::Current()->GetHostName(cachedName, sizeof cachedName);
  // A failed lookup leaves the empty name, which every query of the period then yields.
  if (cachedResult != 0) std::memset(cachedName, 0, sizeof cachedName);
}

void CLocalComputerName::DeactivateCache() {
  std::lock_guard<std::mutex> guard(lock);
  --activeCount;
}

int CLocalComputerName::GetLocalComputerName(char* name, int len) {
  if (name == nullptr || len < 0) return -1;
  {
    // Held only to read a consistent name while another thread opens a period.
    std::lock_guard<std::mutex> guard(lock);
    if (activeCount >= 1) {
      const std::size_t needed = std::strlen(cachedName) + 1;
      if (needed > static_cast<std::size_t>(len)) return -1;
      std::memcpy(name, cachedName, needed);
      return cachedResult;
    }
  }
  return NetworkServices::Current()->GetHostName(name, static_cast<std::size_t>(len));
}

}  // namespace Foldwise
