#include "win32/about_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "win32/ansi.h"
#include "win32/resource.h"

namespace dusklet::win {
namespace {

const char kClass[] = "DuskletAbout";
constexpr int kClientWidth = 5775, kClientHeight = 2175;

}  // namespace

AboutWindow::AboutWindow(HINSTANCE instance, HWND owner, int dpiX, int dpiY)
    : instance_(instance), owner_(owner), dpiX_(dpiX), dpiY_(dpiY),
      black_(static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))),
      form_({&lblME_, &lblEMail_}, *this) {}

AboutWindow::~AboutWindow() {
    if (hwnd_) Unload();
    if (plain_) DeleteObject(plain_);
    if (underlined_) DeleteObject(underlined_);
    if (banner_) DeleteObject(banner_);
}

HWND AboutWindow::Child(const char* cls, DWORD style, int left, int top, int width, int height) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, MulDiv(left, dpiX_, 1440),
                           MulDiv(top, dpiY_, 1440), MulDiv(width, dpiX_, 1440),
                           MulDiv(height, dpiY_, 1440), hwnd_, nullptr, instance_, nullptr);
}

void AboutWindow::Open() {
    WNDCLASSA wc = {};
    if (!GetClassInfoA(instance_, kClass, &wc)) {
        wc.lpfnWndProc = Proc;
        wc.cbWndExtra = sizeof(void*);
        wc.hInstance = instance_;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = black_;
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
    }
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT r = {0, 0, MulDiv(kClientWidth, dpiX_, 1440), MulDiv(kClientHeight, dpiY_, 1440)};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const int w = r.right - r.left, h = r.bottom - r.top;
    hwnd_ = CreateWindowExA(exStyle, kClass, ToAnsi(about::kCaption).c_str(), style,
                            (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                            (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, owner_, nullptr,
                            instance_, this);

    const HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    lblME_.Attach(Child("STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 2100, 240, 3495, 435));
    SendMessageA(lblME_.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), FALSE);

    // 9 points bold in the GB2312 character set.
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    const std::string face = ToAnsi(u"宋体");
    plain_ = CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                         face.c_str());
    underlined_ = CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, TRUE, FALSE, GB2312_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH, face.c_str());
    lblEMail_.Attach(Child("STATIC", SS_CENTER | SS_NOPREFIX | SS_NOTIFY, 3000, 1560, 1740, 330));
    lblEMail_.SetFonts(plain_, underlined_);
    SendMessageA(lblEMail_.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(plain_), FALSE);
    lblEMail_.SetCaption(about::kMailLinkCaption);
    Subclass(lblEMail_.hwnd, LinkProc);

    // The banner at its natural size; it takes clicks so that they do not
    // fall through to the window, which would close it.
    banner_ = static_cast<HBITMAP>(LoadImageA(instance_, MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0, 0));
    image_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_NOTIFY, 0,
                             MulDiv(1320, dpiY_, 1440), 0, 0, hwnd_, nullptr, instance_, nullptr);
    SendMessageA(image_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner_));

    tooltip_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               instance_, nullptr);
    std::string tip = ToAnsi(about::kMailTooltip);
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;  // understood by every version of the common controls
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(lblEMail_.hwnd);
    ti.lpszText = tip.data();
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));

    form_.Form_Load();
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
}

void AboutWindow::Unload() {
    if (!hwnd_) return;
    // Give the input back to the owner before this window goes, so that
    // activation returns to it.
    EnableWindow(owner_, TRUE);
    HWND h = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(h);
}

void AboutWindow::ShellExecuteA(std::u16string_view verb, std::u16string_view file,
                               std::u16string_view directory, int32_t showCommand) {
    ::ShellExecuteA(hwnd_, ToAnsi(verb).c_str(), ToAnsi(file).c_str(), nullptr,
                  ToAnsi(directory).c_str(), showCommand);
}

LRESULT CALLBACK AboutWindow::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrA(h, 0, reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    }
    auto* self = reinterpret_cast<AboutWindow*>(GetWindowLongPtrA(h, 0));
    if (self && self->hwnd_ == h) return self->Handle(msg, wp, lp);
    return DefWindowProcA(h, msg, wp, lp);
}

LRESULT CALLBACK AboutWindow::LinkProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEMOVE) {
        auto* self = reinterpret_cast<AboutWindow*>(GetWindowLongPtrA(GetParent(h), 0));
        if (self) self->form_.lblEMail_MouseMove();
    }
    return CallOriginalProc(h, msg, wp, lp);
}

LRESULT AboutWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == STN_CLICKED) {
            if (reinterpret_cast<HWND>(lp) == lblME_.hwnd) form_.lblME_Click();
            else if (reinterpret_cast<HWND>(lp) == lblEMail_.hwnd) form_.lblEMail_Click();
        }
        return 0;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(black_);
    }
    case WM_LBUTTONUP:
        form_.Form_Click();
        return 0;
    case WM_MOUSEMOVE:
        form_.Form_MouseMove();
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

}  // namespace dusklet::win
