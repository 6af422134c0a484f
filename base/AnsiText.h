// Counting text as the ANSI calls see it: a double-byte character of the
// Japanese code page takes 2 bytes, every other character 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Utf8.h"

namespace morix {
class CodePage;

// The number of CP932 bytes the UTF-8 text occupies; beyond 32767 it is an
// overflow (error 6), as the program holds it in 16 bits.
std::int16_t AnsiByteLength(const CodePage& codePage, std::string_view utf8);

// The longest leading part of the UTF-8 text whose ANSI form fits in `limit`
// bytes, cut between characters.
std::string CutToAnsiBytes(const CodePage& codePage, std::string_view utf8, std::size_t limit);

}  // namespace morix
