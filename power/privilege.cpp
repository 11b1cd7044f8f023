#include "power/privilege.h"

namespace dusklet {

CallResult SwitchShutdownPrivilege(TokenSteps& steps, bool enable) {
    Handle token = 0;
    if (const CallResult opened = steps.Open(token); !opened.ok) return opened;
    Luid luid;
    CallResult result = steps.LookUp(luid);
    if (result.ok) {
        result = steps.Adjust(token, luid, enable);
        if (result.ok && result.error == kErrorNotAllAssigned) result.ok = false;
        if (result.ok) result.error = 0;
    }
    steps.Close(token);
    return result;
}

}  // namespace dusklet
