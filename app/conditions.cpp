#include "app/conditions.h"

#include <algorithm>
#include <utility>

namespace dusklet {

Watchable WatchableOn(OSInfo info, Condition condition) {
    const bool nt4 = info.PlatformId == 2 && info.MajorVersion < 5;
    switch (condition) {
    case Condition::ProgramExit: return nt4 ? Watchable::IfInstalled : Watchable::Yes;
    case Condition::DownloadDone:
        if (nt4) return Watchable::IfInstalled;
        return info.OSType == Win95 ? Watchable::No : Watchable::Yes;
    case Condition::NobodyThere: return IsModernNT(info) ? Watchable::Yes : Watchable::No;
    }
    return Watchable::No;
}

bool ProgramExit::Watch(uint32_t id) {
    for (uint32_t watched : running_)
        if (watched == id) return false;
    running_.push_back(id);
    return true;
}

void ProgramExit::Ended(uint32_t id) {
    for (uint32_t& watched : running_) {
        if (watched != id) continue;
        watched = running_.back();  // the order does not matter
        running_.pop_back();
        return;
    }
}

void ProgramExit::Seen(const std::vector<uint32_t>& running) {
    for (size_t i = running_.size(); i-- > 0;)  // from the back: Ended moves the last into place
        if (std::find(running.begin(), running.end(), running_[i]) == running.end()) Ended(running_[i]);
}

void QuietNetwork::Add(uint32_t tick, std::vector<InterfaceBytes> sample) {
    bool same = sample.size() == last_.size();
    uint64_t bytes = 0;
    for (size_t i = 0; same && i < sample.size(); ++i) {
        same = sample[i].index == last_[i].index;
        bytes += static_cast<uint32_t>(sample[i].received - last_[i].received);  // across the counter's wrap
    }
    if (!quietSince_ || !Watched(tick)) {  // the first sample, or the first since a gap, starts it
        quietSince_ = tick;
        rateKb_.reset();
    } else if (same && tick != lastTick_) {
        // Counted in 32 bits: a rate matters up to the highest limit, and
        // 4 GB of them in a sample is far beyond it.
        const auto kb = static_cast<uint32_t>(std::min<uint64_t>(bytes >> 10, 4000000));
        rateKb_ = static_cast<int32_t>(kb * 1000u / (tick - lastTick_));
        if (*rateKb_ >= limit_) quietSince_ = tick;
    }
    last_ = std::move(sample);
    lastTick_ = tick;
}

}  // namespace dusklet
