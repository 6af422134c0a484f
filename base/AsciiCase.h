// Names as Windows compares them in paths and file names: the letters A-Z
// and a-z alike. UTF-8 text only (every byte of a non-ASCII character is
// 0x80 or above, so none is taken for a letter).
#pragma once

#include <string_view>

namespace morix {

inline bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

}  // namespace morix
