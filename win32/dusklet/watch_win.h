// What the 当 mode watches, on Win32: the processes (tool help, or psapi on
// NT 4) and the windows that show, a process's end waited on by the message
// loop, the network's counters (iphlpapi, 98, ME, NT 4 SP4, 2000 and later),
// the last input (2000 and later), and the window timers that bring the next
// sample or look. What comes back reaches the window as its messages.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "app/watch.h"
#include "win32/toolkit/handle_waits.h"
#include "win32/toolkit/handles.h"

namespace dusklet::win {

class WinWatch : public Watch {
public:
    // The window that takes `ended` (wParam the process id) and the timers
    // `sampleTimer` and `lookTimer`; the loop that waits on the processes.
    WinWatch(HandleWaits& waits, UINT ended, UINT sampleTimer, UINT lookTimer)
        : waits_(waits), ended_(ended), sampleTimer_(sampleTimer), lookTimer_(lookTimer) {}
    void SetWindow(HWND window) { window_ = window; }

    bool Installed(Condition condition) override;
    uint32_t Tick() override { return GetTickCount(); }
    std::vector<uint32_t> Running(std::u16string_view name) override;
    std::u16string NameOf(uint32_t id) override;
    void EachShownProgram(ShownVisitor each, void* context) override;
    Wait WaitForEnd(uint32_t id) override;
    void StopWaiting() override { waits_.Clear(); }
    std::optional<std::vector<InterfaceBytes>> Received() override;
    void Sample(bool on) override;
    uint32_t LastInput() override;
    bool FullScreen() override;
    void LookIn(std::optional<uint32_t> ms) override;

private:
    HandleWaits& waits_;
    UINT ended_, sampleTimer_, lookTimer_;
    HWND window_ = nullptr;
    std::unique_ptr<char[]> table_;  // the network's counters, as last read
    ULONG tableSize_ = 0;            // the bytes table_ holds
};

// Whether the shell holds notifications back now (Vista and later): a
// full-screen program, a presentation or a busy state runs.
bool NotificationsHeldBack();

}  // namespace dusklet::win
