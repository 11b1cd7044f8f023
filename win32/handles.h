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

using UniqueIcon = Unique<HICON>;
using UniqueMenu = Unique<HMENU>;
using UniqueFont = Unique<HFONT>;
using UniqueBitmap = Unique<HBITMAP>;
using UniqueWindow = Unique<HWND>;
using UniqueHandle = Unique<HANDLE>;

}  // namespace dusklet::win
