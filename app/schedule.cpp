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

std::optional<int64_t> Schedule::WarningLength() const {
    if (resumeWarning_) return ResumeLead();
    if (lead_.blink) return lead_.seconds;
    return std::nullopt;
}

bool Schedule::InWarning(int64_t due, int64_t now) const {
    const std::optional<int64_t> length = WarningLength();
    return length && due - now <= *length;
}

bool Schedule::InWarning(int64_t now) const { return InWarning(due_, now); }

Schedule Schedule::OnCondition(int64_t now, WarningLead lead) { return {now, kNever, lead}; }

void Schedule::ConditionLost() {
    due_ = kNever;
    resumeWarning_ = warned_ = lastCalled_ = false;
    aimed_.reset();
}

bool Schedule::TakeWarning(int64_t now) {
    if (!InWarning(now) || std::exchange(warned_, true)) return false;
    lastCalled_ = due_ - now <= kLastCall;
    return true;
}

bool Schedule::TakeLastCall(int64_t now) {
    return InWarning(now) && due_ - now <= kLastCall && !std::exchange(lastCalled_, true);
}

void Schedule::Postpone(int64_t now, int64_t seconds, TimeZone& zone) {
    due_ = std::max(due_, now) + seconds;
    if (wall_) wall_ = zone.ToLocal(due_);
    warned_ = false;  // a warning owed after a resume or a condition met stays owed
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

void Schedule::ClockMoved(int64_t now, int64_t dueBefore) {
    // A running warning's ticks come twice a second: what it lost beyond
    // that is what the change took from it.
    const bool running = InWarning(dueBefore, lastLook_);
    const bool cut =
        running ? (dueBefore - due_) + (now - lastLook_) > 1 : now >= lastLook_ && due_ - now < ResumeLead();
    lastLook_ = now;
    if (cut) {
        WarnAfterResume(now);
    } else if (!InWarning(now)) {
        warned_ = false;  // it comes again at its time
        lastCalled_ = false;
    }
}

void Schedule::Woken(int64_t now) {
    if (aimed_ && now - *aimed_ > kWatched) ClockMoved(now, due_);
    aimed_.reset();
}

Schedule::Look Schedule::LookAt(int64_t now) {
    if (now < lastLook_ || (InWarning(lastLook_) && now - lastLook_ > kWatched) || (aimed_ && now - *aimed_ > kWatched))
        ClockMoved(now, due_);
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
    const int64_t dueBefore = due_;
    if (wall_ && !resumeWarning_) due_ = MomentOfWallTime(zone, *wall_, now);
    ClockMoved(now, dueBefore);
}

int64_t Schedule::WakeMoment(int64_t now) const {
    const std::optional<int64_t> length = WarningLength();
    return InWarning(now) || !length ? due_ : due_ - *length;
}

}  // namespace dusklet
