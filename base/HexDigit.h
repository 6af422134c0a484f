// Hexadecimal digits as the settings file and RTF escapes write them.
#pragma once

namespace morix {

// The value of an ASCII hexadecimal digit of either case; -1 for any other byte.
inline int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace morix
