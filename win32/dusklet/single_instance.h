// The one copy of Dusklet that runs: a named object of shared memory that
// the first copy makes and holds for its life, and in which it leaves its
// main window, so that a copy started later knows it is not the first and
// finds that window through it, never by a title that any program could
// give its own. A window is taken for the running copy's only when it is of
// Dusklet's class in a process of Dusklet's executable; where the object
// names none (another program made it, or left a stale value in it), this
// copy takes it over and runs as the first.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

#include "win32/toolkit/handles.h"

namespace dusklet::win {

class SingleInstance {
public:
    SingleInstance();
    // Another copy runs: its main window is known.
    bool Another() const { return running_ != nullptr; }
    // This copy was started by one that hands a command line over to it
    // (StartStayingCopy), and stays only if that arms.
    bool Chosen() const { return chosen_; }
    // The first copy: its main window, once made.
    void Publish(HWND window);
    // The first copy gives the object up: a copy started later runs as the first.
    void Release();
    // A later copy: hands the command line over to the running copy's window
    // and returns its answer, the exit code (or exit_code::kNoAnswer).
    uint32_t HandOver(std::u16string_view commandLine) const;
    // The first copy, started with an arming command line from a script:
    // starts this program again as the copy that stays, hands the command
    // line over to it, and returns its answer at once. A copy that could not
    // be started or did not answer is not left running. Nothing when no copy
    // could be started: this one stays then.
    std::optional<uint32_t> StartStayingCopy(std::u16string_view commandLine);

private:
    struct Shared {
        DWORD window;  // the running copy's main window
        DWORD chosen;  // the process id of a copy started to stay, until it runs
    };
    volatile Shared* shared() const { return static_cast<volatile Shared*>(view_.get()); }
    // The window the object names, once a copy has put one there (waited for
    // while one starts, or while `starting` runs), if it is the running copy's.
    HWND RunningWindow(HANDLE starting) const;
    uint32_t HandOverTo(HWND window, std::u16string_view commandLine) const;

    UniqueHandle mapping_;
    bool existed_ = false;
    MappedView view_;
    bool chosen_ = false;
    HWND running_ = nullptr;
};

// WM_COPYDATA's tag for a command line handed over in UTF-16.
constexpr ULONG_PTR kCommandLineData = 0x44534B31;  // "DSK1"

// The main window's class, by which the running copy's window is known.
inline constexpr char kMainClass[] = "DuskletMain";

}  // namespace dusklet::win
