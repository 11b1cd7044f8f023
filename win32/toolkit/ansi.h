// Texts cross the OS boundary in the system's ANSI code page.
#pragma once
#include <string>
#include <string_view>

#include "base/ansi_codec.h"

namespace dusklet::win {

std::string ToAnsi(std::u16string_view text);
std::u16string FromAnsi(std::string_view text);

class WinAnsiCodec : public AnsiCodec {
public:
    std::string ToAnsi(std::u16string_view text) override { return win::ToAnsi(text); }
};

}  // namespace dusklet::win
