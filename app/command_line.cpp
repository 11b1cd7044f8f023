#include "app/command_line.h"

#include "app/texts.h"

namespace dusklet {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// The arguments after the program's own path, one at a time. A double quote
// groups what it encloses, blanks included; quotes around a whole argument
// are left out.
class Arguments {
public:
    explicit Arguments(std::u16string_view line) : rest_(line) { Take(); }
    // The next argument into `arg`; false when there is none.
    bool Next(std::u16string_view& arg) {
        while (!rest_.empty() && IsBlank(rest_.front())) rest_.remove_prefix(1);
        if (rest_.empty()) return false;
        arg = Take();
        if (arg.size() >= 2 && arg.front() == u'"' && arg.back() == u'"') arg = arg.substr(1, arg.size() - 2);
        return true;
    }

private:
    std::u16string_view Take() {
        size_t i = 0;
        for (bool quoted = false; i < rest_.size() && (quoted || !IsBlank(rest_[i])); ++i)
            if (rest_[i] == u'"') quoted = !quoted;
        const std::u16string_view taken = rest_.substr(0, i);
        rest_.remove_prefix(i);
        return taken;
    }
    std::u16string_view rest_;
};

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool Is(std::u16string_view name, std::u16string_view switchName) {
    if (name.size() != switchName.size()) return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (Lower(name[i]) != switchName[i]) return false;
    return true;
}

// A number of one to six digits and nothing else.
std::optional<int32_t> Number(std::u16string_view text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    int32_t n = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        n = n * 10 + (c - u'0');
    }
    return n;
}

constexpr int32_t kMost = 999;  // what the window's number boxes hold

// A countdown of N, in seconds unless a unit letter follows, put as the
// window holds it: N of that unit where N fits the box, else the same time
// in the first larger unit that gives a whole number that fits.
bool Countdown(std::u16string_view text, Command& command) {
    auto unit = static_cast<uint32_t>(TimeUnit::Seconds);
    if (!text.empty()) {
        switch (Lower(text.back())) {
        case u's': text.remove_suffix(1); break;
        case u'm': unit = static_cast<uint32_t>(TimeUnit::Minutes), text.remove_suffix(1); break;
        case u'h': unit = static_cast<uint32_t>(TimeUnit::Hours), text.remove_suffix(1); break;
        }
    }
    const std::optional<int32_t> n = Number(text);
    if (!n || *n < 1) return false;
    const uint32_t seconds = static_cast<uint32_t>(*n) * unit;  // six digits of hours fit
    for (const TimeUnit u : {TimeUnit::Seconds, TimeUnit::Minutes, TimeUnit::Hours}) {
        const auto per = static_cast<uint32_t>(u);
        if (per < unit || seconds % per != 0 || seconds / per > kMost) continue;
        command.amount = static_cast<int32_t>(seconds / per);
        command.unit = u;
        return true;
    }
    return false;
}

// HH:MM on the 24-hour clock.
bool ClockTime(std::u16string_view text, Command& command) {
    const size_t colon = text.find(u':');
    if (colon == std::u16string_view::npos || colon == 0 || colon > 2 || text.size() - colon != 3) return false;
    const std::optional<int32_t> hour = Number(text.substr(0, colon)), minute = Number(text.substr(colon + 1));
    if (!hour || !minute || *hour > 23 || *minute > 59) return false;
    command.hour = *hour;
    command.minute = *minute;
    return true;
}

// How many characters of a wrong argument the message quotes.
constexpr size_t kQuoted = 40;

// The message for a wrong argument (and the value that went with it).
ParsedCommand Wrong(std::u16string_view argument, std::u16string_view reason, std::u16string_view value = {}) {
    std::u16string quoted(argument);
    if (!value.empty()) {
        quoted += u' ';
        quoted += value;
    }
    std::u16string text(texts::kWrongArgument);
    text += u"“";
    text.append(quoted, 0, kQuoted);
    if (quoted.size() > kQuoted) text += u"…";
    text += u"”\r\n";
    text += reason;
    return {{}, text};
}

// The switches, and the slot each fills: a slot filled twice is a conflict.
enum class Slot : uint8_t { Action, Time, Force, Lead, Kb, Postpone, Cancel, Show, Usage };
struct Switch {
    const char16_t* name;
    Slot slot;
    // The action; the time: a countdown (0), a clock time (1), a program's
    // end (2), a quiet network (3), nobody there (4); on (1) or off (0).
    int8_t meaning;
};
constexpr Switch kSwitches[] = {
    {u"s", Slot::Action, layout_lists::Data(PowerAction::PowerOff)},
    {u"r", Slot::Action, layout_lists::Data(PowerAction::Restart)},
    {u"l", Slot::Action, layout_lists::Data(PowerAction::LogOff)},
    {u"standby", Slot::Action, layout_lists::Data(PowerAction::Suspend)},
    {u"h", Slot::Action, layout_lists::Data(PowerAction::Hibernate)},
    {u"lock", Slot::Action, layout_lists::Data(PowerAction::Lock)},
    {u"t", Slot::Time, 0},
    {u"at", Slot::Time, 1},
    {u"exit", Slot::Time, 2},
    {u"net", Slot::Time, 3},
    {u"idle", Slot::Time, 4},
    {u"kb", Slot::Kb, 0},
    {u"f", Slot::Force, 1},
    {u"nf", Slot::Force, 0},
    {u"w", Slot::Lead, 1},
    {u"nw", Slot::Lead, 0},
    {u"p", Slot::Postpone, 0},
    {u"a", Slot::Cancel, 0},
    {u"show", Slot::Show, 0},
    {u"?", Slot::Usage, 0},
};

// What a command line asks for, by the slots it fills: arming (with the
// window shown, or not) or one thing alone.
bool Arming(Slot slot) { return slot <= Slot::Kb; }

// A process id: digits alone, that fit 32 bits; 0 for any other text.
uint32_t ProcessId(std::u16string_view text) {
    uint64_t id = 0;
    for (char16_t c : text)
        if (c < u'0' || c > u'9' || (id = id * 10 + static_cast<uint32_t>(c - u'0')) > UINT32_MAX) return 0;
    return static_cast<uint32_t>(id);
}

// A number of 1 to `most`; 0 for any other text.
int32_t Within(std::u16string_view text, int32_t most) {
    const int32_t n = Number(text).value_or(0);
    return n <= most ? n : 0;
}
bool GoTogether(Slot a, Slot b) {
    return a == b || (Arming(a) && Arming(b)) || (Arming(a) && b == Slot::Show) || (a == Slot::Show && Arming(b));
}

}  // namespace

ParsedCommand ParseCommandLine(std::u16string_view line) {
    Arguments args(line);
    Command c;
    unsigned filled = 0;  // a bit for each slot
    std::u16string_view arg, v, firstArming, kb;
    std::optional<Slot> first;
    while (args.Next(arg)) {
        const Switch* found = nullptr;
        if (arg.size() >= 2 && (arg[0] == u'/' || arg[0] == u'-'))
            for (const Switch& candidate : kSwitches)
                if (Is(arg.substr(1), candidate.name)) found = &candidate;
        if (!found) return Wrong(arg, texts::kUnknownSwitch);
        const unsigned bit = 1u << static_cast<unsigned>(found->slot);
        if ((filled & bit) || (first && !GoTogether(*first, found->slot))) return Wrong(arg, texts::kConflictingSwitch);
        filled |= bit;
        if (!first || *first == Slot::Show) first = found->slot;
        if (Arming(found->slot) && firstArming.empty()) firstArming = arg;
        // A switch's value is the next argument; /p's may be left out.
        bool valid = true;
        switch (found->slot) {
        case Slot::Action: c.action = static_cast<PowerAction>(found->meaning); break;
        case Slot::Time:
            if (!args.Next(v)) v = {};
            switch (found->meaning) {
            case 0: valid = Countdown(v, c); break;
            case 1:
                c.clock = true;
                valid = ClockTime(v, c);
                break;
            case 2:
                c.condition = Condition::ProgramExit;
                valid = !v.empty() && v[0] != u'/' && v[0] != u'-';
                c.program = v;
                if (const uint32_t id = ProcessId(v)) c.programId = id;
                break;
            default:
                c.condition = found->meaning == 3 ? Condition::DownloadDone : Condition::NobodyThere;
                valid = (c.minutes = Within(v, kMost)) > 0;
                break;
            }
            break;
        case Slot::Kb:
            kb = arg;
            valid = args.Next(v) && (c.kb = Within(v, kMostKb)) > 0;
            break;
        case Slot::Force: c.force = found->meaning == 1; break;
        case Slot::Lead:
            if (found->meaning == 0) {
                c.lead.reset();
                break;
            }
            c.lead = args.Next(v) ? Within(v, kMost) : 0;
            valid = *c.lead > 0;
            break;
        case Slot::Postpone: {
            Arguments ahead = args;
            if (!ahead.Next(v) || v.empty() || v[0] == u'/' || v[0] == u'-') break;
            args = ahead;
            valid = (c.postponeMinutes = Within(v, kMost)) > 0;
            break;
        }
        case Slot::Cancel:
        case Slot::Show:
        case Slot::Usage: break;
        }
        if (!valid) return Wrong(arg, texts::kBadValue, v);
        v = {};
    }
    const auto has = [&](Slot slot) { return (filled & (1u << static_cast<unsigned>(slot))) != 0; };
    c.show = has(Slot::Show);
    if (!first) c.kind = Command::Kind::None;
    else if (Arming(*first)) {
        if (!has(Slot::Action) || !has(Slot::Time)) return Wrong(firstArming, texts::kIncompleteArming);
        if (has(Slot::Kb) && c.condition != Condition::DownloadDone) return Wrong(kb, texts::kConflictingSwitch);
        c.kind = Command::Kind::Arm;
    } else if (*first == Slot::Postpone) c.kind = Command::Kind::Postpone;
    else if (*first == Slot::Cancel) c.kind = Command::Kind::Cancel;
    else if (*first == Slot::Usage) c.kind = Command::Kind::Usage;
    else c.kind = Command::Kind::Show;
    return {c, {}};
}

}  // namespace dusklet
