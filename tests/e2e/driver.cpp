// Test driver: runs in the same Wine prefix as Dusklet.exe, finds its windows
// and reads or changes their state. Prints one JSON object per line in UTF-8.
//
//   driver windows                  top-level windows (all processes)
//   driver find TITLE [MS]          waits up to MS ms for a visible window titled TITLE
//   driver tree HWND                the window and every descendant
//   driver send HWND MSG W L        SendMessage with numbers, prints the result
//   driver post HWND MSG W L        PostMessage
//   driver settext HWND TEXT        WM_SETTEXT (raises the control's change notification)
//   driver focus HWND               the control that has the focus in HWND's thread
//   driver foreground               the foreground window
//   driver activate HWND            makes HWND the foreground window, prints 1 (or 0)
//   driver tooltips                 tooltip windows: visible, balloon or not, text
//   driver screen                   screen size and dots per inch
//   driver iconsizes                the system's small and big icon sizes for a program aware of the DPI
//   driver launch EXE TITLE         starts EXE, prints the ms until a window titled TITLE is
//                                   visible and the process's id, and leaves it running
//   driver run EXE [ARGS...]        runs EXE with ARGS, waits for it, prints the ms it took and its exit code
//   driver endsession               asks every program to end the session (ExitWindowsEx, log off)
//   driver trayremove HWND ID       deletes a tray icon, as a crashing shell would lose it
//   driver broadcast NAME           sends the registered message NAME to every top-level window
//   driver refuseshell MS           for MS ms, a shell window in front of the real one that refuses
//                                   every tray icon, as Explorer does while it starts
//   driver resources PID            handle, GDI and USER object counts of a process
//   driver record FILE TEXT         appends TEXT to FILE (stands in for the mail program)
//   driver winevents MS             for MS ms, every EVENT_SYSTEM_ALERT raised by any program (an
//                                   accessibility hook out of context): the window, its class
//   driver accname HWND             the accessible name of the window's client (AccessibleObjectFromWindow)
//   driver at X Y                   the top-level window at a point of the screen
//   driver cover MS                 for MS ms, a topmost popup over the whole screen, made the
//                                   foreground, as a game or a film going full screen; prints it first
//   driver squat MS                 for MS ms, holds Dusklet's single-instance object, made first,
//                                   with a window of its own in it (another program's); prints it first
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string Json(const std::wstring& w) {
    std::string s = Utf8(w), out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else out += static_cast<char>(c);
    }
    return out + "\"";
}

std::wstring Text(HWND h) {
    wchar_t buf[4096];
    const LRESULT n = SendMessageW(h, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf));
    return std::wstring(buf, static_cast<size_t>(n > 0 ? n : 0));
}

std::wstring ClassOf(HWND h) {
    wchar_t buf[256];
    const int n = GetClassNameW(h, buf, 256);
    return std::wstring(buf, static_cast<size_t>(n));
}

HWND Hwnd(const wchar_t* s) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoull(s, nullptr, 0))); }
// A shell that takes no tray icon: Shell_NotifyIcon sends it the record
// with WM_COPYDATA and returns its answer.
LRESULT CALLBACK RefusingShell(HWND h, UINT m, WPARAM w, LPARAM l) {
    return m == WM_COPYDATA ? FALSE : DefWindowProcW(h, m, w, l);
}

long long Num(const wchar_t* s) { return std::wcstoll(s, nullptr, 0); }

// Pumps this thread's messages for `ms` milliseconds.
void PumpFor(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    for (MSG msg; static_cast<LONG>(end - GetTickCount()) > 0;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - GetTickCount(), QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
}

// A window of the driver's own, printed at once, then kept for `ms` ms.
HWND MakeWindow(const wchar_t* cls, WNDPROC proc, DWORD exStyle, int w, int h) {
    WNDCLASSW c = {};
    c.lpfnWndProc = proc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    c.lpszClassName = cls;
    if (!RegisterClassW(&c)) return nullptr;
    HWND made =
        CreateWindowExW(exStyle, cls, cls, WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr, c.hInstance, nullptr);
    if (made) {
        std::printf("{\"hwnd\":%lu}\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(made)));
        std::fflush(stdout);
    }
    return made;
}

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND h, LONG object, LONG child, DWORD, DWORD) {
    std::printf("{\"event\":%lu,\"hwnd\":%lu,\"object\":%ld,\"child\":%ld,\"class\":%s}\n",
                static_cast<unsigned long>(event), static_cast<unsigned long>(reinterpret_cast<uintptr_t>(h)),
                static_cast<long>(object), static_cast<long>(child), Json(h ? ClassOf(h) : L"").c_str());
    std::fflush(stdout);
}

HWND g_top;

void Describe(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    POINT p = {r.left, r.top};
    ScreenToClient(g_top, &p);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    RECT client;
    GetClientRect(h, &client);
    std::printf(
        "{\"hwnd\":%lu,\"parent\":%lu,\"owner\":%lu,\"pid\":%lu,\"class\":%s,\"id\":%ld,\"text\":%s,"
        "\"x\":%ld,\"y\":%ld,\"w\":%ld,\"h\":%ld,\"sx\":%ld,\"sy\":%ld,\"enabled\":%d,\"visible\":%d,"
        "\"style\":%lu,\"exstyle\":%lu,\"cw\":%ld,\"ch\":%ld",
        static_cast<unsigned long>(reinterpret_cast<uintptr_t>(h)),
        static_cast<unsigned long>(reinterpret_cast<uintptr_t>(GetParent(h))),
        static_cast<unsigned long>(reinterpret_cast<uintptr_t>(GetWindow(h, GW_OWNER))),
        static_cast<unsigned long>(pid), Json(ClassOf(h)).c_str(), static_cast<long>(GetWindowLongW(h, GWL_ID)),
        Json(Text(h)).c_str(), p.x, p.y, r.right - r.left, r.bottom - r.top, r.left, r.top, IsWindowEnabled(h) ? 1 : 0,
        IsWindowVisible(h) ? 1 : 0, static_cast<unsigned long>(GetWindowLongW(h, GWL_STYLE)),
        static_cast<unsigned long>(GetWindowLongW(h, GWL_EXSTYLE)), client.right, client.bottom);
    const std::wstring cls = ClassOf(h);
    if (_wcsicmp(cls.c_str(), L"ComboBox") == 0) {
        const LRESULT count = SendMessageW(h, CB_GETCOUNT, 0, 0);
        std::printf(",\"cursel\":%ld,\"items\":[", static_cast<long>(SendMessageW(h, CB_GETCURSEL, 0, 0)));
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t buf[256] = {};
            SendMessageW(h, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
            std::printf("%s%s", i ? "," : "", Json(buf).c_str());
        }
        std::printf("]");
    } else if (_wcsicmp(cls.c_str(), L"ScrollBar") == 0) {
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        GetScrollInfo(h, SB_CTL, &si);
        std::printf(",\"pos\":%d,\"min\":%d,\"max\":%d", si.nPos, si.nMin, si.nMax);
    } else if (_wcsicmp(cls.c_str(), L"Button") == 0) {
        std::printf(",\"check\":%ld", static_cast<long>(SendMessageW(h, BM_GETCHECK, 0, 0)));
    } else if (_wcsicmp(cls.c_str(), L"Edit") == 0) {
        std::printf(",\"limit\":%ld", static_cast<long>(SendMessageW(h, EM_GETLIMITTEXT, 0, 0)));
    }
    std::printf("}\n");
}

BOOL CALLBACK EachChild(HWND h, LPARAM) {
    Describe(h);
    return TRUE;
}

BOOL CALLBACK EachTop(HWND h, LPARAM) {
    g_top = h;
    Describe(h);
    return TRUE;
}

struct Search {
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    if (IsWindowVisible(h) && Text(h) == s->title) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK EachTooltip(HWND h, LPARAM) {
    if (_wcsicmp(ClassOf(h).c_str(), L"tooltips_class32") == 0) {
        std::printf("{\"hwnd\":%lu,\"visible\":%d,\"balloon\":%d,\"text\":%s}\n",
                    static_cast<unsigned long>(reinterpret_cast<uintptr_t>(h)), IsWindowVisible(h) ? 1 : 0,
                    (GetWindowLongW(h, GWL_STYLE) & TTS_BALLOON) ? 1 : 0, Json(Text(h)).c_str());
    }
    return TRUE;
}

// A program started, and when.
struct Started {
    PROCESS_INFORMATION pi = {};
    LARGE_INTEGER frequency = {}, start = {};
    double Ms() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    }
};

// Starts EXE with its arguments, timing from just before.
bool Start(const wchar_t* exe, wchar_t** args, int count, Started& started) {
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    std::wstring line = std::wstring(L"\"") + exe + L"\"";
    for (int i = 0; i < count; ++i) line += std::wstring(L" ") + args[i];
    QueryPerformanceFrequency(&started.frequency);
    QueryPerformanceCounter(&started.start);
    return CreateProcessW(exe, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &started.pi) != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring cmd = argv[1];
    if (cmd == L"windows") {
        g_top = nullptr;
        EnumWindows(EachTop, 0);
    } else if (cmd == L"find" && argc >= 3) {
        const DWORD wait = argc >= 4 ? static_cast<DWORD>(Num(argv[3])) : 0;
        const DWORD start = GetTickCount();
        for (;;) {
            Search s = {argv[2], nullptr};
            EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&s));
            if (s.found) {
                g_top = s.found;
                Describe(s.found);
                break;
            }
            if (GetTickCount() - start >= wait) return 1;
            Sleep(50);
        }
    } else if (cmd == L"tree" && argc >= 3) {
        g_top = Hwnd(argv[2]);
        if (!IsWindow(g_top)) return 1;
        Describe(g_top);
        EnumChildWindows(g_top, EachChild, 0);
    } else if ((cmd == L"send" || cmd == L"post") && argc >= 6) {
        const HWND h = Hwnd(argv[2]);
        const UINT msg = static_cast<UINT>(Num(argv[3]));
        const WPARAM w = static_cast<WPARAM>(Num(argv[4]));
        const LPARAM l = static_cast<LPARAM>(Num(argv[5]));
        if (cmd == L"send") std::printf("%ld\n", static_cast<long>(SendMessageW(h, msg, w, l)));
        else std::printf("%d\n", PostMessageW(h, msg, w, l) ? 1 : 0);
    } else if (cmd == L"settext" && argc >= 4) {
        std::printf("%ld\n",
                    static_cast<long>(SendMessageW(Hwnd(argv[2]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]))));
    } else if (cmd == L"focus" && argc >= 3) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(Hwnd(argv[2]), nullptr), &info);
        std::printf("{\"focus\":%lu,\"active\":%lu}\n",
                    static_cast<unsigned long>(reinterpret_cast<uintptr_t>(info.hwndFocus)),
                    static_cast<unsigned long>(reinterpret_cast<uintptr_t>(info.hwndActive)));
    } else if (cmd == L"foreground") {
        g_top = GetForegroundWindow();
        if (!g_top) return 1;
        Describe(g_top);
    } else if (cmd == L"activate" && argc >= 3) {
        std::printf("%d\n", SetForegroundWindow(Hwnd(argv[2])) ? 1 : 0);
    } else if (cmd == L"tooltips") {
        EnumWindows(EachTooltip, 0);
    } else if (cmd == L"screen") {
        HDC dc = GetDC(nullptr);
        std::printf("{\"w\":%d,\"h\":%d,\"dpi\":%d,\"acp\":%u}\n", GetSystemMetrics(SM_CXSCREEN),
                    GetSystemMetrics(SM_CYSCREEN), GetDeviceCaps(dc, LOGPIXELSX), GetACP());
        ReleaseDC(nullptr, dc);
    } else if (cmd == L"iconsizes") {
        // As a program that declares itself aware of the DPI, as Dusklet does, sees them.
        SetProcessDPIAware();
        std::printf("{\"small\":%d,\"big\":%d}\n", GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CXICON));
    } else if (cmd == L"launch" && argc >= 4) {
        Started started;
        if (!Start(argv[2], nullptr, 0, started)) return 1;
        for (;;) {
            Search s = {argv[3], nullptr};
            EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&s));
            const double ms = started.Ms();
            if (s.found) {
                std::printf("{\"ms\":%.2f,\"pid\":%lu}\n", ms, static_cast<unsigned long>(started.pi.dwProcessId));
                break;
            }
            if (ms > 30000) return 1;
            Sleep(1);
        }
    } else if (cmd == L"run" && argc >= 3) {
        Started started;
        if (!Start(argv[2], argv + 3, argc - 3, started)) return 1;
        WaitForSingleObject(started.pi.hProcess, INFINITE);
        const double ms = started.Ms();
        DWORD code = 0;
        GetExitCodeProcess(started.pi.hProcess, &code);
        std::printf("{\"ms\":%.2f,\"exit\":%lu}\n", ms, static_cast<unsigned long>(code));
        CloseHandle(started.pi.hThread);
        CloseHandle(started.pi.hProcess);
    } else if (cmd == L"endsession") {
        std::printf("%d\n", ExitWindowsEx(EWX_LOGOFF, 0) ? 1 : 0);
    } else if (cmd == L"trayremove" && argc >= 4) {
        NOTIFYICONDATAW nid = {};
        nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
        nid.hWnd = Hwnd(argv[2]);
        nid.uID = static_cast<UINT>(Num(argv[3]));
        std::printf("%d\n", Shell_NotifyIconW(NIM_DELETE, &nid) ? 1 : 0);
    } else if (cmd == L"broadcast" && argc >= 3) {
        const UINT msg = RegisterWindowMessageW(argv[2]);
        DWORD_PTR result = 0;
        SendMessageTimeoutW(HWND_BROADCAST, msg, 0, 0, SMTO_NORMAL, 5000, &result);
    } else if (cmd == L"refuseshell" && argc >= 3) {
        WNDCLASSW cls = {};
        cls.lpfnWndProc = RefusingShell;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"Shell_TrayWnd";
        if (!RegisterClassW(&cls)) return 1;
        HWND shell = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 0, 0,
                                     nullptr, nullptr, cls.hInstance, nullptr);
        if (!shell) return 1;
        std::printf("{\"shell\":%lu}\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(shell)));
        std::fflush(stdout);
        PumpFor(static_cast<DWORD>(Num(argv[2])));
        DestroyWindow(shell);
    } else if (cmd == L"resources" && argc >= 3) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, static_cast<DWORD>(Num(argv[2])));
        if (!process) return 1;
        DWORD handles = 0;
        GetProcessHandleCount(process, &handles);
        std::printf("{\"handles\":%lu,\"gdi\":%lu,\"user\":%lu}\n", static_cast<unsigned long>(handles),
                    static_cast<unsigned long>(GetGuiResources(process, GR_GDIOBJECTS)),
                    static_cast<unsigned long>(GetGuiResources(process, GR_USEROBJECTS)));
        CloseHandle(process);
    } else if (cmd == L"winevents" && argc >= 3) {
        HWINEVENTHOOK hook =
            SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, OnWinEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
        if (!hook) return 1;
        std::printf("{\"hooked\":1}\n");
        std::fflush(stdout);
        PumpFor(static_cast<DWORD>(Num(argv[2])));
        UnhookWinEvent(hook);
    } else if (cmd == L"accname" && argc >= 3) {
        CoInitialize(nullptr);
        IAccessible* object = nullptr;
        if (FAILED(AccessibleObjectFromWindow(Hwnd(argv[2]), static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                              reinterpret_cast<void**>(&object))))
            return 1;
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        const HRESULT got = object->get_accName(self, &name);
        std::printf("{\"hr\":%ld,\"name\":%s}\n", static_cast<long>(got), Json(name ? name : L"").c_str());
        SysFreeString(name);
        object->Release();
    } else if (cmd == L"at" && argc >= 4) {
        const POINT p = {static_cast<LONG>(Num(argv[2])), static_cast<LONG>(Num(argv[3]))};
        g_top = GetAncestor(WindowFromPoint(p), GA_ROOT);
        if (!g_top) return 1;
        Describe(g_top);
    } else if (cmd == L"cover" && argc >= 3) {
        HWND cover = MakeWindow(L"DriverCover", DefWindowProcW, WS_EX_TOPMOST, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN));
        if (!cover) return 1;
        SetForegroundWindow(cover);
        PumpFor(static_cast<DWORD>(Num(argv[2])));
        DestroyWindow(cover);
    } else if (cmd == L"squat" && argc >= 3) {
        HANDLE mapping =
            CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8, "Dusklet.SingleInstance");
        if (!mapping || GetLastError() == ERROR_ALREADY_EXISTS) return 1;
        auto* slot = static_cast<DWORD*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 8));
        HWND own = MakeWindow(L"DriverSquatter", DefWindowProcW, WS_EX_TOOLWINDOW, 10, 10);
        if (!slot || !own) return 1;
        slot[0] = static_cast<DWORD>(reinterpret_cast<uintptr_t>(own));
        PumpFor(static_cast<DWORD>(Num(argv[2])));
        DestroyWindow(own);
        UnmapViewOfFile(slot);
        CloseHandle(mapping);
    } else if (cmd == L"record" && argc >= 4) {
        FILE* f = _wfopen(argv[2], L"ab");
        if (!f) return 1;
        std::fprintf(f, "%s\n", Utf8(argv[3]).c_str());
        std::fclose(f);
    } else {
        return 2;
    }
    std::fflush(stdout);
    return 0;
}
