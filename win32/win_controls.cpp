#include "win32/win_controls.h"

#include <string>

#include "win32/ansi.h"

namespace dusklet::win {

void WinControl::Attach(HWND h) {
    hwnd = h;
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WinControl* WinControl::From(HWND h) {
    return h ? reinterpret_cast<WinControl*>(GetWindowLongPtrA(h, GWLP_USERDATA)) : nullptr;
}

std::u16string WindowText(HWND h) {
    const int n = GetWindowTextLengthA(h);
    std::string ansi(static_cast<size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(h, ansi.data(), n + 1);
    ansi.resize(static_cast<size_t>(got > 0 ? got : 0));
    return FromAnsi(ansi);
}

void SetWindowText16(HWND h, std::u16string_view text) { SetWindowTextA(h, ToAnsi(text).c_str()); }

void WinTextBox::SetText(std::u16string_view text) {
    // Writing the same text again changes nothing and would only move the
    // caret away from where the user is typing.
    if (text == WindowText(hwnd)) return;
    SetWindowText16(hwnd, text);
    // A rewrite while the user types leaves the caret at the end, not the start.
    if (GetFocus() == hwnd) SendMessageA(hwnd, EM_SETSEL, 0x7FFF, 0x7FFF);
}

void WinLabel::SetCaption(std::u16string_view caption) {
    if (caption != WindowText(hwnd)) SetWindowText16(hwnd, caption);
}

void WinTextBox::OnCommand(int code) {
    if (code == EN_CHANGE) onChange();
}

void WinScrollBar::Init(int16_t min, int16_t max, int16_t value) {
    min_ = min;
    max_ = max;
    SetScrollRange(hwnd, SB_CTL, 0, Range(), FALSE);
    SetScrollPos(hwnd, SB_CTL, (value - min_) * Step(), TRUE);
}

int16_t WinScrollBar::Value() const {
    return static_cast<int16_t>(min_ + GetScrollPos(hwnd, SB_CTL) * Step());
}

void WinScrollBar::SetValue(int16_t value) {
    int pos = (value - min_) * Step();
    if (pos < 0) pos = 0;
    if (pos > Range()) pos = Range();
    if (pos == GetScrollPos(hwnd, SB_CTL)) return;  // only a real change is reported
    SetScrollPos(hwnd, SB_CTL, pos, TRUE);
    onChange();
}

void WinScrollBar::OnScroll(int code, int trackPos) {
    int pos = GetScrollPos(hwnd, SB_CTL);
    switch (code) {
    case SB_LINEUP:
    case SB_PAGEUP: --pos; break;  // small and large change are both 1
    case SB_LINEDOWN:
    case SB_PAGEDOWN: ++pos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = Range(); break;
    case SB_THUMBPOSITION: pos = trackPos; break;
    default: return;
    }
    SetValue(static_cast<int16_t>(min_ + pos * Step()));
}

std::u16string WinComboBox::Text() const {
    const LRESULT index = SendMessageA(hwnd, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return {};
    const LRESULT n = SendMessageA(hwnd, CB_GETLBTEXTLEN, index, 0);
    std::string ansi(static_cast<size_t>(n) + 1, '\0');
    SendMessageA(hwnd, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(ansi.data()));
    ansi.resize(static_cast<size_t>(n));
    return FromAnsi(ansi);
}

void WinComboBox::SetListIndex(int index) { SendMessageA(hwnd, CB_SETCURSEL, index, 0); }

void WinComboBox::AddItem(std::u16string_view item) {
    SendMessageA(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToAnsi(item).c_str()));
}

int WinCheckBox::Value() const { return SendMessageA(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; }

void WinCheckBox::OnCommand(int code) {
    if (code == BN_CLICKED) onClick();
}

bool WinOption::Value() const { return SendMessageA(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void WinOption::OnCommand(int code) {
    if (code == BN_CLICKED) onClick();
}

void WinButton::OnCommand(int code) {
    if (code == BN_CLICKED) onClick();
}

void WinTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled) SetTimer(owner_, id_, interval_, nullptr);
    else KillTimer(owner_, id_);
}

void WinLinkLabel::SetUnderline(bool underline) {
    if (underline == underline_) return;
    underline_ = underline;
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(underline ? underlined_ : plain_), TRUE);
}

HWND TopLevel(HWND h) {
    while (GetWindowLongA(h, GWL_STYLE) & WS_CHILD) h = GetParent(h);
    return h;
}

namespace {

const char kOriginalProc[] = "DuskletProc";

LRESULT CALLBACK ContainerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORLISTBOX:
        return SendMessageA(TopLevel(h), msg, wp, lp);
    case WM_ERASEBKGND: {
        // Group boxes and statics leave their inside to the parent, which
        // clips its children; paint the face colour here.
        RECT r;
        GetClientRect(h, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    }
    return CallOriginalProc(h, msg, wp, lp);
}

}  // namespace

void Subclass(HWND h, WNDPROC proc) {
    const LONG_PTR original = SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    SetPropA(h, kOriginalProc, reinterpret_cast<HANDLE>(original));
}

LRESULT CallOriginalProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropA(h, kOriginalProc));
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(h, kOriginalProc);
    }
    return CallWindowProcA(original, h, msg, wp, lp);
}

void ForwardNotifications(HWND container) { Subclass(container, ContainerProc); }

}  // namespace dusklet::win
