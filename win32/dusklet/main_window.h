// The main window on Win32: creates the controls from the layout, delivers
// their notifications to frmMain, and serves frmMain as its host.
#pragma once
#include <windows.h>

#include <array>
#include <memory>

#include "app/frmMain.h"
#include "app/frmMain_layout.h"
#include "ui/modal_count.h"
#include "win32/dusklet/about_window.h"
#include "win32/dusklet/single_instance.h"
#include "win32/dusklet/system_win.h"
#include "win32/dusklet/warning_panel.h"
#include "win32/dusklet/watch_win.h"
#include "win32/toolkit/handle_waits.h"
#include "win32/toolkit/handles.h"
#include "win32/toolkit/win_controls.h"
#include "win32/toolkit/window.h"

namespace dusklet::win {

class MainWindow : public Window, public MainHost {
public:
    // `command`: this copy's own command line, applied once the window is made.
    MainWindow(HINSTANCE instance, SingleInstance& single, const Command& command);
    ~MainWindow() override;

    enum class Start { Running, Ended, Failed };
    // Creates the window and its controls, runs start-up, applies the
    // command line and shows the window (unless the command line arms
    // without /show). Ended when another copy runs; Failed when a window
    // could not be made.
    Start Open();
    // Runs the message loop until the program ends.
    int Run();

    // MainHost
    uint32_t WindowHandle() override;
    uint32_t IconHandle() override;
    std::u16string ProgramFolder() override;
    void AttachSkin(std::u16string_view skinPath, std::u16string_view second) override;
    void InitCommonControls() override;
    bool AnotherInstanceRunning() override { return single_.Another(); }
    void ShowRunningCopy() override;
    void RetryTrayIcon() override;
    void MsgBox(std::u16string_view text, std::u16string_view title, uint32_t style) override;
    void Warn(std::u16string_view text) override;
    void Later(MainEvent event) override;
    void Show() override;
    void Hide() override;
    bool Visible() override { return IsWindowVisible(hwnd()) != 0; }
    void Unload() override;
    void SetForeground() override;
    void BringForward() override;
    PopupChoice PopupMenu(bool armed) override;
    void ShowPanel(std::u16string_view text, std::u16string_view title) override;
    void SetPanelText(std::u16string_view text) override;
    void PlacePanel() override;
    void ClosePanel() override;
    void AlertPanel() override;
    void Beep() override;
    bool NotificationsHeldBack() override { return win::NotificationsHeldBack(); }
    void ShowAboutModal() override;
    bool AboutShowing() override { return about_ && about_->IsOpen(); }
    void UnloadAbout() override;

private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool MakeMenu();
    // The icons at the sizes the system asks for now, loaded where those have
    // changed since the last time (another DPI, other icon sizes) and given to
    // the window; frmMain hears of a new one.
    void LoadIcons();
    // Key preview, the digit filters and keyboard navigation, before the
    // message reaches its window. True when the message is consumed.
    bool PreTranslate(MSG& msg);
    // The row of the main window's control that has the focus, or -1.
    int FocusedControl() const;
    void Focus(int id);
    // A window that holds this one modal (About, a message box) opens or closes.
    void BeginModal();
    void EndModal();

    HINSTANCE instance_;
    SingleInstance& single_;
    const Command& command_;
    int dpiX_ = 96, dpiY_ = 96;
    // The program's icon at the system's sizes: the small one (LIM_SMALL) in
    // the tray and the caption, the large one for task switching. A small
    // one that the tray record may still name is kept as `formerIcon_` until
    // frmMain takes the current one (IconHandle).
    UniqueIcon icons_[2], formerIcon_;
    std::array<int, 4> iconSizes_{};  // small and big, width and height, as loaded
    UniqueMenu menu_;
    UniqueWindow owner_;
    UINT taskbarCreated_ = 0;
    int lastFocus_ = -1;      // the control to give the focus back to on activation
    std::u16string warning_;  // a warning waiting to be shown
    bool onTrial_ = false;    // started to take a command line over: stays only if it arms
    bool leaving_ = false;    // ends once its warning has been shown
    ModalCount modal_;

    HandleWaits waits_;  // before what waits on it
    WinControlSet<kMainLayout> controls_;
    std::array<Control*, ctl::kControlCount> models_{};
    WinTimer timer_;
    WinClock clock_;
    WinTimeZone zone_;
    WinDateTimeFormat dateFormat_;
    WinSystemApi system_;
    WinTrayShell tray_;
    WinDeadline deadline_;
    WinWatch watch_;
    std::unique_ptr<frmMain> form_;
    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<WarningPanel> panel_;
};

}  // namespace dusklet::win
