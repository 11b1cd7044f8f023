// Dusklet: performs one power action at a chosen moment, from the tray.
#include <windows.h>

#include "win32/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Taken before any window exists and held for the life of the process;
    // a second copy finds it and ends after its message.
    CreateMutexA(nullptr, FALSE, "Dusklet.SingleInstance");
    const bool anotherInstance = GetLastError() == ERROR_ALREADY_EXISTS;

    dusklet::win::MainWindow window(instance, anotherInstance);
    if (!window.Start()) return 0;
    return window.Run();
}
