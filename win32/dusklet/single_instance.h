// The one copy of Dusklet that runs: a named object of shared memory that
// the first copy makes and holds for its life, and in which it leaves its
// main window, so that a copy started later knows it is not the first and
// finds that window through it, never by a title that any program could
// give its own.
#pragma once
#include <windows.h>

#include <string_view>

#include "win32/toolkit/handles.h"

namespace dusklet::win {

class SingleInstance {
public:
    SingleInstance();
    // Another copy made the object first.
    bool Another() const { return another_; }
    // The first copy: its main window, once made.
    void Publish(HWND window);
    // A later copy: hands the command line over to the first copy's window
    // and returns its answer, the exit code (or exit_code::kNoAnswer).
    uint32_t HandOver(std::u16string_view commandLine) const;

private:
    UniqueHandle mapping_;
    bool another_ = false;
    MappedView view_;
};

// WM_COPYDATA's tag for a command line handed over in UTF-16.
constexpr ULONG_PTR kCommandLineData = 0x44534B31;  // "DSK1"

}  // namespace dusklet::win
