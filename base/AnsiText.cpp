#include "base/AnsiText.h"

#include "base/RuntimeError.h"
#include "base/CodePage.h"
#include "base/Utf8.h"

namespace morix {

namespace {

// Bytes one character takes in CP932: ASCII 1, otherwise what the conversion
// gives (a character CP932 cannot hold becomes "?", one byte).
std::size_t AnsiWidth(const CodePage& codePage, std::string_view character) {
    if (character.size() == 1) return 1;
    return codePage.ToAnsi(character).size() >= 2 ? 2 : 1;
}

}  // namespace

std::int16_t AnsiByteLength(const CodePage& codePage, std::string_view utf8) {
    return ToInt16(static_cast<long long>(codePage.ToAnsi(utf8).size()));
}

std::string CutToAnsiBytes(const CodePage& codePage, std::string_view utf8, std::size_t limit) {
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

}  // namespace morix
