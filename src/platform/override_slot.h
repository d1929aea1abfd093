// The process-wide slot behind Env::Current and NetworkServices::Current: empty means the POSIX
// default is in force; a scoped installer puts another implementation in and takes it out.
#ifndef FOLDWISE_PLATFORM_OVERRIDE_SLOT_H_
#define FOLDWISE_PLATFORM_OVERRIDE_SLOT_H_

#include <atomic>

namespace Foldwise {
namespace platform {

template <typename Service>
class OverrideSlot {
 public:
  // The installed implementation, or |fallback| when none is.
  static Service* Current(Service* (*fallback)()) {
    Service* installed = slot_.load(std::memory_order_acquire);
    return installed != nullptr ? installed : fallback();
  }
  // Installs |service| and returns what was installed before.
  static Service* Install(Service* service) { return slot_.exchange(service); }
  static void Restore(Service* previous) { slot_.store(previous); }

 private:
  static inline std::atomic<Service*> slot_{nullptr};
};

}  // namespace platform
}  // namespace Foldwise

#endif  // FOLDWISE_PLATFORM_OVERRIDE_SLOT_H_
