// The memo subsystem as the rest of the program reaches it: the automatic
// steps (past memos deleted, the memo of the day shown), the memo window, the
// memo date picker and the deletion by hand.
#pragma once

#include "clock/Subsystems.h"
#include "memo/Form2.h"
#include "memo/Form7.h"

#include <memory>

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
    void SaveOpenMemo() override;
    void HideMemoWindow() override;
    void RevealMemoWindow() override;
    void PlaceMemoWindow(const std::string& frameName, const BalloonPlacement& placement) override;
    void OpenMemoPicker() override;
    void DeleteMemoByHand() override;
    void ClosePicker();

    // The windows while they are loaded, else nullptr.
    Form7* form7() const { return form7_.get(); }
    Form2* form2() const { return form2_.get(); }

private:
    // A memo whose opening would hold the clock too long: the user is told
    // and nothing opens.
    bool TooLargeToOpen(const std::string& path);

    Module1& m;
    std::unique_ptr<Form7> form7_;
    // A closed memo window, hidden, kept for the next opening.
    std::unique_ptr<Form7> spare_;
    std::unique_ptr<Form2> form2_;
};

}  // namespace morix
