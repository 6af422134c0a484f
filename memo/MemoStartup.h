// The memo subsystem's entry points that the clock window calls: the past-memo
// clean-up, the memo of the day, the sample memo, and closing the memo window.
#pragma once

#include <string>

namespace morix {

class Module1;
struct BalloonPlacement;

// What a fresh start does about memos after the clean-up, decided by the
// clock window's start-up.
enum class MemoStartAction { None, ShowSample, ShowToday };

void DeletePastMemos(Module1& m);
void ShowTodayMemo(Module1& m);
void ShowSampleMemo(Module1& m);
// Shows the memo window on MemoPath.
void ShowMemoWindow(Module1& m);
void CloseMemoWindow(Module1& m);
// Moves an open memo window to the placement and gives it the frame picture
// of that corner.
void PlaceMemoWindow(Module1& m, const std::string& frameName, const BalloonPlacement& placement);

}  // namespace morix
