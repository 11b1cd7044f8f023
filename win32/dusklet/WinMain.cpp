// Dusklet: performs one power action at a chosen moment, from the tray.
#include <windows.h>

#include "app/texts.h"
#include "win32/dusklet/main_window.h"
#include "win32/toolkit/handles.h"
#include "win32/toolkit/text.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
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
