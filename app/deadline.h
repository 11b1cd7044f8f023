// What holds an armed schedule's deadline while the program waits unseen and
// the machine may sleep: a request that the system stay awake, and one
// wake-up at a chosen moment that also wakes a sleeping machine where its
// power plan allows wake timers.
#pragma once
#include <cstdint>

namespace dusklet {

class Deadline {
public:
    virtual ~Deadline() = default;
    // False where the system has no waitable timers (Windows 95): the
    // program then cannot be woken and keeps its tick.
    virtual bool CanWake() = 0;
    // Asks the system to stay awake (the display may still turn off), or
    // takes the request back.
    virtual void KeepAwake(bool keep) = 0;
    // Wakes the program, and a sleeping machine, at this moment (whole
    // seconds since 1970 UTC, as the clock counts); replaces the wake-up
    // aimed before. False when the program will not be woken: it must keep
    // its tick then.
    virtual bool WakeAt(int64_t moment) = 0;
    virtual void CancelWake() = 0;
};

}  // namespace dusklet
