#include "win32/toolkit/win_controls.h"

#include <string>

#include "win32/toolkit/text.h"
#include "win32/toolkit/trace.h"

namespace dusklet::win {

// ---- Every control ------------------------------------------------------------

namespace {

// The window class and styles of each kind of control, by ControlKind. The
// class's name is held in the record: a pointer would cost a relocation.
struct WindowStyle {
    char cls[10];
    DWORD style;
    DWORD exStyle;
    int16_t listTwips;  // room below the control for a dropped list
};
constexpr WindowStyle kStyles[] = {
    {"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT, 0},             // Frame
    {"STATIC", 0, WS_EX_CONTROLPARENT, 0},                       // Picture
    {"STATIC", SS_LEFT | SS_NOPREFIX, 0, 0},                     // Label
    {"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0, 0},         // TextLabel
    {"STATIC", SS_CENTER | SS_NOPREFIX | SS_NOTIFY, 0, 0},       // Link
    {"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0, 0},  // StatusStrip
    {"STATIC", SS_BITMAP | SS_NOTIFY, 0, 0},                     // Image: takes clicks, so that none falls through
    {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0, 2400},        // DropDownList
    {"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 0},               // TextBox
    {"SCROLLBAR", SBS_VERT, 0, 0},                               // SpinBar
    {"BUTTON", BS_AUTORADIOBUTTON, 0, 0},                        // Option
    {"BUTTON", BS_AUTOCHECKBOX, 0, 0},                           // Check
    {"BUTTON", BS_PUSHBUTTON, 0, 0},                             // Command
    {"BUTTON", BS_PUSHBUTTON, 0, 0},                             // Touch
    {"STATIC", SS_LEFT | SS_NOPREFIX, 0, 0},                     // Name
};
static_assert(std::size(kStyles) == static_cast<size_t>(ControlKind::Name) + 1, "a style for every kind");

}  // namespace

bool WinControl::Create(const ControlLayout& row, HWND parent, const ControlContext& context) {
    const WindowStyle& s = kStyles[static_cast<size_t>(row.kind)];
    DWORD style = WS_CHILD | WS_VISIBLE | s.style;
    if (!row.enabled) style |= WS_DISABLED;
    // The keyboard's stops and groups as the table gives them, so that the
    // dialog manager's arrow keys move within an option group only.
    if (TabStop(row)) style |= WS_TABSTOP;
    if (StartsGroup(context.rows, row.id)) style |= WS_GROUP;
    const UINT controlId = static_cast<UINT>(ControlWindowId(row.id));
    hwnd = CreateWindow16(s.exStyle, s.cls, row.text, style, TwipsToPixels(row.rect.left, context.dpiX),
                          TwipsToPixels(row.rect.top, context.dpiY), TwipsToPixels(row.rect.width, context.dpiX),
                          TwipsToPixels(row.rect.height + s.listTwips, context.dpiY), parent,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)), context.instance, nullptr);
    if (!hwnd) return false;
    id = row.id;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(context.font), FALSE);
    Init(row, context);
    return true;
}

WinControl* WinControl::From(HWND h) {
    return h ? reinterpret_cast<WinControl*>(GetWindowLongPtrA(h, GWLP_USERDATA)) : nullptr;
}

bool ToControl(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_COMMAND && msg != WM_VSCROLL) return false;
    if (WinControl* control = WinControl::From(reinterpret_cast<HWND>(lp))) {
        if (msg == WM_COMMAND) control->OnCommand(HIWORD(wp));
        else control->OnScroll(LOWORD(wp), static_cast<int16_t>(HIWORD(wp)));
    }
    return true;
}

HWND TopLevel(HWND h) {
    while (GetWindowLongA(h, GWL_STYLE) & WS_CHILD) h = GetParent(h);
    return h;
}

namespace {

template <class Base> class Windowed : public Base, public WinControl {
public:
    bool Enabled() const override { return IsWindowEnabled(hwnd) != 0; }
    void SetEnabled(bool enabled) override { EnableWindow(hwnd, enabled); }
    void SetVisible(bool visible) override { ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE); }
    Control& Model() override { return *this; }
};

// Replaces a window's procedure; the new one ends with CallOriginalProc.
const char kOriginalProc[] = "DuskletProc";

void Subclass(HWND h, WNDPROC proc) {
    const WNDPROC original = SetWindowProc16(h, proc);
    SetPropA(h, kOriginalProc, reinterpret_cast<HANDLE>(original));
}

LRESULT CallOriginalProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropA(h, kOriginalProc));
    if (msg == WM_NCDESTROY) {
        SetWindowProc16(h, original);
        RemovePropA(h, kOriginalProc);
    }
    return CallWindowProc16(original, h, msg, wp, lp);
}

// ---- Containers: the frame (a group box) and the picture box -----------------

LRESULT CALLBACK ContainerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORLISTBOX: return SendMessageA(TopLevel(h), msg, wp, lp);
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

class WinContainer : public Windowed<Container> {
    void Init(const ControlLayout&, const ControlContext&) override { Subclass(hwnd, ContainerProc); }
};

// ---- Labels: sized to their text, the status strip, the About text --------------

class WinLabel : public Windowed<Label> {
public:
    void SetCaption(std::u16string_view caption) override { SetWindowText16(hwnd, caption); }
    void OnCommand(int code) override {
        if (code == STN_CLICKED) onClick();
    }

private:
    void Init(const ControlLayout& row, const ControlContext& context) override {
        if (row.kind != ControlKind::Label) return;
        // Sized to its text in the window's font.
        const WindowDC dc(hwnd);
        if (!dc) return;  // it keeps its table size
        const Selected font(dc.get(), context.font);
        const SIZE size = TextExtent16(dc.get(), row.text);
        SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
};

class WinImage : public Windowed<Image> {
    // Takes clicks so that they do not fall through to the window behind it.
};

// ---- Drop-down lists ----------------------------------------------------------------

class WinComboBox : public Windowed<ComboBox> {
public:
    std::u16string Text() const override {
        const LRESULT index = SendMessageA(hwnd, CB_GETCURSEL, 0, 0);
        return index == CB_ERR ? std::u16string() : ListItemText16(hwnd, static_cast<int>(index));
    }
    int32_t ItemData() const override {
        const LRESULT index = SendMessageA(hwnd, CB_GETCURSEL, 0, 0);
        if (index == CB_ERR) return kNone;
        const LRESULT data = SendMessageA(hwnd, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
        return data == CB_ERR ? kNone : static_cast<int32_t>(data);
    }
    void SetListIndex(int index) override { SendMessageA(hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
    bool ChooseData(int32_t data) override {
        const auto count = static_cast<int>(SendMessageA(hwnd, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            if (SendMessageA(hwnd, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) != data) continue;
            SetListIndex(i);
            return true;
        }
        return false;
    }
    void AddItem(std::u16string_view item, int32_t data) override { AddListItem16(hwnd, item, data); }
    void Clear() override { SendMessageA(hwnd, CB_RESETCONTENT, 0, 0); }
    void SetFocus() override { ::SetFocus(hwnd); }
    void OnCommand(int code) override {
        if (code == CBN_SELCHANGE) onChange();
        else if (code == CBN_DROPDOWN) onDropDown();
    }

private:
    void Init(const ControlLayout& row, const ControlContext&) override {
        for (const ListItem& item : row.items) AddItem(item.text, item.data);
    }
};

// ---- Text boxes ---------------------------------------------------------------------------

class WinTextBox : public Windowed<TextBox> {
public:
    std::u16string Text() const override { return WindowText(hwnd); }
    // EN_CHANGE arrives inside the write, so the change handler runs before
    // this returns.
    void Replace(std::u16string_view text) override {
        SetWindowText16(hwnd, text);
        // A rewrite while the user types leaves the caret at the end, not the start.
        if (GetFocus() == hwnd) SendMessageA(hwnd, EM_SETSEL, 0x7FFF, 0x7FFF);
    }
    bool Focused() const override { return GetFocus() == hwnd; }
    void OnCommand(int code) override {
        if (code == EN_CHANGE) onChange();
        else if (code == EN_KILLFOCUS) onLostFocus();
    }
    void OnKeyPress(int16_t& code) override { onKeyPress(code); }
    void OnKeyDown(int16_t& code) override { onKeyDown(code); }

private:
    void Init(const ControlLayout& row, const ControlContext&) override {
        SendMessageA(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(row.maxLength), 0);
    }
};

// ---- Spin bars ----------------------------------------------------------------------------

SpinMove MoveOf(int code) {
    switch (code) {
    case SB_LINEUP: return SpinMove::LineUp;
    case SB_LINEDOWN: return SpinMove::LineDown;
    case SB_PAGEUP: return SpinMove::PageUp;
    case SB_PAGEDOWN: return SpinMove::PageDown;
    case SB_TOP: return SpinMove::Top;
    case SB_BOTTOM: return SpinMove::Bottom;
    case SB_THUMBPOSITION: return SpinMove::Thumb;
    default: return SpinMove::Other;
    }
}

class WinScrollBar : public Windowed<ScrollBar> {
public:
    int16_t Min() const override { return range_.Min(); }
    int16_t Max() const override { return range_.Max(); }
    int16_t Value() const override { return range_.ValueAt(GetScrollPos(hwnd, SB_CTL)); }
    void SetValue(int16_t value) override { MoveTo(range_.PositionOf(value)); }
    void OnScroll(int code, int thumb) override {
        const int position = range_.PositionAfter(MoveOf(code), GetScrollPos(hwnd, SB_CTL), thumb);
        if (position >= 0) MoveTo(position);
    }

private:
    void MoveTo(int position) {
        if (position == GetScrollPos(hwnd, SB_CTL)) return;  // only a real change is reported
        SetScrollPos(hwnd, SB_CTL, position, TRUE);
        onChange();
    }
    void Init(const ControlLayout& row, const ControlContext&) override {
        range_ = SpinRange(row.min, row.max);
        SetScrollRange(hwnd, SB_CTL, 0, range_.Positions(), FALSE);
        SetScrollPos(hwnd, SB_CTL, range_.PositionOf(row.value), TRUE);
    }
    SpinRange range_{0, 0};
};

// ---- Buttons: option buttons, check boxes, the command button ---------------------

class WinCheckBox : public Windowed<CheckBox> {
public:
    int Value() const override { return SendMessageA(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; }
    void SetValue(int value) override { SendMessageA(hwnd, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0); }
    void OnCommand(int code) override {
        if (code == BN_CLICKED) onClick();
    }

private:
    void Init(const ControlLayout& row, const ControlContext&) override {
        if (row.checked) SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
    }
};

class WinOption : public Windowed<OptionButton> {
public:
    bool Value() const override { return SendMessageA(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetValue(bool value) override { SendMessageA(hwnd, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0); }
    void OnCommand(int code) override {
        if (code == BN_CLICKED) onClick();
    }

private:
    void Init(const ControlLayout& row, const ControlContext&) override {
        if (row.checked) SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
    }
};

class WinButton : public Windowed<Button> {
public:
    void SetCaption(std::u16string_view caption) override { SetWindowText16(hwnd, caption); }
    void SetFocus() override { ::SetFocus(hwnd); }
    void OnCommand(int code) override {
        if (code == BN_CLICKED) onClick();
    }

private:
};

// ---- Buttons that never take the focus ----------------------------------------------------
// A push button takes the keyboard focus when pressed, and with it activates
// its window. One that must leave the focus where the user is typing (in
// another program) is pressed and clicked here instead, by the mouse alone.

LRESULT CALLBACK TouchProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    const auto inside = [&] {
        RECT r;
        GetClientRect(h, &r);
        const POINT p = {static_cast<int16_t>(LOWORD(lp)), static_cast<int16_t>(HIWORD(lp))};
        return PtInRect(&r, p) != 0;
    };
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetCapture(h);
        SendMessageA(h, BM_SETSTATE, TRUE, 0);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == h) SendMessageA(h, BM_SETSTATE, inside(), 0);
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() != h) return 0;
        ReleaseCapture();  // WM_CAPTURECHANGED lets the button up
        if (inside()) {
            const auto id = static_cast<UINT>(GetDlgCtrlID(h));
            SendMessageA(GetParent(h), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(h));
        }
        return 0;
    case WM_CAPTURECHANGED: SendMessageA(h, BM_SETSTATE, FALSE, 0); return 0;
    }
    return CallOriginalProc(h, msg, wp, lp);
}

class WinTouch : public WinButton {
    void Init(const ControlLayout&, const ControlContext&) override { Subclass(hwnd, TouchProc); }
};

// ---- The mail link ----------------------------------------------------------------------

LRESULT CALLBACK LinkProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEMOVE) {
        if (auto* link = static_cast<WinLinkLabel*>(WinControl::From(h))) link->onMouseMove();
    }
    return CallOriginalProc(h, msg, wp, lp);
}

}  // namespace

void WinLinkLabel::Init(const ControlLayout&, const ControlContext&) { Subclass(hwnd, LinkProc); }

void WinLinkLabel::SetFonts(UniqueFont plain, UniqueFont underlined) {
    plain_ = std::move(plain);
    underlined_ = std::move(underlined);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(plain_.get()), FALSE);
}

void WinLinkLabel::SetCaption(std::u16string_view caption) { SetWindowText16(hwnd, caption); }

void WinLinkLabel::SetUnderline(bool underline) {
    if (underline == underline_) return;
    underline_ = underline;
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>((underline ? underlined_ : plain_).get()), TRUE);
}

void WinLinkLabel::OnCommand(int code) {
    if (code == STN_CLICKED) onClick();
}

// A timer the system would not set is not taken for running: the next call
// that asks for it tries again.
void WinTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    if (enabled && !SetTimer(owner_, id_, interval_, nullptr)) {
        Trace("tick: no timer");
        return;
    }
    if (!enabled) KillTimer(owner_, id_);
    enabled_ = enabled;
}

std::unique_ptr<WinControl> MakeControl(ControlKind kind) {
    switch (kind) {
    case ControlKind::Frame:
    case ControlKind::Picture: return std::make_unique<WinContainer>();
    case ControlKind::Label:
    case ControlKind::TextLabel:
    case ControlKind::Name:
    case ControlKind::StatusStrip: return std::make_unique<WinLabel>();
    case ControlKind::Link: return std::make_unique<WinLinkLabel>();
    case ControlKind::Image: return std::make_unique<WinImage>();
    case ControlKind::DropDownList: return std::make_unique<WinComboBox>();
    case ControlKind::TextBox: return std::make_unique<WinTextBox>();
    case ControlKind::SpinBar: return std::make_unique<WinScrollBar>();
    case ControlKind::Option: return std::make_unique<WinOption>();
    case ControlKind::Check: return std::make_unique<WinCheckBox>();
    case ControlKind::Command: return std::make_unique<WinButton>();
    case ControlKind::Touch: return std::make_unique<WinTouch>();
    }
    return nullptr;
}

}  // namespace dusklet::win
