#include "foldwise/network_services.h"

#include <atomic>

namespace Foldwise {
namespace {

std::atomic<NetworkServices*> g_current_services{nullptr};

}  // namespace

NetworkServices* NetworkServices::Current() {
  NetworkServices* services = g_current_services.load(std::memory_order_acquire);
  return services != nullptr ? services : Posix();
}

ScopedNetworkServices::ScopedNetworkServices(NetworkServices* services)
    : previous_(g_current_services.exchange(services)) {}

ScopedNetworkServices::~ScopedNetworkServices() { g_current_services.store(previous_); }

}  // namespace Foldwise
