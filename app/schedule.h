// When an armed schedule acts, and what its warning and the machine's sleep
// do to that moment. Moments are whole seconds on the UTC time line, so a
// countdown lasts exactly the period chosen and a clock time is the wall
// time chosen, across daylight-saving changes and changes of the time zone.
#pragma once
#include <cstdint>
#include <optional>

#include "base/civil_time.h"
#include "base/time_zone.h"

namespace dusklet {

// The warning before the action: blinking during the last `seconds`.
struct WarningLead {
    bool blink = false;
    int32_t seconds = 0;
};

class Schedule {
public:
    // After exactly `seconds` of real time, whatever the wall clock does.
    static Schedule Countdown(int64_t now, int64_t seconds, WarningLead lead);
    // The next time the wall clock reads hour:minute: today, or tomorrow
    // once that is past.
    static Schedule At(int64_t now, TimeZone& zone, int hour, int minute, WarningLead lead);
    // When a condition holds (the 当 mode): no due moment until it does.
    static Schedule OnCondition(int64_t now, WarningLead lead);

    // Waiting for its condition: nothing is due, nothing warns.
    bool Waiting() const { return due_ == kNever; }
    // The condition holds: the warning after a resume comes first, then the
    // action.
    void ConditionMet(int64_t now) { WarnAfterResume(now); }
    // It holds no more (traffic again, someone at the keyboard): the warning
    // is over, or the postponed action off, and the watching goes on.
    void ConditionLost();

    int64_t Due() const { return due_; }
    // Whole seconds until the action, never below 0.
    int64_t SecondsLeft(int64_t now) const { return due_ > now ? due_ - now : 0; }
    // The warning period: the blink lead before the action, or the warning
    // after a resume (the blink lead, at least 30 s) once one is owed.
    bool InWarning(int64_t now) const;
    // True once in each warning period, when it runs: the moment to say what
    // is coming.
    bool TakeWarning(int64_t now);
    // True once in each warning period, in its last 10 seconds, unless the
    // warning began within them: the moment for a last call.
    bool TakeLastCall(int64_t now);
    // "Not yet": the action moves `seconds` on from the due moment, or from
    // now once that has passed; a clock time becomes the wall time it falls
    // on then. The warning is over, and comes again before the new moment:
    // the one after a resume, where that was owed, even without blinking.
    void Postpone(int64_t now, int64_t seconds, TimeZone& zone);

    enum class Look { Wait, Act };
    // What a tick or a wake-up at `now` finds. Between the notice that the
    // machine goes to sleep and the one that it has woken, a look that finds
    // the due moment near or past begins the warning after a resume rather
    // than act: the machine may have slept since. It acts once that warning
    // has run its course under the user's eyes. A look that finds the clock
    // moved (earlier than the look before, or later than the ticks of a
    // running warning or the wake-up aimed explain) is taken as a change of
    // the system time.
    Look LookAt(int64_t now);
    // The wake-up aimed has come (it is spent): late beyond its own delay,
    // the clock has moved.
    void Woken(int64_t now);
    void Suspend();
    // The machine has woken: a due moment that has passed, or lies nearer
    // than the warning after a resume, moves to the end of that warning.
    void Resume(int64_t now);
    // The system time, the time zone or its rules have changed: a clock
    // time is the wall time chosen under the zone's rules as they are now,
    // a countdown stays where it is on the UTC time line. Never an action
    // without a full warning: a change that leaves less of it than it
    // promised (the due moment past, or nearer than the warning after a
    // resume, or a running warning cut short) gives the warning after a
    // resume first; one that moves the due moment back out of the warning
    // period ends the warning, which comes again at its time.
    void TimeChanged(int64_t now, TimeZone& zone);

    // When the next look is needed, with no tick: at the start of the warning
    // period, or at the due moment once it runs or without blinking.
    int64_t WakeMoment(int64_t now) const;
    // The wake-up aimed, if one is aimed and has not come yet.
    std::optional<int64_t> Aimed() const { return aimed_; }
    void Aim(std::optional<int64_t> moment) { aimed_ = moment; }

private:
    static constexpr int64_t kNever = INT64_MAX / 4;  // far beyond any clock, with room to add to it
    Schedule(int64_t now, int64_t due, WarningLead lead) : due_(due), lead_(lead), lastLook_(now) {}
    int32_t ResumeLead() const;
    // How long before the due moment the warning period begins, if it has one.
    std::optional<int64_t> WarningLength() const;
    bool InWarning(int64_t due, int64_t now) const;
    void WarnAfterResume(int64_t now);
    // The clock reads `now`, where the last look read lastLook_; the due
    // moment was `dueBefore` then.
    void ClockMoved(int64_t now, int64_t dueBefore);

    int64_t due_;
    WarningLead lead_;
    std::optional<CivilDateTime> wall_;  // the local date and time chosen, for a clock time
    bool warned_ = false;                // this warning period's warning has been given
    bool lastCalled_ = false;            // and its last call
    bool suspended_ = false;             // the machine may be asleep, or have slept, since
    bool resumeWarning_ = false;         // the warning after a resume is owed: its length is the warning period
    int64_t lastLook_;                   // the last tick, wake-up or resume
    std::optional<int64_t> aimed_;
};

}  // namespace dusklet
