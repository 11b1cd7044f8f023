// Owning handles: each handle the program creates has one owner, which
// releases it with the system call that fits its type.
#pragma once
#include <windows.h>

#include <utility>

namespace dusklet::win {

inline void Release(HICON h) { DestroyIcon(h); }
inline void Release(HMENU h) { DestroyMenu(h); }
inline void Release(HFONT h) { DeleteObject(h); }
inline void Release(HBITMAP h) { DeleteObject(h); }
inline void Release(HWND h) { DestroyWindow(h); }
inline void Release(HANDLE h) { CloseHandle(h); }

template <class H> class Unique {
public:
    Unique() = default;
    explicit Unique(H h) : h_(h) {}
    Unique(Unique&& other) noexcept : h_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    H release() { return std::exchange(h_, nullptr); }
    void reset(H h = nullptr) {
        if (h_) Release(h_);
        h_ = h;
    }

private:
    H h_ = nullptr;
};

// A window's device context (the screen's, for no window), released on
// leaving the scope that took it.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// A GDI object selected into a device context; the one it replaced goes
// back on leaving the scope.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    ~Selected() {
        if (old_) SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A view of a file mapping, unmapped on leaving the scope.
class MappedView {
public:
    explicit MappedView(void* view) : view_(view) {}
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;
    ~MappedView() { reset(); }
    void* get() const { return view_; }
    void reset() {
        if (view_) UnmapViewOfFile(std::exchange(view_, nullptr));
    }

private:
    void* view_;
};

using UniqueIcon = Unique<HICON>;
using UniqueMenu = Unique<HMENU>;
using UniqueFont = Unique<HFONT>;
using UniqueBitmap = Unique<HBITMAP>;
using UniqueWindow = Unique<HWND>;
using UniqueHandle = Unique<HANDLE>;

}  // namespace dusklet::win
