// A command line applied to the window: as the user would arm by hand.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using namespace ctl;
using testing::MainFixture;

uint32_t Apply(MainFixture& f, const char16_t* line) {
    const ParsedCommand parsed = ParseCommandLine(line);
    EXPECT_TRUE(parsed.error.empty()) << testing::Narrow(parsed.error);
    return f.form.Command(parsed.command);
}

TEST(Command, ArmsAsAClickWouldWithTheSettingsInTheWindow) {
    MainFixture byHand, byLine;
    for (MainFixture* f : {&byHand, &byLine}) {
        f->system.Set(2, 10, 0);
        f->Started();
        f->host.shown = false;
    }
    byHand.Arm({.action = u"重新启动", .amount = u"90", .unit = u"分", .lead = nullptr, .force = false});
    EXPECT_EQ(Apply(byLine, u"Dusklet.exe /r /t 90m /nw /nf"), exit_code::kDone);
    EXPECT_EQ(byLine.get<cmbAction>().Text(), u"重新启动");
    EXPECT_TRUE(byLine.get<opt0>().value);
    EXPECT_EQ(byLine.get<txtPeriod>().text, u"90");
    EXPECT_EQ(byLine.get<cmbUnit>().Text(), u"分");
    EXPECT_EQ(byLine.get<chkBlink>().value, 0);
    EXPECT_FALSE(byLine.get<txtBlink>().enabled);
    EXPECT_EQ(byLine.get<chkForce>().value, 0);
    EXPECT_EQ(byLine.form.Due(), byHand.form.Due());
    EXPECT_EQ(byLine.Tip(), byHand.Tip());
    EXPECT_EQ(byLine.deadline.aimed, byHand.deadline.aimed);
    EXPECT_FALSE(byLine.host.shown);  // it stays in the tray
    ASSERT_EQ(byLine.tray.balloons.size(), 1u);
    EXPECT_EQ(byLine.tray.balloons[0].text, byHand.Tip());  // what is armed now
    byLine.Advance(5400);
    byLine.Wake();
    EXPECT_EQ(byLine.PowerCalls(), testing::Log{"ExitWindowsEx 2 0x80000000"});
}

TEST(Command, AClockTimeOnThe24HourClockAndTheWindowShown) {
    MainFixture f;
    f.Started();
    f.host.shown = false;
    EXPECT_EQ(Apply(f, u"d /l /at 23:59 /w 5 /show"), exit_code::kDone);
    EXPECT_EQ(f.get<txtHour>().text, u"11");
    EXPECT_EQ(f.get<txtMin>().text, u"59");
    EXPECT_EQ(f.get<cmbT>().Text(), u"PM");
    EXPECT_EQ(f.get<txtBlink>().text, u"5");
    EXPECT_EQ(f.DueLocal(), (CivilDateTime{2026, 12, 7, 23, 59, 0}));
    EXPECT_TRUE(f.host.shown);
}

TEST(Command, AnArmingReplacesTheArmedScheduleCancelAndPostponeSpeakToIt) {
    MainFixture f;
    f.Started();
    f.Arm({.amount = u"10", .unit = u"分"});
    EXPECT_EQ(Apply(f, u"d /s /t 2h"), exit_code::kDone);
    EXPECT_EQ(f.SecondsToDue(), 7200);
    EXPECT_EQ(Apply(f, u"d /p 5"), exit_code::kDone);
    EXPECT_EQ(f.SecondsToDue(), 7500);
    EXPECT_EQ(Apply(f, u"d /a"), exit_code::kDone);
    EXPECT_FALSE(f.form.Armed());
    EXPECT_EQ(f.tray.withdrawals, 1);                    // the balloon of the arming goes with it
    EXPECT_EQ(Apply(f, u"d /a"), exit_code::kNotFound);  // nothing armed: nothing to cancel
    EXPECT_EQ(Apply(f, u"d /p"), exit_code::kNotFound);
    EXPECT_TRUE(f.PowerCalls().empty());
}

TEST(Command, ARefusedActionArmsNothingAndSaysWhy) {
    for (const char16_t* line : {u"d /lock /t 5", u"d /standby /t 5"}) {
        MainFixture f;
        f.system.Set(1, 4, 10);  // Windows 98: no locking; no suspending on this machine
        f.system.suspendAllowed = false;
        f.Started();
        EXPECT_EQ(Apply(f, line), exit_code::kRefused);
        EXPECT_FALSE(f.form.Armed());
        ASSERT_EQ(f.Warnings().size(), 1u);
        EXPECT_EQ(f.Warnings()[0].rfind("无法执行", 0), 0u);
    }
}

// A refused arming, or a bad hand-over, leaves the armed schedule exactly as
// it was: the window, the tooltip, the panel, the wake-up and the action.
TEST(Command, ARefusedCommandChangesNothingThatIsArmed) {
    const struct {
        const char16_t* line;
        OsVersion version;
    } cases[] = {{u"d /standby /t 100", {2, 5, 1}},   // XP, on a machine that cannot suspend
                 {u"d /lock /at 7:30", {1, 4, 10}}};  // 98: no locking offered
    for (const auto& c : cases) {
        MainFixture f;
        f.system.version = c.version;
        f.system.suspendAllowed = false;
        f.system.capabilities->s1 = f.system.capabilities->s3 = false;
        f.Started();
        f.Arm({.amount = u"20", .unit = u"分", .lead = u"999"});
        f.Pass(300);  // in the warning
        const auto state = [&] {
            std::vector<std::u16string> seen;
            for (Control* control : f.controls.all) {
                if (auto* box = dynamic_cast<testing::MemTextBox*>(control)) seen.push_back(box->text);
                if (auto* list = dynamic_cast<testing::MemComboBox*>(control)) seen.push_back(list->Text());
                if (auto* label = dynamic_cast<testing::MemLabel*>(control)) seen.push_back(label->caption);
                if (auto* option = dynamic_cast<testing::MemOption*>(control))
                    seen.push_back(option->value ? u"1" : u"");
                seen.push_back(control->Enabled() ? u"on" : u"off");
            }
            return std::tuple(seen, f.Tip(), f.host.panel, f.deadline.aimed, f.form.Due(), f.tray.withdrawals);
        };
        const auto before = state();
        ASSERT_TRUE(f.host.panel);
        EXPECT_EQ(Apply(f, c.line), exit_code::kRefused) << testing::Narrow(c.line);
        EXPECT_EQ(f.Warnings().size(), 1u);
        EXPECT_EQ(state(), before) << testing::Narrow(c.line);
        f.Pass(900);
        EXPECT_EQ(f.PowerCalls(), testing::Log{"ExitWindowsEx 12 0x80000000"});  // the power-off, on time
    }
}

TEST(Command, ShowBringsForwardWhatTheUserMustAnswerFirst) {
    MainFixture f;
    f.Started();
    f.host.shown = false;
    f.host.aboutOpen = true;
    EXPECT_EQ(Apply(f, u"d /show"), exit_code::kDone);
    EXPECT_TRUE(f.host.shown);
    EXPECT_TRUE(f.host.aboutOpen);  // About stays, in front
    EXPECT_EQ(f.log.back(), "about to the front");
}

TEST(Command, TheRunningCopysAnswerIsTaggedAndNothingElseIsTakenForIt) {
    for (const uint32_t code : {exit_code::kDone, exit_code::kRefused, exit_code::kBadArguments, exit_code::kBusy})
        EXPECT_EQ(reply::Code(reply::Tagged(code)), code);
    for (const uint32_t foreign : {0u, 1u, 1223u, 0xFFFFFFFFu, 0x44520000u})
        EXPECT_EQ(reply::Code(foreign), std::nullopt) << foreign;
}

TEST(Command, WhileAnotherEventIsHandledItIsAskedAgain) {
    MainFixture f;
    f.Started();
    f.tray.duringNextCall = [&] { EXPECT_EQ(Apply(f, u"d /s /t 5"), exit_code::kBusy); };
    f.Arm({.amount = u"60"});
    EXPECT_EQ(f.SecondsToDue(), 60);
}

}  // namespace
}  // namespace dusklet
