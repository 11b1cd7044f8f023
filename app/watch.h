// What the 当 mode's conditions need from the system: the processes and the
// windows that show, waiting on a process's end, the network's counters, the
// last input and whether a full-screen program runs, and the wake-ups that
// bring the next look. What comes back reaches frmMain as events
// (MainEvent ProgramEnded, Sample, IdleLook).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/conditions.h"

namespace dusklet {

class Watch {
public:
    virtual ~Watch() = default;
    // Whether what the condition needs is installed (asked where the
    // version alone cannot tell, WatchableOn).
    virtual bool Installed(Condition condition) = 0;
    // The system's tick count, in milliseconds.
    virtual uint32_t Tick() = 0;

    // The processes of the executable of that file name, and the file name
    // of a process's executable (empty where it runs no more).
    virtual std::vector<uint32_t> Running(std::u16string_view name) = 0;
    virtual std::u16string NameOf(uint32_t id) = 0;
    // Calls `each` for every top-level window that shows a title, but the
    // program's own: its process, its title, the file name of its
    // executable. The list of 程序退出 offers them.
    using ShownVisitor = void (*)(void* context, uint32_t id, std::u16string_view title, std::u16string_view name);
    virtual void EachShownProgram(ShownVisitor each, void* context) = 0;
    // Waits for the process's end without a timer: ProgramEnded comes with
    // its id. Ended where it has ended already; Unseen where it runs but
    // cannot be waited for (another user's, the system's), and is to be
    // looked for at each Sample.
    enum class Wait { Waiting, Ended, Unseen };
    virtual Wait WaitForEnd(uint32_t id) = 0;
    virtual void StopWaiting() = 0;

    // The received bytes of every interface that is up and not the
    // loopback, in the order the system lists them; nothing where it cannot say.
    virtual std::optional<std::vector<InterfaceBytes>> Received() = 0;
    // Sample every few seconds, or no more.
    virtual void Sample(bool on) = 0;

    // The tick count at the last input, and whether a full-screen program or
    // a presentation runs (Vista and later).
    virtual uint32_t LastInput() = 0;
    virtual bool FullScreen() = 0;
    // IdleLook once, `ms` from now, replacing the one asked for before; or none.
    virtual void LookIn(std::optional<uint32_t> ms) = 0;
};

}  // namespace dusklet
