#include "clock/AnsiText.h"

#include "clock/RuntimeError.h"
#include "platform/CodePage.h"

namespace morix {

namespace {

std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;  // a stray continuation byte counts as one character
}

// Bytes one character takes in CP932: ASCII 1, otherwise what the conversion
// gives (a character CP932 cannot hold becomes "?", one byte).
std::size_t AnsiWidth(const platform::CodePage& codePage, std::string_view character) {
    if (character.size() == 1) return 1;
    return codePage.ToAnsi(character).size() >= 2 ? 2 : 1;
}

}  // namespace

std::int16_t AnsiByteLength(const platform::CodePage& codePage, std::string_view utf8) {
    return ToInt16(static_cast<long long>(codePage.ToAnsi(utf8).size()));
}

std::string CutToAnsiBytes(const platform::CodePage& codePage, std::string_view utf8, std::size_t limit) {
    std::size_t bytes = 0, i = 0;
    while (i < utf8.size()) {
        std::size_t len = Utf8SequenceLength(static_cast<unsigned char>(utf8[i]));
        if (i + len > utf8.size()) len = utf8.size() - i;
        std::size_t width = AnsiWidth(codePage, utf8.substr(i, len));
        if (bytes + width > limit) break;
        bytes += width;
        i += len;
    }
    return std::string(utf8.substr(0, i));
}

std::size_t CharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

}  // namespace morix
