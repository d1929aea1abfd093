#include "foldwise/env.h"

#include <atomic>

namespace Foldwise {
namespace {

std::atomic<Env*> g_current_env{nullptr};

}  // namespace

Env* Env::Current() {
  Env* env = g_current_env.load(std::memory_order_acquire);
  return env != nullptr ? env : Posix();
}

ScopedEnv::ScopedEnv(Env* env) : previous_(g_current_env.exchange(env)) {}

ScopedEnv::~ScopedEnv() { g_current_env.store(previous_); }

}  // namespace Foldwise
