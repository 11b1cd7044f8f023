// What the main window needs from its window and the platform beyond its
// controls: the services of the window itself and of the running system.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "app/frmMain_layout.h"
#include "app/main_event.h"

namespace dusklet {

enum class UnloadDecision { Close, StayHidden };

class MainHost {
public:
    virtual ~MainHost() = default;
    virtual uint32_t WindowHandle() = 0;
    // The icon for the tray record, at the system's small size. It may change
    // (MainEvent IconChanged); the one an earlier call returned may be
    // destroyed once this is called again, so the record holds only the
    // last one returned.
    virtual uint32_t IconHandle() = 0;
    // Folder of the program's executable, without a trailing separator.
    virtual std::u16string ProgramFolder() = 0;
    virtual void AttachSkin(std::u16string_view skinPath, std::u16string_view second) = 0;
    virtual void InitCommonControls() = 0;
    virtual bool AnotherInstanceRunning() = 0;
    // The copy that runs shows its window in front of the others.
    virtual void ShowRunningCopy() = 0;
    // The shell refused the tray icon: the event TrayIconLost comes in a few
    // seconds, to ask it again.
    virtual void RetryTrayIcon() = 0;
    virtual void MsgBox(std::u16string_view text, std::u16string_view title, uint32_t style) = 0;
    // Hands an event back to the window's own queue, to be handled once the
    // handler that is in progress has returned.
    virtual void Later(MainEvent event) = 0;
    // A warning the user must see: a message box owned by the main window,
    // titled with the program's name, once the handler that asks has returned.
    virtual void Warn(std::u16string_view text) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool Visible() = 0;
    // Asks the window to unload: the window calls Form_Unload and closes
    // unless that cancels.
    virtual void Unload() = 0;
    virtual void SetForeground() = 0;
    // The window to the front, or the window that holds it modal (About, a
    // message box) where one is open.
    virtual void BringForward() = 0;
    // Opens the popup menu at the pointer and returns the item chosen; its
    // postpone item can be chosen only while armed.
    virtual PopupChoice PopupMenu(bool armed) = 0;
    // The warning panel: shown, without taking the focus, in the corner of
    // the work area with this text below this title (the program's name, or
    // what ends the warning); its text rewritten; closed, it is gone. Its buttons come back as the
    // events Postpone and Cancel.
    virtual void ShowPanel(std::u16string_view text, std::u16string_view title) = 0;
    virtual void SetPanelText(std::u16string_view text) = 0;
    // Put in the corner of the work area as it is now (another taskbar).
    virtual void PlacePanel() = 0;
    virtual void ClosePanel() = 0;
    // Tells screen readers that the panel alerts the user (where the system
    // can: 98, 2000 and later).
    virtual void AlertPanel() = 0;
    // The system's warning sound, which the user can silence in the sound
    // settings.
    virtual void Beep() = 0;
    // Whether the shell holds notifications back now (a full-screen
    // program, a presentation, a busy state): balloons may go unseen.
    virtual bool NotificationsHeldBack() = 0;
    // The About window: shown modally (returns when closed), and closed from outside.
    virtual void ShowAboutModal() = 0;
    virtual bool AboutShowing() = 0;
    virtual void UnloadAbout() = 0;
};

}  // namespace dusklet
