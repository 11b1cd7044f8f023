#include "win32/about_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "win32/ansi.h"
#include "win32/resource.h"

namespace dusklet::win {
namespace {

const char kClass[] = "DuskletAbout";

UniqueFont LinkFont(int dpiY, bool underline) {
    return UniqueFont(CreateFontA(-MulDiv(about::kLinkPoints, dpiY, 72), 0, 0, 0, FW_BOLD, FALSE, underline, FALSE,
                                  GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH, ToAnsi(about::kLinkFace).c_str()));
}

}  // namespace

AboutWindow::AboutWindow(HINSTANCE instance, HWND owner, int dpiX, int dpiY)
    : instance_(instance), owner_(owner), dpiX_(dpiX), dpiY_(dpiY) {}

AboutWindow::~AboutWindow() { Destroy(); }  // before the objects that its messages reach

bool AboutWindow::Open() {
    const SIZE client = {TwipsToPixels(kAboutWindow.clientWidth, dpiX_),
                         TwipsToPixels(kAboutWindow.clientHeight, dpiY_)};
    const Class cls = {kClass, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), nullptr};
    if (!Create(instance_, cls, kAboutWindow.caption, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, client,
                owner_))
        return false;
    const ControlContext context = {instance_, dpiX_, dpiY_, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)),
                                    kAboutLayout};
    if (!controls_.Create(hwnd(), context)) {
        Destroy();
        return false;
    }
    models_ = controls_.Models();
    form_ = std::make_unique<frmAbout>(AboutControls(models_), *this);

    auto& link = static_cast<WinLinkLabel&>(controls_[about::lblEMail]);
    link.SetFonts(LinkFont(dpiY_, false), LinkFont(dpiY_, true));
    AddLinkTooltip(link.hwnd);
    // The banner at its natural size: the picture control takes the bitmap's size.
    banner_.reset(static_cast<HBITMAP>(LoadImageA(instance_, MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0, 0)));
    SendMessageA(controls_[about::Image1].hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner_.get()));

    form_->Form_Load();
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
    return true;
}

// The tooltip window belongs to the About window and goes with it.
void AboutWindow::AddLinkTooltip(HWND link) {
    HWND tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, instance_, nullptr);
    if (!tooltip) return;  // the link works without it
    std::string tip = ToAnsi(about::kMailTooltip);
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;  // understood by every version of the common controls
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(link);
    ti.lpszText = tip.data();
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void AboutWindow::Unload() {
    if (!IsOpen()) return;
    // Give the input back to the owner before this window goes, so that
    // activation returns to it.
    EnableWindow(owner_, TRUE);
    Destroy();
}

void AboutWindow::ShellExecuteA(std::u16string_view verb, std::u16string_view file, std::u16string_view directory,
                                int32_t showCommand) {
    ::ShellExecuteA(hwnd(), ToAnsi(verb).c_str(), ToAnsi(file).c_str(), nullptr, ToAnsi(directory).c_str(),
                    showCommand);
}

LRESULT AboutWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (!form_) return Window::OnMessage(msg, wp, lp);
    if (ToControl(msg, wp, lp)) return 0;
    switch (msg) {
    case WM_CTLCOLORSTATIC: return WhiteOnBlack(wp);
    case WM_LBUTTONUP: form_->Form_Click(); return 0;
    case WM_MOUSEMOVE: form_->Form_MouseMove(); return 0;
    case WM_CLOSE: Unload(); return 0;
    }
    return Window::OnMessage(msg, wp, lp);
}

}  // namespace dusklet::win
