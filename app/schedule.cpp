#include "app/schedule.h"

#include <algorithm>
#include <utility>

namespace dusklet {
namespace {

// After the machine has woken, the user who has just come back gets the
// blink lead, but at least this long, to cancel.
constexpr int32_t kLeastWarningAfterResume = 30;
// The last call comes this long before the action.
constexpr int64_t kLastCall = 10;
// Looks no further apart than this came one after another while the machine
// was awake: during a warning the tick runs twice a second.
constexpr int64_t kWatched = 5;

}  // namespace

Schedule Schedule::Countdown(int64_t now, int64_t seconds, WarningLead lead) { return {now, now + seconds, lead}; }

Schedule Schedule::At(int64_t now, TimeZone& zone, int hour, int minute, WarningLead lead) {
    CivilDateTime wall = DateOnly(zone.ToLocal(now));
    wall.hour = hour;
    wall.minute = minute;
    int64_t due = MomentOfWallTime(zone, wall, now);
    if (due < now) {
        wall = NextDay(wall);
        due = MomentOfWallTime(zone, wall, now);
    }
    Schedule schedule(now, due, lead);
    schedule.wall_ = wall;
    return schedule;
}

bool Schedule::InWarning(int64_t now) const { return resumeWarning_ || (lead_.blink && due_ - now <= lead_.seconds); }

bool Schedule::TakeWarning(int64_t now) {
    if (!InWarning(now) || std::exchange(warned_, true)) return false;
    lastCalled_ = due_ - now <= kLastCall;
    return true;
}

bool Schedule::TakeLastCall(int64_t now) {
    return InWarning(now) && due_ - now <= kLastCall && !std::exchange(lastCalled_, true);
}

void Schedule::Postpone(int64_t now, int64_t seconds) {
    due_ = std::max(due_, now) + seconds;
    resumeWarning_ = false;
    warned_ = false;
    aimed_.reset();
}

int32_t Schedule::ResumeLead() const {
    return lead_.blink ? std::max(lead_.seconds, kLeastWarningAfterResume) : kLeastWarningAfterResume;
}

void Schedule::WarnAfterResume(int64_t now) {
    due_ = now + ResumeLead();
    resumeWarning_ = true;
    warned_ = false;
}

Schedule::Look Schedule::LookAt(int64_t now) {
    const bool watched = now - lastLook_ <= kWatched;
    lastLook_ = now;
    if (!suspended_) return due_ <= now ? Look::Act : Look::Wait;
    if (resumeWarning_ && watched) {
        if (due_ > now) return Look::Wait;
        // The warning ran to its end with the machine awake: it never slept.
        suspended_ = false;
        return Look::Act;
    }
    if (due_ - now < ResumeLead()) WarnAfterResume(now);
    return Look::Wait;
}

void Schedule::Suspend() { suspended_ = true; }

void Schedule::Resume(int64_t now) {
    // A look since the machine woke has begun the warning already.
    const bool seen = resumeWarning_ && now - lastLook_ <= kWatched;
    suspended_ = false;
    aimed_.reset();  // the system's clock may have moved while asleep
    if (seen) return;
    lastLook_ = now;
    if (due_ - now < ResumeLead()) WarnAfterResume(now);
}

void Schedule::TimeChanged(int64_t now, TimeZone& zone) {
    aimed_.reset();  // an absolute wake-up follows the clock; the program's own does not
    if (wall_ && !resumeWarning_) due_ = MomentOfWallTime(zone, *wall_, now);
}

int64_t Schedule::WakeMoment(int64_t now) const { return InWarning(now) || !lead_.blink ? due_ : due_ - lead_.seconds; }

}  // namespace dusklet
