// The About window on Win32: black, modal, closed by Esc or a click.
#pragma once
#include <windows.h>

#include <memory>

#include "about/frmAbout.h"
#include "win32/toolkit/handles.h"
#include "win32/toolkit/win_controls.h"
#include "win32/toolkit/window.h"

namespace dusklet::win {

class AboutWindow : public Window, public AboutHost {
public:
    // `closing`: the message the owner is sent as the window goes, to take
    // input again unless something else still holds it.
    AboutWindow(HINSTANCE instance, HWND owner, UINT closing, int dpiX, int dpiY);
    ~AboutWindow() override;

    // Creates the window from its layout, runs Form_Load and shows it
    // centred; false when it could not be made.
    bool Open();
    bool IsOpen() const { return hwnd() != nullptr; }
    // Open and not on its way out: its owner must take no input meanwhile.
    bool Modal() const { return IsOpen() && !closing_; }
    bool Owns(HWND h) const { return hwnd() && (h == hwnd() || IsChild(hwnd(), h)); }
    // Key preview: the window sees every typed character first.
    void PreviewChar(int16_t& code) { form_->Form_KeyPress(code); }

    // AboutHost
    void Unload() override;
    void ShellExecuteA(std::u16string_view verb, std::u16string_view file, std::u16string_view directory,
                       int32_t showCommand) override;

private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void AddLinkTooltip(HWND link);

    HINSTANCE instance_;
    HWND owner_;
    UINT closing_message_;
    int dpiX_, dpiY_;
    WinControlSet<kAboutLayout> controls_;
    std::array<Control*, about::kControlCount> models_{};
    UniqueBitmap banner_;
    bool closing_ = false;
    std::unique_ptr<frmAbout> form_;
};

}  // namespace dusklet::win
