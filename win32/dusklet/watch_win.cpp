#include "win32/dusklet/watch_win.h"

#include <iphlpapi.h>

#include "base/program_folder.h"
#include "win32/dusklet/processes.h"
#include "win32/toolkit/system_library.h"
#include "win32/toolkit/text.h"
#include "win32/toolkit/trace.h"

namespace dusklet::win {
namespace {

using GetIfTableFn = DWORD(WINAPI*)(PMIB_IFTABLE, PULONG, BOOL);
using GetLastInputInfoFn = BOOL(WINAPI*)(PLASTINPUTINFO);

GetIfTableFn IfTable() {
    static const auto fn = Resolve<GetIfTableFn>(LoadSystemLibrary("iphlpapi.dll"), "GetIfTable");
    return fn;
}

GetLastInputInfoFn LastInputInfo() {
    static const auto fn = Resolve<GetLastInputInfoFn>(GetModuleHandleA("user32.dll"), "GetLastInputInfo");
    return fn;
}

// The top-level windows that show a title, with their processes' ids: the
// first so many, front to back, which is more than a list shows at once.
struct Shown {
    HWND window;
    DWORD process;
};
struct ShownList {
    Shown shown[64];
    size_t count;
};

BOOL CALLBACK EachShown(HWND window, LPARAM found) {
    auto& list = *reinterpret_cast<ShownList*>(found);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (IsWindowVisible(window) && !GetWindow(window, GW_OWNER) && GetWindowTextLengthA(window) > 0 &&
        !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) && process != GetCurrentProcessId())
        list.shown[list.count++] = {window, process};
    return list.count < std::size(list.shown);
}

}  // namespace

bool WinWatch::Installed(Condition condition) {
    switch (condition) {
    case Condition::ProgramExit: return CanListProcesses();
    case Condition::DownloadDone: return IfTable() != nullptr;
    case Condition::NobodyThere: return LastInputInfo() != nullptr;
    }
    return false;
}

std::vector<uint32_t> WinWatch::Running(std::u16string_view name) {
    struct Search {
        std::u16string_view name;
        std::vector<uint32_t> ids;
    } search = {name, {}};
    EachProcess(
        [](void* context, DWORD id, std::u16string_view each) {
            auto& s = *static_cast<Search*>(context);
            if (SameFileName(each, s.name)) s.ids.push_back(id);
            return true;
        },
        &search);
    return search.ids;
}

std::u16string WinWatch::NameOf(uint32_t id) { return ImageNameOf(id); }

// The windows first, then one list of the processes gives their names.
void WinWatch::EachShownProgram(ShownVisitor each, void* context) {
    struct Visit {
        ShownList list;
        ShownVisitor each;
        void* context;
    } visit;
    visit.list.count = 0;
    visit.each = each;
    visit.context = context;
    EnumWindows(EachShown, reinterpret_cast<LPARAM>(&visit.list));
    EachProcess(
        [](void* v, DWORD id, std::u16string_view name) {
            const auto& all = *static_cast<Visit*>(v);
            for (size_t i = 0; i < all.list.count; ++i)
                if (all.list.shown[i].process == id)
                    all.each(all.context, id, WindowText(all.list.shown[i].window), name);
            return true;
        },
        &visit);
}

Watch::Wait WinWatch::WaitForEnd(uint32_t id) {
    UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
    // No such process: it has ended. One refused (another user's, the system's) runs on, unseen.
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER ? Wait::Ended : Wait::Unseen;
    waits_.Add(std::move(process), window_, ended_, id);
    return Wait::Waiting;
}

// One call a sample into the table kept from the last: a second only when
// interfaces came and the table outgrew it. The size kept is always the
// table's own, so that no call is told of more room than there is.
std::optional<std::vector<InterfaceBytes>> WinWatch::Received() {
    const GetIfTableFn table = IfTable();
    if (!table) return std::nullopt;
    ULONG size = tableSize_;
    DWORD result = table(reinterpret_cast<PMIB_IFTABLE>(table_.get()), &size, FALSE);
    if (result == ERROR_INSUFFICIENT_BUFFER) {
        table_.reset(new char[size]);
        tableSize_ = size;
        result = table(reinterpret_cast<PMIB_IFTABLE>(table_.get()), &size, FALSE);
    }
    if (result != NO_ERROR) return std::nullopt;
    const auto interfaces = reinterpret_cast<PMIB_IFTABLE>(table_.get());
    std::vector<InterfaceBytes> sample(interfaces->dwNumEntries);
    size_t used = 0;
    for (DWORD i = 0; i < interfaces->dwNumEntries; ++i) {
        const MIB_IFROW& row = interfaces->table[i];
        // Up: a LAN's "operational", or a dial-up or other WAN link's "connected".
        if (row.dwType != IF_TYPE_SOFTWARE_LOOPBACK && row.dwOperStatus >= IF_OPER_STATUS_CONNECTED)
            sample[used++] = {row.dwIndex, row.dwInOctets};
    }
    sample.erase(sample.begin() + static_cast<ptrdiff_t>(used), sample.end());
    return sample;
}

void WinWatch::Sample(bool on) {
    if (!on) KillTimer(window_, sampleTimer_);
    else if (!SetTimer(window_, sampleTimer_, QuietNetwork::kSampleMs, nullptr)) Trace("network: no timer");
}

uint32_t WinWatch::LastInput() {
    LASTINPUTINFO info = {sizeof info, 0};
    const GetLastInputInfoFn fn = LastInputInfo();
    return fn && fn(&info) ? info.dwTime : GetTickCount();  // not known: as if just now
}

bool WinWatch::FullScreen() { return NotificationsHeldBack(); }

void WinWatch::LookIn(std::optional<uint32_t> ms) {
    if (!ms) KillTimer(window_, lookTimer_);
    else if (!SetTimer(window_, lookTimer_, *ms, nullptr)) Trace("idle: no timer");
}

bool NotificationsHeldBack() {
    // QUNS_BUSY, QUNS_RUNNING_D3D_FULL_SCREEN, QUNS_PRESENTATION_MODE, and
    // QUNS_APP: a Windows 8 app, which fills the screen.
    using Fn = HRESULT(WINAPI*)(int*);
    static const auto query = Resolve<Fn>(Shell32(), "SHQueryUserNotificationState");
    int state = 0;
    return query && SUCCEEDED(query(&state)) && ((state >= 2 && state <= 4) || state == 7);
}

}  // namespace dusklet::win
