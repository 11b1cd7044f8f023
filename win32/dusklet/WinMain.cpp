// Dusklet: performs one power action at a chosen moment, from the tray.
#include <windows.h>

#include "app/command_line.h"
#include "app/texts.h"
#include "win32/dusklet/main_window.h"
#include "win32/dusklet/single_instance.h"
#include "win32/toolkit/text.h"

namespace {

uint32_t Run(HINSTANCE instance) {
    using namespace dusklet;
    using namespace dusklet::win;
    ChooseTextPath();
    // The command line is read before anything else: a bad one changes
    // nothing, here or in the copy that runs.
    const std::u16string line = CommandLine16();
    const ParsedCommand parsed = ParseCommandLine(line);
    if (!parsed.error.empty() || parsed.command.kind == Command::Kind::Usage) {
        const bool bad = !parsed.error.empty();
        MessageBox16(nullptr, bad ? parsed.error + u"\r\n\r\n" + texts::kUsage : std::u16string(texts::kUsage),
                     texts::kProgramTitle, MB_OK | (bad ? MB_ICONWARNING : MB_ICONINFORMATION));
        return bad ? exit_code::kBadArguments : exit_code::kDone;
    }
    // Made before any window exists and held for the life of the process.
    SingleInstance single;
    const Command& command = parsed.command;
    if (single.Another() && command.kind != Command::Kind::None) return single.HandOver(line);
    if (!single.Another() && command.kind != Command::Kind::None && command.kind != Command::Kind::Arm)
        return exit_code::kNotFound;
    // Armed from a script with no copy running, this copy does not stay to
    // the action (a script would wait for it): it starts the copy that stays,
    // hands its command line over and answers at once.
    if (command.kind == Command::Kind::Arm && !single.Chosen()) {
        if (const std::optional<uint32_t> answer = single.StartStayingCopy(line)) return *answer;
    }

    DeclareDpiAware();
    MainWindow window(instance, single, command);
    switch (window.Open()) {
    case MainWindow::Start::Running: return window.Run();
    case MainWindow::Start::Ended: return exit_code::kDone;
    case MainWindow::Start::Failed: break;
    }
    // A window could not be made: the program cannot go on, and says so.
    MessageBox16(nullptr, texts::kStartFailed, texts::kProgramTitle, MB_OK | MB_ICONERROR);
    return 1;
}

}  // namespace

// The process starts here rather than in the C runtime's start-up code,
// which would bring about 6 KB that Dusklet has no use for: the command line
// split into arguments, thread-local storage callbacks, pseudo-relocations,
// floating-point exception handlers and a table of static constructors that
// is empty here. msvcrt.dll sets itself up as it loads.
extern "C" void WINAPI Start() { ExitProcess(Run(GetModuleHandleA(nullptr))); }
