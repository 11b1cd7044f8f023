#include "tray/notify_icon.h"

#include <algorithm>

namespace dusklet {
namespace {

template <size_t N> void PutU32(std::array<uint8_t, N>& out, size_t offset, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) out[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Converts the text up to its NUL one character (or surrogate pair) at a time
// into the field of `size` bytes at `offset`, keeping what fits before a NUL
// of its own, so a double-byte character is never split; returns the offset
// behind that NUL.
template <size_t N>
size_t PutAnsi(std::array<uint8_t, N>& out, size_t offset, size_t size, std::u16string_view text, AnsiCodec& codec) {
    text = text.substr(0, std::min(text.find(u'\0'), text.size()));
    size_t pos = offset;
    for (size_t i = 0; i < text.size();) {
        const size_t n = (IsHighSurrogate(text[i]) && i + 1 < text.size()) ? 2 : 1;
        const std::string piece = codec.ToAnsi(text.substr(i, n));
        if (pos + piece.size() > offset + size - 1) break;
        for (char c : piece) out[pos++] = static_cast<uint8_t>(c);
        i += n;
    }
    out[pos++] = 0;
    return pos;
}

// The six numbers that open both forms of the record.
template <size_t N>
void PutHeader(std::array<uint8_t, N>& out, const NOTIFYICONDATA& nid, uint32_t size, uint32_t flags) {
    PutU32(out, field::kCbSize, size);
    PutU32(out, field::kHWnd, nid.hWnd);
    PutU32(out, field::kUID, nid.uID);
    PutU32(out, field::kUFlags, flags);
    PutU32(out, field::kUCallbackMessage, nid.uCallbackMessage);
    PutU32(out, field::kHIcon, nid.hIcon);
}

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
    PutHeader(out, nid, nid.cbSize, nid.uFlags);
    size_t pos = PutAnsi(out, field::kSzTip, kTipChars, std::u16string_view(nid.szTip.data(), nid.szTip.size()), codec);
    // The blanks behind the NUL, as the padded field converts.
    while (pos < out.size()) out[pos++] = ' ';
    return out;
}

const NotifyIconBytes& AnsiRecord::Of(const NOTIFYICONDATA& nid, AnsiCodec& codec) {
    if (tip_ != nid.szTip) {
        bytes_ = AnsiForm(nid, codec);
        tip_ = nid.szTip;
    } else {
        PutHeader(bytes_, nid, nid.cbSize, nid.uFlags);
    }
    return bytes_;
}

std::u16string FitField(std::u16string_view text, size_t fieldBytes) {
    text = text.substr(0, std::min(text.find(u'\0'), text.size()));
    size_t bytes = 0, end = 0;
    while (end < text.size()) {
        const size_t n = (IsHighSurrogate(text[end]) && end + 1 < text.size()) ? 2 : 1;
        const size_t width = text[end] < 0x80 ? 1 : 2 * n;
        if (bytes + width > fieldBytes - 1) break;
        bytes += width;
        end += n;
    }
    return std::u16string(text.substr(0, end));
}

BalloonBytes BalloonForm(const NOTIFYICONDATA& nid, std::u16string_view title, std::u16string_view text,
                         AnsiCodec& codec) {
    BalloonBytes out{};
    PutHeader(out, nid, kNotifyIconDataV2Size, kNifInfo);
    // szTip (128 bytes), dwState and dwStateMask stay zero.
    PutAnsi(out, field::kSzInfo, field::kInfoBytes, text, codec);
    PutU32(out, field::kUTimeout, kBalloonTimeoutMs);
    PutAnsi(out, field::kSzInfoTitle, field::kInfoTitleBytes, title, codec);
    PutU32(out, field::kDwInfoFlags, kNiifWarning);
    return out;
}

}  // namespace dusklet
