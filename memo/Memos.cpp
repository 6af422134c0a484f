#include "memo/Memos.h"

#include "clock/Form1.h"
#include "clock/FormLayout.h"
#include "clock/Module1.h"
#include "memo/MemoFiles.h"
#include "platform/RichTextBox.h"

namespace morix {

Memos::Memos(Module1& module) : m(module) {}

Memos::~Memos() = default;

void Memos::DeletePastMemos() {
    const long long today = std::stoll(m.TodayStamp());
    const std::string folder = MemoFolder(m.DataFolder());
    for (const std::string& name : m.platform.files.ListFiles(folder, ".rtf")) {
        std::optional<long long> date = MemoDateValue(name);
        // A file that cannot be deleted is passed over; nothing is reported.
        if (date && *date < today) m.platform.files.RemoveFile(folder + "\\" + name);
    }
}

void Memos::ShowMemoAtStart() {
    switch (MemoStartActionDue(m.Settings(), m.TodayStamp())) {
    case MemoStartAction::ShowSample: ShowMemoWindow(); break;
    case MemoStartAction::ShowToday: ShowTodayMemo(); break;
    case MemoStartAction::None: break;
    }
}

void Memos::ShowTodayMemo() {
    if (m.MemoWindowOpen) CloseMemoWindow();
    const std::string today = m.TodayStamp();
    const long long todayValue = std::stoll(today);
    const std::string folder = MemoFolder(m.DataFolder());
    for (const std::string& name : m.platform.files.ListFiles(folder, ".rtf")) {
        std::optional<long long> date = MemoDateValue(name);
        if (!date || *date != todayValue) continue;
        m.MemoPath = folder + "\\" + today + ".rtf";
        ShowMemoWindow();
    }
}

void Memos::ShowMemoWindow() {
    // Shown again while it is open, it stays the one window it is.
    if (form7_) return;
    if (!m.MemoPath.empty() && TooLargeToOpen(m.MemoPath)) return;
    // The window of an earlier opening is shown again rather than made anew.
    form7_ = spare_ ? std::move(spare_) : std::make_unique<Form7>(m, *this);
    form7_->Form_Load();
    // A window whose opening failed before it was even placed holds nothing
    // of the user's: it closes, writing nothing.
    if (form7_ && !form7_->Usable()) CloseMemoWindow();
    // Opened while the clock stands aside for a full-screen program (today's
    // memo at midnight), it waits hidden with the clock.
    if (form7_ && m.HiddenForFullScreen) HideMemoWindow();
}

bool Memos::TooLargeToOpen(const std::string& path) {
    const std::optional<std::string> bytes = m.platform.files.ReadAll(path);
    if (!bytes) return false;  // the window reports what cannot be read
    // What the window saved, it opens again, however long that takes: the
    // box held all of it once, and a memo of the user's own is never locked
    // away by the program that wrote it.
    if (platform::HasOwnRtfMark(*bytes)) return false;
    const double cost = MemoOpeningCost(*bytes);
    if (cost <= MemoOpeningLimitMs) return false;
    // Said plainly, and nothing opens: the file stays as it is.
    m.platform.ui.ShowMessageBox(path + "\r\nこの備忘録は大きすぎるため開けません（" + std::to_string(bytes->size() / 1024) +
                                     " KB）。",
                                 "Morix", platform::MessageButtons::Ok, platform::MessageIcon::Exclamation,
                                 m.form1() ? &m.form1()->Window() : nullptr);
    return true;
}

void Memos::CloseMemoWindow() {
    if (!form7_) {
        m.MemoWindowOpen = false;
        return;
    }
    // The window is gone even when its closing fails; the error still
    // reaches the event's guard.
    std::unique_ptr<Form7> form = std::move(form7_);
    form->Form_Unload();
    if (spare_) return;
    form->PutAway();
    spare_ = std::move(form);
}

void Memos::SaveOpenMemo() {
    if (form7_) form7_->SaveMemo();
}

void Memos::HideMemoWindow() {
    if (form7_) form7_->Window().SetVisible(false);
}

void Memos::RevealMemoWindow() {
    if (form7_) form7_->Window().ShowTopmostInactive();
}

void Memos::PlaceMemoWindow(const std::string& frameName, const BalloonPlacement& placement) {
    if (form7_) form7_->Place(frameName, placement);
}

void Memos::OpenMemoPicker() {
    if (form2_) return;
    form2_ = std::make_unique<Form2>(m, *this);
    form2_->Form_Load();
    ShowDialog(form2_->Window());
}

void Memos::ClosePicker() {
    if (!form2_) return;
    std::unique_ptr<Form2> form = std::move(form2_);
    form->Form_Unload();
}

void Memos::DeleteMemoByHand() {
    // Cancelling, or any failure, ends it silently; the shell asks its own
    // question and shows its own messages.
    platform::Window* owner = m.form1() ? &m.form1()->Window() : nullptr;
    const std::optional<std::string> chosen = m.platform.ui.ShowOpenFileDialog(
        owner, "テキストファイル (*.rtf)|*.rtf", MemoFolder(m.DataFolder()));
    if (chosen) m.platform.ui.DeleteToRecycleBin(owner, *chosen);
}

}  // namespace morix
