// A failure the program works around but should not hide: one line on the
// debugger's output (Wine's +debugstr channel shows it).
#pragma once
#include <windows.h>

namespace dusklet::win {

inline void Trace(const char* what) {
    char line[128] = "Dusklet: ";
    lstrcpynA(line + 9, what, static_cast<int>(sizeof line) - 10);
    lstrcatA(line, "\n");
    OutputDebugStringA(line);
}

}  // namespace dusklet::win
