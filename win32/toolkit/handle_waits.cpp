#include "win32/toolkit/handle_waits.h"

#include <algorithm>

#include "win32/toolkit/text.h"
#include "win32/toolkit/trace.h"

namespace dusklet::win {

void HandleWaits::Add(UniqueHandle handle, HWND window, UINT message, WPARAM tag) {
    waits_.push_back({handle.release(), window, message, tag});
}

void HandleWaits::Clear() {
    for (const Wait& w : waits_) CloseHandle(w.handle);
    waits_.clear();
}

DWORD HandleWaits::WaitOnce(DWORD ms, DWORD wakeMask) {
    HANDLE handles[MAXIMUM_WAIT_OBJECTS - 1];  // one place is the message queue's
    const DWORD n = static_cast<DWORD>(std::min(waits_.size(), std::size(handles)));
    for (DWORD i = 0; i < n; ++i) handles[i] = waits_[i].handle;
    const DWORD woke = MsgWaitForMultipleObjects(n, handles, FALSE, ms, wakeMask);
    if (woke >= WAIT_OBJECT_0 + n) return woke;  // a message, the time up, or a failure
    const Wait& done = waits_[woke - WAIT_OBJECT_0];
    if (!PostMessageA(done.window, done.message, done.tag, 0)) Trace("handle signalled: not posted");
    CloseHandle(done.handle);
    waits_.erase(waits_.begin() + (woke - WAIT_OBJECT_0));
    return WAIT_OBJECT_0;
}

bool HandleWaits::NextMessage(MSG& msg) {
    for (;;) {
        if (PeekMessage16(msg)) return msg.message != WM_QUIT;
        // A handle gone bad: messages still come.
        if (WaitOnce(INFINITE, QS_ALLINPUT) == WAIT_FAILED) return GetMessage16(msg) > 0;
    }
}

void HandleWaits::AnswerSignalled() {
    while (!waits_.empty() && WaitOnce(0, 0) == WAIT_OBJECT_0) {
    }
}

}  // namespace dusklet::win
