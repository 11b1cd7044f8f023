// The message loop's waits on handles besides messages: a process that ends,
// say, reaches its window with no timer and no CPU while it runs. A handle
// added here is waited on until it is signalled or the waits are cleared;
// signalled, it reaches its window as a posted message.
#pragma once
#include <windows.h>

#include <vector>

#include "win32/toolkit/handles.h"

namespace dusklet::win {

class HandleWaits {
public:
    HandleWaits() = default;
    HandleWaits(const HandleWaits&) = delete;
    HandleWaits& operator=(const HandleWaits&) = delete;
    ~HandleWaits() { Clear(); }
    // Takes the handle over; signalled, it is closed and `message` posted to
    // `window` with `tag` in wParam.
    void Add(UniqueHandle handle, HWND window, UINT message, WPARAM tag);
    // Every handle closed, waited on no more.
    void Clear();
    // The next message into `msg`, false for WM_QUIT (as GetMessage), the
    // handles signalled meanwhile answered. At most the system's limit is
    // waited on at once: the others, in the order added, as those before
    // them are done (a process handle stays signalled).
    bool NextMessage(MSG& msg);
    // The handles signalled by now answered, with no wait: for a loop of the
    // system's own (a message box's), which takes no NextMessage.
    void AnswerSignalled();

private:
    struct Wait {
        HANDLE handle;  // owned
        HWND window;
        UINT message;
        WPARAM tag;
    };
    // Waits `ms` at most for a handle, or for the messages of `wakeMask`; a
    // handle signalled is answered (WAIT_OBJECT_0), else what the wait gave.
    DWORD WaitOnce(DWORD ms, DWORD wakeMask);
    std::vector<Wait> waits_;
};

}  // namespace dusklet::win
