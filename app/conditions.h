// "When the work is done": what each condition of the 当 mode has seen and
// whether it holds. The system's side (the processes, the network's
// counters, the last input, the wake-ups) is behind Watch (app/watch.h);
// times here are the system's tick count, in milliseconds, which wraps
// after 49.7 days and never jumps with the clock.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "power/os_version.h"

namespace dusklet {

// The conditions, as the list's entries mean them.
enum class Condition : int32_t { ProgramExit, DownloadDone, NobodyThere };

// Which Windows can watch each: 程序退出 everywhere (NT 4 where psapi.dll is
// installed); 下载完成 on 98, ME and from 2000 on (NT 4 where iphlpapi.dll
// is, from its fourth service pack); 无人使用 from 2000 on.
enum class Watchable { No, Yes, IfInstalled };
Watchable WatchableOn(OSInfo info, Condition condition);

// 程序退出: every process of one executable that ran at arming, and any of
// that name that starts before they have all ended (an installer that hands
// over to a second copy of itself), or one process by its id.
class ProgramExit {
public:
    // `byName`: processes of the name that start later are watched too.
    ProgramExit(std::u16string name, bool byName) : name_(std::move(name)), byName_(byName) {}
    const std::u16string& Name() const { return name_; }
    bool ByName() const { return byName_; }
    // A process of the program runs: false where it was watched already.
    bool Watch(uint32_t id);
    // One of them has ended.
    void Ended(uint32_t id);
    // The processes of the name that run now: any watched one not among
    // them has ended.
    void Seen(const std::vector<uint32_t>& running);
    size_t Running() const { return running_.size(); }
    // A program that has ended stays ended.
    bool Holds() const { return running_.empty(); }

private:
    std::u16string name_;
    std::vector<uint32_t> running_;
    bool byName_;
};

// The bytes one interface (up, not the loopback) has received, as its
// 32-bit counter says.
struct InterfaceBytes {
    uint32_t index;
    uint32_t received;
    bool operator==(const InterfaceBytes&) const = default;
};

// The most the limit of 下载完成 can be, in KB/s.
inline constexpr int32_t kMostKb = 99999;

// 下载完成: the network has received less than `kbPerSecond` KB/s for
// `minutes` whole minutes, over every interface together, from samples a few
// seconds apart.
class QuietNetwork {
public:
    // Samples are taken this often.
    static constexpr uint32_t kSampleMs = 5000;
    QuietNetwork(int32_t kbPerSecond, int32_t minutes) : limit_(kbPerSecond), minutes_(minutes) {}
    // A sample taken at `tick`. A counter that passed 2^32 has wrapped; a
    // set of interfaces other than the last sample's (a VPN connecting)
    // counts as no sample. A rate above the limit starts the quiet period
    // again, and so does a sample more than three samples' time after the
    // last: the network went unwatched meanwhile (the machine asleep, the
    // counters not read).
    void Add(uint32_t tick, std::vector<InterfaceBytes> sample);
    bool Holds(uint32_t tick) const { return QuietMs(tick) >= static_cast<uint32_t>(minutes_) * 60000u; }
    // What the strip shows: the rate between the last two samples, and how
    // long the network has been quiet, which is no time once samples stop.
    std::optional<int32_t> RateKb() const { return rateKb_; }
    uint32_t QuietMs(uint32_t tick) const { return quietSince_ && Watched(tick) ? tick - *quietSince_ : 0; }
    int32_t LimitKb() const { return limit_; }
    int32_t Minutes() const { return minutes_; }

private:
    bool Watched(uint32_t tick) const { return tick - lastTick_ <= 3 * kSampleMs; }
    int32_t limit_, minutes_;
    std::vector<InterfaceBytes> last_;
    uint32_t lastTick_ = 0;
    std::optional<uint32_t> quietSince_;
    std::optional<int32_t> rateKb_;
};

// 无人使用: nobody has used the keyboard or the mouse for `minutes`, and no
// full-screen program or presentation runs (a film is never switched off).
struct NobodyThere {
    int32_t minutes;
    uint32_t NeededMs() const { return static_cast<uint32_t>(minutes) * 60000u; }
    // How long nobody has been there at `tick`, the last input at `lastInput`.
    static uint32_t IdleMs(uint32_t tick, uint32_t lastInput) { return tick - lastInput; }
    bool Holds(uint32_t idleMs, bool fullScreen) const { return !fullScreen && idleMs >= NeededMs(); }
    // When to look again, with no periodic timer: the moment the idle time
    // would reach the minutes (a full-screen program counts as input now).
    uint32_t NextLookMs(uint32_t idleMs, bool fullScreen) const {
        return fullScreen || idleMs >= NeededMs() ? NeededMs() : NeededMs() - idleMs;
    }
};

}  // namespace dusklet
