// Dusklet: performs one power action at a chosen moment, from the tray.
#include <windows.h>

#include "app/texts.h"
#include "win32/dusklet/main_window.h"
#include "win32/toolkit/handles.h"
#include "win32/toolkit/text.h"

namespace {

int Run(HINSTANCE instance) {
    using namespace dusklet::win;
    ChooseTextPath();
    DeclareDpiAware();
    // Taken before any window exists and held for the life of the process;
    // a second copy finds it and ends after its message.
    const UniqueHandle mutex(CreateMutexA(nullptr, FALSE, "Dusklet.SingleInstance"));
    const bool anotherInstance = GetLastError() == ERROR_ALREADY_EXISTS;

    MainWindow window(instance, anotherInstance);
    switch (window.Open()) {
    case MainWindow::Start::Running: return window.Run();
    case MainWindow::Start::Ended: return 0;
    case MainWindow::Start::Failed: break;
    }
    // A window could not be made: the program cannot go on, and says so.
    MessageBox16(nullptr, dusklet::texts::kStartFailed, dusklet::texts::kProgramTitle, MB_OK | MB_ICONERROR);
    return 1;
}

}  // namespace

// The process starts here rather than in the C runtime's start-up code,
// which would bring about 6 KB that Dusklet has no use for: the command line
// split into arguments, thread-local storage callbacks, pseudo-relocations,
// floating-point exception handlers and a table of static constructors that
// is empty here. msvcrt.dll sets itself up as it loads.
extern "C" void WINAPI Start() { ExitProcess(static_cast<UINT>(Run(GetModuleHandleA(nullptr)))); }
