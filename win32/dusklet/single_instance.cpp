#include "win32/dusklet/single_instance.h"

#include "app/command_line.h"

namespace dusklet::win {
namespace {

// The first copy's window appears within moments of its start; the running
// copy answers within moments of a hand-over unless it is hung.
constexpr DWORD kPatienceMs = 5000;

}  // namespace

SingleInstance::SingleInstance()
    : mapping_(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD),
                                  "Dusklet.SingleInstance")),
      another_(GetLastError() == ERROR_ALREADY_EXISTS),
      view_(mapping_ ? MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, sizeof(DWORD)) : nullptr) {}

void SingleInstance::Publish(HWND window) {
    if (auto* slot = static_cast<volatile DWORD*>(view_.get()))
        *slot = static_cast<DWORD>(reinterpret_cast<uintptr_t>(window));
}

uint32_t SingleInstance::HandOver(std::u16string_view commandLine) const {
    const auto* slot = static_cast<const volatile DWORD*>(view_.get());
    if (!slot) return exit_code::kNoAnswer;
    const DWORD start = GetTickCount();
    const auto patient = [&] { return GetTickCount() - start < kPatienceMs; };
    HWND window = nullptr;
    while (!(window = reinterpret_cast<HWND>(static_cast<uintptr_t>(*slot))) && patient()) Sleep(20);
    if (!window || !IsWindow(window)) return exit_code::kNoAnswer;
    // /show brings that window to the front: this process, which the user
    // has just started, may let it (2000 and later).
    using Allow = BOOL(WINAPI*)(DWORD);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (const auto allow = reinterpret_cast<Allow>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "AllowSetForegroundWindow"))))
        allow(process);
    COPYDATASTRUCT data = {kCommandLineData, static_cast<DWORD>(commandLine.size() * sizeof(char16_t)),
                           const_cast<char16_t*>(commandLine.data())};
    do {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kPatienceMs,
                                 &answer))
            return exit_code::kNoAnswer;
        if (answer != exit_code::kBusy) return static_cast<uint32_t>(answer);
        Sleep(50);  // it was handling another event: once more
    } while (patient());
    return exit_code::kNoAnswer;
}

}  // namespace dusklet::win
