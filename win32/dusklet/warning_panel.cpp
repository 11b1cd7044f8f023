#include "win32/dusklet/warning_panel.h"

#include "win32/toolkit/handles.h"
#include "win32/toolkit/system_library.h"
#include "win32/toolkit/text.h"

namespace dusklet::win {
namespace {

const char kClass[] = "DuskletWarning";

// The work area of the monitor that holds the taskbar (98, 2000 and later
// know monitors), or of the primary one.
RECT WorkArea() {
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);  // leaves the screen where it fails
    using FromWindow = HMONITOR(WINAPI*)(HWND, DWORD);
    using Info = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    const auto fromWindow =
        reinterpret_cast<FromWindow>(reinterpret_cast<void*>(GetProcAddress(user32, "MonitorFromWindow")));
    const auto info = reinterpret_cast<Info>(reinterpret_cast<void*>(GetProcAddress(user32, "GetMonitorInfoA")));
    const HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (fromWindow && info && taskbar && info(fromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY), &monitor))
        area = monitor.rcWork;
    return area;
}

}  // namespace

WarningPanel::WarningPanel(HINSTANCE instance, HWND owner, HWND listener, UINT message, int dpiX, int dpiY)
    : instance_(instance), owner_(owner), listener_(listener), message_(message), dpiX_(dpiX), dpiY_(dpiY) {}

WarningPanel::~WarningPanel() { Destroy(); }  // before the controls that its messages reach

bool WarningPanel::Open(std::u16string_view text, std::u16string_view title) {
    const SIZE client = {TwipsToPixels(kWarningWindow.clientWidth, dpiX_),
                         TwipsToPixels(kWarningWindow.clientHeight, dpiY_)};
    const Class cls = {kClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    // Owned by the hidden owner: no taskbar button. WS_EX_NOACTIVATE (2000
    // and later) and WM_MOUSEACTIVATE keep the focus where it is.
    if (!Create(instance_, cls, kWarningWindow.caption, WS_POPUP | WS_BORDER | WS_CLIPCHILDREN,
                WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, client, owner_))
        return false;
    const ControlContext context = {instance_, dpiX_, dpiY_, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)),
                                    kWarningLayout};
    if (!controls_.Create(hwnd(), context)) {
        Destroy();
        return false;
    }
    SetWindowText16(controls_[warning::lblTitle].hwnd, title);
    SetText(text);
    Place();
    return true;
}

void WarningPanel::SetText(std::u16string_view text) {
    SetWindowText16(controls_[warning::lblCountdown].hwnd, text);
    SetWindowText16(hwnd(), std::u16string(kWarningWindow.caption) + std::u16string(text));
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WarningPanel::Alert() {
    using Fn = void(WINAPI*)(DWORD, HWND, LONG, LONG);
    static const auto notify = Resolve<Fn>(GetModuleHandleA("user32.dll"), "NotifyWinEvent");
    if (notify) notify(EVENT_SYSTEM_ALERT, hwnd(), OBJID_CLIENT, CHILDID_SELF);
}

// The black bar with the program's icon, and a frame in the selection
// colour that stands out over a white window as over a dark one.
void WarningPanel::Paint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd(), &ps);
    if (!dc) return;
    RECT r;
    GetClientRect(hwnd(), &r);
    RECT bar = {r.left, r.top, r.right, Px(kWarningBarHeight)};
    FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const auto icon = reinterpret_cast<HICON>(SendMessageA(listener_, WM_GETICON, ICON_SMALL, 0));
    if (icon)
        DrawIconEx(dc, Px(kWarningIconLeft), Px(kWarningIconTop), icon, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), 0, nullptr, DI_NORMAL);
    for (int i = Px(kWarningFrame); i > 0; --i) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        InflateRect(&r, -1, -1);
    }
    EndPaint(hwnd(), &ps);
}

void WarningPanel::Place() {
    RECT window;
    GetWindowRect(hwnd(), &window);
    const RECT area = WorkArea();
    SetWindowPos(hwnd(), HWND_TOPMOST, area.right - (window.right - window.left),
                 area.bottom - (window.bottom - window.top), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

LRESULT WarningPanel::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;  // 95, 98 and NT 4 know no WS_EX_NOACTIVATE
    case WM_PAINT: Paint(); return 0;
    case WM_CTLCOLORSTATIC: return WhiteOnBlack(wp);  // the bar, as the main window's strip shows the countdown
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED) {
            if (const WinControl* button = WinControl::From(reinterpret_cast<HWND>(lp)))
                PostMessageA(listener_, message_, static_cast<WPARAM>(button->id), 0);
        }
        return 0;
    }
    return Window::OnMessage(msg, wp, lp);
}

}  // namespace dusklet::win
