#include "tests/fake/FakeRtf.h"

#include "base/Utf8.h"
#include "platform/posix/PosixCodePage.h"

#include <cctype>
#include <cstdio>

namespace morix::test {

std::string TextToRtf(std::string_view utf8Text) {
    platform::PosixCodePage cp;
    const std::string ansi = cp.ToAnsi(utf8Text);
    std::string out = "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 MS PGothic;}}\\f0\\fs18 ";
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const auto c = static_cast<unsigned char>(ansi[i]);
        if (c == '\r') continue;
        if (c == '\n') out += "\\par\r\n";
        else if (c == '\\' || c == '{' || c == '}') out += std::string("\\") + static_cast<char>(c);
        else if (c < 0x80) out += static_cast<char>(c);
        else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\'%02x", c);
            out += hex;
        }
    }
    out += "\\par\r\n}";
    return out;
}

std::string RtfToText(std::string_view rtf) {
    if (rtf.substr(0, 5) != "{\\rtf") return std::string(rtf);
    platform::PosixCodePage cp;
    std::string text;      // UTF-8
    std::string pending;   // CP932 bytes not yet converted
    auto flush = [&] {
        text += cp.FromAnsi(pending);
        pending.clear();
    };
    int depth = 0, skipBelow = 0;  // skipping while depth >= skipBelow (0: not skipping)
    for (std::size_t i = 0; i < rtf.size();) {
        const char c = rtf[i];
        if (c == '{') {
            ++depth, ++i;
            if (rtf.substr(i, 2) == "\\*" && !skipBelow) skipBelow = depth;
            for (const char* d : {"\\fonttbl", "\\colortbl", "\\stylesheet", "\\info"})
                if (rtf.substr(i, std::char_traits<char>::length(d)) == d && !skipBelow) skipBelow = depth;
            continue;
        }
        if (c == '}') {
            if (skipBelow && depth == skipBelow) skipBelow = 0;
            --depth, ++i;
            continue;
        }
        if (c == '\r' || c == '\n') { ++i; continue; }
        const bool skipping = skipBelow != 0;
        if (c != '\\') {
            if (!skipping) pending += c;
            ++i;
            continue;
        }
        ++i;
        if (i >= rtf.size()) break;
        const char n = rtf[i];
        if (n == '\'' && i + 2 < rtf.size()) {
            if (!skipping) pending += static_cast<char>(std::stoi(std::string(rtf.substr(i + 1, 2)), nullptr, 16));
            i += 3;
            continue;
        }
        if (!std::isalpha(static_cast<unsigned char>(n))) {
            if (!skipping && (n == '\\' || n == '{' || n == '}')) pending += n;
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end]))) ++end;
        const std::string word(rtf.substr(i, end - i));
        std::size_t numEnd = end;
        if (numEnd < rtf.size() && rtf[numEnd] == '-') ++numEnd;
        while (numEnd < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[numEnd]))) ++numEnd;
        const std::string number(rtf.substr(end, numEnd - end));
        i = numEnd;
        if (i < rtf.size() && rtf[i] == ' ') ++i;
        if (skipping) continue;
        if (word == "par" || word == "line") {
            pending += "\r\n";
        } else if (word == "tab") {
            pending += '\t';
        } else if (word == "u" && !number.empty()) {
            flush();
            long cpValue = std::stol(number);
            if (cpValue < 0) cpValue += 65536;
            AppendUtf8(text, static_cast<std::uint32_t>(cpValue));
            if (i < rtf.size() && rtf[i] == '?') ++i;  // the fallback character
        }
    }
    flush();
    // The writer ends with a paragraph mark, which is no line of text.
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
    return text;
}

}  // namespace morix::test
