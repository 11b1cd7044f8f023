#include <gtest/gtest.h>

#include <algorithm>

#include "power/os_version.h"
#include "power/privilege.h"
#include "power/shutdown.h"
#include "tests/unit/fakes.h"
#include "tests/unit/windows_versions.h"

namespace dusklet {
namespace {

using testing::Log;
using testing::RecordingSystem;

TEST(OSVersion, ClassifiesEveryPlatformAndVersion) {
    struct Row {
        uint32_t platform, major, minor;
        int32_t platformId, type;
    };
    const Row rows[] = {
        {0, 3, 1, 0, Win32},   {1, 4, 0, 1, Win95},  {1, 4, 10, 1, Win98}, {1, 4, 90, 1, WinME},
        {1, 4, 3, 1, Win32},   {1, 7, 10, 1, Win98}, {2, 3, 51, 2, WinNT}, {2, 4, 0, 2, WinNT},
        {2, 5, 0, 2, Win2000}, {2, 5, 1, 2, WinXP},  {2, 5, 2, 2, Win32},  {2, 6, 1, 2, Win32},
        {2, 10, 0, 2, Win32},  {3, 5, 1, 0, Win32},  {7, 5, 0, 0, Win32},  {0, 0, 0, 0, Win32},  // a failed query
    };
    for (const Row& r : rows) {
        const OSInfo info = ClassifyOS({r.platform, r.major, r.minor});
        EXPECT_EQ(info.PlatformId, r.platformId) << r.platform << " " << r.major << "." << r.minor;
        EXPECT_EQ(info.OSType, r.type) << r.platform << " " << r.major << "." << r.minor;
    }
}

TEST(OSVersion, QueriesTheSystemOnEveryCall) {
    Log log;
    RecordingSystem sys(log);
    sys.Set(2, 5, 0);
    EXPECT_EQ(GetOSInfo(sys).OSType, Win2000);
    sys.Set(2, 5, 1);
    EXPECT_EQ(GetOSInfo(sys).OSType, WinXP);
    EXPECT_EQ(log, (Log{"GetVersionExA", "GetVersionExA"}));
}

TEST(ExitFlags, ForceAddsFour) {
    EXPECT_EQ(ComposeExitFlags(8, true), 12u);
    EXPECT_EQ(ComposeExitFlags(2, false), 2u);
    EXPECT_EQ(ComposeExitFlags(0, true), 4u);
    EXPECT_EQ(ComposeExitFlags(4, true), 4u);
    EXPECT_EQ(ComposeExitFlags(6, false), 6u);
}

const Log kEnable = {"privilege on"};
const Log kDisable = {"privilege off"};

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
    sys.exitResult = false;  // refused: the privilege is disabled all the same
    sys.lastError = 5;
    const PowerResult result = ExitWindowsAction(sys, 0, true);
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.error, 5u);
    EXPECT_EQ(log, Join({{"GetVersionExA"}, kEnable, {"ExitWindowsEx 4 0x80000000"}, kDisable}));
}

TEST(ExitWindowsAction, NoPrivilegeOnTheWindows95Family) {
    for (uint32_t platform : {0u, 1u}) {
        Log log;
        RecordingSystem sys(log);
        sys.Set(platform, 4, 10);
        EXPECT_TRUE(ExitWindowsAction(sys, 8, true).Done());
        EXPECT_EQ(log, (Log{"GetVersionExA", "ExitWindowsEx 12 0x80000000"}));
    }
}

TEST(ExitWindowsAction, NewerNTVersionsStillUseThePrivilege) {
    Log log;
    RecordingSystem sys(log);
    sys.Set(2, 10, 0);
    EXPECT_TRUE(ExitWindowsAction(sys, 2, false).Done());
    EXPECT_EQ(log, Join({{"GetVersionExA"}, kEnable, {"ExitWindowsEx 2 0x80000000"}, kDisable}));
}

TEST(SuspendAction, RefusedByVersionOn95AndNT4AndUnknownVersions) {
    for (auto [p, ma, mi] : {std::tuple{0u, 3u, 1u}, {1u, 4u, 0u}, {1u, 4u, 3u}, {2u, 4u, 0u}, {2u, 3u, 51u}}) {
        Log log;
        RecordingSystem sys(log);
        sys.Set(p, ma, mi);
        EXPECT_EQ(SuspendAction(sys, true, true, false).outcome, Outcome::NotOnThisVersion);
        EXPECT_EQ(SuspendAction(sys, false, true, false).outcome, Outcome::NotOnThisVersion);
        EXPECT_EQ(log, (Log{"GetVersionExA", "GetVersionExA"}));
    }
}

TEST(SuspendAction, PassesHibernateThroughAndBracketsOnNT) {
    Log log;
    RecordingSystem sys(log);
    for (uint32_t minor : {10u, 90u}) {  // 98 and ME: no privileges to handle
        sys.Set(1, 4, minor);
        EXPECT_TRUE(SuspendAction(sys, false, true, false).Done());
        EXPECT_EQ(log, (Log{"GetVersionExA", "SetSuspendState 0 1 0"}));
        log.clear();
    }
    for (auto [ma, mi] : {std::pair{5u, 0u}, {5u, 2u}, {6u, 1u}, {10u, 0u}}) {
        sys.Set(2, ma, mi);
        EXPECT_TRUE(SuspendAction(sys, true, false, false).Done());
        EXPECT_EQ(log, Join({{"GetVersionExA"}, kEnable, {"SetSuspendState 1 0 0"}, kDisable}));
        log.clear();
    }
}

TEST(SuspendAction, AsksWhatTheMachineCanDoBeforeTheCall) {
    Log log;
    RecordingSystem sys(log);
    sys.Set(2, 10, 0);
    sys.suspendAllowed = false;
    EXPECT_EQ(SuspendAction(sys, false, true, false).outcome, Outcome::NotOnThisMachine);
    EXPECT_TRUE(SuspendAction(sys, true, true, false).Done());  // hibernation is still on
    sys.hibernateAllowed = false;
    EXPECT_EQ(SuspendAction(sys, true, true, false).outcome, Outcome::NotOnThisMachine);
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
    EXPECT_TRUE(SuspendAction(sys, false, false, false).Done());
    EXPECT_TRUE(SuspendAction(sys, true, false, false).Done());
    EXPECT_EQ(log, (Log{"GetVersionExA", "SetSuspendState 0 0 0", "GetVersionExA", "SetSuspendState 1 0 0"}));
}

TEST(SuspendAction, ModernStandbyTurnsTheDisplayOffInstead) {
    Log log;
    RecordingSystem sys(log);
    sys.Set(2, 10, 0);
    sys.capabilities = PowerCapabilities{false, false, false, true};
    sys.suspendAllowed = false;  // what powrprof answers there
    EXPECT_TRUE(SuspendAction(sys, false, true, false).Done());
    EXPECT_EQ(log, (Log{"GetVersionExA", "TurnOffDisplay"}));
    // Without Modern Standby, a machine with no sleeping state cannot suspend.
    log.clear();
    sys.capabilities = PowerCapabilities{false, false, false, false};
    EXPECT_EQ(SuspendAction(sys, false, true, false).outcome, Outcome::NotOnThisMachine);
    EXPECT_EQ(log, (Log{"GetVersionExA"}));
    // A machine that still has S3 beside it suspends as usual.
    log.clear();
    sys.capabilities = PowerCapabilities{false, false, true, true};
    sys.suspendAllowed = true;
    EXPECT_TRUE(SuspendAction(sys, false, true, false).Done());
    EXPECT_EQ(log, Join({{"GetVersionExA"}, kEnable, {"SetSuspendState 0 1 0"}, kDisable}));
}

TEST(SuspendAction, AFailedCallKeepsTheSystemsReasonAndClosesTheBracket) {
    Log log;
    RecordingSystem sys(log);
    sys.Set(2, 6, 1);
    sys.suspendResult = false;
    sys.lastError = 5;
    const PowerResult result = SuspendAction(sys, true, true, false);
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.error, 5u);
    EXPECT_EQ(log, Join({{"GetVersionExA"}, kEnable, {"SetSuspendState 1 1 0"}, kDisable}));
}

TEST(LockAction, TheNTFamilyFrom2000On) {
    for (const testing::WindowsVersion& v : testing::kWindowsVersions) {
        Log log;
        RecordingSystem sys(log);
        sys.Set(v.platform, v.major, v.minor);
        EXPECT_EQ(LockAction(sys).outcome, v.lock ? Outcome::Done : Outcome::NotOnThisVersion) << v.name;
        EXPECT_EQ(log.size(), v.lock ? 2u : 1u);
        sys.lockResult = false;
        sys.lastError = 120;
        EXPECT_EQ(LockAction(sys).error, v.lock ? 120u : 0u);
    }
}

TEST(ExitWindowsAction, APrivilegeThatCannotBeEnabledIsTheReasonWhenTheCallFails) {
    Log log;
    RecordingSystem sys(log);
    sys.Set(2, 10, 0);
    sys.privilege = {false, kErrorNotAllAssigned};
    EXPECT_TRUE(ExitWindowsAction(sys, 0, false).Done());                                  // logging off needs none
    EXPECT_EQ(log, (Log{"GetVersionExA", "privilege on", "ExitWindowsEx 0 0x80000000"}));  // nothing to disable
    sys.exitResult = false;
    sys.lastError = 1314;
    const PowerResult result = ExitWindowsAction(sys, 8, false);
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.error, kErrorNotAllAssigned);
}

// The token's three steps, each checked: what each gives, and what was asked.
struct FakeToken : TokenSteps {
    Log log;
    CallResult open, lookUp, adjust;
    CallResult Open(Handle& token) override {
        log.push_back("open");
        token = 0x44;
        return open;
    }
    CallResult LookUp(Luid& luid) override {
        log.push_back("look up");
        luid = {0x13, 0};
        return lookUp;
    }
    CallResult Adjust(Handle token, Luid luid, bool enable) override {
        log.push_back("adjust " + std::to_string(token) + " " + std::to_string(luid.lowPart) + " " +
                      std::to_string(enable));
        return adjust;
    }
    void Close(Handle token) override { log.push_back("close " + std::to_string(token)); }
};

TEST(ShutdownPrivilege, EachOfTheThreeStepsIsChecked) {
    FakeToken ok;
    EXPECT_TRUE(SwitchShutdownPrivilege(ok, true).ok);
    EXPECT_EQ(ok.log, (Log{"open", "look up", "adjust 68 19 1", "close 68"}));
    EXPECT_TRUE(SwitchShutdownPrivilege(ok, false).ok);
    EXPECT_EQ(ok.log.back(), "close 68");

    FakeToken noToken;
    noToken.open = {false, 5};
    const CallResult opened = SwitchShutdownPrivilege(noToken, true);
    EXPECT_FALSE(opened.ok);
    EXPECT_EQ(opened.error, 5u);
    EXPECT_EQ(noToken.log, (Log{"open"}));  // nothing done with a token that is not there

    FakeToken noName;
    noName.lookUp = {false, 1313};
    EXPECT_EQ(SwitchShutdownPrivilege(noName, true).error, 1313u);
    EXPECT_EQ(noName.log, (Log{"open", "look up", "close 68"}));

    FakeToken refused;
    refused.adjust = {false, 87};
    EXPECT_EQ(SwitchShutdownPrivilege(refused, true).error, 87u);
}

TEST(ShutdownPrivilege, ATokenWithoutThePrivilegeIsAFailureThoughTheCallReturnsSuccess) {
    FakeToken lacking;
    lacking.adjust = {true, kErrorNotAllAssigned};
    const CallResult result = SwitchShutdownPrivilege(lacking, true);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, kErrorNotAllAssigned);
    FakeToken stale;
    stale.adjust = {true, 183};  // a success leaves an earlier error behind: not ours
    EXPECT_TRUE(SwitchShutdownPrivilege(stale, true).ok);
    EXPECT_EQ(SwitchShutdownPrivilege(stale, true).error, 0u);
}

}  // namespace
}  // namespace dusklet
