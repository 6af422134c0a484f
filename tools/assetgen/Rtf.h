// Rich text in the Japanese ANSI code page: \ansi\ansicpg932 with fonts of
// character set 128 (Shift_JIS), every byte of a non-ASCII character written
// as a \'xx escape so the file is plain 7-bit text that RichEdit reads on any
// system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace assetgen {

// UTF-8 -> CP932 through iconv; a character CP932 cannot hold is an error
// (the sample memo must say exactly what was written).
std::string ToCp932(std::string_view utf8);
std::string FromCp932(std::string_view cp932);

struct RtfParagraph {
    std::string text;  // UTF-8, one paragraph, no line breaks
    bool bold = false;
    int halfPoints = 18;  // 9 points
    int colour = 0;       // index into the document's colour table, 0 = automatic
};

// The whole document. The fonts are "ＭＳ Ｐゴシック" (the memo box's own) and
// "ＭＳ ゴシック", both with \fcharset128.
std::string EncodeRtf(const std::vector<RtfParagraph>& paragraphs);

// The sample memo of the program folder.
std::string SampleMemoRtf();

}  // namespace assetgen
