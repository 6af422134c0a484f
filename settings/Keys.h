// Every key of the settings file, with its default. No other file spells a
// key name. All keys live in the one section "Morix".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace morix::keys {

inline constexpr std::string_view Section = "Morix";

struct IntKey {
    std::string_view name;
    std::int32_t defaultValue;
};
struct TextKey {
    std::string_view name;
    std::string_view defaultValue;
};

// Positions and the record of the followed window. The home position's
// default depends on the screen, so its reader supplies it.
inline constexpr std::string_view HomeLeft = "起動時のLeft";
inline constexpr std::string_view HomeTop = "起動時のTop";
inline constexpr IntKey CurrentLeft{"現在のForm1のLeft", 0};
inline constexpr IntKey CurrentTop{"現在のForm1のTop", 0};
inline constexpr TextKey ActiveTitle{"アクティブウィンドウのタイトル", ""};
inline constexpr IntKey ActiveHandle{"アクティブウィンドウのhDC", 0};
inline constexpr IntKey ActiveLeft{"アクティブウィンドウのLeft", 0};
inline constexpr IntKey ActiveRight{"アクティブウィンドウのRight", 0};
inline constexpr IntKey ActiveTop{"アクティブウィンドウのTop", 0};
inline constexpr IntKey ActiveBottom{"アクティブウィンドウのBottom", 0};
inline constexpr IntKey ExitDate{"終了時の日付", 1};

// The record of the followed window, in the order following writes it: the
// window's rectangle, the clock's place on it, its title and its handle.
inline constexpr std::array<std::string_view, 8> FollowedRecord{
    ActiveLeft.name, ActiveRight.name, ActiveTop.name, ActiveBottom.name,
    CurrentLeft.name, CurrentTop.name, ActiveTitle.name, ActiveHandle.name};

// Basic options and memos.
inline constexpr TextKey DesignName{"Aviディレクトリ名", "Tidewalk"};
inline constexpr IntKey ChimeMode{"チャイムの鳴らし方", 1};
inline constexpr TextKey ChimeFile{"チャイムファイル名", "lt37xga.mid"};
inline constexpr TextKey FrameName{"吹き出しのディレクトリ名", "Ellip01"};
inline constexpr IntKey AutoShowMemo{"自動表示", 1};
inline constexpr IntKey AutoDeleteMemos{"自動削除", 1};
inline constexpr IntKey SampleMemoDone{"起動時のSample.rtf", 0};

// Extended options.
inline constexpr IntKey FollowActiveWindow{"アクティブウインドウへの移動", 1};
inline constexpr IntKey FollowSizeRule{"移動を許可するウインドウサイズ", 1};
inline constexpr IntKey ShowInfoBalloon{"情報吹き出しの表示", 1};
inline constexpr IntKey ShowCpu{"CPUの表示", 1};
inline constexpr IntKey ShowResources{"システムリソースの表示", 1};
inline constexpr IntKey ShowMemory{"メモリーの表示", 1};
inline constexpr IntKey ShowPower{"電源の表示", 1};
inline constexpr IntKey ShowFreeSpace{"空容量の表示", 1};
inline constexpr IntKey ShowMemo{"メモの表示", 0};
inline constexpr IntKey ShowRemovable{"リムーバブルディスクの表示", 1};
inline constexpr IntKey ShowFixed{"固定ディスクの表示", 1};
inline constexpr IntKey ShowCd{"CDの表示", 1};
inline constexpr TextKey MemoText{"メモの内容", "メモをお書きください..."};
// 1 = the clock (with its balloons) steps aside while a full-screen program
// is in front.
inline constexpr IntKey HideForFullScreen{"全画面のときは隠す", 1};

// Other places' time in the information balloon: 1 = their lines are shown.
inline constexpr IntKey ShowOtherZones{"他の地域の時刻の表示", 1};
// The zones chosen for those lines, in order: each the zone's key name, a
// comma and its label; an empty value is an unused place. While none of
// these keys is in the file, Windows' own additional clocks are shown.
inline constexpr std::array<std::string_view, 8> OtherZones{"他の地域1", "他の地域2", "他の地域3", "他の地域4",
                                                            "他の地域5", "他の地域6", "他の地域7", "他の地域8"};

// Alarms: one a key, "アラーム1" to "アラーム30" (alarm/AlarmText.h gives the
// line); an empty value is a free place. The minute the running clock last
// looked at them, YYYYMMDDHHMM: due times after it were missed.
inline constexpr int AlarmSlots = 30;
inline std::string AlarmKey(int slot) { return "アラーム" + std::to_string(slot); }
inline constexpr TextKey AlarmLastLooked{"アラームの確認時刻", ""};

}  // namespace morix::keys
