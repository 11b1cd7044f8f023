#include "win32/toolkit/text.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>

#include "win32/toolkit/ansi.h"
#include "win32/toolkit/system_library.h"

namespace dusklet::win {
namespace {

// The wide functions, resolved at start-up rather than imported: Windows 95
// loads only programs whose every import it exports.
#ifdef _WIN64
#define DUSKLET_WNDPROC_SETTER(X) X(user32, SetWindowLongPtrW)
#else
#define DUSKLET_WNDPROC_SETTER(X) X(user32, SetWindowLongW)
#endif
#define DUSKLET_WIDE_FUNCTIONS(X)   \
    X(user32, RegisterClassW)       \
    X(user32, CreateWindowExW)      \
    X(user32, DefWindowProcW)       \
    X(user32, CallWindowProcW)      \
    X(user32, GetMessageW)          \
    X(user32, PeekMessageW)         \
    X(user32, DispatchMessageW)     \
    X(user32, IsDialogMessageW)     \
    X(user32, SendMessageW)         \
    X(user32, GetWindowTextLengthW) \
    X(user32, GetWindowTextW)       \
    X(user32, SetWindowTextW)       \
    X(user32, MessageBoxW)          \
    X(user32, AppendMenuW)          \
    X(gdi32, CreateFontW)           \
    X(gdi32, GetTextExtentPoint32W) \
    X(kernel32, GetModuleFileNameW) \
    X(kernel32, GetCommandLineW)    \
    X(kernel32, CreateProcessW)     \
    X(kernel32, GetDateFormatW)     \
    X(kernel32, GetTimeFormatW)     \
    X(kernel32, FormatMessageW)     \
    DUSKLET_WNDPROC_SETTER(X)

struct WideFunctions {
#define DUSKLET_MEMBER(module, name) decltype(&::name) name = nullptr;
    DUSKLET_WIDE_FUNCTIONS(DUSKLET_MEMBER)
#undef DUSKLET_MEMBER
};

WideFunctions w;
bool wide = false;

const wchar_t* W(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// A text as the wide functions take it: NUL-terminated. One copy made out
// of line keeps every call site small.
class Z {
public:
    [[gnu::noinline]] explicit Z(std::u16string_view text) : text_(text) {}
    operator const wchar_t*() const { return W(text_); }

private:
    std::u16string text_;
};
std::u16string U(const wchar_t* text, size_t n) { return std::u16string(reinterpret_cast<const char16_t*>(text), n); }

// A class name (ASCII) in UTF-16.
std::u16string Widened(const char* ascii) {
    std::u16string out;
    for (; *ascii; ++ascii) out += static_cast<char16_t>(static_cast<unsigned char>(*ascii));
    return out;
}

}  // namespace

void ChooseTextPath() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info) || info.dwPlatformId != VER_PLATFORM_WIN32_NT) return;
    const HMODULE user32 = GetModuleHandleA("user32.dll"), gdi32 = GetModuleHandleA("gdi32.dll"),
                  kernel32 = GetModuleHandleA("kernel32.dll");
    WideFunctions found;
    bool all = true;
#define DUSKLET_RESOLVE(module, name)                                                                                 \
    found.name = module ? reinterpret_cast<decltype(&::name)>(reinterpret_cast<void*>(GetProcAddress(module, #name))) \
                        : nullptr;                                                                                    \
    all = all && found.name;
    DUSKLET_WIDE_FUNCTIONS(DUSKLET_RESOLVE)
#undef DUSKLET_RESOLVE
    // All or nothing: a window made on one path must be served by the same.
    if (!all) return;
    w = found;
    wide = true;
}

bool WideText() { return wide; }

bool RegisterClass16(const WNDCLASSA& cls) {
    if (!wide) return RegisterClassA(&cls) != 0;
    const std::u16string name = Widened(cls.lpszClassName);
    WNDCLASSW wc = {};
    wc.style = cls.style;
    wc.lpfnWndProc = cls.lpfnWndProc;
    wc.hInstance = cls.hInstance;
    wc.hIcon = cls.hIcon;
    wc.hCursor = cls.hCursor;
    wc.hbrBackground = cls.hbrBackground;
    wc.lpszClassName = W(name);
    return w.RegisterClassW(&wc) != 0;
}

HWND CreateWindow16(DWORD exStyle, const char* cls, std::u16string_view text, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menu, HINSTANCE instance, void* param) {
    if (!wide)
        return CreateWindowExA(exStyle, cls, ToAnsi(text).c_str(), style, x, y, width, height, parent, menu, instance,
                               param);
    return w.CreateWindowExW(exStyle, W(Widened(cls)), Z(text), style, x, y, width, height, parent, menu, instance,
                             param);
}

LRESULT DefWindowProc16(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return wide ? w.DefWindowProcW(h, msg, wp, lp) : DefWindowProcA(h, msg, wp, lp);
}

WNDPROC SetWindowProc16(HWND h, WNDPROC proc) {
    const auto value = reinterpret_cast<LONG_PTR>(proc);
#ifdef _WIN64
    const LONG_PTR old = wide ? w.SetWindowLongPtrW(h, GWLP_WNDPROC, value) : SetWindowLongPtrA(h, GWLP_WNDPROC, value);
#else
    const LONG_PTR old = wide ? w.SetWindowLongW(h, GWLP_WNDPROC, value) : SetWindowLongPtrA(h, GWLP_WNDPROC, value);
#endif
    return reinterpret_cast<WNDPROC>(old);
}

LRESULT CallWindowProc16(WNDPROC proc, HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return wide ? w.CallWindowProcW(proc, h, msg, wp, lp) : CallWindowProcA(proc, h, msg, wp, lp);
}

BOOL GetMessage16(MSG& msg) { return wide ? w.GetMessageW(&msg, nullptr, 0, 0) : GetMessageA(&msg, nullptr, 0, 0); }

bool PeekMessage16(MSG& msg) {
    return (wide ? w.PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) : PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) != 0;
}

void DispatchMessage16(const MSG& msg) {
    if (wide) w.DispatchMessageW(&msg);
    else DispatchMessageA(&msg);
}

bool IsDialogMessage16(HWND dialog, MSG& msg) {
    return (wide ? w.IsDialogMessageW(dialog, &msg) : IsDialogMessageA(dialog, &msg)) != 0;
}

int16_t CharCode(const MSG& msg) {
    return wide ? static_cast<int16_t>(static_cast<uint16_t>(msg.wParam))
                : static_cast<int16_t>(static_cast<uint8_t>(msg.wParam));
}

void SetCharCode(MSG& msg, int16_t code) {
    msg.wParam = wide ? static_cast<uint16_t>(code) : static_cast<uint8_t>(code);
}

std::u16string WindowText(HWND h) {
    if (wide) {
        const int n = w.GetWindowTextLengthW(h);
        std::u16string text(static_cast<size_t>(n) + 1, u'\0');
        const int got = w.GetWindowTextW(h, reinterpret_cast<wchar_t*>(text.data()), n + 1);
        text.resize(static_cast<size_t>(got > 0 ? got : 0));
        return text;
    }
    const int n = GetWindowTextLengthA(h);
    std::string ansi(static_cast<size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(h, ansi.data(), n + 1);
    ansi.resize(static_cast<size_t>(got > 0 ? got : 0));
    return FromAnsi(ansi);
}

void SetWindowText16(HWND h, std::u16string_view text) {
    // A caption fits a buffer on the stack: nothing allocated in a tick.
    if (wide) {
        wchar_t buffer[256];
        if (text.size() < std::size(buffer)) {
            for (size_t i = 0; i < text.size(); ++i) buffer[i] = static_cast<wchar_t>(text[i]);
            buffer[text.size()] = L'\0';
            w.SetWindowTextW(h, buffer);
        } else {
            w.SetWindowTextW(h, Z(text));
        }
        return;
    }
    char ansi[256];
    const int n = text.empty()
                      ? 0
                      : WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(text.data()),
                                            static_cast<int>(text.size()), ansi, sizeof ansi - 1, nullptr, nullptr);
    if (n > 0 || text.empty()) {
        ansi[n] = '\0';
        SetWindowTextA(h, ansi);
    } else {
        SetWindowTextA(h, ToAnsi(text).c_str());
    }
}

int MessageBox16(HWND owner, std::u16string_view text, std::u16string_view title, UINT style) {
    if (wide) return w.MessageBoxW(owner, Z(text), Z(title), style);
    return MessageBoxA(owner, ToAnsi(text).c_str(), ToAnsi(title).c_str(), style);
}

bool AppendMenu16(HMENU menu, UINT flags, UINT_PTR id, std::u16string_view text) {
    if (flags & MF_SEPARATOR) return AppendMenuA(menu, flags, id, nullptr) != 0;
    if (wide) return w.AppendMenuW(menu, flags, id, Z(text)) != 0;
    return AppendMenuA(menu, flags, id, ToAnsi(text).c_str()) != 0;
}

bool AddListItem16(HWND combo, std::u16string_view text, int32_t data) {
    const LRESULT index =
        wide ? w.SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<const wchar_t*>(Z(text))))
             : SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToAnsi(text).c_str()));
    if (index == CB_ERR || index == CB_ERRSPACE) return false;
    return SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), data) != CB_ERR;
}

std::u16string ListItemText16(HWND combo, int index) {
    const LRESULT n = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == CB_ERR) return {};
    if (wide) {
        std::u16string text(static_cast<size_t>(n) + 1, u'\0');
        const LRESULT got =
            w.SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
        return text;
    }
    std::string ansi(static_cast<size_t>(n) + 1, '\0');
    const LRESULT got =
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(ansi.data()));
    ansi.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
    return FromAnsi(ansi);
}

bool AddTool16(HWND tooltip, HWND owner, HWND tool, std::u16string_view text) {
    if (wide) {
        std::u16string tip(text);
        TOOLINFOW ti = {};
        ti.cbSize = TTTOOLINFOW_V1_SIZE;  // understood by every version of the common controls
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = owner;
        ti.uId = reinterpret_cast<UINT_PTR>(tool);
        ti.lpszText = reinterpret_cast<wchar_t*>(tip.data());
        return w.SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
    }
    std::string tip = ToAnsi(text);
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = owner;
    ti.uId = reinterpret_cast<UINT_PTR>(tool);
    ti.lpszText = tip.data();
    return SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

HFONT CreateFont16(int height, int weight, bool underline, BYTE charset, std::u16string_view face) {
    if (wide)
        return w.CreateFontW(height, 0, 0, 0, weight, FALSE, underline, FALSE, charset, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, Z(face));
    return CreateFontA(height, 0, 0, 0, weight, FALSE, underline, FALSE, charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, ToAnsi(face).c_str());
}

SIZE TextExtent16(HDC dc, std::u16string_view text) {
    SIZE size = {};
    if (wide) {
        w.GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()),
                                &size);
    } else {
        const std::string ansi = ToAnsi(text);
        GetTextExtentPoint32A(dc, ansi.c_str(), static_cast<int>(ansi.size()), &size);
    }
    return size;
}

std::u16string ModulePath16() {
    if (wide) {
        wchar_t path[MAX_PATH];
        const DWORD n = w.GetModuleFileNameW(nullptr, path, MAX_PATH);
        return n > 0 && n < MAX_PATH ? U(path, n) : std::u16string();
    }
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? FromAnsi(std::string_view(path, n)) : std::u16string();
}

std::u16string CommandLine16() {
    if (wide) {
        const wchar_t* line = w.GetCommandLineW();
        return line ? U(line, std::wcslen(line)) : std::u16string();
    }
    return FromAnsi(GetCommandLineA());
}

bool StartProcess16(std::u16string_view exe, DWORD flags, PROCESS_INFORMATION& started) {
    const std::u16string quoted = u"\"" + std::u16string(exe) + u"\"";
    if (wide) {
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        std::u16string line = quoted;  // the call may write into it
        return w.CreateProcessW(Z(exe), reinterpret_cast<wchar_t*>(line.data()), nullptr, nullptr, FALSE, flags,
                                nullptr, nullptr, &si, &started) != 0;
    }
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string line = ToAnsi(quoted);
    return CreateProcessA(ToAnsi(exe).c_str(), line.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &si,
                          &started) != 0;
}

HMODULE LoadLibrary16(std::u16string_view path) {
    return wide ? LoadLibraryW(Z(path)) : LoadLibraryA(ToAnsi(path).c_str());
}

std::u16string DateFormat16(const SYSTEMTIME& st) {
    if (wide) {
        wchar_t buf[128];
        const int n = w.GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, 128);
        return n > 0 ? U(buf, static_cast<size_t>(n - 1)) : std::u16string();
    }
    char buf[128];
    const int n = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, sizeof buf);
    return n > 0 ? FromAnsi(std::string_view(buf, static_cast<size_t>(n - 1))) : std::u16string();
}

std::u16string TimeFormat16(const SYSTEMTIME& st) {
    if (wide) {
        wchar_t buf[128];
        const int n = w.GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buf, 128);
        return n > 0 ? U(buf, static_cast<size_t>(n - 1)) : std::u16string();
    }
    char buf[128];
    const int n = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buf, sizeof buf);
    return n > 0 ? FromAnsi(std::string_view(buf, static_cast<size_t>(n - 1))) : std::u16string();
}

std::u16string ErrorText16(DWORD error) {
    constexpr DWORD kFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    std::u16string text;
    if (wide) {
        wchar_t buf[512];
        const DWORD n = w.FormatMessageW(kFlags, nullptr, error, LANG_USER_DEFAULT, buf, 512, nullptr);
        text = U(buf, n);
    } else {
        char buf[512];
        const DWORD n = FormatMessageA(kFlags, nullptr, error, LANG_USER_DEFAULT, buf, sizeof buf, nullptr);
        text = FromAnsi(std::string_view(buf, n));
    }
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
    return text;
}

// shell32's functions, taken as they are first needed.
void ShellExecute16(HWND owner, std::u16string_view verb, std::u16string_view file, std::u16string_view directory,
                    int showCommand) {
    if (wide) {
        static const auto fn = Resolve<decltype(&::ShellExecuteW)>(Shell32(), "ShellExecuteW");
        if (fn) fn(owner, Z(verb), Z(file), nullptr, Z(directory), showCommand);
        return;
    }
    static const auto fn = Resolve<decltype(&::ShellExecuteA)>(Shell32(), "ShellExecuteA");
    if (fn) fn(owner, ToAnsi(verb).c_str(), ToAnsi(file).c_str(), nullptr, ToAnsi(directory).c_str(), showCommand);
}

BOOL ShellNotifyIconW(DWORD message, NOTIFYICONDATAW& data) {
    static const auto fn = Resolve<decltype(&::Shell_NotifyIconW)>(Shell32(), "Shell_NotifyIconW");
    return fn && fn(message, &data);
}

}  // namespace dusklet::win
