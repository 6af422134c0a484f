// The fake rich-text box's file format: a small RTF writer (the text in
// code page 932 with \'xx escapes, as the system's control writes Japanese
// text) and a reader that takes the plain text back out of such a file or of
// the sample memo.
#pragma once

#include <string>
#include <string_view>

namespace morix::test {

std::string TextToRtf(std::string_view utf8Text);
// The text of an RTF document: groups of destinations (font tables, colour
// tables, \*...) are skipped, \par and \line become "\r\n", \'xx is read as
// code page 932 and \uN as a code point. A file that does not start with
// "{\rtf" is plain text and returned as it is.
std::string RtfToText(std::string_view rtf);

}  // namespace morix::test
