#include "platform/RichTextBox.h"

namespace morix::platform {

namespace {

bool IsRtf(std::string_view bytes) { return bytes.substr(0, 5) == "{\\rtf"; }

// Where the document's closing brace is, past what may trail it (a line
// break, the NUL some versions of the box end with); npos when it ends in
// anything else.
std::size_t ClosingBrace(std::string_view bytes) {
    std::size_t end = bytes.size();
    while (end > 0 && (bytes[end - 1] == '\r' || bytes[end - 1] == '\n' || bytes[end - 1] == '\0' || bytes[end - 1] == ' '))
        --end;
    return end > 0 && bytes[end - 1] == '}' ? end - 1 : std::string_view::npos;
}

}  // namespace

std::string WithOwnRtfMark(std::string rtf) {
    if (!IsRtf(rtf) || HasOwnRtfMark(rtf)) return rtf;
    const std::size_t brace = ClosingBrace(rtf);
    if (brace != std::string::npos) rtf.insert(brace, OwnRtfMark);
    return rtf;
}

bool HasOwnRtfMark(std::string_view bytes) {
    if (!IsRtf(bytes)) return false;
    const std::size_t brace = ClosingBrace(bytes);
    return brace != std::string_view::npos && brace >= OwnRtfMark.size() &&
           bytes.substr(brace - OwnRtfMark.size(), OwnRtfMark.size()) == OwnRtfMark;
}

}  // namespace morix::platform
