#include "memo/Memos.h"

#include "clock/Module1.h"
#include "memo/MemoFiles.h"

namespace morix {

Memos::Memos(Module1& module) : m(module) {}

Memos::~Memos() = default;

void Memos::DeletePastMemos() {
    const long long today = std::stoll(m.TodayStamp());
    const std::string folder = MemoFolder(m.platform.process.ProgramFolder());
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
    const std::string folder = MemoFolder(m.platform.process.ProgramFolder());
    for (const std::string& name : m.platform.files.ListFiles(folder, ".rtf")) {
        std::optional<long long> date = MemoDateValue(name);
        if (!date || *date != todayValue) continue;
        m.MemoPath = folder + "\\" + today + ".rtf";
        ShowMemoWindow();
    }
}

// The memo window (the rich-text balloon beside the clock) and the picker
// join the program with their windows; until then a request to show the
// window passes, as a failure of the automatic memo steps would, and no
// window is open to close or move.
void Memos::ShowMemoWindow() {}
void Memos::CloseMemoWindow() { m.MemoWindowOpen = false; }
void Memos::HideMemoWindow() {}
void Memos::RevealMemoWindow() {}
void Memos::PlaceMemoWindow(const std::string&, const BalloonPlacement&) {}
void Memos::OpenMemoPicker() {}
void Memos::DeleteMemoByHand() {}

}  // namespace morix
