// The About window on Win32: black, modal, closed by Esc or a click.
#pragma once
#include <windows.h>

#include "about/frmAbout.h"
#include "win32/win_controls.h"

namespace dusklet::win {

class AboutWindow : public AboutHost {
public:
    AboutWindow(HINSTANCE instance, HWND owner, int dpiX, int dpiY);
    ~AboutWindow() override;

    // Creates the window, runs Form_Load and shows it centred.
    void Open();
    bool IsOpen() const { return hwnd_ != nullptr; }
    bool Owns(HWND h) const { return hwnd_ && (h == hwnd_ || IsChild(hwnd_, h)); }
    // Key preview: the window sees every typed character first.
    void PreviewChar(int16_t& code) { form_.Form_KeyPress(code); }

    // AboutHost
    void Unload() override;
    void ShellExecuteA(std::u16string_view verb, std::u16string_view file,
                      std::u16string_view directory, int32_t showCommand) override;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK LinkProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    HWND Child(const char* cls, DWORD style, int left, int top, int width, int height);

    HINSTANCE instance_;
    HWND owner_;
    int dpiX_, dpiY_;
    HWND hwnd_ = nullptr;
    HWND image_ = nullptr;
    HWND tooltip_ = nullptr;
    HBRUSH black_;
    HFONT plain_ = nullptr, underlined_ = nullptr;
    HBITMAP banner_ = nullptr;
    WinLabel lblME_;
    WinLinkLabel lblEMail_;
    frmAbout form_;
};

}  // namespace dusklet::win
