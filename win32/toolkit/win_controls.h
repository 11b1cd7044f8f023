// The control model on real child windows. Each control object makes its own
// window from its row of a window's table and keeps a pointer to itself in
// the window (GWLP_USERDATA); containers pass their children's notifications
// up to the top-level window, which hands each to the control it came from.
#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <span>
#include <string>

#include "ui/layout.h"
#include "ui/spin_range.h"
#include "win32/toolkit/handles.h"

namespace dusklet::win {

// What making a control needs to know beyond its own row.
struct ControlContext {
    HINSTANCE instance;
    int dpiX, dpiY;
    HFONT font;
    std::span<const ControlLayout> rows;  // the whole table the row belongs to
};

class WinControl {
public:
    virtual ~WinControl() = default;
    HWND hwnd = nullptr;
    int id = -1;  // the control's row in its window's table

    // Makes the control's window from its row; false when it cannot be made.
    bool Create(const ControlLayout& row, HWND parent, const ControlContext& context);
    static WinControl* From(HWND h);

    virtual Control& Model() = 0;
    virtual void OnCommand(int) {}
    virtual void OnScroll(int, int) {}
    virtual void OnKeyPress(int16_t&) {}
    virtual void OnKeyDown(int16_t&) {}

protected:
    virtual void Init(const ControlLayout&, const ControlContext&) {}
};

// A control of the kind a table row names.
std::unique_ptr<WinControl> MakeControl(ControlKind kind);

// The controls of one window, made from its table.
template <const auto& Rows> class WinControlSet {
public:
    static constexpr size_t kCount = std::size(Rows);

    // Makes every control on `window`, containers before what they hold.
    bool Create(HWND window, const ControlContext& context) {
        for (const ControlLayout& row : Rows) {
            auto& slot = owned_[static_cast<size_t>(row.id)];
            slot = MakeControl(row.kind);
            const HWND parent = row.parent == kOnWindow ? window : owned_[static_cast<size_t>(row.parent)]->hwnd;
            if (!slot->Create(row, parent, context)) return false;
        }
        return true;
    }
    std::array<Control*, kCount> Models() const {
        std::array<Control*, kCount> all;
        for (size_t i = 0; i < kCount; ++i) all[i] = &owned_[i]->Model();
        return all;
    }
    WinControl& operator[](int id) const { return *owned_[static_cast<size_t>(id)]; }

private:
    std::array<std::unique_ptr<WinControl>, kCount> owned_;
};

// The mail link: a label whose font is switched between plain and underlined.
// It owns both fonts.
class WinLinkLabel : public LinkLabel, public WinControl {
public:
    void SetFonts(UniqueFont plain, UniqueFont underlined);
    bool Enabled() const override { return IsWindowEnabled(hwnd) != 0; }
    void SetEnabled(bool enabled) override { EnableWindow(hwnd, enabled); }
    void SetVisible(bool visible) override { ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE); }
    Control& Model() override { return *this; }
    void SetCaption(std::u16string_view caption) override;
    void SetUnderline(bool underline) override;
    void OnCommand(int code) override;

protected:
    void Init(const ControlLayout&, const ControlContext&) override;

private:
    UniqueFont plain_, underlined_;
    bool underline_ = false;
};

// A window timer on a window of the program's.
class WinTimer : public Timer {
public:
    WinTimer(UINT id, UINT interval) : id_(id), interval_(interval) {}
    void Attach(HWND owner) { owner_ = owner; }
    void SetEnabled(bool enabled) override;
    UINT Id() const { return id_; }

private:
    HWND owner_ = nullptr;
    UINT id_, interval_;
    bool enabled_ = false;
};

// Hands a control's notification (WM_COMMAND, WM_VSCROLL) that reached its
// top-level window to the control's object; false for any other message.
bool ToControl(UINT msg, WPARAM wp, LPARAM lp);

// The top-level window that holds a control.
HWND TopLevel(HWND h);

}  // namespace dusklet::win
