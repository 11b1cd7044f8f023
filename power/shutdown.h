// The power actions: log off, restart, power off, suspend, hibernate, lock.
// Each asks the system for its version first and refuses where the version
// lacks the action; suspend and hibernate also ask what the machine can do.
#pragma once
#include <cstdint>

#include "power/system_api.h"

namespace dusklet {

// What became of a power action: done, refused before any call, or failed in
// the call with the system's error; an action the caller could not identify
// is never done.
struct PowerResult {
    enum class Outcome { Done, NotOnThisVersion, NotOnThisMachine, Failed, UnknownAction };
    Outcome outcome = Outcome::Done;
    uint32_t error = 0;  // Failed: the system's last error
    bool Done() const { return outcome == Outcome::Done; }
};

uint32_t ComposeExitFlags(uint32_t flags, bool force);
// What the system's shutdown log says of the program's log offs, restarts and
// power offs: a planned one, for no reason the system names.
constexpr uint32_t kExitReason = kShtdnReasonMajorOther | kShtdnReasonMinorOther | kShtdnReasonFlagPlanned;

// On the NT family the shutdown privilege is enabled just for the call.
PowerResult ExitWindowsAction(SystemApi& api, uint32_t flags, bool force);
// On a machine with Modern Standby, which cannot suspend, suspend turns the
// display off instead, as the system's own sleep does there.
PowerResult SuspendAction(SystemApi& api, bool hibernate, bool force, bool disableWake);
PowerResult LockAction(SystemApi& api);
// What suspend or hibernate, and locking, would answer now before any power
// call: Done where this Windows and this machine allow it, else the refusal
// that the action itself would give. The actions ask the same again when they
// run: the machine may change in between.
PowerResult SuspendRefusal(SystemApi& api, bool hibernate);
PowerResult LockRefusal(SystemApi& api);

}  // namespace dusklet
