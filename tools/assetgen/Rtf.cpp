#include "tools/assetgen/Rtf.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "tools/assetgen/SampleMemo.h"

namespace assetgen {

namespace {

#ifdef _WIN32
// Built on Windows itself: the system's own code page 932 tables.
std::wstring ToWide(std::string_view text, UINT codePage) {
    int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0 && !text.empty()) throw std::runtime_error("text not representable: " + std::string(text));
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string FromWide(const std::wstring& wide, UINT codePage) {
    BOOL usedDefault = FALSE;
    BOOL* check = codePage == CP_UTF8 ? nullptr : &usedDefault;
    int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, check);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, check);
    if (usedDefault) throw std::runtime_error("text not representable in code page 932");
    return out;
}

std::string Convert(std::string_view text, const char* to, const char* from) {
    auto page = [](const char* name) { return std::string_view(name) == "CP932" ? 932u : static_cast<UINT>(CP_UTF8); };
    return FromWide(ToWide(text, page(from)), page(to));
}
#else
std::string Convert(std::string_view text, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) throw std::runtime_error(std::string("iconv cannot convert to ") + to);
    std::string out(text.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* o = out.data();
    std::size_t outLeft = out.size();
    const std::size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
    const int error = errno;
    iconv_close(cd);
    if (r == std::size_t(-1) || inLeft != 0)
        throw std::runtime_error("text not representable (" + std::to_string(error) + "): " + std::string(text));
    out.resize(out.size() - outLeft);
    return out;
}
#endif

void AppendText(std::string& rtf, std::string_view utf8) {
    const std::string ansi = ToCp932(utf8);
    char buf[8];
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(ansi[i]);
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        if (lead && i + 1 < ansi.size()) {
            // The trail byte may be a backslash or a brace in ASCII terms
            // (表 is 0x95 0x5C), so both bytes go as escapes.
            std::snprintf(buf, sizeof buf, "\\'%02x", b);
            rtf += buf;
            std::snprintf(buf, sizeof buf, "\\'%02x", static_cast<unsigned char>(ansi[++i]));
            rtf += buf;
        } else if (b >= 0x80) {
            std::snprintf(buf, sizeof buf, "\\'%02x", b);  // half-width katakana
            rtf += buf;
        } else if (b == '\\' || b == '{' || b == '}') {
            rtf += '\\';
            rtf += char(b);
        } else {
            rtf += char(b);
        }
    }
}

}  // namespace

std::string ToCp932(std::string_view utf8) { return Convert(utf8, "CP932", "UTF-8"); }
std::string FromCp932(std::string_view cp932) { return Convert(cp932, "UTF-8", "CP932"); }

std::string EncodeRtf(const std::vector<RtfParagraph>& paragraphs) {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1041";
    rtf += "{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset128 ";
    AppendText(rtf, "ＭＳ Ｐゴシック");
    rtf += ";}{\\f1\\fmodern\\fprq1\\fcharset128 ";
    AppendText(rtf, "ＭＳ ゴシック");
    rtf += ";}}\r\n";
    rtf += "{\\colortbl ;\\red31\\green78\\blue121;\\red96\\green96\\blue96;}\r\n";
    rtf += "\\viewkind4\\uc1\\pard\\lang1041\\f0\\fs18 ";
    for (const auto& p : paragraphs) {
        std::string run;
        if (p.colour) run += "\\cf" + std::to_string(p.colour);
        if (p.bold) run += "\\b";
        run += "\\fs" + std::to_string(p.halfPoints);
        rtf += run + " ";
        AppendText(rtf, p.text);
        rtf += p.colour ? "\\cf0" : "";
        rtf += p.bold ? "\\b0" : "";
        rtf += "\\fs18\\par\r\n";
    }
    rtf += "}\r\n";
    return rtf;
}

std::string SampleMemoRtf() {
    std::vector<RtfParagraph> paragraphs;
    paragraphs.push_back({std::string(kSampleMemoTitle), true, 22, 1});
    for (auto line : kSampleMemoBody) paragraphs.push_back({std::string(line), false, 18, 0});
    return EncodeRtf(paragraphs);
}

}  // namespace assetgen
