#include "foldwise/network_services.h"

#include "platform/override_slot.h"

namespace Foldwise {

using ServicesSlot = platform::OverrideSlot<NetworkServices>;

NetworkServices* NetworkServices::Current() {
  return ServicesSlot::Current(&NetworkServices::Default);
}

ScopedNetworkServices::ScopedNetworkServices(NetworkServices* services)
    : previous_(ServicesSlot::Install(services)) {}

ScopedNetworkServices::~ScopedNetworkServices() { ServicesSlot::Restore(previous_); }

}  // namespace Foldwise
