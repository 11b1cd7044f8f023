// The warning panel on Win32: a small window in the bottom-right corner of
// the work area, on top of the others, that shows the countdown and offers
// to postpone or cancel, and never takes the keyboard focus or the
// foreground: a user typing in another program goes on typing there.
#pragma once
#include <windows.h>

#include <array>

#include "app/frmWarning_layout.h"
#include "win32/toolkit/win_controls.h"
#include "win32/toolkit/window.h"

namespace dusklet::win {

class WarningPanel : public Window {
public:
    // The button clicked reaches `listener` as `message`, with the
    // control's id (warning::cmdPostpone, warning::cmdCancel) in wParam:
    // posted, so that the panel may be closed in answer. The panel shows
    // the listener's small icon.
    WarningPanel(HINSTANCE instance, HWND owner, HWND listener, UINT message, int dpiX, int dpiY);
    ~WarningPanel() override;

    // Makes the window with this text below this title and shows it without
    // activating it; false when it could not be made.
    bool Open(std::u16string_view text, std::u16string_view title);
    // The countdown, in the panel and in its name for screen readers; and
    // the panel back on top of every window, where a newer topmost window
    // (a game or a film going full screen) may have covered it.
    void SetText(std::u16string_view text);
    // Puts it in the corner of the work area as it is now (after the
    // taskbar has moved, say), on top.
    void Place();
    // Screen readers announce it (98, 2000 and later).
    void Alert();

private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void Paint();
    int Px(int twips) const { return TwipsToPixels(twips, dpiX_); }

    HINSTANCE instance_;
    HWND owner_, listener_;
    UINT message_;
    int dpiX_, dpiY_;
    WinControlSet<kWarningLayout> controls_;
};

}  // namespace dusklet::win
