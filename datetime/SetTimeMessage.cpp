#include "datetime/SetTimeMessage.h"

namespace morix {

std::string CouldNotSetTimeText(const platform::SetTimeOutcome& outcome) {
    using platform::SetTimeResult;
    std::string why;
    switch (outcome.result) {
    case SetTimeResult::Denied: why = "システムが変更を許可しませんでした"; break;
    case SetTimeResult::NotStarted: why = "変更のためのプログラム MorixSetTime.exe を起動できませんでした"; break;
    default: why = "システムが変更に失敗しました"; break;
    }
    // The code lets an administrator or a support page tell the cases apart.
    if (outcome.error != 0) why += "（エラー " + std::to_string(outcome.error) + "）";
    return "日付と時刻を変更できませんでした。\r\n" + why + "。\r\n時計はこれまでの時刻のまま動いています。";
}

}  // namespace morix
