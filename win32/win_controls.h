// The control model on real child windows. A control's window keeps a pointer
// to its object in GWLP_USERDATA; the containers pass their children's
// notifications up to the main window, which hands them to that object.
#pragma once
#include <windows.h>

#include <string>

#include "about/frmAbout.h"
#include "ui/controls.h"

namespace dusklet::win {

class WinControl {
public:
    virtual ~WinControl() = default;
    HWND hwnd = nullptr;
    void Attach(HWND h);
    static WinControl* From(HWND h);
    virtual void OnCommand(int) {}
    virtual void OnScroll(int, int) {}
    virtual void OnKeyPress(int16_t&) {}
};

template <class Base>
class Windowed : public Base, public WinControl {
public:
    bool Enabled() const override { return IsWindowEnabled(hwnd) != 0; }
    void SetEnabled(bool enabled) override { EnableWindow(hwnd, enabled); }
};

std::u16string WindowText(HWND h);
void SetWindowText16(HWND h, std::u16string_view text);

class WinTextBox : public Windowed<TextBox> {
public:
    std::u16string Text() const override { return WindowText(hwnd); }
    // EN_CHANGE arrives inside the write, so the change handler runs before this returns.
    void SetText(std::u16string_view text) override;
    void OnCommand(int code) override;
    void OnKeyPress(int16_t& code) override { onKeyPress(code); }
};

// A vertical scroll bar whose Min sits at the top end: the window's position
// counts from the top, so the value is Min - position when Min > Max.
class WinScrollBar : public Windowed<ScrollBar> {
public:
    void Init(int16_t min, int16_t max, int16_t value);
    int16_t Min() const override { return min_; }
    int16_t Max() const override { return max_; }
    int16_t Value() const override;
    void SetValue(int16_t value) override;
    void OnScroll(int code, int trackPos) override;

private:
    int Step() const { return max_ >= min_ ? 1 : -1; }
    int Range() const { return (max_ - min_) * Step(); }
    int16_t min_ = 0, max_ = 0;
};

class WinComboBox : public Windowed<ComboBox> {
public:
    std::u16string Text() const override;
    void SetListIndex(int index) override;
    void AddItem(std::u16string_view item) override;
};

class WinCheckBox : public Windowed<CheckBox> {
public:
    int Value() const override;
    void OnCommand(int code) override;
};

class WinOption : public Windowed<OptionButton> {
public:
    bool Value() const override;
    void OnCommand(int code) override;
};

class WinLabel : public Windowed<Label> {
public:
    // The status strip is written twice a second but changes once: an
    // unchanged caption is not written again, which spares a repaint.
    void SetCaption(std::u16string_view caption) override;
};

class WinButton : public Windowed<Button> {
public:
    void SetCaption(std::u16string_view caption) override { SetWindowText16(hwnd, caption); }
    void OnCommand(int code) override;
};

class WinContainer : public Windowed<Container> {};

class WinTimer : public Timer {
public:
    WinTimer(HWND& owner, UINT id, UINT interval) : owner_(owner), id_(id), interval_(interval) {}
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override;
    UINT Id() const { return id_; }

private:
    HWND& owner_;
    UINT id_, interval_;
    bool enabled_ = false;
};

// The mail link: a label whose font is switched between plain and underlined.
class WinLinkLabel : public Windowed<LinkLabel> {
public:
    void SetFonts(HFONT plain, HFONT underlined) { plain_ = plain; underlined_ = underlined; }
    void SetCaption(std::u16string_view caption) override { SetWindowText16(hwnd, caption); }
    void SetUnderline(bool underline) override;

private:
    HFONT plain_ = nullptr, underlined_ = nullptr;
    bool underline_ = false;
};

// The top-level window that holds a control.
HWND TopLevel(HWND h);

// Replaces a window's procedure; the new one ends with CallOriginalProc.
void Subclass(HWND h, WNDPROC proc);
LRESULT CallOriginalProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

// Passes the notifications a container receives from its children on to
// the top-level window, so all handlers see them in one place.
void ForwardNotifications(HWND container);

}  // namespace dusklet::win
