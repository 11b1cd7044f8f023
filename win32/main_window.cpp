#include "win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "app/texts.h"
#include "win32/resource.h"

namespace dusklet::win {
namespace {

const char kClass[] = "DuskletMain";
constexpr UINT kTimerId = 1;
constexpr UINT kFirstControlId = 100;

bool Focusable(ControlKind kind) {
    switch (kind) {
    case ControlKind::Frame:
    case ControlKind::Picture:
    case ControlKind::Label:
    case ControlKind::StatusStrip: return false;
    default: return true;
    }
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, bool anotherInstance)
    : instance_(instance), anotherInstance_(anotherInstance), timer_(hwnd_, kTimerId, kTimerIntervalMs),
      controls_{&frame_, &pic_, &cmbAction_, &lbl_[0], &opt_[0], &opt_[1], &txtPeriod_, &vsPeriod_,
                &cmbUnit_, &txtHour_, &vsHour_, &txtMin_, &vsMin_, &cmbT_, &chkForce_, &chkBlink_,
                &txtBlink_, &vsBlink_, &lbl_[1], &cmdTimer_, &lblStatus_} {}

MainWindow::~MainWindow() {
    if (menu_) DestroyMenu(menu_);
}

bool MainWindow::Start() {
    HDC screen = GetDC(nullptr);
    dpiX_ = GetDeviceCaps(screen, LOGPIXELSX);
    dpiY_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    icon_ = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_DUSKLET), IMAGE_ICON, 32, 32, 0));
    black_ = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    menu_ = LoadMenuA(instance_, MAKEINTRESOURCEA(IDM_POPUP));
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");

    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.cbWndExtra = sizeof(void*);
    wc.hInstance = instance_;
    wc.hIcon = icon_;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);

    // A hidden owner keeps the window off the taskbar.
    owner_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT r = {0, 0, Px(kClientWidthTwips, dpiX_), Px(kClientHeightTwips, dpiY_)};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    hwnd_ = CreateWindowExA(0, kClass, ToAnsi(texts::kMainCaption).c_str(), style,
                            (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                            (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, owner_, nullptr,
                            instance_, this);
    CreateControls();

    frmMainControls c;
    c.Timer = &timer_;
    c.cmdTimer = &cmdTimer_;
    c.frame = &frame_;
    c.lblStatus = &lblStatus_;
    c.pic = &pic_;
    c.chkForce = &chkForce_;
    c.vsBlink = &vsBlink_;
    c.txtBlink = &txtBlink_;
    c.chkBlink = &chkBlink_;
    c.cmbAction = &cmbAction_;
    c.lbl[0] = &lbl_[0];
    c.lbl[1] = &lbl_[1];
    c.txtPeriod = &txtPeriod_;
    c.cmbUnit = &cmbUnit_;
    c.opt[0] = &opt_[0];
    c.opt[1] = &opt_[1];
    c.vsPeriod = &vsPeriod_;
    c.vsHour = &vsHour_;
    c.txtHour = &txtHour_;
    c.vsMin = &vsMin_;
    c.txtMin = &txtMin_;
    c.cmbT = &cmbT_;
    form_ = std::make_unique<frmMain>(c, frmMainServices{*this, clock_, dateFormat_, system_, tray_, ansi_});

    if (!form_->Form_Initialize()) {
        DestroyWindow(hwnd_);
        DestroyWindow(owner_);
        hwnd_ = owner_ = nullptr;
        return false;
    }
    ShowWindow(hwnd_, SW_SHOW);  // activation gives the focus to tab index 0
    UpdateWindow(hwnd_);
    return true;
}

void MainWindow::CreateControls() {
    for (const ControlLayout& layout : MainLayout()) {
        const HWND parent = layout.parent == kNoParent ? hwnd_ : controls_[layout.parent]->hwnd;
        CreateControl(layout, parent, *controls_[&layout - MainLayout().data()]);
    }
}

void MainWindow::CreateControl(const ControlLayout& l, HWND parent, WinControl& target) {
    const char* cls = "STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    int height = Px(l.height, dpiY_);
    switch (l.kind) {
    case ControlKind::Frame:
        cls = "BUTTON";
        style |= BS_GROUPBOX | WS_GROUP;
        exStyle = WS_EX_CONTROLPARENT;
        break;
    case ControlKind::Picture:
        style |= WS_GROUP;
        exStyle = WS_EX_CONTROLPARENT;
        break;
    case ControlKind::Label: style |= SS_LEFT | SS_NOPREFIX | WS_GROUP; break;
    case ControlKind::StatusStrip: style |= SS_CENTER | SS_NOPREFIX | WS_GROUP; break;
    case ControlKind::DropDownList:
        cls = "COMBOBOX";
        style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
        height += Px(2400, dpiY_);  // room for the dropped list
        break;
    case ControlKind::TextBox:
        cls = "EDIT";
        style |= ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::SpinBar:
        cls = "SCROLLBAR";
        style |= SBS_VERT | WS_TABSTOP | WS_GROUP;
        break;
    case ControlKind::Option:
        cls = "BUTTON";
        style |= BS_AUTORADIOBUTTON;
        if (l.checked) style |= WS_TABSTOP;
        if (&l == &MainLayout()[idOpt0]) style |= WS_GROUP;
        break;
    case ControlKind::Check:
        cls = "BUTTON";
        style |= BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP;
        break;
    case ControlKind::Command:
        cls = "BUTTON";
        style |= BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP;
        break;
    }
    if (!l.enabled) style |= WS_DISABLED;
    const std::string text = ToAnsi(l.text);
    const UINT id = kFirstControlId + static_cast<UINT>(&l - MainLayout().data());
    HWND h = CreateWindowExA(exStyle, cls, text.c_str(), style, Px(l.left, dpiX_), Px(l.top, dpiY_),
                             Px(l.width, dpiX_), height, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                             instance_, nullptr);
    target.Attach(h);
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    switch (l.kind) {
    case ControlKind::Frame:
    case ControlKind::Picture: ForwardNotifications(h); break;
    case ControlKind::Label: {
        // Sized to its text in the window's font.
        HDC dc = GetDC(h);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(h, dc);
        SetWindowPos(h, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
    case ControlKind::DropDownList:
        for (const char16_t* const* item = l.items; *item; ++item)
            SendMessageA(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToAnsi(*item).c_str()));
        break;
    case ControlKind::TextBox: SendMessageA(h, EM_LIMITTEXT, static_cast<WPARAM>(l.maxLength), 0); break;
    case ControlKind::SpinBar:
        static_cast<WinScrollBar&>(target).Init(l.min, l.max, l.value);
        break;
    case ControlKind::Option:
    case ControlKind::Check:
        if (l.checked) SendMessageA(h, BM_SETCHECK, BST_CHECKED, 0);
        break;
    default: break;
    }
}

int MainWindow::Run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

bool MainWindow::IsMine(HWND h) const { return hwnd_ && h && (h == hwnd_ || IsChild(hwnd_, h)); }

bool MainWindow::PreTranslate(MSG& msg) {
    if (about_ && about_->Owns(msg.hwnd)) {
        if (msg.message != WM_CHAR) return false;
        int16_t code = static_cast<int16_t>(static_cast<uint8_t>(msg.wParam));
        about_->PreviewChar(code);
        return false;
    }
    if (!IsMine(msg.hwnd)) return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB) {
        MoveFocus(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    // Esc must become a typed character for the window's key preview, not a
    // dialog cancel.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) return false;
    if (msg.message == WM_CHAR) {
        int16_t code = static_cast<int16_t>(static_cast<uint8_t>(msg.wParam));
        form_->Form_KeyPress(code);
        if (msg.hwnd != hwnd_) {
            if (WinControl* control = WinControl::From(msg.hwnd)) control->OnKeyPress(code);
        }
        if (code == 0) return true;
        msg.wParam = static_cast<uint8_t>(code);
        DispatchMessageA(&msg);
        return true;
    }
    return hwnd_ && IsDialogMessageA(hwnd_, &msg);
}

// A control takes the focus only when it and every container up to the
// window are enabled and visible.
bool MainWindow::CanTakeFocus(HWND h) const {
    for (; h && h != hwnd_; h = GetParent(h))
        if (!IsWindowEnabled(h) || !IsWindowVisible(h)) return false;
    return h == hwnd_;
}

// Moves the focus through the controls by their tab index, over container
// boundaries, skipping what cannot take it (disabled, inside a disabled
// container, or an option button that is not the chosen one of its group).
void MainWindow::MoveFocus(bool backwards) {
    const auto layout = MainLayout();
    int order[kControlCount];
    int count = 0;
    for (int i = 0; i < kControlCount; ++i)
        if (Focusable(layout[i].kind)) order[count++] = i;
    std::sort(order, order + count, [&](int a, int b) { return layout[a].tabIndex < layout[b].tabIndex; });

    auto canFocus = [&](int id) {
        HWND h = controls_[id]->hwnd;
        if (layout[id].kind == ControlKind::Option && SendMessageA(h, BM_GETCHECK, 0, 0) != BST_CHECKED)
            return false;
        return CanTakeFocus(h);
    };
    const HWND focus = GetFocus();
    int current = -1;
    for (int i = 0; i < count; ++i)
        if (controls_[order[i]]->hwnd == focus) current = i;
    for (int step = 1; step <= count; ++step) {
        const int i = ((current < 0 ? (backwards ? 0 : -1) : current) + (backwards ? -step : step) + count * 2) % count;
        if (!canFocus(order[i])) continue;
        HWND h = controls_[order[i]]->hwnd;
        SetFocus(h);
        if (layout[order[i]].kind == ControlKind::TextBox) SendMessageA(h, EM_SETSEL, 0, -1);
        return;
    }
}

LRESULT CALLBACK MainWindow::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrA(h, 0, reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(h, 0));
    if (self && self->hwnd_ == h && self->form_) return self->Handle(msg, wp, lp);
    return DefWindowProcA(h, msg, wp, lp);
}

LRESULT MainWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (WinControl* control = WinControl::From(reinterpret_cast<HWND>(lp))) control->OnCommand(HIWORD(wp));
        return 0;
    case WM_VSCROLL:
        if (WinControl* control = WinControl::From(reinterpret_cast<HWND>(lp)))
            control->OnScroll(LOWORD(wp), static_cast<int16_t>(HIWORD(wp)));
        return 0;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lp) == lblStatus_.hwnd) {
            HDC dc = reinterpret_cast<HDC>(wp);
            SetTextColor(dc, RGB(255, 255, 255));
            SetBkColor(dc, RGB(0, 0, 0));
            return reinterpret_cast<LRESULT>(black_);
        }
        break;
    case WM_TIMER:
        if (wp == timer_.Id()) timer_.onTimer();
        return 0;
    case WM_MOUSEMOVE: {
        // Tray notifications come here too, with the mouse message as x.
        const int16_t button = static_cast<int16_t>(((wp & MK_LBUTTON) ? 1 : 0) | ((wp & MK_RBUTTON) ? 2 : 0) |
                                                    ((wp & MK_MBUTTON) ? 4 : 0));
        const int16_t shift = static_cast<int16_t>(((wp & MK_SHIFT) ? 1 : 0) | ((wp & MK_CONTROL) ? 2 : 0));
        const float tpp = TwipsPerPixelX();
        const float tppY = 1440.0f / static_cast<float>(dpiY_);
        form_->Form_MouseMove(button, shift, static_cast<float>(GET_X_LPARAM(lp)) * tpp,
                              static_cast<float>(GET_Y_LPARAM(lp)) * tppY);
        return 0;
    }
    case WM_ACTIVATE:
        // Like a dialog: the focused control is kept while the window is
        // inactive or hidden, and gets the focus back when it returns.
        if (LOWORD(wp) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (IsMine(focus) && focus != hwnd_) lastFocus_ = focus;
        } else {
            SetFocus(lastFocus_ && CanTakeFocus(lastFocus_) ? lastFocus_ : cmbAction_.hwnd);
        }
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;  // never stand in the way of a log off or shutdown
    case WM_ENDSESSION:
        if (wp) form_->Form_EndSession();
        return 0;
    default:
        if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
            form_->RestoreTrayIcon();
            return 0;
        }
        break;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

uint32_t MainWindow::WindowHandle() { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd_)); }
uint32_t MainWindow::IconHandle() { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(icon_)); }

std::u16string MainWindow::ProgramFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    const size_t slash = folder.find_last_of('\\');
    folder.resize(slash == std::string::npos ? 0 : slash);
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';  // a drive's root keeps its separator
    return FromAnsi(folder);
}

void MainWindow::AttachSkin(std::u16string_view skinPath, std::u16string_view second) {
    // The skin engine is loaded from the program's folder by full path only.
    std::string dll = ToAnsi(ProgramFolder());
    if (dll.empty() || dll.back() != '\\') dll += '\\';
    dll += "SkinH_VB6.dll";
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE engine = LoadLibraryA(dll.c_str());
    SetErrorMode(oldMode);
    if (!engine) return;
    using AttachEx = int(WINAPI*)(const char*, const char*);
    const auto attach = reinterpret_cast<AttachEx>(reinterpret_cast<void*>(GetProcAddress(engine, "SkinH_AttachEx")));
    if (attach) attach(ToAnsi(skinPath).c_str(), ToAnsi(second).c_str());
}

void MainWindow::InitCommonControls() { ::InitCommonControls(); }

void MainWindow::MsgBox(std::u16string_view text, std::u16string_view title, uint32_t style) {
    ::MessageBoxA(nullptr, ToAnsi(text).c_str(), ToAnsi(title).c_str(), style);
}

void MainWindow::Show() { ShowWindow(hwnd_, SW_SHOW); }
void MainWindow::Hide() { ShowWindow(hwnd_, SW_HIDE); }

void MainWindow::Unload() {
    int16_t cancel = 0;
    form_->Form_Unload(cancel);
    if (cancel) return;
    if (about_) about_->Unload();
    timer_.SetEnabled(false);
    HWND main = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(main);
    DestroyWindow(owner_);
    owner_ = nullptr;
    PostQuitMessage(0);
}

void MainWindow::SetForeground() { SetForegroundWindow(hwnd_); }

PopupChoice MainWindow::PopupMenu() {
    POINT p;
    GetCursorPos(&p);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(GetSubMenu(menu_, 0), TPM_RETURNCMD | TPM_NONOTIFY,
                                                         p.x, p.y, 0, hwnd_, nullptr));
    // Lets the menu close when the user clicks elsewhere.
    PostMessageA(hwnd_, WM_NULL, 0, 0);
    return chosen == IDM_EXIT ? PopupChoice::Exit : chosen == IDM_ABOUT ? PopupChoice::About : PopupChoice::None;
}

void MainWindow::ShowAboutModal() {
    about_ = std::make_unique<AboutWindow>(instance_, hwnd_, dpiX_, dpiY_);
    EnableWindow(hwnd_, FALSE);
    about_->Open();
    MSG msg;
    while (about_->IsOpen()) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave the quit for the outer loop
            break;
        }
        if (PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (hwnd_) EnableWindow(hwnd_, TRUE);
    about_.reset();
}

void MainWindow::UnloadAbout() {
    if (about_) about_->Unload();
}

}  // namespace dusklet::win
