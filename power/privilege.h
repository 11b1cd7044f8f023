// The shutdown privilege in the process's token, switched in its three
// steps: open the token, look the privilege up, adjust it. Each step's result
// is checked; adjusting also fails where the token lacks the privilege
// altogether, which the system reports as success with ERROR_NOT_ALL_ASSIGNED.
#pragma once
#include <cstdint>

#include "power/system_api.h"

namespace dusklet {

using Handle = uintptr_t;

struct Luid {
    uint32_t lowPart = 0;
    int32_t highPart = 0;
};

constexpr uint32_t kErrorNotAllAssigned = 1300;

class TokenSteps {
public:
    virtual ~TokenSteps() = default;
    // OpenProcessToken of this process for adjusting and querying privileges.
    virtual CallResult Open(Handle& token) = 0;
    // LookupPrivilegeValue of SeShutdownPrivilege on this machine.
    virtual CallResult LookUp(Luid& luid) = 0;
    // AdjustTokenPrivileges with that one privilege enabled or disabled; its
    // error is the last error whatever it returned.
    virtual CallResult Adjust(Handle token, Luid luid, bool enable) = 0;
    virtual void Close(Handle token) = 0;
};

// Switches the privilege; the first step that failed, with its error.
CallResult SwitchShutdownPrivilege(TokenSteps& steps, bool enable);

}  // namespace dusklet
