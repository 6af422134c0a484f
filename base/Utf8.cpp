#include "base/Utf8.h"

namespace morix {

std::uint32_t DecodeUtf8(std::string_view s, std::size_t& i, bool* broken) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    const std::size_t length = Utf8SequenceLength(lead);
    // C0, C1 and F5..FF begin no sequence; a continuation byte begins none either.
    const bool leadOk = length > 1 && lead >= 0xC2 && lead <= 0xF4;
    std::uint32_t cp = length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
    bool ok = leadOk && i + length <= s.size();
    for (std::size_t k = 1; ok && k < length; ++k) {
        const auto t = static_cast<unsigned char>(s[i + k]);
        ok = IsUtf8Continuation(t);
        cp = (cp << 6) | (t & 0x3F);
    }
    if (!ok) {
        if (broken) *broken = true;
        ++i;
        return ReplacementCharacter;
    }
    i += length;
    return cp;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::size_t CharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (unsigned char c : utf8)
        if (!IsUtf8Continuation(c)) ++count;
    return count;
}

bool IsUtf8Text(std::string_view bytes) {
    bool beyondAscii = false;
    for (std::size_t i = 0; i < bytes.size();) {
        bool broken = false;
        if (DecodeUtf8(bytes, i, &broken) >= 0x80) beyondAscii = true;
        if (broken) return false;
    }
    return beyondAscii;
}

}  // namespace morix
