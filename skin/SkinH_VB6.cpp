// Stand-in for the third-party skin engine that the program attaches at
// start-up. It reads the skin file it is given and changes nothing on
// screen; it returns 0 when it could read the file and 1 when it could not.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI SkinH_AttachEx(const char* skinFile, const char*) {
    HANDLE file = CreateFileA(skinFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    char buffer[1024];  // within the stack's guard page, which the build does not probe past
    DWORD got = 0;
    const BOOL ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
