// The main window on Win32: creates the controls from the layout, delivers
// their notifications to frmMain, and serves frmMain as its host.
#pragma once
#include <windows.h>

#include <memory>

#include "app/frmMain.h"
#include "app/frmMain_layout.h"
#include "win32/about_window.h"
#include "win32/ansi.h"
#include "win32/system_win.h"
#include "win32/win_controls.h"

namespace dusklet::win {

class MainWindow : public MainHost {
public:
    MainWindow(HINSTANCE instance, bool anotherInstance);
    ~MainWindow() override;

    // Creates the hidden window and its controls, then runs start-up.
    // False when the program must end at once.
    bool Start();
    // Runs the message loop until the program ends.
    int Run();

    // MainHost
    uint32_t WindowHandle() override;
    uint32_t IconHandle() override;
    std::u16string ProgramFolder() override;
    void AttachSkin(std::u16string_view skinPath, std::u16string_view second) override;
    void InitCommonControls() override;
    bool AnotherInstanceRunning() override { return anotherInstance_; }
    void MsgBox(std::u16string_view text, std::u16string_view title, uint32_t style) override;
    float TwipsPerPixelX() override { return 1440.0f / static_cast<float>(dpiX_); }
    void Show() override;
    void Hide() override;
    void Unload() override;
    void SetForeground() override;
    PopupChoice PopupMenu() override;
    void ShowAboutModal() override;
    bool AboutShowing() override { return about_ && about_->IsOpen(); }
    void UnloadAbout() override;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    void CreateControls();
    void CreateControl(const ControlLayout& layout, HWND parent, WinControl& target);
    int Px(int twips, int dpi) const { return MulDiv(twips, dpi, 1440); }
    // Key preview, the digit filters and keyboard navigation, before the
    // message reaches its window. True when the message is consumed.
    bool PreTranslate(MSG& msg);
    void MoveFocus(bool backwards);
    bool CanTakeFocus(HWND h) const;
    bool IsMine(HWND h) const;

    HINSTANCE instance_;
    bool anotherInstance_;
    int dpiX_ = 96, dpiY_ = 96;
    HWND owner_ = nullptr;
    HWND hwnd_ = nullptr;
    HICON icon_ = nullptr;
    HMENU menu_ = nullptr;
    HBRUSH black_ = nullptr;
    UINT taskbarCreated_ = 0;
    HWND lastFocus_ = nullptr;  // the control to give the focus back to on activation

    WinContainer frame_, pic_;
    WinComboBox cmbAction_, cmbUnit_, cmbT_;
    WinLabel lbl_[2], lblStatus_;
    WinOption opt_[2];
    WinTextBox txtPeriod_, txtHour_, txtMin_, txtBlink_;
    WinScrollBar vsPeriod_, vsHour_, vsMin_, vsBlink_;
    WinCheckBox chkForce_, chkBlink_;
    WinButton cmdTimer_;
    WinTimer timer_;
    WinControl* controls_[kControlCount];

    WinAnsiCodec ansi_;
    WinClock clock_;
    WinDateTimeFormat dateFormat_;
    WinSystemApi system_;
    WinTrayShell tray_;
    std::unique_ptr<frmMain> form_;
    std::unique_ptr<AboutWindow> about_;
};

}  // namespace dusklet::win
