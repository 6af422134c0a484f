#include "settings/IniText.h"

#include "base/Utf8.h"
#include "platform/CodePage.h"

#include <cstdint>

namespace morix {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// Strict UTF-8 check; a file that passes and holds any non-ASCII byte was
// saved as UTF-8 (CP932 Japanese text practically never passes).
bool IsUtf8WithNonAscii(std::string_view s) {
    bool nonAscii = false;
    std::size_t i = 0;
    while (i < s.size()) {
        if (static_cast<unsigned char>(s[i]) < 0x80) { ++i; continue; }
        nonAscii = true;
        const std::size_t begin = i;
        bool broken = false;
        const std::uint32_t cp = DecodeUtf8(s, i, &broken);
        const std::size_t length = i - begin;
        // Overlong forms and encoded surrogates are no UTF-8 a program saves.
        if (broken || (length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
    }
    return nonAscii;
}

void AppendUtf16Le(std::string& out, std::uint16_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

bool EqualFolded(std::string_view a, std::string_view b, bool ansi) {
    if (a.size() != b.size()) return false;
    auto fold = [](unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (ansi && platform::IsCp932LeadByte(x)) {
            // A trail byte may look like an ASCII letter: compare the pair as is.
            if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (fold(x) != fold(y)) return false;
    }
    return true;
}

}  // namespace

bool IsIniSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view TrimIni(std::string_view s) {
    while (!s.empty() && IsIniSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsIniSpace(s.back())) s.remove_suffix(1);
    return s;
}

IniText IniText::Decode(std::string_view raw) {
    IniText text;
    if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF && static_cast<unsigned char>(raw[1]) == 0xFE) {
        text.encoding = IniEncoding::Utf16LeBom;
        std::size_t n = (raw.size() - 2) / 2;
        auto unit = [&](std::size_t k) {
            return static_cast<std::uint16_t>(static_cast<unsigned char>(raw[2 + 2 * k]) |
                                              (static_cast<unsigned char>(raw[3 + 2 * k]) << 8));
        };
        text.body.reserve(n * 2);
        for (std::size_t k = 0; k < n; ++k) {
            std::uint32_t u = unit(k);
            if (u >= 0xD800 && u <= 0xDBFF && k + 1 < n && unit(k + 1) >= 0xDC00 && unit(k + 1) <= 0xDFFF) {
                u = 0x10000 + ((u - 0xD800) << 10) + (unit(k + 1) - 0xDC00);
                ++k;
            }
            AppendUtf8(text.body, u);  // a lone surrogate is kept as its 3-byte form
        }
        if ((raw.size() - 2) % 2) text.oddTrailingByte = raw.back();
        return text;
    }
    if (raw.substr(0, 3) == Utf8Bom) {
        text.encoding = IniEncoding::Utf8Bom;
        text.body = std::string(raw.substr(3));
        return text;
    }
    text.encoding = IsUtf8WithNonAscii(raw) ? IniEncoding::Utf8 : IniEncoding::Ansi;
    text.body = std::string(raw);
    return text;
}

std::string IniText::Encode() const {
    switch (encoding) {
    case IniEncoding::Ansi:
    case IniEncoding::Utf8: return body;
    case IniEncoding::Utf8Bom: return std::string(Utf8Bom) + body;
    case IniEncoding::Utf16LeBom: {
        std::string out = "\xFF\xFE";
        out.reserve(2 + body.size() * 2);
        for (std::size_t i = 0; i < body.size();) {
            std::uint32_t cp = DecodeUtf8(body, i);
            if (cp >= 0x10000) {
                cp -= 0x10000;
                AppendUtf16Le(out, static_cast<std::uint16_t>(0xD800 + (cp >> 10)));
                AppendUtf16Le(out, static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF)));
            } else {
                AppendUtf16Le(out, static_cast<std::uint16_t>(cp));
            }
        }
        if (oddTrailingByte) out += *oddTrailingByte;
        return out;
    }
    }
    return body;
}

IniLocation LocateKey(std::string_view body, std::string_view section, std::string_view key, bool ansi) {
    IniLocation loc;
    bool inSection = false;
    std::size_t pos = 0;
    while (pos < body.size()) {
        std::size_t nl = body.find('\n', pos);
        std::size_t end = nl == std::string_view::npos ? body.size() : nl;
        std::size_t next = nl == std::string_view::npos ? body.size() : nl + 1;
        std::size_t lineEnd = end > pos && body[end - 1] == '\r' ? end - 1 : end;
        std::string_view line = body.substr(pos, lineEnd - pos);
        std::string_view trimmed = TrimIni(line);

        if (!trimmed.empty() && trimmed.front() == '[') {
            // The closing bracket, skipping double-byte characters whose
            // trail byte is "]".
            std::size_t close = std::string_view::npos;
            for (std::size_t i = 1; i < trimmed.size(); ++i) {
                auto c = static_cast<unsigned char>(trimmed[i]);
                if (ansi && platform::IsCp932LeadByte(c)) { ++i; continue; }
                if (c == ']') { close = i; break; }
            }
            if (close != std::string_view::npos) {
                if (inSection) return loc;  // the first section of that name is the one
                inSection = EqualFolded(TrimIni(trimmed.substr(1, close - 1)), section, ansi);
                if (inSection) {
                    loc.sectionFound = true;
                    loc.insertAt = next;
                }
                pos = next;
                continue;
            }
        }
        if (inSection && !trimmed.empty()) {
            loc.insertAt = next;
            if (trimmed.front() != ';') {
                std::size_t eq = line.find('=');
                std::string_view name = TrimIni(line.substr(0, eq));
                if (EqualFolded(name, key, ansi)) {
                    loc.keyFound = true;
                    loc.hasValue = eq != std::string_view::npos;
                    loc.lineEnd = lineEnd;
                    loc.nameBegin = static_cast<std::size_t>(name.data() - body.data());
                    loc.nameEnd = loc.nameBegin + name.size();
                    loc.valueBegin = eq == std::string_view::npos ? lineEnd : pos + eq + 1;
                    loc.valueEnd = lineEnd;
                    return loc;
                }
            }
        }
        pos = next;
    }
    return loc;
}

}  // namespace morix
