#include "platform/posix/PosixCodePage.h"

#include "base/Utf8.h"

#include <iconv.h>

#include <stdexcept>

namespace morix::platform {

namespace {

iconv_t Open(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    return cd;
}

// Converts, replacing what cannot be converted: `bad` is appended for each
// input sequence the converter refuses, and one input byte is skipped.
std::string Convert(iconv_t cd, std::string_view in, std::string_view bad, bool skipWholeUtf8) {
    std::string out;
    out.reserve(in.size() * 3 / 2 + 8);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    char buffer[1024];
    while (left > 0) {
        char* dst = buffer;
        std::size_t room = sizeof buffer;
        std::size_t r = iconv(cd, &src, &left, &dst, &room);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (r != static_cast<std::size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL (a sequence cut off at the end): replace it.
        out.append(bad);
        std::size_t skip = 1;
        if (skipWholeUtf8) {
            skip = Utf8SequenceLength(static_cast<unsigned char>(*src));
            // Only a whole, well-formed character is skipped as one.
            for (std::size_t k = 1; k < skip; ++k)
                if (k >= left || !IsUtf8Continuation(static_cast<unsigned char>(src[k]))) { skip = 1; break; }
        }
        if (skip > left) skip = left;
        src += skip;
        left -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &room);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    return out;
}

}  // namespace

PosixCodePage::PosixCodePage() : toAnsi_(Open("CP932", "UTF-8")), fromAnsi_(Open("UTF-8", "CP932")) {}

PosixCodePage::~PosixCodePage() {
    iconv_close(static_cast<iconv_t>(toAnsi_));
    iconv_close(static_cast<iconv_t>(fromAnsi_));
}

std::string PosixCodePage::ToAnsi(std::string_view utf8) const {
    bool ascii = true;
    for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return std::string(utf8);
    std::lock_guard lock(mutex_);
    return Convert(static_cast<iconv_t>(toAnsi_), utf8, "?", true);
}

std::string PosixCodePage::FromAnsi(std::string_view ansi) const {
    bool ascii = true;
    for (char c : ansi) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return std::string(ansi);
    std::lock_guard lock(mutex_);
    return Convert(static_cast<iconv_t>(fromAnsi_), ansi, "\xEF\xBF\xBD", false);
}

}  // namespace morix::platform
