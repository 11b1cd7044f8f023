// System DLLs loaded when first needed, by their full path in the system
// folder (never from the current directory or the search path), and the
// functions taken from them: those that older Windows lacks, and those of
// shell32, which a copy that only hands its command line over never loads
// (loading it at start-up doubled such a copy's life under Wine).
#pragma once
#include <windows.h>

namespace dusklet::win {

HMODULE LoadSystemLibrary(const char* name);
// shell32, loaded once; null where it cannot be.
HMODULE Shell32();
// comctl32, loaded once by its name rather than its path, so that the
// manifest's activation context gives version 6 (the themed controls) where
// there is one; null where it cannot be.
HMODULE CommonControls();

// A function of `module`, null where the module or the function is missing.
template <class Fn> Fn Resolve(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace dusklet::win
