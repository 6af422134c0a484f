// Conversion between the program's UTF-8 text and the ANSI code page of the
// Japanese systems (Shift_JIS, code page 932), where the program meets ANSI
// data: the settings file and window titles. The platform implements it; the
// text helpers of this folder count and cut through it.
#pragma once

#include <string>
#include <string_view>

namespace morix {

class CodePage {
public:
    virtual ~CodePage() = default;
    // UTF-8 -> CP932. A character CP932 cannot hold becomes "?", as the ANSI
    // calls would turn it.
    virtual std::string ToAnsi(std::string_view utf8) const = 0;
    // CP932 -> UTF-8. A byte sequence that is not CP932 becomes U+FFFD
    // (a lone lead byte at the end included); never throws.
    virtual std::string FromAnsi(std::string_view ansi) const = 0;
};

// True for the first byte of a double-byte CP932 character.
constexpr bool IsCp932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace morix
