#include "win32/toolkit/system_library.h"

#include <cstring>

namespace dusklet::win {

HMODULE LoadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    const UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n + 1 + std::strlen(name) >= MAX_PATH) return nullptr;
    lstrcatA(path, "\\");
    lstrcatA(path, name);
    return LoadLibraryA(path);
}

HMODULE Shell32() {
    static const HMODULE module = LoadSystemLibrary("shell32.dll");
    return module;
}

HMODULE CommonControls() {
    static const HMODULE module = LoadLibraryA("comctl32.dll");
    return module;
}

}  // namespace dusklet::win
