/* The benchmark's floor: a plain C program that does what Dusklet's main
   window must and nothing more. It makes the same window from the same layout
   table (lean_layout.h, written at build time from the table's JSON), with the
   same manifest, icon, skin engine, popup menu and tray icon, and runs the same
   500 ms tick: it reads the local time and writes the status strip when its
   text changes. Started with the word "blink", it also blinks its tray icon on
   every tick, as Dusklet does in the last seconds before its action.
   Not part of the product. */
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "lean_layout.h"

#define LEAN_ICON 1
#define TRAY_MESSAGE (WM_APP + 1)
#define TIMER_ID 1
#define TICK_MS 500
#define FIRST_MENU_ID 1000 /* + the item's place in the menu; the first is Exit */

_Static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88, "the shell's first-version tray record");

static const char kOriginalProc[] = "LeanProc";

static HWND g_window;
static HWND g_controls[LEAN_CONTROL_COUNT];
static HMENU g_menu;
static HICON g_icon;
static NOTIFYICONDATAA g_nid;
static BOOL g_blink, g_iconShown = TRUE;
static int g_target;           /* second of the day the status counts down to */
static int g_secondsLeft = -1; /* what the status strip shows */

typedef void (*AnyFn)(void); /* a function looked up by name, cast to its type */
typedef BOOL(WINAPI* DpiAwareFn)(void);
typedef int(WINAPI* AttachExFn)(const char*, const char*);

static AnyFn Resolve(HMODULE module, const char* name) { return module ? (AnyFn)GetProcAddress(module, name) : NULL; }

/* The frame and the picture box pass their children's notifications and
   colour requests up to the window, and paint their own inside. */
static LRESULT CALLBACK ContainerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORLISTBOX: return SendMessageA(g_window, msg, wp, lp);
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(h, &r);
        FillRect((HDC)wp, &r, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    }
    return CallWindowProcA((WNDPROC)GetPropA(h, kOriginalProc), h, msg, wp, lp);
}

static void Tick(void) {
    SYSTEMTIME now;
    int left;
    GetLocalTime(&now);
    left = (g_target - (now.wHour * 3600 + now.wMinute * 60 + now.wSecond) + 86400) % 86400;
    if (left != g_secondsLeft) {
        char text[32];
        wsprintfA(text, "%d%s", left, LEAN_SECONDS_LEFT);
        SetWindowTextA(g_controls[LEAN_STATUS], text);
        g_secondsLeft = left;
    }
    if (g_blink) {
        g_nid.hIcon = g_iconShown ? NULL : g_icon;
        Shell_NotifyIconA(NIM_MODIFY, &g_nid);
        g_iconShown = !g_iconShown;
    }
}

static void PopupMenu(HWND h) {
    POINT p;
    UINT chosen;
    SetForegroundWindow(h);
    GetCursorPos(&p);
    chosen = (UINT)TrackPopupMenu(g_menu, TPM_RETURNCMD | TPM_NONOTIFY, p.x, p.y, 0, h, NULL);
    PostMessageA(h, WM_NULL, 0, 0); /* lets the menu close when the user clicks elsewhere */
    if (chosen == FIRST_MENU_ID) {
        Shell_NotifyIconA(NIM_DELETE, &g_nid);
        DestroyWindow(h);
    }
}

static LRESULT CALLBACK MainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_TIMER: Tick(); return 0;
    case WM_CTLCOLORSTATIC:
        if ((HWND)lp != g_controls[LEAN_STATUS]) break;
        SetTextColor((HDC)wp, RGB(255, 255, 255));
        SetBkColor((HDC)wp, RGB(0, 0, 0));
        return (LRESULT)GetStockObject(BLACK_BRUSH);
    case TRAY_MESSAGE:
        if (lp == WM_LBUTTONDBLCLK) ShowWindow(h, SW_SHOW);
        else if (lp == WM_RBUTTONUP) PopupMenu(h);
        return 0;
    case WM_CLOSE: ShowWindow(h, SW_HIDE); return 0; /* to the tray, as Dusklet does */
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

/* Loads the skin engine from the program's own folder, by full path only. */
static void AttachSkin(void) {
    char folder[MAX_PATH], dll[MAX_PATH + 16], skin[MAX_PATH + 16];
    DWORD n = GetModuleFileNameA(NULL, folder, MAX_PATH);
    UINT oldMode;
    HMODULE engine;
    AttachExFn attach;
    if (n == 0 || n >= MAX_PATH) return;
    while (n > 0 && folder[n - 1] != '\\') --n;
    folder[n > 0 ? n - 1 : 0] = '\0';
    wsprintfA(dll, "%s\\SkinH_VB6.dll", folder);
    wsprintfA(skin, "%s/aero.she", folder);
    oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    engine = LoadLibraryA(dll);
    SetErrorMode(oldMode);
    attach = (AttachExFn)Resolve(engine, "SkinH_AttachEx");
    if (attach) attach(skin, "");
}

static int Px(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

static BOOL MakeControls(HINSTANCE instance, int dpiX, int dpiY) {
    const HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    int i;
    for (i = 0; i < LEAN_CONTROL_COUNT; ++i) {
        const LeanRow* r = &kRows[i];
        const char* const* item;
        HWND c = CreateWindowExA(r->exStyle, r->cls, r->text, WS_CHILD | WS_VISIBLE | r->style, Px(r->left, dpiX),
                                 Px(r->top, dpiY), Px(r->width, dpiX), Px(r->height, dpiY),
                                 r->parent < 0 ? g_window : g_controls[r->parent], (HMENU)(UINT_PTR)r->windowId,
                                 instance, NULL);
        if (!c) return FALSE;
        g_controls[i] = c;
        SendMessageA(c, WM_SETFONT, (WPARAM)font, FALSE);
        if (r->container)
            SetPropA(c, kOriginalProc, (HANDLE)SetWindowLongPtrA(c, GWLP_WNDPROC, (LONG_PTR)ContainerProc));
        if (r->fitText) {
            HDC dc = GetDC(c);
            HGDIOBJ old = SelectObject(dc, font);
            SIZE size = {0, 0};
            GetTextExtentPoint32A(dc, r->text, lstrlenA(r->text), &size);
            SelectObject(dc, old);
            ReleaseDC(c, dc);
            SetWindowPos(c, NULL, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        for (item = r->items; item && *item; ++item) SendMessageA(c, CB_ADDSTRING, 0, (LPARAM)*item);
        if (r->items) SendMessageA(c, CB_SETCURSEL, 0, 0);
        if (r->maxLength) SendMessageA(c, EM_LIMITTEXT, (WPARAM)r->maxLength, 0);
        if (r->scrollEnd) {
            SetScrollRange(c, SB_CTL, 0, r->scrollEnd, FALSE);
            SetScrollPos(c, SB_CTL, r->scrollPos, TRUE);
        }
        if (r->checked) SendMessageA(c, BM_SETCHECK, BST_CHECKED, 0);
    }
    return TRUE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DpiAwareFn dpiAware = (DpiAwareFn)Resolve(GetModuleHandleA("user32.dll"), "SetProcessDPIAware");
    HANDLE mutex;
    HDC screen;
    int dpiX, dpiY, i;
    HWND owner;
    WNDCLASSA wc = {0};
    RECT r;
    SYSTEMTIME now;
    MSG msg;
    (void)previous;
    (void)show;

    if (dpiAware) dpiAware();
    mutex = CreateMutexA(NULL, FALSE, "Dusklet.Lean.SingleInstance");
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;
    while (*commandLine == ' ') ++commandLine;
    g_blink = lstrcmpiA(commandLine, "blink") == 0;

    screen = GetDC(NULL);
    dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    g_icon = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(LEAN_ICON), IMAGE_ICON, 32, 32, 0);
    g_menu = CreatePopupMenu();
    for (i = 0; i < LEAN_MENU_COUNT; ++i)
        AppendMenuA(g_menu, kMenu[i] ? MF_STRING : MF_SEPARATOR, FIRST_MENU_ID + (UINT)i, kMenu[i]);

    /* A hidden owner keeps the window off the taskbar. */
    owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, NULL, NULL, instance, NULL);
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hIcon = g_icon;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "LeanMain";
    RegisterClassA(&wc);
    SetRect(&r, 0, 0, Px(LEAN_CLIENT_WIDTH, dpiX), Px(LEAN_CLIENT_HEIGHT, dpiY));
    AdjustWindowRectEx(&r, style, FALSE, 0);
    g_window = CreateWindowExA(0, "LeanMain", "Lean", style, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2,
                               (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, r.right - r.left,
                               r.bottom - r.top, owner, NULL, instance, NULL);
    if (!owner || !g_window || !MakeControls(instance, dpiX, dpiY)) return 1;

    AttachSkin();
    InitCommonControls();
    g_nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    g_nid.hWnd = g_window;
    g_nid.uID = 1;
    g_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    g_nid.uCallbackMessage = TRAY_MESSAGE;
    g_nid.hIcon = g_icon;
    lstrcpyA(g_nid.szTip, "Lean");
    Shell_NotifyIconA(NIM_ADD, &g_nid);

    GetLocalTime(&now);
    g_target = (now.wHour * 3600 + now.wMinute * 60 + now.wSecond + 3600) % 86400; /* an hour from now */
    SetTimer(g_window, TIMER_ID, TICK_MS, NULL);
    ShowWindow(g_window, SW_SHOW);
    UpdateWindow(g_window);

    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (IsDialogMessageA(g_window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DestroyWindow(owner);
    CloseHandle(mutex);
    return (int)msg.wParam;
}
