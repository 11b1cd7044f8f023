#include "win32/dusklet/single_instance.h"

#include <cstring>

#include "app/command_line.h"
#include "base/program_folder.h"
#include "win32/dusklet/processes.h"
#include "win32/toolkit/system_library.h"
#include "win32/toolkit/text.h"

namespace dusklet::win {
namespace {

// The running copy answers within moments of a hand-over unless it is hung.
constexpr DWORD kPatienceMs = 5000;
// The first copy's window appears within moments of its start, but on a busy
// machine (at logon, from a cold disk) it may take much longer: it is waited
// for as long as this (no longer than a copy started for it runs).
constexpr DWORD kStartPatienceMs = 30000;

// Dusklet's main window: of its class, in a process of the executable that
// runs here (whatever the user has named it).
bool IsRunningCopy(HWND window) {
    char cls[sizeof kMainClass + 1];
    if (!window || GetClassNameA(window, cls, sizeof cls) == 0 || std::strcmp(cls, kMainClass) != 0) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return SameFileName(ImageNameOf(process), FileNameOf(ModulePath16()));
}

}  // namespace

SingleInstance::SingleInstance()
    : mapping_(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Shared),
                                  "Dusklet.SingleInstance")),
      existed_(GetLastError() == ERROR_ALREADY_EXISTS),
      view_(mapping_ ? MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, sizeof(Shared)) : nullptr) {
    if (!existed_) return;
    chosen_ = shared() && shared()->chosen == GetCurrentProcessId();
    if (!chosen_) running_ = RunningWindow(nullptr);
}

void SingleInstance::Publish(HWND window) {
    if (!shared()) return;
    shared()->window = static_cast<DWORD>(reinterpret_cast<uintptr_t>(window));
    shared()->chosen = 0;
}

void SingleInstance::Release() {
    view_.reset();
    mapping_.reset();
}

HWND SingleInstance::RunningWindow(HANDLE starting) const {
    if (!shared()) return nullptr;
    const DWORD start = GetTickCount();
    DWORD value;
    while (!(value = shared()->window) && GetTickCount() - start < kStartPatienceMs) {
        if (!starting) Sleep(20);
        else if (WaitForSingleObject(starting, 20) == WAIT_OBJECT_0) return nullptr;  // it ended first
    }
    const auto window = reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
    return IsRunningCopy(window) ? window : nullptr;
}

uint32_t SingleInstance::HandOver(std::u16string_view commandLine) const {
    return running_ ? HandOverTo(running_, commandLine) : exit_code::kNoAnswer;
}

uint32_t SingleInstance::HandOverTo(HWND window, std::u16string_view commandLine) const {
    // /show brings that window to the front: this process, which the user
    // has just started, may let it (2000 and later).
    using Allow = BOOL(WINAPI*)(DWORD);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (const auto allow = Resolve<Allow>(GetModuleHandleA("user32.dll"), "AllowSetForegroundWindow")) allow(process);
    COPYDATASTRUCT data = {kCommandLineData, static_cast<DWORD>(commandLine.size() * sizeof(char16_t)),
                           const_cast<char16_t*>(commandLine.data())};
    const DWORD start = GetTickCount();
    do {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kPatienceMs,
                                 &answer))
            return exit_code::kNoAnswer;
        const std::optional<uint32_t> code = reply::Code(static_cast<uint32_t>(answer));
        if (!code) return exit_code::kNoAnswer;  // not Dusklet's answer
        if (*code != exit_code::kBusy) return *code;
        Sleep(50);  // it was handling another event: once more
    } while (GetTickCount() - start < kPatienceMs);
    return exit_code::kNoAnswer;
}

std::optional<uint32_t> SingleInstance::StartStayingCopy(std::u16string_view commandLine) {
    PROCESS_INFORMATION started;
    if (!shared() || !StartProcess16(ModulePath16(), CREATE_SUSPENDED, started)) return std::nullopt;
    const UniqueHandle process(started.hProcess), thread(started.hThread);
    // It knows itself by its id here before it runs, and puts its window in
    // the place of whatever the object named.
    shared()->window = 0;
    shared()->chosen = started.dwProcessId;
    ResumeThread(thread.get());
    const HWND window = RunningWindow(process.get());
    const uint32_t code = window ? HandOverTo(window, commandLine) : exit_code::kNoAnswer;
    if (code == exit_code::kNoAnswer) TerminateProcess(process.get(), code);
    return code;
}

}  // namespace dusklet::win
