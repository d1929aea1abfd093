#include "foldwise/env.h"

#include "platform/override_slot.h"

namespace Foldwise {

using EnvSlot = platform::OverrideSlot<Env>;

Env* Env::Current() { return EnvSlot::Current(&Env::Default); }

ScopedEnv::ScopedEnv(Env* env) : previous_(EnvSlot::Install(env)) {}

ScopedEnv::~ScopedEnv() { EnvSlot::Restore(previous_); }

}  // namespace Foldwise
