// The tray icon record as the program holds it, and the forms in which it
// reaches the shell: on the NT family the wide records, whose texts are cut
// here; on Windows 95, 98 and ME the 88-byte ANSI form (the shell's
// first-version layout) and the 488-byte version-5 form that carries a balloon.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/ansi_codec.h"

namespace dusklet {

constexpr uint32_t kNimAdd = 0;
constexpr uint32_t kNimModify = 1;
constexpr uint32_t kNimDelete = 2;
constexpr uint32_t kNifMessage = 1;
constexpr uint32_t kNifIcon = 2;
constexpr uint32_t kNifTip = 4;
constexpr uint32_t kNifInfo = 0x10;
constexpr uint32_t kNiifWarning = 2;
constexpr uint32_t kNotifyIconDataSize = 88;     // NOTIFYICONDATAA_V1_SIZE
constexpr uint32_t kNotifyIconDataV2Size = 488;  // NOTIFYICONDATAA_V2_SIZE, shell 5.0 and later
constexpr uint32_t kBalloonTimeoutMs = 10000;
// The message the shell sends the window for the icon's mouse activity
// (WM_APP + 1), with the mouse message in its second parameter. A private
// message, so that the pointer moving over the window is never taken for it.
constexpr uint32_t kTrayCallbackMessage = 0x8001;
constexpr size_t kTipChars = 64;

// Where the fields sit in the shell's 32-bit ANSI records (byte offsets),
// and the sizes of the balloon's text fields.
namespace field {
constexpr size_t kCbSize = 0, kHWnd = 4, kUID = 8, kUFlags = 12, kUCallbackMessage = 16, kHIcon = 20;
constexpr size_t kSzTip = 24;                      // both forms; 64 bytes in the first, 128 in the second
constexpr size_t kSzInfo = 160, kInfoBytes = 256;  // version-5 form only, from here on
constexpr size_t kUTimeout = 416;
constexpr size_t kSzInfoTitle = 420, kInfoTitleBytes = 64;
constexpr size_t kDwInfoFlags = 484;
}  // namespace field

struct NOTIFYICONDATA {
    uint32_t cbSize = 0;
    uint32_t hWnd = 0;
    uint32_t uID = 0;
    uint32_t uFlags = 0;
    uint32_t uCallbackMessage = 0;
    uint32_t hIcon = 0;
    std::array<char16_t, kTipChars> szTip{};  // text, NUL, blanks
};

// Stores the text left-justified in the tip field, padded with blanks or cut
// at 64 characters. Callers end their texts with one NUL.
void SetTip(NOTIFYICONDATA& nid, std::u16string_view text);
// The tip as shown: the characters before the first NUL.
std::u16string TipText(const NOTIFYICONDATA& nid);

using NotifyIconBytes = std::array<uint8_t, kNotifyIconDataSize>;

// The record in the shell's ANSI form: six little-endian numbers, then the
// tip converted to the ANSI code page. The tip never loses its NUL and is cut
// only between whole characters, so a double-byte character is never split.
NotifyIconBytes AnsiForm(const NOTIFYICONDATA& nid, AnsiCodec& codec);

using BalloonBytes = std::array<uint8_t, kNotifyIconDataV2Size>;

// The version-5 record that shows a balloon from the icon: the six numbers
// with NIF_INFO alone as flags (the icon and its tip stay as they are), an
// empty tip, the text (256 bytes) and title (64 bytes) in the ANSI code page,
// each cut between whole characters with its NUL inside the field, a timeout
// of about 10 s and the warning icon.
BalloonBytes BalloonForm(const NOTIFYICONDATA& nid, std::u16string_view title, std::u16string_view text,
                         AnsiCodec& codec);

// A text of the wide records cut as the ANSI field of `fieldBytes` bytes
// holds it on a Chinese system (code page 936: one byte for an ASCII
// character, two for any other), so that a user there sees the same text in
// either form: the characters before its NUL that fit with one byte to spare
// for the NUL, never half of a surrogate pair.
std::u16string FitField(std::u16string_view text, size_t fieldBytes);

// Shell_NotifyIcon, in whichever form the system takes.
class TrayShell {
public:
    virtual ~TrayShell() = default;
    virtual bool NotifyIcon(uint32_t message, const NOTIFYICONDATA& nid) = 0;
    // NIM_MODIFY with the version-5 record: a balloon with this title and
    // text from the icon.
    virtual bool ShowBalloon(const NOTIFYICONDATA& nid, std::u16string_view title, std::u16string_view text) = 0;
    // The major version that shell32 reports (DllGetVersion); 4 where it
    // has no such function, as on Windows 95, 98 and NT 4 without the newer shell.
    virtual uint32_t ShellVersion() = 0;
};

// The record's ANSI form kept between calls: the tip is converted again only
// when it has changed, so the blinking, which changes only the icon, costs no
// conversion.
class AnsiRecord {
public:
    const NotifyIconBytes& Of(const NOTIFYICONDATA& nid, AnsiCodec& codec);

private:
    std::optional<std::array<char16_t, kTipChars>> tip_;  // the tip that bytes_ holds
    NotifyIconBytes bytes_{};
};

}  // namespace dusklet
