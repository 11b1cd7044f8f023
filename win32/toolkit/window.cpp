#include "win32/toolkit/window.h"

#include "win32/toolkit/text.h"

namespace dusklet::win {

Window::~Window() { Destroy(); }

void Window::Destroy() {
    if (hwnd_) DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
}

bool Window::Create(HINSTANCE instance, const Class& cls, std::u16string_view title, DWORD style, DWORD exStyle,
                    SIZE client, HWND owner) {
    WNDCLASSA wc = {};
    if (!GetClassInfoA(instance, cls.name, &wc)) {
        wc.lpfnWndProc = Proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = cls.background;
        wc.lpszClassName = cls.name;
        if (!RegisterClass16(wc)) return false;
    }
    RECT r = {0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const int w = r.right - r.left, h = r.bottom - r.top;
    CreateWindow16(exStyle, cls.name, title, style, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                   (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, owner, nullptr, instance, this);
    return hwnd_ != nullptr;
}

LRESULT Window::OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProc16(hwnd_, msg, wp, lp); }

LRESULT CALLBACK Window::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        // lpCreateParams opens CREATESTRUCTA and CREATESTRUCTW alike.
        auto* created = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        created->hwnd_ = h;
        SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(h, GWLP_USERDATA));
    if (!self) return DefWindowProc16(h, msg, wp, lp);
    const LRESULT result = self->OnMessage(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(h, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

LRESULT WhiteOnBlack(WPARAM dc) {
    SetTextColor(reinterpret_cast<HDC>(dc), RGB(255, 255, 255));
    SetBkColor(reinterpret_cast<HDC>(dc), RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
}

}  // namespace dusklet::win
