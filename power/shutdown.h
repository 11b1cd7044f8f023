// The power actions: log off, restart, power off, suspend, hibernate, lock.
// Each asks the system for its version first and refuses where the version
// lacks the action. Booleans are 16-bit, true = -1; any nonzero counts.
#pragma once
#include <cstdint>

#include "base/boolean.h"
#include "power/system_api.h"

namespace dusklet {

uint32_t ComposeExitFlags(uint32_t flags, Boolean force);

Boolean ExitWindowsAction(SystemApi& api, const int32_t& flags, const Boolean& force);
Boolean SuspendAction(SystemApi& api, const int32_t& hibernate, const Boolean& force, const Boolean& disableWake);
Boolean LockAction(SystemApi& api);
void SetShutdownPrivilege(SystemApi& api, Boolean enable);

}  // namespace dusklet
