// A failure the program works around but should not hide: one line on the
// debugger's output (Wine's +debugstr channel shows it), with the system's
// last error. Called right after the failed call, before anything else can
// change that error.
#pragma once
#include <windows.h>

namespace dusklet::win {

inline void Trace(const char* what) {
    const DWORD error = GetLastError();
    char line[160];
    wsprintfA(line, "Dusklet: %.120s (error %lu)\n", what, error);
    OutputDebugStringA(line);
}

}  // namespace dusklet::win
