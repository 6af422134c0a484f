// The information balloon: a speech balloon of 280 x 140 pixels beside the
// clock, shaped to the frame picture of its corner, listing the chosen
// information lines in a rich-text box while the pointer rests on the clock.
#pragma once

#include "base/Twips.h"
#include "platform/Controls.h"
#include "platform/ListBox.h"
#include "platform/RichTextBox.h"
#include "platform/Window.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace morix {

class InfoLines;
class Module1;

class Form8 final {
public:
    Form8(Module1& module, InfoLines& lines);
    ~Form8();
    Form8(const Form8&) = delete;
    Form8& operator=(const Form8&) = delete;

    // On a failure the user chose to go on from, the balloon is shown as far
    // as it was built; Usable() tells whether anything of it was.
    void Form_Load();
    bool Usable() const { return placed_; }
    void Form_Unload();
    // The tick's refresh: the four changing lines built again, the text
    // replaced; size, place and picture stay as the opening chose them. Its
    // failures go to the error prompt, once for the balloon.
    void Refresh();

    // Position and size in twips.
    TwipsRect Bounds() const;

    // The item settings, read at the opening and kept for the refreshes.
    std::int32_t CpuItemSetting = 0;
    std::int32_t ResourceItemSetting = 0;
    std::int32_t MemoryItemSetting = 0;
    std::int32_t PowerItemSetting = 0;
    std::int32_t DiskItemSetting = 0;
    std::int32_t MemoItemSetting = 0;
    std::int32_t ZonesItemSetting = 0;

private:
    // The chosen lines into lstSysInfo, each built first when `rebuild`
    // (the disk and memo lines are built at the opening only), then their
    // text into RichTextBox1.
    void ListLines(bool opening);
    void ShowListedText(bool opening);

    Module1& m;
    InfoLines& lines_;
    std::unique_ptr<platform::Window> window_;
    // The collections of the lines shown and of the drives to measure;
    // neither is visible.
    std::unique_ptr<platform::ListBox> lstSysInfo_;
    std::unique_ptr<platform::ListBox> List1_;
    std::unique_ptr<platform::RichTextBox> RichTextBox1_;
    std::unique_ptr<platform::Shaper> ysTransForm1_;
    long long leftTwips_ = 0, topTwips_ = 0, widthTwips_ = 0, heightTwips_ = 0;
    bool placed_ = false;  // sized and placed beside the clock
    // What the window was last laid out for: its box's scale and the frame
    // picture its outline was made from (empty until one was applied).
    std::optional<TwipsPerPixel> boxScale_;
    std::string outline_;
    // A failure of this balloon's lines was put to the user, who went on.
    bool failureReported_ = false;
};

}  // namespace morix
