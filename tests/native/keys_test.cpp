// Every key of the settings file, spelt out once more against the table in
// settings/Keys.h: a typo in a name or a default would pass every other test.
#include "settings/Keys.h"

#include <gtest/gtest.h>

namespace morix {
namespace {

TEST(Keys, EveryNameAndDefault) {
    const std::pair<keys::IntKey, keys::IntKey> ints[] = {
        {keys::CurrentLeft, {"現在のForm1のLeft", 0}},
        {keys::CurrentTop, {"現在のForm1のTop", 0}},
        {keys::ActiveHandle, {"アクティブウィンドウのhDC", 0}},
        {keys::ActiveLeft, {"アクティブウィンドウのLeft", 0}},
        {keys::ActiveRight, {"アクティブウィンドウのRight", 0}},
        {keys::ActiveTop, {"アクティブウィンドウのTop", 0}},
        {keys::ActiveBottom, {"アクティブウィンドウのBottom", 0}},
        {keys::ExitDate, {"終了時の日付", 1}},
        {keys::ChimeMode, {"チャイムの鳴らし方", 1}},
        {keys::AutoShowMemo, {"自動表示", 1}},
        {keys::AutoDeleteMemos, {"自動削除", 1}},
        {keys::SampleMemoDone, {"起動時のSample.rtf", 0}},
        {keys::FollowActiveWindow, {"アクティブウインドウへの移動", 1}},
        {keys::FollowSizeRule, {"移動を許可するウインドウサイズ", 1}},
        {keys::ShowInfoBalloon, {"情報吹き出しの表示", 1}},
        {keys::ShowCpu, {"CPUの表示", 1}},
        {keys::ShowResources, {"システムリソースの表示", 1}},
        {keys::ShowMemory, {"メモリーの表示", 1}},
        {keys::ShowPower, {"電源の表示", 1}},
        {keys::ShowFreeSpace, {"空容量の表示", 1}},
        {keys::ShowMemo, {"メモの表示", 0}},
        {keys::ShowRemovable, {"リムーバブルディスクの表示", 1}},
        {keys::ShowFixed, {"固定ディスクの表示", 1}},
        {keys::ShowCd, {"CDの表示", 1}},
        {keys::HideForFullScreen, {"全画面のときは隠す", 1}},
        {keys::ShowOtherZones, {"他の地域の時刻の表示", 1}},
    };
    for (const auto& [key, expected] : ints) {
        EXPECT_EQ(key.name, expected.name);
        EXPECT_EQ(key.defaultValue, expected.defaultValue) << expected.name;
    }
    const std::pair<keys::TextKey, keys::TextKey> texts[] = {
        {keys::ActiveTitle, {"アクティブウィンドウのタイトル", ""}},
        {keys::DesignName, {"Aviディレクトリ名", "Tidewalk"}},
        {keys::ChimeFile, {"チャイムファイル名", "lt37xga.mid"}},
        {keys::FrameName, {"吹き出しのディレクトリ名", "Ellip01"}},
        {keys::MemoText, {"メモの内容", "メモをお書きください..."}},
        {keys::AlarmLastLooked, {"アラームの確認時刻", ""}},
    };
    for (const auto& [key, expected] : texts) {
        EXPECT_EQ(key.name, expected.name);
        EXPECT_EQ(key.defaultValue, expected.defaultValue) << expected.name;
    }
    EXPECT_EQ(keys::HomeLeft, "起動時のLeft");
    EXPECT_EQ(keys::HomeTop, "起動時のTop");
    EXPECT_EQ(keys::Section, "Morix");
    EXPECT_EQ(keys::AlarmKey(1), "アラーム1");
    EXPECT_EQ(keys::AlarmKey(keys::AlarmSlots), "アラーム30");
}

}  // namespace
}  // namespace morix
