// Every text the user reads crosses to the system here. On the NT family it
// goes in UTF-16 through the wide functions, so that it reads right whatever
// the ANSI code page; Windows 95, 98 and ME, which lack most wide functions,
// take it in the ANSI code page. The path is chosen once, at start-up, and
// windows made on the wide path are Unicode windows: their messages, texts
// and subclass procedures all go through the wide functions too.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace dusklet::win {

// Chooses the path for the life of the process: before any window or text.
void ChooseTextPath();
// True where texts go through the wide functions.
bool WideText();

// Windows, their classes and procedures.
bool RegisterClass16(const WNDCLASSA& cls);
HWND CreateWindow16(DWORD exStyle, const char* cls, std::u16string_view text, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
LRESULT DefWindowProc16(HWND h, UINT msg, WPARAM wp, LPARAM lp);
// Puts `proc` in place of the window's procedure; returns the one it replaces.
WNDPROC SetWindowProc16(HWND h, WNDPROC proc);
LRESULT CallWindowProc16(WNDPROC proc, HWND h, UINT msg, WPARAM wp, LPARAM lp);

// The message loop.
BOOL GetMessage16(MSG& msg);
// A message taken from the queue if one waits there.
bool PeekMessage16(MSG& msg);
void DispatchMessage16(const MSG& msg);
bool IsDialogMessage16(HWND dialog, MSG& msg);
// The character of a WM_CHAR as a key code (a UTF-16 unit, or an ANSI byte),
// and the code put back.
int16_t CharCode(const MSG& msg);
void SetCharCode(MSG& msg, int16_t code);

// Window texts, message boxes, menus, lists and tooltips.
std::u16string WindowText(HWND h);
void SetWindowText16(HWND h, std::u16string_view text);
int MessageBox16(HWND owner, std::u16string_view text, std::u16string_view title, UINT style);
bool AppendMenu16(HMENU menu, UINT flags, UINT_PTR id, std::u16string_view text);
bool AddListItem16(HWND combo, std::u16string_view text, int32_t data);
std::u16string ListItemText16(HWND combo, int index);
bool AddTool16(HWND tooltip, HWND owner, HWND tool, std::u16string_view text);

// Fonts and text measures.
HFONT CreateFont16(int height, int weight, bool underline, BYTE charset, std::u16string_view face);
SIZE TextExtent16(HDC dc, std::u16string_view text);

// The system's own texts and services.
std::u16string ModulePath16();
// The whole command line, the program's own path first.
std::u16string CommandLine16();
// Starts the program `exe` with no arguments; false where it cannot be started.
bool StartProcess16(std::u16string_view exe, DWORD flags, PROCESS_INFORMATION& started);
HMODULE LoadLibrary16(std::u16string_view path);
std::u16string DateFormat16(const SYSTEMTIME& st);
std::u16string TimeFormat16(const SYSTEMTIME& st);
std::u16string ErrorText16(DWORD error);
void ShellExecute16(HWND owner, std::u16string_view verb, std::u16string_view file, std::u16string_view directory,
                    int showCommand);
// Shell_NotifyIconW, on the wide path only.
BOOL ShellNotifyIconW(DWORD message, NOTIFYICONDATAW& data);

}  // namespace dusklet::win
