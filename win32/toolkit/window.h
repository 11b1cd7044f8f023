// A top-level window object: the window's procedure finds its object, which
// the window carries from WM_NCCREATE to WM_NCDESTROY, and hands it every
// message. The main and About windows are built on it.
#pragma once
#include <windows.h>

#include <string_view>

namespace dusklet::win {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }
    // Destroys the window now; nothing happens when it is gone already.
    void Destroy();

protected:
    // A window's icons, where it has any, are given with WM_SETICON.
    struct Class {
        const char* name;
        HBRUSH background;
    };
    // Creates the window centred on the screen with a client area of the
    // given size in pixels, registering its class on first use. False when
    // the class cannot be registered or the window cannot be created.
    bool Create(HINSTANCE instance, const Class& cls, std::u16string_view title, DWORD style, DWORD exStyle,
                SIZE client, HWND owner);
    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// White text on black for a static control (answer to WM_CTLCOLORSTATIC).
LRESULT WhiteOnBlack(WPARAM dc);

}  // namespace dusklet::win
