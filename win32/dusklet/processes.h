// The processes that run now, by id and the file name of their executable:
// through the tool-help functions (95, 98, ME, 2000 and later) or, on NT 4,
// the process status functions of psapi.dll where it is installed.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace dusklet::win {

// Calls `each` with `context`, the id and the executable's file name
// (without its folder) of every process that runs, until it answers false.
// Nothing where the system can list none.
using ProcessVisitor = bool (*)(void* context, DWORD id, std::u16string_view name);
void EachProcess(ProcessVisitor each, void* context);
// Whether the system has either way to list them.
bool CanListProcesses();

// The file name of the executable that runs as `process`, or an empty text
// where it is not known (the process has ended, or the system cannot say).
std::u16string ImageNameOf(DWORD process);

}  // namespace dusklet::win
