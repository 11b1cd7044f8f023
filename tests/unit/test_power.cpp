#include <gtest/gtest.h>

#include <algorithm>

#include "power/os_version.h"
#include "power/shutdown.h"
#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using testing::Log;
using testing::RecordingSystem;

struct Row {
    uint32_t platform, major, minor;
    int32_t platformId, type;
    const char16_t* name;
};

TEST(OSVersion, ClassifiesEveryPlatformAndVersion) {
    const Row rows[] = {
        {0, 3, 1, 0, 0, u"Windows 32"},  {1, 4, 0, 1, 1, u"Windows 95"}, {1, 4, 10, 1, 2, u"Windows 98"},
        {1, 4, 90, 1, 3, u"Windows ME"}, {1, 4, 3, 1, 0, u"Windows 32"}, {1, 7, 10, 1, 2, u"Windows 98"},
        {2, 3, 51, 2, 4, u"Windows NT"}, {2, 4, 0, 2, 4, u"Windows NT"}, {2, 5, 0, 2, 5, u"Windows 2000"},
        {2, 5, 1, 2, 6, u"Windows XP"},  {2, 5, 2, 2, 0, u"Windows 32"}, {2, 6, 1, 2, 0, u"Windows 32"},
        {2, 10, 0, 2, 0, u"Windows 32"}, {3, 5, 1, 0, 0, u"Windows 32"}, {7, 5, 0, 0, 0, u"Windows 32"},
    };
    for (const Row& r : rows) {
        OsVersionRecord rec;
        rec.dwPlatformId = r.platform;
        rec.dwMajorVersion = r.major;
        rec.dwMinorVersion = r.minor;
        const OSInfo info = ClassifyOS(rec);
        EXPECT_EQ(info.PlatformId, r.platformId) << r.platform << " " << r.major << "." << r.minor;
        EXPECT_EQ(info.OSType, r.type) << r.platform << " " << r.major << "." << r.minor;
        EXPECT_EQ(std::u16string(OSTypeName(info.OSType)), r.name);
    }
}

TEST(OSVersion, VersionTextAndBuildNumber) {
    OsVersionRecord rec{148, 4, 10, 0x040A0898, 1};
    const OSInfo info = ClassifyOS(rec);
    EXPECT_EQ(info.Version, u"4.10");
    EXPECT_EQ(info.BuildNumber, 0x040A0898u);  // not masked
    EXPECT_EQ(ClassifyOS({148, 10, 0, 19045, 2}).Version, u"10.0");
    // A failed query leaves the zeroed record.
    const OSInfo none = ClassifyOS(OsVersionRecord{});
    EXPECT_EQ(none.Version, u"0.0");
    EXPECT_EQ(none.OSType, 0);
}

TEST(OSVersion, QueriesTheSystemOnEveryCall) {
    Log log;
    RecordingSystem sys(log);
    sys.Set(2, 5, 0);
    EXPECT_EQ(GetOSName(sys), u"Windows 2000");
    sys.Set(2, 5, 1);
    EXPECT_EQ(GetOSName(sys), u"Windows XP");
    EXPECT_EQ(log, (Log{"GetVersionExA", "GetVersionExA"}));
}

TEST(ExitFlags, ForceAddsFourAndAnyNonzeroCounts) {
    EXPECT_EQ(ComposeExitFlags(8, kTrue), 12u);
    EXPECT_EQ(ComposeExitFlags(2, kFalse), 2u);
    EXPECT_EQ(ComposeExitFlags(0, kTrue), 4u);
    EXPECT_EQ(ComposeExitFlags(0, 1), 4u);
    EXPECT_EQ(ComposeExitFlags(4, kTrue), 4u);
    EXPECT_EQ(ComposeExitFlags(6, 0), 6u);
}

const Log kEnable = {"OpenProcessToken 40", "LookupPrivilegeValueA '' SeShutdownPrivilege",
                     "AdjustTokenPrivileges 68 0 1 19 2 16", "CloseHandle 68"};
const Log kDisable = {"OpenProcessToken 40", "LookupPrivilegeValueA '' SeShutdownPrivilege",
                      "AdjustTokenPrivileges 68 0 1 19 0 16", "CloseHandle 68"};

Log Join(std::initializer_list<Log> parts) {
    Log all;
    for (const Log& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

using Outcome = PowerResult::Outcome;

TEST(ExitWindowsAction, BracketsTheCallWithThePrivilegeOnNT) {
    Log log;
    RecordingSystem sys(log);
    sys.Set(2, 5, 1);
    sys.exitResult = 0;  // refused: the privilege is disabled all the same
    sys.lastError = 5;
    const PowerResult result = ExitWindowsAction(sys, 0, kTrue);
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.error, 5u);
    EXPECT_EQ(log, Join({{"GetVersionExA"}, kEnable, {"ExitWindowsEx 4 0"}, kDisable}));
}

TEST(ExitWindowsAction, NoPrivilegeOnTheWindows95Family) {
    for (uint32_t platform : {0u, 1u}) {
        Log log;
        RecordingSystem sys(log);
        sys.Set(platform, 4, 10);
        EXPECT_TRUE(ExitWindowsAction(sys, 8, kTrue).Done());
        EXPECT_EQ(log, (Log{"GetVersionExA", "ExitWindowsEx 12 0"}));
    }
}

TEST(ExitWindowsAction, NewerNTVersionsStillUseThePrivilege) {
    Log log;
    RecordingSystem sys(log);
    sys.Set(2, 10, 0);
    EXPECT_TRUE(ExitWindowsAction(sys, 2, kFalse).Done());
    EXPECT_EQ(log, Join({{"GetVersionExA"}, kEnable, {"ExitWindowsEx 2 0"}, kDisable}));
}

TEST(SuspendAction, RefusedByVersionOn95AndNT4AndUnknownVersions) {
    for (auto [p, ma, mi] : {std::tuple{0u, 3u, 1u}, {1u, 4u, 0u}, {1u, 4u, 3u}, {2u, 4u, 0u}, {2u, 3u, 51u}}) {
        Log log;
        RecordingSystem sys(log);
        sys.Set(p, ma, mi);
        EXPECT_EQ(SuspendAction(sys, 1, kTrue, kFalse).outcome, Outcome::NotOnThisVersion);
        EXPECT_EQ(SuspendAction(sys, 0, kTrue, kFalse).outcome, Outcome::NotOnThisVersion);
        EXPECT_EQ(log, (Log{"GetVersionExA", "GetVersionExA"}));
    }
}

TEST(SuspendAction, PassesHibernateThroughAndBracketsOnNT) {
    Log log;
    RecordingSystem sys(log);
    for (uint32_t minor : {10u, 90u}) {  // 98 and ME: no privileges to handle
        sys.Set(1, 4, minor);
        EXPECT_TRUE(SuspendAction(sys, 0, kTrue, kFalse).Done());
        EXPECT_EQ(log, (Log{"GetVersionExA", "SetSuspendState 0 1 0"}));
        log.clear();
    }
    for (auto [ma, mi] : {std::pair{5u, 0u}, {5u, 2u}, {6u, 1u}, {10u, 0u}}) {
        sys.Set(2, ma, mi);
        EXPECT_TRUE(SuspendAction(sys, 1, kFalse, kFalse).Done());
        EXPECT_EQ(log, Join({{"GetVersionExA"}, kEnable, {"SetSuspendState 1 0 0"}, kDisable}));
        log.clear();
    }
}

TEST(SuspendAction, AsksWhatTheMachineCanDoBeforeTheCall) {
    Log log;
    RecordingSystem sys(log);
    sys.Set(2, 10, 0);
    sys.suspendAllowed = false;
    EXPECT_EQ(SuspendAction(sys, 0, kTrue, kFalse).outcome, Outcome::NotOnThisMachine);
    EXPECT_TRUE(SuspendAction(sys, 1, kTrue, kFalse).Done());  // hibernation is still on
    sys.hibernateAllowed = false;
    EXPECT_EQ(SuspendAction(sys, 1, kTrue, kFalse).outcome, Outcome::NotOnThisMachine);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("SetSuspend", 0) == 0; }),
              1);
}

TEST(SuspendAction, WhereTheMachineCannotSayTheCallIsMade) {
    Log log;
    RecordingSystem sys(log);
    sys.Set(1, 4, 10);  // Windows 98's powrprof lacks the questions
    sys.capabilities.reset();
    sys.suspendAllowed.reset();
    sys.hibernateAllowed.reset();
    EXPECT_TRUE(SuspendAction(sys, 0, kFalse, kFalse).Done());
    EXPECT_TRUE(SuspendAction(sys, 1, kFalse, kFalse).Done());
    EXPECT_EQ(log, (Log{"GetVersionExA", "SetSuspendState 0 0 0", "GetVersionExA", "SetSuspendState 1 0 0"}));
}

TEST(SuspendAction, ModernStandbyTurnsTheDisplayOffInstead) {
    Log log;
    RecordingSystem sys(log);
    sys.Set(2, 10, 0);
    sys.capabilities = PowerCapabilities{false, false, false, true, true};
    sys.suspendAllowed = false;  // what powrprof answers there
    EXPECT_TRUE(SuspendAction(sys, 0, kTrue, kFalse).Done());
    EXPECT_EQ(log, (Log{"GetVersionExA", "TurnOffDisplay"}));
    // Without Modern Standby, a machine with no sleeping state cannot suspend.
    log.clear();
    sys.capabilities = PowerCapabilities{false, false, false, true, false};
    EXPECT_EQ(SuspendAction(sys, 0, kTrue, kFalse).outcome, Outcome::NotOnThisMachine);
    EXPECT_EQ(log, (Log{"GetVersionExA"}));
    // A machine that still has S3 beside it suspends as usual.
    log.clear();
    sys.capabilities = PowerCapabilities{false, false, true, true, true};
    sys.suspendAllowed = true;
    EXPECT_TRUE(SuspendAction(sys, 0, kTrue, kFalse).Done());
    EXPECT_EQ(log, Join({{"GetVersionExA"}, kEnable, {"SetSuspendState 0 1 0"}, kDisable}));
}

TEST(SuspendAction, AFailedCallKeepsTheSystemsReasonAndClosesTheBracket) {
    Log log;
    RecordingSystem sys(log);
    sys.Set(2, 6, 1);
    sys.suspendResult = 0;
    sys.lastError = 5;
    const PowerResult result = SuspendAction(sys, 1, kTrue, kFalse);
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.error, 5u);
    EXPECT_EQ(log, Join({{"GetVersionExA"}, kEnable, {"SetSuspendState 1 1 0"}, kDisable}));
}

TEST(LockAction, TheNTFamilyFrom2000On) {
    for (auto [p, ma, mi, locks] : {std::tuple{2u, 5u, 0u, true},
                                    {2u, 5u, 1u, true},
                                    {2u, 5u, 2u, true},
                                    {2u, 6u, 2u, true},
                                    {2u, 10u, 0u, true},
                                    {1u, 4u, 10u, false},
                                    {1u, 4u, 90u, false},
                                    {2u, 4u, 0u, false}}) {
        Log log;
        RecordingSystem sys(log);
        sys.Set(p, ma, mi);
        EXPECT_EQ(LockAction(sys).outcome, locks ? Outcome::Done : Outcome::NotOnThisVersion);
        EXPECT_EQ(log.size(), locks ? 2u : 1u);
        sys.lockResult = 0;
        sys.lastError = 120;
        EXPECT_EQ(LockAction(sys).error, locks ? 120u : 0u);
    }
}

}  // namespace
}  // namespace dusklet
