#include "tray/notify_icon.h"

namespace dusklet {
namespace {

void PutU32(NotifyIconBytes& out, size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

void SetTip(NOTIFYICONDATA& nid, std::u16string_view text) {
    for (size_t i = 0; i < kTipChars; ++i) nid.szTip[i] = i < text.size() ? text[i] : u' ';
}

std::u16string TipText(const NOTIFYICONDATA& nid) {
    std::u16string text;
    for (char16_t c : nid.szTip) {
        if (c == 0) break;
        text += c;
    }
    return text;
}

NotifyIconBytes AnsiForm(const NOTIFYICONDATA& nid, AnsiCodec& codec) {
    NotifyIconBytes out{};
    PutU32(out, 0, nid.cbSize);
    PutU32(out, 4, nid.hWnd);
    PutU32(out, 8, nid.uID);
    PutU32(out, 12, nid.uFlags);
    PutU32(out, 16, nid.uCallbackMessage);
    PutU32(out, 20, nid.hIcon);

    // Convert the text up to its NUL one character (or surrogate pair) at a
    // time and keep what fits in 63 bytes, leaving room for the NUL.
    const std::u16string text = TipText(nid);
    std::string ansi;
    for (size_t i = 0; i < text.size();) {
        const size_t n = (IsHighSurrogate(text[i]) && i + 1 < text.size()) ? 2 : 1;
        const std::string piece = codec.ToAnsi(std::u16string_view(text).substr(i, n));
        if (ansi.size() + piece.size() > kTipChars - 1) break;
        ansi += piece;
        i += n;
    }
    size_t pos = 24;
    for (char c : ansi) out[pos++] = static_cast<uint8_t>(c);
    out[pos++] = 0;
    // The blanks behind the NUL, as the padded field converts.
    while (pos < out.size()) out[pos++] = ' ';
    return out;
}

}  // namespace dusklet
