#include "win32/dusklet/main_window.h"

#include <commctrl.h>

#include "app/texts.h"
#include "base/program_folder.h"
#include "ui/tab_order.h"
#include "win32/dusklet/resource.h"
#include "win32/toolkit/ansi.h"
#include "win32/toolkit/system_library.h"
#include "win32/toolkit/text.h"
#include "win32/toolkit/trace.h"

namespace dusklet::win {
namespace {

constexpr UINT kFirstMenuId = 1000;
constexpr UINT kShowWarning = WM_APP + 2;
constexpr UINT kHeldBack = WM_APP + 3;     // an event handed back: its kind, and its tray notification
constexpr UINT kPanelButton = WM_APP + 4;  // a button of the warning panel: its control id
constexpr UINT kAboutClosing = WM_APP + 5;
constexpr UINT kProgramEnded = WM_APP + 6;  // a process watched has ended: its id
constexpr UINT kWakeTimerId = kTimerId + 1;
constexpr UINT kTrayRetryTimerId = kTimerId + 2;
constexpr UINT kSampleTimerId = kTimerId + 3;  // the network's counters, or processes not waited on
constexpr UINT kLookTimerId = kTimerId + 4;    // whether anybody uses the PC
constexpr UINT kWaitsTimerId = kTimerId + 5;   // while a message box is up: the processes watched
constexpr UINT kTrayRetryMs = 3000;            // while the shell refuses the icon, it is asked this often

// The program's icon at the system's small or large size (`metric`, LIM_SMALL
// or LIM_LARGE, which is also the WM_SETICON kind), of `width` x `height`
// pixels: through comctl32's LoadIconMetric where there is one (Vista and
// later), which scales down from a larger image where none has the size,
// else the nearest image. Either way the caller owns it.
HICON LoadProgramIcon(HINSTANCE instance, int metric, int width, int height) {
    static const auto loadMetric = Resolve<decltype(&::LoadIconMetric)>(CommonControls(), "LoadIconMetric");
    HICON icon = nullptr;
    if (loadMetric && SUCCEEDED(loadMetric(instance, MAKEINTRESOURCEW(IDI_DUSKLET), metric, &icon))) return icon;
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_DUSKLET), IMAGE_ICON, width, height, 0));
}
static_assert(LIM_SMALL == ICON_SMALL && LIM_LARGE == ICON_BIG);

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, SingleInstance& single, const Command& command)
    : instance_(instance),
      single_(single),
      command_(command),
      timer_(kTimerId, kTimerIntervalMs),
      watch_(waits_, kProgramEnded, kSampleTimerId, kLookTimerId) {}

MainWindow::~MainWindow() {
    // The windows go before the objects that their messages reach.
    panel_.reset();
    Destroy();
    owner_.reset();
}

MainWindow::Start MainWindow::Open() {
    if (const WindowDC screen(nullptr); screen) {
        dpiX_ = GetDeviceCaps(screen.get(), LOGPIXELSX);
        dpiY_ = GetDeviceCaps(screen.get(), LOGPIXELSY);
    }

    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    if (!MakeMenu()) return Start::Failed;

    // A hidden owner keeps the window off the taskbar.
    owner_.reset(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr));
    const SIZE client = {TwipsToPixels(kMainWindow.clientWidth, dpiX_), TwipsToPixels(kMainWindow.clientHeight, dpiY_)};
    const Class cls = {kMainClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    if (!owner_ || !Create(instance_, cls, kMainWindow.caption,
                           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, client, owner_.get()))
        return Start::Failed;
    LoadIcons();  // without them the window and the tray show no picture, but work
    timer_.Attach(hwnd());
    system_.SetWindow(hwnd());
    deadline_.SetWindow(hwnd(), kWakeTimerId);
    watch_.SetWindow(hwnd());
    const ControlContext context = {instance_, dpiX_, dpiY_, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)),
                                    kMainLayout};
    if (!controls_.Create(hwnd(), context)) return Start::Failed;
    models_ = controls_.Models();

    form_ = std::make_unique<frmMain>(
        MainControls(models_), timer_,
        frmMainServices{*this, clock_, zone_, dateFormat_, system_, tray_, deadline_, watch_});
    if (!form_->Form_Initialize()) return Start::Ended;
    single_.Publish(hwnd());
    onTrial_ = single_.Chosen();
    if (command_.kind == Command::Kind::Arm) form_->Command(command_);  // a refusal is said as when arming by hand
    // Armed from a command line, or started to be, it stays in the tray, if
    // the shell took its icon.
    if ((command_.kind == Command::Kind::Arm || onTrial_) && !command_.show && form_->TrayIconShown())
        return Start::Running;
    ShowWindow(hwnd(), SW_SHOW);  // activation gives the focus to the first control in tab order
    UpdateWindow(hwnd());
    return Start::Running;
}

void MainWindow::LoadIcons() {
    static constexpr int metrics[] = {SM_CXSMICON, SM_CYSMICON, SM_CXICON, SM_CYICON};
    std::array<int, 4> sizes;
    for (size_t i = 0; i < sizes.size(); ++i) sizes[i] = GetSystemMetrics(metrics[i]);
    if (sizes == iconSizes_) return;
    iconSizes_ = sizes;
    for (int m : {LIM_SMALL, LIM_LARGE}) {
        const HICON icon = LoadProgramIcon(instance_, m, sizes[2 * m], sizes[2 * m + 1]);
        if (!icon) {
            Trace("icon: not loaded at the system's size");
            continue;  // the one loaded before stays
        }
        SendMessageA(hwnd(), WM_SETICON, static_cast<WPARAM>(m), reinterpret_cast<LPARAM>(icon));
        // A small one that frmMain has not taken since the last change is in
        // no tray record and goes now; otherwise the one it took waits.
        if (m == LIM_SMALL && !formerIcon_) formerIcon_ = std::move(icons_[m]);
        icons_[m].reset(icon);
    }
    if (form_) form_->On({MainEvent::Kind::IconChanged});
}

// The popup menu, built from the same texts as the windows.
bool MainWindow::MakeMenu() {
    menu_.reset(CreatePopupMenu());
    if (!menu_) return false;
    for (const MenuItem& item : kPopupMenu) {
        const UINT id = kFirstMenuId + static_cast<UINT>(item.choice);
        const bool added = item.caption ? AppendMenu16(menu_.get(), MF_STRING, id, item.caption)
                                        : AppendMenu16(menu_.get(), MF_SEPARATOR, 0, u"");
        if (!added) return false;
    }
    return true;
}

// Until the quit message, or until the window is gone: a loop nested in a
// handler (the popup menu's, under Wine) may take the quit message posted
// when the session ended during it, and no copy may live on without its
// window, holding the single-instance object.
int MainWindow::Run() {
    MSG msg = {};
    while (hwnd() && waits_.NextMessage(msg)) {
        if (PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessage16(msg);
    }
    return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

int MainWindow::FocusedControl() const {
    const HWND focus = GetFocus();
    if (!hwnd() || !focus || !IsChild(hwnd(), focus)) return -1;
    const WinControl* control = WinControl::From(focus);
    return control ? control->id : -1;
}

void MainWindow::Focus(int id) {
    const HWND h = controls_[id].hwnd;
    SetFocus(h);
    // A text box reached from the keyboard has its text selected, ready to be typed over.
    if (kMainLayout[id].kind == ControlKind::TextBox) SendMessageA(h, EM_SETSEL, 0, -1);
}

bool MainWindow::PreTranslate(MSG& msg) {
    if (about_ && about_->Owns(msg.hwnd)) {
        if (msg.message != WM_CHAR) return false;
        int16_t code = CharCode(msg);
        about_->PreviewChar(code);
        return false;
    }
    if (!hwnd() || !msg.hwnd || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB) {
        const int next = NextInTabOrder(kMainLayout, models_, FocusedControl(), GetKeyState(VK_SHIFT) < 0);
        if (next >= 0) Focus(next);
        return true;
    }
    // Keys for the focused control first: Up and Down step a number box.
    if (msg.message == WM_KEYDOWN && msg.hwnd != hwnd()) {
        if (WinControl* control = WinControl::From(msg.hwnd)) {
            static_assert(kKeyUp == VK_UP && kKeyDown == VK_DOWN);
            auto code = static_cast<int16_t>(msg.wParam);
            control->OnKeyDown(code);
            if (code == 0) return true;
        }
    }
    // Enter on a focused command button clicks it, as in a dialog.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
        const int focused = FocusedControl();
        if (focused >= 0 && kMainLayout[focused].kind == ControlKind::Command) {
            SendMessageA(controls_[focused].hwnd, BM_CLICK, 0, 0);
            return true;
        }
    }
    // Esc must become a typed character for the window's key preview, not a
    // dialog cancel.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) return false;
    if (msg.message == WM_CHAR) {
        int16_t code = CharCode(msg);
        form_->Form_KeyPress(code);
        if (msg.hwnd != hwnd()) {
            if (WinControl* control = WinControl::From(msg.hwnd)) control->OnKeyPress(code);
        }
        if (code == 0) return true;
        SetCharCode(msg, code);
        DispatchMessage16(msg);
        return true;
    }
    return IsDialogMessage16(hwnd(), msg);
}

LRESULT MainWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (!form_) return Window::OnMessage(msg, wp, lp);
    if (ToControl(msg, wp, lp)) return 0;
    switch (msg) {
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lp) == controls_[ctl::lblStatus].hwnd) return WhiteOnBlack(wp);
        break;
    case WM_TIMER:
        if (wp == timer_.Id()) {
            timer_.onTimer();
        } else if (wp == kWakeTimerId) {
            deadline_.Spent();
            form_->On({MainEvent::Kind::Wake});
        } else if (wp == kTrayRetryTimerId) {
            KillTimer(hwnd(), kTrayRetryTimerId);  // once; a refusal sets it again
            form_->On({MainEvent::Kind::TrayIconLost});
        } else if (wp == kSampleTimerId) {
            form_->On({MainEvent::Kind::Sample});
        } else if (wp == kWaitsTimerId) {
            waits_.AnswerSignalled();
        } else if (wp == kLookTimerId) {
            KillTimer(hwnd(), kLookTimerId);  // once; the look aims the next
            form_->On({MainEvent::Kind::IdleLook});
        }
        return 0;
    case WM_POWERBROADCAST:
        if (wp == PBT_APMSUSPEND) form_->On({MainEvent::Kind::PowerSuspend});
        else if (wp == PBT_APMRESUMEAUTOMATIC || wp == PBT_APMRESUMESUSPEND || wp == PBT_APMRESUMECRITICAL)
            form_->On({MainEvent::Kind::PowerResume});
        return TRUE;
    case WM_SETTINGCHANGE:  // among others, other icon sizes, a new time zone or date form
        LoadIcons();
        [[fallthrough]];
    case WM_TIMECHANGE: form_->On({MainEvent::Kind::TimeChange}); return 0;
    case kHeldBack: form_->On({static_cast<MainEvent::Kind>(wp), static_cast<uint32_t>(lp)}); return 0;
    case kProgramEnded: form_->On({MainEvent::Kind::ProgramEnded, static_cast<uint32_t>(wp)}); return 0;
    case WM_COPYDATA: {
        // A command line handed over by a copy started later: applied here,
        // the exit code its answer.
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        if (data->dwData != kCommandLineData) return 0;
        const ParsedCommand parsed = ParseCommandLine(
            std::u16string_view(static_cast<const char16_t*>(data->lpData), data->cbData / sizeof(char16_t)));
        const uint32_t code = parsed.error.empty() ? form_->Command(parsed.command) : exit_code::kBadArguments;
        // Started to take this command line, it stays only if that armed: it
        // ends after the refusal's message, unless a command handed over
        // meanwhile (by a copy started at the same time, or the script's
        // next line) has armed or shown it. Until then it is the copy that
        // later ones find.
        if (code != exit_code::kBusy && std::exchange(onTrial_, false) && !form_->Armed()) {
            leaving_ = true;
            if (warning_.empty()) PostMessageA(hwnd(), kShowWarning, 0, 0);
        } else if (code == exit_code::kDone) {
            leaving_ = false;
        }
        return static_cast<LRESULT>(reply::Tagged(code));
    }
    case kAboutClosing: EndModal(); return 0;
    case kPanelButton:
        form_->On({wp == warning::cmdPostpone ? MainEvent::Kind::Postpone : MainEvent::Kind::Cancel});
        return 0;
    case kTrayCallbackMessage:
        // The tray icon's notification: the mouse message, or the balloon's, in lParam.
        form_->On({MainEvent::Kind::Tray, static_cast<uint32_t>(lp)});
        return 0;
    case kShowWarning: {
        const std::u16string text = std::exchange(warning_, {});
        if (!text.empty()) {
            BeginModal();
            // The box's own loop waits on no handle: an armed program's end
            // is looked for meanwhile, so that it acts with the box still up.
            if (!SetTimer(hwnd(), kWaitsTimerId, 1000, nullptr)) Trace("message box: no timer");
            MessageBox16(hwnd(), text, texts::kProgramTitle, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
            KillTimer(hwnd(), kWaitsTimerId);
            EndModal();
            // About, opened while the box was up, stays in front of this window.
            if (about_ && about_->Modal()) SetForegroundWindow(about_->hwnd());
        }
        if (leaving_) {
            single_.Release();  // a copy started from now on runs as the first
            form_->On({MainEvent::Kind::MenuExit});
        }
        return 0;
    }
    case WM_ENABLE:
        // While About or a message box is open this window takes no input,
        // whichever closes first: a message box enables its owner when it
        // closes, About when it ends.
        if (wp && modal_.Held()) EnableWindow(hwnd(), FALSE);
        return 0;
    case WM_ACTIVATE:
        // Like a dialog: the focused control is kept while the window is
        // inactive or hidden, and gets the focus back when it returns.
        if (LOWORD(wp) == WA_INACTIVE) {
            if (const int focused = FocusedControl(); focused >= 0) lastFocus_ = focused;
        } else {
            const int id = lastFocus_ >= 0 && CanTakeFocus(kMainLayout, models_, lastFocus_)
                               ? lastFocus_
                               : NextInTabOrder(kMainLayout, models_, -1, false);
            if (id >= 0) SetFocus(controls_[id].hwnd);
        }
        return 0;
    case WM_CLOSE: Unload(); return 0;
    case WM_QUERYENDSESSION: return TRUE;  // never stand in the way of a log off or shutdown
    case WM_ENDSESSION:
        if (wp) form_->Form_EndSession();
        return 0;
    default:
        if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
            form_->On({MainEvent::Kind::TrayIconLost});
            return 0;
        }
        break;
    }
    return Window::OnMessage(msg, wp, lp);
}

uint32_t MainWindow::WindowHandle() { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd())); }
uint32_t MainWindow::IconHandle() {
    formerIcon_.reset();  // the tray record takes the current one in its place
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(icons_[LIM_SMALL].get()));
}

std::u16string MainWindow::ProgramFolder() { return FolderOf(ModulePath16()); }

void MainWindow::AttachSkin(std::u16string_view skinPath, std::u16string_view second) {
    // The skin engine is loaded from the program's folder by full path only.
    std::u16string dll = ProgramFolder();
    if (dll.empty() || dll.back() != u'\\') dll += u'\\';
    dll += u"SkinH_VB6.dll";
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE engine = LoadLibrary16(dll);
    SetErrorMode(oldMode);
    if (!engine) return;
    // The engine takes its texts in the ANSI code page.
    using AttachEx = int(WINAPI*)(const char*, const char*);
    const auto attach = reinterpret_cast<AttachEx>(reinterpret_cast<void*>(GetProcAddress(engine, "SkinH_AttachEx")));
    if (attach) attach(ToAnsi(skinPath).c_str(), ToAnsi(second).c_str());
}

void MainWindow::InitCommonControls() {
    if (const auto init = Resolve<decltype(&::InitCommonControls)>(CommonControls(), "InitCommonControls")) init();
}

void MainWindow::MsgBox(std::u16string_view text, std::u16string_view title, uint32_t style) {
    MessageBox16(nullptr, text, title, style);
}

void MainWindow::ShowRunningCopy() {
    // No answer leaves the message to say where the program is.
    single_.HandOver(CommandLine16() + std::u16string(kShowArgument));
}

void MainWindow::RetryTrayIcon() {
    if (!SetTimer(hwnd(), kTrayRetryTimerId, kTrayRetryMs, nullptr)) Trace("tray icon: no timer");
}

void MainWindow::BeginModal() {
    modal_.Open();
    EnableWindow(hwnd(), FALSE);
}

void MainWindow::EndModal() {
    if (modal_.Close()) EnableWindow(hwnd(), TRUE);
    // Its loop may wait for a message to notice that it has ended (closed
    // by a message sent from another program, say).
    PostMessageA(hwnd(), WM_NULL, 0, 0);
}

// Posting fails only when the queue is full: the event is lost then.
void MainWindow::Later(MainEvent event) {
    if (!PostMessageA(hwnd(), kHeldBack, static_cast<WPARAM>(event.kind), static_cast<LPARAM>(event.detail)))
        Trace("held-back event: not posted");
}

// Shown from the message loop once the handler that asks has returned, so
// that no handler runs inside the message box's own loop.
void MainWindow::Warn(std::u16string_view text) {
    warning_ = text;
    PostMessageA(hwnd(), kShowWarning, 0, 0);
}

void MainWindow::Show() { ShowWindow(hwnd(), SW_SHOW); }
void MainWindow::Hide() { ShowWindow(hwnd(), SW_HIDE); }

void MainWindow::Unload() {
    if (!hwnd()) return;  // closed already (the session ended during the last tick, say)
    if (form_->Form_Unload() == UnloadDecision::StayHidden) return;
    if (about_) about_->Unload();
    panel_.reset();
    timer_.SetEnabled(false);
    Destroy();
    owner_.reset();
    PostQuitMessage(0);
}

void MainWindow::SetForeground() { SetForegroundWindow(hwnd()); }

namespace {

// Takes the first shown, enabled window that *found owns, in the order of
// the windows, front to back.
BOOL CALLBACK FirstOwned(HWND window, LPARAM found) {
    auto& owner = *reinterpret_cast<HWND*>(found);
    if (GetWindow(window, GW_OWNER) != owner || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    owner = window;
    return FALSE;
}

}  // namespace

// The window, or the one in front of those it owns that hold it modal
// (About, a message box).
void MainWindow::BringForward() {
    HWND front = hwnd();
    EnumThreadWindows(GetCurrentThreadId(), FirstOwned, reinterpret_cast<LPARAM>(&front));
    SetForegroundWindow(front);
}

PopupChoice MainWindow::PopupMenu(bool armed) {
    EnableMenuItem(menu_.get(), kFirstMenuId + static_cast<UINT>(PopupChoice::Postpone),
                   MF_BYCOMMAND | (armed ? MF_ENABLED : MF_GRAYED));
    POINT p;
    GetCursorPos(&p);
    const UINT chosen =
        static_cast<UINT>(TrackPopupMenu(menu_.get(), TPM_RETURNCMD | TPM_NONOTIFY, p.x, p.y, 0, hwnd(), nullptr));
    // Lets the menu close when the user clicks elsewhere.
    PostMessageA(hwnd(), WM_NULL, 0, 0);
    return chosen >= kFirstMenuId ? static_cast<PopupChoice>(chosen - kFirstMenuId) : PopupChoice::None;
}

// One About window and one modal loop at a time: asked again while it is
// open (from the tray menu, which its loop lets through), the open one comes
// to the front. Only this function creates and destroys the About object;
// every other path only closes its window, which ends the loop here.
void MainWindow::ShowAboutModal() {
    if (about_) {
        SetForegroundWindow(about_->hwnd());
        return;
    }
    about_ = std::make_unique<AboutWindow>(instance_, hwnd(), kAboutClosing, dpiX_, dpiY_);
    BeginModal();
    if (!about_->Open()) {
        about_.reset();
        EndModal();
        return;
    }
    MSG msg;
    while (about_->IsOpen()) {
        if (!waits_.NextMessage(msg)) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave the quit for the outer loop
            break;
        }
        if (PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessage16(msg);
    }
    about_.reset();
    // A message box's loop below this one may have been closed meanwhile.
    if (modal_.Held()) PostMessageA(hwnd(), WM_NULL, 0, 0);
}

// Made when first shown and destroyed when closed: start-up pays nothing for it.
void MainWindow::ShowPanel(std::u16string_view text, std::u16string_view title) {
    if (panel_) {
        panel_->SetText(text);
        panel_->Place();
        return;
    }
    panel_ = std::make_unique<WarningPanel>(instance_, owner_.get(), hwnd(), kPanelButton, dpiX_, dpiY_);
    if (!panel_->Open(text, title)) panel_.reset();  // the tray's balloon and blinking still warn
}

void MainWindow::PlacePanel() {
    if (panel_) panel_->Place();
}

void MainWindow::SetPanelText(std::u16string_view text) {
    if (panel_) panel_->SetText(text);
}

void MainWindow::ClosePanel() { panel_.reset(); }

void MainWindow::AlertPanel() {
    if (panel_) panel_->Alert();
}

void MainWindow::Beep() { MessageBeep(MB_ICONWARNING); }

void MainWindow::UnloadAbout() {
    if (about_) about_->Unload();
}

}  // namespace dusklet::win
