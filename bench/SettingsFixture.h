// A realistic settings file for the benchmarks: every key of the program
// with a typical value, and a foreign section of 50 keys before it.
#pragma once

#include "settings/Keys.h"

#include <string>

namespace morix::bench {

// UTF-8 text; the caller converts to CP932.
inline std::string RealisticIni() {
    std::string s = "; other program's settings\r\n[Foreign]\r\n";
    for (int i = 0; i < 50; ++i) s += "ForeignKey" + std::to_string(i) + "=value number " + std::to_string(i) + "\r\n";
    s += "\r\n[Morix]\r\n";
    auto line = [&](std::string_view k, std::string_view v) { s += std::string(k) + "=" + std::string(v) + "\r\n"; };
    line(keys::HomeLeft, "8700");
    line(keys::HomeTop, "5670");
    line(keys::CurrentLeft.name, "14130");
    line(keys::CurrentTop.name, "75");
    line(keys::ActiveTitle.name, "無題 - メモ帳");
    line(keys::ActiveHandle.name, "65594");
    line(keys::ActiveLeft.name, "100");
    line(keys::ActiveRight.name, "1000");
    line(keys::ActiveTop.name, "0");
    line(keys::ActiveBottom.name, "700");
    line(keys::ExitDate.name, "20261207");
    line(keys::DesignName.name, "Tidewalk");
    line(keys::ChimeMode.name, "1");
    line(keys::ChimeFile.name, "lt37xga.mid");
    line(keys::FrameName.name, "Ellip01");
    line(keys::AutoShowMemo.name, "1");
    line(keys::AutoDeleteMemos.name, "1");
    line(keys::SampleMemoDone.name, "1");
    line(keys::FollowActiveWindow.name, "1");
    line(keys::FollowSizeRule.name, "1");
    line(keys::ShowInfoBalloon.name, "1");
    line(keys::ShowCpu.name, "1");
    line(keys::ShowResources.name, "1");
    line(keys::ShowMemory.name, "1");
    line(keys::ShowPower.name, "1");
    line(keys::ShowFreeSpace.name, "1");
    line(keys::ShowMemo.name, "0");
    line(keys::ShowRemovable.name, "1");
    line(keys::ShowFixed.name, "1");
    line(keys::ShowCd.name, "1");
    line(keys::MemoText.name, "メモをお書きください...");
    return s;
}

}  // namespace morix::bench
