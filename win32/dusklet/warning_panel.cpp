#include "win32/dusklet/warning_panel.h"

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

bool WarningPanel::Open(std::u16string_view text) {
    const SIZE client = {TwipsToPixels(kWarningWindow.clientWidth, dpiX_),
                         TwipsToPixels(kWarningWindow.clientHeight, dpiY_)};
    const Class cls = {kClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    // Owned by the hidden owner: no taskbar button. WS_EX_NOACTIVATE (2000
    // and later) and WM_MOUSEACTIVATE keep the focus where it is.
    if (!Create(instance_, cls, kWarningWindow.caption, WS_POPUP | WS_BORDER,
                WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, client, owner_))
        return false;
    const ControlContext context = {instance_, dpiX_, dpiY_, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)),
                                    kWarningLayout};
    if (!controls_.Create(hwnd(), context)) {
        Destroy();
        return false;
    }
    SetText(text);
    Place();
    return true;
}

void WarningPanel::SetText(std::u16string_view text) { SetWindowText16(controls_[warning::lblCountdown].hwnd, text); }

void WarningPanel::Place() {
    RECT window;
    GetWindowRect(hwnd(), &window);
    const RECT area = WorkArea();
    SetWindowPos(hwnd(), HWND_TOPMOST, area.right - (window.right - window.left),
                 area.bottom - (window.bottom - window.top), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

LRESULT WarningPanel::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;      // 95, 98 and NT 4 know no WS_EX_NOACTIVATE
    case WM_CTLCOLORSTATIC: return WhiteOnBlack(wp);  // the countdown, as the main window's strip shows it
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
