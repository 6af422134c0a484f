// The words of the sample memo (Sample.rtf), which the memo window shows at
// the first start. Kept apart from the RTF writer so that the Windows tests
// can compare what RichEdit reads back with what was meant.
#pragma once

#include <array>
#include <string_view>

namespace assetgen {

inline constexpr std::string_view kSampleMemoTitle = "備忘録へようこそ";

inline constexpr std::array<std::string_view, 7> kSampleMemoBody = {
    "この吹き出しは、一日に一枚ずつ書ける小さなメモ帳です。",
    "時計をクリックしてメニューの「備忘録」→「新規・開く」を選ぶと、カレンダーが出ます。日付を選ぶと、その日のメモが開きます。",
    "メモは吹き出しの中にそのまま書き込めます。下のボタンで閉じると、自動的に保存されます。",
    "保存したメモは、プログラムのフォルダーにある Tickdata に「年月日.rtf」（例：20261207.rtf）という名前で置かれます。",
    "「基本オプション」では、起動したときや日付が変わったときにその日のメモを表示するか、過ぎた日のメモを自動で削除するかを選べます。",
    "吹き出しの左上のあたりをつかむと、ドラッグで動かせます。",
    "この説明をもう表示しないときは、上の「今後表示しない」にチェックを入れてから閉じてください。",
};

}  // namespace assetgen
