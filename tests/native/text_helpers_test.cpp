// Date stamps, ANSI byte counts and the code page conversions they rest on.
#include "base/AnsiText.h"
#include "base/DateStamp.h"
#include "base/RuntimeError.h"
#include "platform/posix/PosixCodePage.h"

#include <gtest/gtest.h>

namespace morix {
namespace {

TEST(DateStamp, PadsMonthAndDayToTwoDigits) {
    EXPECT_EQ(DateStamp({2026, 12, 7}), "20261207");
    EXPECT_EQ(DateStamp({2027, 1, 31}), "20270131");
    EXPECT_EQ(DateStamp({1999, 9, 9}), "19990909");
    EXPECT_EQ(DateStamp({2026, 10, 10}), "20261010");
}

TEST(AnsiText, CountsDoubleByteCharactersAsTwo) {
    platform::PosixCodePage cp;
    EXPECT_EQ(AnsiByteLength(cp, ""), 0);
    EXPECT_EQ(AnsiByteLength(cp, "Notepad"), 7);
    EXPECT_EQ(AnsiByteLength(cp, "無題 - メモ帳"), 13);
    EXPECT_EQ(AnsiByteLength(cp, "ｱｲｳ"), 3);  // half-width katakana: single byte
    EXPECT_EQ(AnsiByteLength(cp, "🐱é"), 2);   // not in CP932: "?" each
    EXPECT_EQ(CharacterCount("無題 - メモ帳"), 8u);
    EXPECT_THROW(AnsiByteLength(cp, std::string(40000, 'a')), RuntimeError);
}

TEST(AnsiText, CutKeepsWholeCharacters) {
    platform::PosixCodePage cp;
    EXPECT_EQ(CutToAnsiBytes(cp, "aあいう", 4), "aあ");
    EXPECT_EQ(CutToAnsiBytes(cp, "aあいう", 5), "aあい");
    EXPECT_EQ(CutToAnsiBytes(cp, "🐱🐱🐱", 2), "🐱🐱");
}

TEST(CodePage, Cp932RoundTripAndBrokenInput) {
    platform::PosixCodePage cp;
    const std::string text = "アクティブウィンドウのタイトル ｶﾅ ～ソ表";
    EXPECT_EQ(cp.FromAnsi(cp.ToAnsi(text)), text);
    EXPECT_EQ(cp.ToAnsi("ソ"), "\x83\x5C");
    // A lone lead byte or an unmapped pair never throws.
    EXPECT_EQ(cp.FromAnsi("a\x82"), "a\xEF\xBF\xBD");
    EXPECT_NO_THROW(cp.FromAnsi(std::string("\x85\x40\xFD\xFE\xFF\x00x", 7)));
    EXPECT_EQ(cp.ToAnsi("a\xFF" "b"), "a?b");  // invalid UTF-8 in, "?" out
}

}  // namespace
}  // namespace morix
