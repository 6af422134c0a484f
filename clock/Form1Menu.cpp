// The pop-up menu, drag mode, the end of the program, and the chime device's
// end of playback.
#include "clock/Form1.h"
#include "clock/Module1.h"
#include "base/Placement.h"
#include "base/Twips.h"

namespace morix {

std::vector<platform::MenuItem> Form1::MenuTree() const {
    using platform::MenuItem;
    const MenuItem separator{0, "-", true, {}};
    return {
        MenuItem{0, "備忘録", mnuYoteiEnabled_,
                 {MenuItem{menu::Add, "新規・開く", true, {}}, MenuItem{menu::Del, "削除", true, {}}}},
        separator,
        MenuItem{0, "オプション", true,
                 {MenuItem{menu::Option, "基本オプション", true, {}}, MenuItem{menu::Option2, "拡張オプション", true, {}}}},
        separator,
        MenuItem{menu::Alarm, "アラーム...", true, {}},
        MenuItem{menu::Nitiji, "日付と時刻の変更", true, {}},
        separator,
        MenuItem{menu::Drg, "ドラッグモード", true, {}},
        separator,
        MenuItem{menu::End, "終了", true, {}},
    };
}

void Form1::Form_MouseUp(platform::MouseButton) {
    if (m.MemoWindowOpen) m.memos->CloseMemoWindow();
    if (m.InfoBalloonOpen) m.infoBalloon->Unload();
    mnuMain_Click();
    Module1& module = m;  // the chosen item may unload this window
    const int chosen = m.platform.ui.TrackPopupMenu(*window_, MenuTree());
    switch (chosen) {
    case menu::Add: module.memos->OpenMemoPicker(); break;
    case menu::Del: module.memos->DeleteMemoByHand(); break;
    case menu::Option: module.options->OpenBasicOptions(); break;
    case menu::Option2: module.options->OpenExtendedOptions(); break;
    case menu::Alarm: module.alarms->OpenAlarmDialog(); break;
    case menu::Nitiji: module.dateTime->OpenDateTime(); break;
    case menu::Drg: mnuDrg_Click(); break;
    case menu::End: mnuEnd_Click(); break;
    default: break;
    }
    module.MenuOpen = false;
}

void Form1::mnuMain_Click() { m.MenuOpen = true; }

void Form1::mnuDrg_Click() {
    ysTransForm1_->SetVisible(true);
    m.DragMode = true;
}

void Form1::mnuEnd_Click() {
    platform::Process& process = m.platform.process;
    // An open memo is saved before the end, however the end comes.
    if (m.MemoWindowOpen) m.memos->CloseMemoWindow();
    m.UnloadForm1();
    process.Exit(0);
}

void Form1::ExitFromOutside() { mnuEnd_Click(); }

void Form1::ysTransForm1_DragEnd() {
    try {
        ysTransForm1_->SetVisible(false);
        m.DragMode = false;
        // Dropped on a monitor of another scale, the clock is drawn for it
        // where it was dropped.
        Move(Left(), Top());
        SettingsFile settings = m.Settings();
        settings.WriteValues({{keys::HomeLeft, std::to_string(Left())}, {keys::HomeTop, std::to_string(Top())}});
        if (!m.MemoWindowOpen) return;
        // The memo window follows the clock to its new place, its pointer
        // facing the clock.
        const std::string frame = settings.ReadString(keys::FrameName);
        m.memos->PlaceMemoWindow(frame, BalloonBeside(m.FramePictures(frame).scale));
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
}

void Form1::mciChyaim_Done() { mciChyaim_->SetCommand("close"); }

}  // namespace morix
