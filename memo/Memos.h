// The memo subsystem as the rest of the program reaches it: the automatic
// steps (past memos deleted, the memo of the day shown), the memo window and
// the memo date picker.
#pragma once

#include "clock/Subsystems.h"

namespace morix {

class Module1;

class Memos final : public MemoWindows {
public:
    explicit Memos(Module1& module);
    ~Memos() override;

    void DeletePastMemos() override;
    void ShowMemoAtStart() override;
    void ShowTodayMemo() override;
    void ShowMemoWindow() override;
    void CloseMemoWindow() override;
    void HideMemoWindow() override;
    void RevealMemoWindow() override;
    void PlaceMemoWindow(const std::string& frameName, const BalloonPlacement& placement) override;
    void OpenMemoPicker() override;
    void DeleteMemoByHand() override;

private:
    Module1& m;
};

}  // namespace morix
