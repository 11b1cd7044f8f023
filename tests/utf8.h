// UTF-8 for texts that tests print or compare (no surrogate pairs needed:
// the program's texts are all in the basic plane).
#pragma once
#include <string>
#include <string_view>

namespace dusklet::testing {

inline std::string Narrow(std::u16string_view s) {
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The UTF-16 of a UTF-8 text (up to three bytes a character).
inline std::u16string Wide(std::string_view s) {
    std::u16string out;
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : 3;
        char16_t c = static_cast<char16_t>(n == 1 ? b : n == 2 ? b & 0x1F : b & 0x0F);
        for (size_t k = 1; k < n && i + k < s.size(); ++k)
            c = static_cast<char16_t>((c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F));
        out += c;
        i += n;
    }
    return out;
}

}  // namespace dusklet::testing
