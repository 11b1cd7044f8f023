// The 当 mode's conditions on their own: what each has seen and whether it
// holds, from tables of what the system would report.
#include <gtest/gtest.h>

#include <vector>

#include "app/conditions.h"
#include "tests/unit/windows_versions.h"

namespace dusklet {
namespace {

constexpr uint32_t kKb = 1024;

// A sample every 5 s of a network whose counters are given by `received`
// (one column per interface, ids 1, 2, ...; 0 leaves the interface out), at
// 50 KB/s for 1 minute: when the quiet period is long enough.
struct NetCase {
    const char* what;
    std::vector<std::vector<uint32_t>> received;
    std::vector<bool> holds;  // after each sample
};

TEST(QuietNetwork, CountsOnlyWholeQuietPeriodsOfEveryInterface) {
    const uint32_t big = 400 * kKb;  // 80 KB/s over 5 s
    const uint32_t low = 100 * kKb;  // 20 KB/s: a noise floor below the limit
    const auto quiet = [](int samples, std::vector<uint32_t> counters, uint32_t step) {
        std::vector<std::vector<uint32_t>> rows;
        for (int i = 0; i < samples; ++i) {
            rows.push_back(counters);
            for (uint32_t& c : counters) c += step;
        }
        return rows;
    };
    // Thirteen samples: the first is the baseline, the last 60 s after it.
    std::vector<bool> atTheMinute(13, false);
    atTheMinute.back() = true;
    std::vector<bool> never(13, false);
    // Below the limit, but for one sample whose bytes carry the counter past 2^32.
    std::vector<std::vector<uint32_t>> spikeAtTheWrap;
    for (uint32_t i = 0, wrapsAt = 7, c = 0xFFFFFFFFu - (wrapsAt - 1) * low - 1000; i < 13; ++i, c += low)
        spikeAtTheWrap.push_back({i >= wrapsAt ? c + big : c});
    const NetCase cases[] = {
        {"quiet from the start", quiet(13, {0}, 0), atTheMinute},
        {"a noise floor below the limit is quiet", quiet(13, {5000}, low), atTheMinute},
        {"counters that wrap past 2^32", quiet(13, {0xFFFF0000u}, low), atTheMinute},
        {"a spike across the wrap starts the quiet period again", spikeAtTheWrap, never},
        {"above the limit all along", quiet(13, {0}, big), never},
        {"two interfaces, each below, together above", quiet(13, {0, 0}, 3 * low), never},
    };
    for (const NetCase& c : cases) {
        QuietNetwork net(50, 1);
        uint32_t tick = 0xFFFFF000u;  // the tick count wraps meanwhile
        for (size_t i = 0; i < c.received.size(); ++i, tick += 5000) {
            std::vector<InterfaceBytes> sample;
            for (size_t j = 0; j < c.received[i].size(); ++j)
                sample.push_back({static_cast<uint32_t>(j + 1), c.received[i][j]});
            net.Add(tick, sample);
            EXPECT_EQ(net.Holds(tick), c.holds[i]) << c.what << ", sample " << i;
        }
    }
}

TEST(QuietNetwork, ASpikeStartsTheQuietPeriodAgainAnInterfaceThatComesOrGoesIsNoSample) {
    QuietNetwork net(50, 1);
    uint32_t tick = 0;
    const auto add = [&](std::vector<InterfaceBytes> sample) {
        net.Add(tick, std::move(sample));
        tick += 5000;
    };
    add({{1, 0}});
    add({{1, 0}});
    EXPECT_EQ(net.RateKb(), 0);
    add({{1, 1000 * kKb}});  // 200 KB/s for five seconds: the download goes on
    EXPECT_EQ(net.RateKb(), 200);
    EXPECT_EQ(net.QuietMs(tick - 5000), 0u);
    // A VPN connects: its counter starts high; the set changed, so no rate.
    add({{1, 1000 * kKb}, {7, 0xF0000000u}});
    EXPECT_EQ(net.RateKb(), 200);  // still the last rate seen
    EXPECT_EQ(net.QuietMs(tick - 5000), 5000u);
    for (int i = 0; i < 10; ++i) add({{1, 1000 * kKb}, {7, 0xF0000000u}});  // 55 s since the spike
    EXPECT_FALSE(net.Holds(tick - 5000));
    add({{1, 1000 * kKb}});  // and goes: no sample again, the quiet goes on
    EXPECT_TRUE(net.Holds(tick - 5000));
    EXPECT_EQ(net.RateKb(), 0);
}

// Quiet is what the samples saw: the time the machine slept through (the
// tick count runs on), or the counters could not be read, is not.
TEST(QuietNetwork, TimeUnwatchedIsNotQuietAsleepOrWithoutSamples) {
    QuietNetwork net(50, 1);
    uint32_t tick = 0;
    for (; tick <= 50000; tick += 5000) net.Add(tick, {{1, 0}});
    EXPECT_TRUE(net.Holds(65000));  // three samples missed: still watched
    EXPECT_FALSE(net.Holds(70000));
    EXPECT_EQ(net.QuietMs(70000), 0u);
    tick = 2 * 3600000u;  // woken two hours later, the counter as it was
    net.Add(tick, {{1, 0}});
    EXPECT_EQ(net.RateKb(), std::nullopt);
    EXPECT_FALSE(net.Holds(tick));
    for (int i = 0; i < 12; ++i) net.Add(tick += 5000, {{1, 0}});
    EXPECT_TRUE(net.Holds(tick));  // a whole minute watched since
}

TEST(NobodyThere, OneLookWhenTheIdleTimeWouldReachTheMinutesAcrossTheTickCountsWrap) {
    const NobodyThere idle{30};
    const uint32_t input = 0xFFFFFF00u;  // the last input, just before the tick count wraps
    const uint32_t now = input + 10 * 60000u;
    EXPECT_EQ(NobodyThere::IdleMs(now, input), 600000u);
    EXPECT_FALSE(idle.Holds(NobodyThere::IdleMs(now, input), false));
    EXPECT_EQ(idle.NextLookMs(NobodyThere::IdleMs(now, input), false), 20 * 60000u);
    // At that look, nobody came: it holds; somebody came a second before: wait again.
    EXPECT_TRUE(idle.Holds(NobodyThere::IdleMs(now + 20 * 60000u, input), false));
    const uint32_t late = now + 20 * 60000u;
    EXPECT_EQ(idle.NextLookMs(NobodyThere::IdleMs(late, late - 1000), false), 30 * 60000u - 1000);
    // A film or a presentation counts as use: never holds, and looks again in the whole period.
    EXPECT_FALSE(idle.Holds(3 * 3600000u, true));
    EXPECT_EQ(idle.NextLookMs(3 * 3600000u, true), 30 * 60000u);
}

TEST(ProgramExit, HoldsOnceEveryProcessHasEndedAndAProgramThatEndedStaysEnded) {
    ProgramExit program(u"setup.exe", true);
    EXPECT_TRUE(program.Watch(10));
    EXPECT_TRUE(program.Watch(11));
    EXPECT_FALSE(program.Watch(10));  // watched already
    program.Ended(10);
    EXPECT_FALSE(program.Holds());
    EXPECT_TRUE(program.Watch(12));  // a second copy started before the last ended
    program.Ended(11);
    EXPECT_FALSE(program.Holds());
    program.Ended(12);
    program.Ended(12);  // told twice
    EXPECT_TRUE(program.Holds());
    EXPECT_EQ(program.Running(), 0u);
}

TEST(Conditions, EachIsWatchedWhereTheSystemCanWatchIt) {
    constexpr Watchable Y = Watchable::Yes, N = Watchable::No, I = Watchable::IfInstalled;
    // 程序退出, 下载完成, 无人使用, by version in the order of kWindowsVersions.
    const Watchable expected[][3] = {{Y, N, N}, {Y, Y, N}, {Y, Y, N}, {I, I, N}, {Y, Y, Y}, {Y, Y, Y},
                                     {Y, Y, Y}, {Y, Y, Y}, {Y, Y, Y}, {Y, Y, Y}, {Y, Y, Y}};
    static_assert(std::size(expected) == std::size(testing::kWindowsVersions));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const auto& v = testing::kWindowsVersions[i];
        const OSInfo info = ClassifyOS({v.platform, v.major, v.minor});
        for (const Condition c : {Condition::ProgramExit, Condition::DownloadDone, Condition::NobodyThere})
            EXPECT_EQ(WatchableOn(info, c), expected[i][static_cast<int>(c)]) << v.name << " " << static_cast<int>(c);
    }
}

}  // namespace
}  // namespace dusklet
