// The words of the sample memo (Sample.rtf), which the memo window shows at
// the first start. Kept apart from the RTF writer so that the Windows tests
// can compare what RichEdit reads back with what was meant.
#pragma once

#include <array>
#include <string_view>

namespace assetgen {

inline constexpr std::string_view kSampleMemoTitle = "備忘録へようこそ";

// Short lines: the memo's box is 160 pixels wide and its lines wrap only at
// 1024 pixels, so a line longer than the box would have to be scrolled to.
inline constexpr std::array<std::string_view, 16> kSampleMemoBody = {
    "一日に一枚の",
    "小さなメモ帳です。",
    "",
    "時計をクリックして",
    "「備忘録」→",
    "「新規・開く」で",
    "日付を選べます。",
    "",
    "ここに書いたことは",
    "下の CLOSE で閉じると",
    "保存されます。",
    "",
    "左上をつかむと",
    "動かせます。",
    "もう出さないときは",
    "上の箱に印を。",
};

}  // namespace assetgen
