#include "win32/dusklet/about_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "win32/dusklet/resource.h"
#include "win32/toolkit/text.h"

namespace dusklet::win {
namespace {

const char kClass[] = "DuskletAbout";

UniqueFont LinkFont(int dpiY, bool underline) {
    return UniqueFont(
        CreateFont16(-MulDiv(about::kLinkPoints, dpiY, 72), FW_BOLD, underline, GB2312_CHARSET, about::kLinkFace));
}

}  // namespace

AboutWindow::AboutWindow(HINSTANCE instance, HWND owner, UINT closing, int dpiX, int dpiY)
    : instance_(instance), owner_(owner), closing_message_(closing), dpiX_(dpiX), dpiY_(dpiY) {}

AboutWindow::~AboutWindow() { Destroy(); }  // before the objects that its messages reach

bool AboutWindow::Open() {
    const SIZE client = {TwipsToPixels(kAboutWindow.clientWidth, dpiX_),
                         TwipsToPixels(kAboutWindow.clientHeight, dpiY_)};
    const Class cls = {kClass, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))};
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
    HWND tooltip = CreateWindow16(0, TOOLTIPS_CLASSA, u"", WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, instance_, nullptr);
    if (!tooltip) return;  // the link works without it
    AddTool16(tooltip, hwnd(), link, about::kMailTooltip);
}

void AboutWindow::Unload() {
    if (!IsOpen()) return;
    // The owner takes input again before this window goes, so that
    // activation returns to it.
    closing_ = true;
    SendMessageA(owner_, closing_message_, 0, 0);
    Destroy();
}

void AboutWindow::ShellExecuteA(std::u16string_view verb, std::u16string_view file, std::u16string_view directory,
                                int32_t showCommand) {
    ShellExecute16(hwnd(), verb, file, directory, showCommand);
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
