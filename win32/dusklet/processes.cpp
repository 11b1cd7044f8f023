#include "win32/dusklet/processes.h"

#include <tlhelp32.h>

#include <cwchar>
#include <memory>

#include "base/program_folder.h"
#include "win32/toolkit/ansi.h"
#include "win32/toolkit/handles.h"
#include "win32/toolkit/system_library.h"
#include "win32/toolkit/text.h"

namespace dusklet::win {
namespace {

std::u16string Wide(const wchar_t* text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), std::wcslen(text));
}

// The tool-help snapshot: its wide entries on the NT family, the ANSI ones
// (whose names are full paths on 95, 98 and ME) elsewhere; the two share
// their layout up to the name. False where the system has no tool-help
// functions.
bool FromSnapshot(ProcessVisitor each, void* context) {
    using Snapshot = HANDLE(WINAPI*)(DWORD, DWORD);
    using Step = BOOL(WINAPI*)(HANDLE, void*);
    const HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    const bool wide = WideText();
    const auto snapshot = Resolve<Snapshot>(kernel32, "CreateToolhelp32Snapshot");
    const auto first = Resolve<Step>(kernel32, wide ? "Process32FirstW" : "Process32First");
    const auto next = Resolve<Step>(kernel32, wide ? "Process32NextW" : "Process32Next");
    if (!snapshot || !first || !next) return false;
    const HANDLE taken = snapshot(TH32CS_SNAPPROCESS, 0);
    if (taken == INVALID_HANDLE_VALUE) return true;  // the functions are there; no list could be taken now
    const UniqueHandle list(taken);
    union {
        PROCESSENTRY32W w;
        PROCESSENTRY32 a;
    } entry;
    entry.w.dwSize = wide ? sizeof entry.w : sizeof entry.a;
    for (BOOL more = first(list.get(), &entry); more; more = next(list.get(), &entry)) {
        const std::u16string path = wide ? Wide(entry.w.szExeFile) : FromAnsi(entry.a.szExeFile);
        if (!each(context, entry.w.th32ProcessID, FileNameOf(path))) break;
    }
    return true;
}

HMODULE ProcessStatus() {
    static const HMODULE psapi = LoadSystemLibrary("psapi.dll");
    return psapi;
}

// NT 4: psapi.dll, where it is installed.
void FromProcessStatus(ProcessVisitor each, void* context) {
    using Enum = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
    using BaseName = DWORD(WINAPI*)(HANDLE, HMODULE, wchar_t*, DWORD);
    const auto enumerate = Resolve<Enum>(ProcessStatus(), "EnumProcesses");
    const auto baseName = Resolve<BaseName>(ProcessStatus(), "GetModuleBaseNameW");
    constexpr DWORD kMost = 1024;
    const std::unique_ptr<DWORD[]> ids(new DWORD[kMost]);
    DWORD bytes = 0;
    if (!enumerate || !baseName || !enumerate(ids.get(), kMost * sizeof(DWORD), &bytes)) return;
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
        const UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]));
        wchar_t name[MAX_PATH];
        // No module: the executable's own.
        if (process && baseName(process.get(), nullptr, name, MAX_PATH) > 0 && !each(context, ids[i], Wide(name)))
            break;
    }
}

}  // namespace

bool CanListProcesses() {
    return Resolve<FARPROC>(GetModuleHandleA("kernel32.dll"), "CreateToolhelp32Snapshot") ||
           Resolve<FARPROC>(ProcessStatus(), "EnumProcesses");
}

void EachProcess(ProcessVisitor each, void* context) {
    if (!FromSnapshot(each, context)) FromProcessStatus(each, context);
}

std::u16string ImageNameOf(DWORD process) {
    struct Search {
        DWORD id;
        std::u16string name;
    } search = {process, {}};
    EachProcess(
        [](void* context, DWORD id, std::u16string_view name) {
            auto* s = static_cast<Search*>(context);
            if (id != s->id) return true;
            s->name = name;
            return false;
        },
        &search);
    return search.name;
}

}  // namespace dusklet::win
