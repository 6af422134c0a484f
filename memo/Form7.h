// The memo window: a speech balloon of 280 x 140 pixels beside the clock,
// shaped to the frame picture of its corner, that shows one memo file (or the
// sample memo) in an editable rich-text box and saves it when it closes.
#pragma once

#include "base/Placement.h"
#include "base/Twips.h"
#include "platform/Control.h"
#include "platform/Controls.h"
#include "platform/RichTextBox.h"
#include "platform/Window.h"

#include <memory>
#include <optional>
#include <string>

namespace morix {

class Memos;
class Module1;

class Form7 final {
public:
    Form7(Module1& module, const Memos& memos);
    ~Form7();
    Form7(const Form7&) = delete;
    Form7& operator=(const Form7&) = delete;

    // On a failure the user chose to go on from, the window is shown as far
    // as it was built; Usable() tells whether anything of it was.
    void Form_Load();
    bool Usable() const { return placed_; }
    // Every way of closing ends here, and it saves what the user changed.
    void Form_Unload();
    void picClose_Click();
    // After the closing, the window hidden and its box emptied, kept for the
    // next opening, which shows it again.
    void PutAway();

    // The memo saved to the file it was loaded from, when the user changed
    // it, without closing the window: on a failure the text goes to a
    // recovery copy and the user is told.
    void SaveMemo();
    // Sized and moved to the placement, with that corner's frame picture.
    void Place(const std::string& frameName, const BalloonPlacement& placement);
    platform::Window& Window() { return *window_; }

private:
    // Where the text goes when its file cannot be written: a copy in the
    // data folder's "\Recovered", else in the user's local data folder.
    std::string WriteRecoveryCopy(const std::string& failedPath);
    void ReportSaveFailure(const std::string& path, const std::string& reason);
    bool ShowsSample() const { return showsSample_; }
    // The frame picture of the corner as the window's face and outline.
    void ApplyFrame(const std::string& frameName, const std::string& pictureName);
    void LayOut(TwipsPerPixel scale);
    void MakeTextBox();
    void PlaceTextBox(TwipsPerPixel scale);

    Module1& m;
    const Memos& memos_;
    std::unique_ptr<platform::Window> window_;
    std::unique_ptr<platform::RichTextBox> txtMsg_;
    std::unique_ptr<platform::Control> picClose_;
    std::unique_ptr<platform::Control> Check1_;
    std::unique_ptr<platform::Shaper> ysTransForm1_;
    bool memoLoaded_ = false;  // the memo file's content is what the box holds
    std::string memoPath_;     // the memo file the window shows, whatever MemoPath becomes later
    bool placed_ = false;      // sized and placed beside the clock
    bool showsSample_ = false;  // the sample memo is what the box holds
    std::optional<TwipsPerPixel> laidOutFor_;
    std::string shapedWith_;  // the frame picture the window's face and outline come from
};

}  // namespace morix
