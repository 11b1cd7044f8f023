// Fuzzes the command line: arbitrary arguments, built from pieces of real
// switches, values, quotes, blanks and any UTF-16 unit. Whatever comes in,
// the parser ends, and either names a wrong argument (and asks for nothing)
// or asks for something within the window's limits.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/command_line.h"

using namespace dusklet;

namespace {

const char16_t* const kPieces[] = {
    u"/s",  u"/r", u"/l",    u"/standby", u"/h",  u"/lock", u"/t",    u"-T",     u"/at",   u"/f",
    u"/nf", u"/w", u"/nw",   u"/p",       u"/a",  u"/show", u"/?",    u"5",      u"999",   u"1000",
    u"0",   u"2h", u"90m",   u"3600",     u"s",   u"23:59", u"24:00", u"7:5",    u"\"",    u" ",
    u"\t",  u"/",  u"/exit", u"/net",     u"/kb", u"/idle", u"99999", u"100000", u"a.exe", u"4294967296"};

void Check(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string line = u"\"C:\\Dusklet\\Dusklet.exe\"";
    for (size_t i = 0; i + 1 < size; i += 2) {
        const uint8_t op = data[i], arg = data[i + 1];
        if (op % 4 == 0) line += static_cast<char16_t>(arg << 8 | op);  // any unit
        else {
            line += u' ';
            line += kPieces[arg % (sizeof kPieces / sizeof kPieces[0])];
        }
    }
    const ParsedCommand parsed = ParseCommandLine(line);
    const Command& c = parsed.command;
    if (!parsed.error.empty()) {
        Check(c.kind == Command::Kind::None);
        Check(parsed.error.rfind(u"参数有误：“", 0) == 0);
        return 0;
    }
    if (c.kind == Command::Kind::Arm) {
        if (c.condition == Condition::ProgramExit) Check(!c.program.empty() && c.program[0] != u'/');
        else if (c.condition) Check(c.minutes >= 1 && c.minutes <= 999 && c.kb >= 1 && c.kb <= kMostKb);
        else if (c.clock) Check(c.hour >= 0 && c.hour <= 23 && c.minute >= 0 && c.minute <= 59);
        else Check(c.amount >= 1 && c.amount <= 999);
        if (c.lead) Check(*c.lead >= 1 && *c.lead <= 999);
    }
    Check(c.postponeMinutes >= 1 && c.postponeMinutes <= 999);
    return 0;
}
