// Converts text to the system's ANSI code page (936 on a Chinese system),
// the form in which every text crosses to the operating system.
#pragma once
#include <string>
#include <string_view>

namespace dusklet {

class AnsiCodec {
public:
    virtual ~AnsiCodec() = default;
    virtual std::string ToAnsi(std::u16string_view text) = 0;
};

}  // namespace dusklet
