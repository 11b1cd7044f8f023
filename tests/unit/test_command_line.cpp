// The command line: what each good one asks for, and which argument of a bad
// one is named.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "tests/utf8.h"

namespace dusklet {
namespace {

using Kind = Command::Kind;

TEST(CommandLine, WhatEachGoodOneAsksFor) {
    struct Case {
        const char16_t* line;
        Kind kind;
        PowerAction action;
        bool clock;
        int32_t amount;
        TimeUnit unit;
        int hour, minute;
        bool force;
        std::optional<int32_t> lead;
        bool show;
        int32_t postpone;
    };
    const auto S = TimeUnit::Seconds, M = TimeUnit::Minutes, H = TimeUnit::Hours;
    const auto off = PowerAction::PowerOff;
    const Case cases[] = {
        {u"Dusklet.exe", Kind::None, off, false, 0, S, 0, 0, true, 30, false, 10},
        {u"\"C:\\Program Files\\Dusklet.exe\"   ", Kind::None, off, false, 0, S, 0, 0, true, 30, false, 10},
        {u"d /s /t 60", Kind::Arm, off, false, 60, S, 0, 0, true, 30, false, 10},
        {u"d /s /t 3600", Kind::Arm, off, false, 60, M, 0, 0, true, 30, false, 10},  // an hour, as 60 分
        {u"d /s /t 7200", Kind::Arm, off, false, 120, M, 0, 0, true, 30, false, 10},
        {u"d /S /T 2H", Kind::Arm, off, false, 2, H, 0, 0, true, 30, false, 10},
        {u"d -t 90m -r", Kind::Arm, PowerAction::Restart, false, 90, M, 0, 0, true, 30, false, 10},
        {u"d /t 999h /l /nf /nw", Kind::Arm, PowerAction::LogOff, false, 999, H, 0, 0, false, {}, false, 10},
        {u"d /t 1200m /h", Kind::Arm, PowerAction::Hibernate, false, 20, H, 0, 0, true, 30, false, 10},
        {u"d /standby /at 0:05 /w 5 /show", Kind::Arm, PowerAction::Suspend, true, 0, S, 0, 5, true, 5, true, 10},
        {u"d /LOCK /at 23:59 /f", Kind::Arm, PowerAction::Lock, true, 0, S, 23, 59, true, 30, false, 10},
        {u"d \"/s\" \"/t\" \"5\"", Kind::Arm, off, false, 5, S, 0, 0, true, 30, false, 10},
        {u"d /a", Kind::Cancel, off, false, 0, S, 0, 0, true, 30, false, 10},
        {u"d /p", Kind::Postpone, off, false, 0, S, 0, 0, true, 30, false, 10},
        {u"d /p 5", Kind::Postpone, off, false, 0, S, 0, 0, true, 30, false, 5},
        {u"d -SHOW", Kind::Show, off, false, 0, S, 0, 0, true, 30, false, 10},
        {u"d /?", Kind::Usage, off, false, 0, S, 0, 0, true, 30, false, 10},
    };
    for (const Case& c : cases) {
        const ParsedCommand p = ParseCommandLine(c.line);
        SCOPED_TRACE(testing::Narrow(c.line));
        ASSERT_EQ(testing::Narrow(p.error), "");
        const Command& got = p.command;
        EXPECT_EQ(got.kind, c.kind);
        if (c.kind == Kind::Arm) {
            EXPECT_EQ(got.action, c.action);
            EXPECT_EQ(got.clock, c.clock);
            EXPECT_EQ(c.clock ? std::pair(got.hour, got.minute) : std::pair(got.amount, static_cast<int>(got.unit)),
                      c.clock ? std::pair(c.hour, c.minute) : std::pair(c.amount, static_cast<int>(c.unit)));
            EXPECT_EQ(got.force, c.force);
            EXPECT_EQ(got.lead, c.lead);
            EXPECT_EQ(got.show, c.show);
        }
        EXPECT_EQ(got.postponeMinutes, c.postpone);
    }
    // What a second start without arguments hands over.
    std::u16string second = u"\"C:\\Dusklet.exe\"";
    second += kShowArgument;
    EXPECT_EQ(ParseCommandLine(second).command.kind, Kind::Show);
}

TEST(CommandLine, TheConditionsOfTheWhenMode) {
    struct Case {
        const char16_t* line;
        Condition condition;
        const char* program;
        std::optional<uint32_t> id;
        int32_t minutes, kb;
    };
    const Case cases[] = {
        {u"d /s /exit notepad.exe", Condition::ProgramExit, "notepad.exe", {}, 0, 50},
        {u"d /exit \"My Setup.exe\" /r /w 5", Condition::ProgramExit, "My Setup.exe", {}, 0, 50},
        {u"d /s /EXIT 4096", Condition::ProgramExit, "4096", 4096u, 0, 50},
        {u"d /s /exit 4294967296", Condition::ProgramExit, "4294967296", {}, 0, 50},  // no id: a name
        {u"d /l /net 5", Condition::DownloadDone, "", {}, 5, 50},
        {u"d /kb 99999 /l /net 999", Condition::DownloadDone, "", {}, 999, 99999},
        {u"d /h /idle 30 /show", Condition::NobodyThere, "", {}, 30, 50},
    };
    for (const Case& c : cases) {
        const ParsedCommand p = ParseCommandLine(c.line);
        SCOPED_TRACE(testing::Narrow(c.line));
        ASSERT_EQ(testing::Narrow(p.error), "");
        EXPECT_EQ(p.command.kind, Kind::Arm);
        EXPECT_EQ(p.command.condition, c.condition);
        EXPECT_EQ(testing::Narrow(p.command.program), c.program);
        EXPECT_EQ(p.command.programId, c.id);
        EXPECT_EQ(std::pair(p.command.minutes, p.command.kb), std::pair(c.minutes, c.kb));
    }
    const std::pair<const char16_t*, const char*> bad[] = {
        {u"d /s /exit", "/exit"},
        {u"d /s /exit /f", "/exit /f"},
        {u"d /s /net 0", "/net 0"},
        {u"d /s /net 1000", "/net 1000"},
        {u"d /s /idle", "/idle"},
        {u"d /s /net 5 /kb 0", "/kb 0"},
        {u"d /s /net 5 /kb 100000", "/kb 100000"},
        {u"d /s /idle 5 /kb 20", "/kb"},
        {u"d /s /t 5 /idle 5", "/idle"},
        {u"d /kb 20", "/kb"},
    };
    for (const auto& [line, named] : bad) {
        const ParsedCommand p = ParseCommandLine(line);
        EXPECT_EQ(testing::Narrow(p.error).rfind(std::string("参数有误：“") + named + "”", 0), 0u)
            << testing::Narrow(line) << ": " << testing::Narrow(p.error);
    }
}

TEST(CommandLine, ABadOneNamesItsArgument) {
    const std::u16string huge(32 * 1024, u'x');
    struct Case {
        std::u16string line;
        std::string named;  // what the message quotes
    };
    const Case cases[] = {
        {u"d /t", "/t"},
        {u"d /s /t 0", "/t 0"},
        {u"d /s /t 1000m", "/t 1000m"},  // 16 h 40 min: no whole number of any unit fits the box
        {u"d /s /t 1000", "/t 1000"},
        {u"d /s /t 1000h", "/t 1000h"},
        {u"d /s /t -5", "/t -5"},
        {u"d /s /t 5x", "/t 5x"},
        {u"d /s /at 25:00", "/at 25:00"},
        {u"d /s /at 7:5", "/at 7:5"},
        {u"d /s /r /t 5", "/r"},
        {u"d /s /t 5 /at 10:00", "/at"},
        {u"d /a /s", "/s"},
        {u"d /s /t 5 /p", "/p"},
        {u"d /a /show", "/show"},
        {u"d /t 5", "/t"},
        {u"d /s", "/s"},
        {u"d /nf", "/nf"},
        {u"d /w 0 /s /t 5", "/w 0"},
        {u"d /p 0", "/p 0"},
        {u"d /x", "/x"},
        {u"d s", "s"},
        {u"d \"\"", ""},
        {u"d /关机", "/关机"},
        {u"d /s /t 5 /" + huge, "/" + std::string(39, 'x') + "…"},
    };
    for (const Case& c : cases) {
        const ParsedCommand p = ParseCommandLine(c.line);
        SCOPED_TRACE(testing::Narrow(c.line.substr(0, 60)));
        EXPECT_EQ(p.command.kind, Kind::None);
        EXPECT_EQ(testing::Narrow(p.error).rfind("参数有误：“" + c.named + "”\r\n", 0), 0u) << testing::Narrow(p.error);
    }
}

}  // namespace
}  // namespace dusklet
