// The command line, in the shape of the system's shutdown command: what it
// asks for, or which argument is wrong. Switches begin with / or -, in any
// case and any order; one action and one of /t, /at, /exit, /net or /idle
// arm, and /a, /p and /show speak to the copy that runs.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/frmMain_layout.h"

namespace dusklet {

// What scripts read from the exit code.
namespace exit_code {
constexpr uint32_t kDone = 0;
constexpr uint32_t kBadArguments = 87;  // ERROR_INVALID_PARAMETER
constexpr uint32_t kRefused = 1223;     // ERROR_CANCELLED: the action is refused on this machine
// ERROR_NOT_FOUND: nothing to act on: no copy runs (for /a, /p and /show),
// or nothing is armed (for /a and /p).
constexpr uint32_t kNotFound = 1168;
constexpr uint32_t kNoAnswer = 1460;  // ERROR_TIMEOUT: the running copy did not answer
constexpr uint32_t kBusy = 170;       // ERROR_BUSY: between the copies only, "ask again"
}  // namespace exit_code

// The running copy's answer to a command line handed over to it: the exit
// code, tagged, so that the copy that hands it over tells it from what a
// window that is not Dusklet's answers (anything, 0 among it).
namespace reply {
inline constexpr uint32_t kTag = 0x44530000;  // "DS" in the high half
constexpr uint32_t Tagged(uint32_t code) { return kTag | (code & 0xFFFF); }
constexpr std::optional<uint32_t> Code(uint32_t answer) {
    return (answer & 0xFFFF0000) == kTag ? std::optional(answer & 0xFFFF) : std::nullopt;
}
static_assert(exit_code::kNoAnswer <= 0xFFFF, "every exit code fits the tagged answer");
}  // namespace reply

struct Command {
    enum class Kind { None, Arm, Cancel, Postpone, Show, Usage };
    Kind kind = Kind::None;
    // Arm: the settings as the window holds them.
    PowerAction action = PowerAction::PowerOff;
    bool clock = false;
    int32_t amount = 0;  // of `unit`, 1 to 999
    TimeUnit unit = TimeUnit::Seconds;
    int hour = 0, minute = 0;  // clock: 24-hour
    bool force = true;
    std::optional<int32_t> lead = 30;  // none: no warning before the action
    bool show = false;                 // and the window shown
    // Arm in the 当 mode: the condition, and what it needs.
    std::optional<Condition> condition;
    std::u16string program;             // 程序退出: an executable's file name,
    std::optional<uint32_t> programId;  // or one process by its id
    int32_t minutes = 0;                // 下载完成 and 无人使用
    int32_t kb = 50;                    // 下载完成
    int32_t postponeMinutes = 10;       // Postpone
};

struct ParsedCommand {
    Command command;
    // Empty when the command line is good; otherwise the argument that is
    // wrong and why, to be shown with the usage.
    std::u16string error;
};

// Added to a command line without arguments, it asks the copy that runs to
// show its window in front.
inline constexpr std::u16string_view kShowArgument = u" /show";

// The whole command line as the system gives it, the program's own path
// first (quoted or not).
ParsedCommand ParseCommandLine(std::u16string_view line);

}  // namespace dusklet
