// The extended options dialog "拡張オプション": following the window in front
// and its size rule, the information balloon and its lines, the drive kinds
// of the free-space line and the memo line's text, and whether the clock
// steps aside for a full-screen program. OK writes them and
// reloads the clock window; the clock stays usable meanwhile.
#pragma once

#include "platform/Control.h"
#include "platform/Window.h"
#include "settings/OtherZones.h"

#include <array>
#include <memory>
#include <vector>

namespace morix {

class Form11;
class Module1;
class Options;

class Form4 final {
public:
    Form4(Module1& module, Options& options);
    ~Form4();
    Form4(const Form4&) = delete;
    Form4& operator=(const Form4&) = delete;

    void Form_Load();
    void Form_Unload();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click(int index);
    void cmdOK_Click();
    void cmdCancel_Click();
    void Check6_Click();
    void cmdZones_Click();

    platform::Window& Window() { return *window_; }

private:
    void LoadFollowOptions();
    void LoadInfoOptions();
    void SaveExtendedOptions();
    void SetDriveBoxesEnabled(bool enabled);
    void SetZoneControlsEnabled();
    void CloseZoneChoice();

    Module1& m;
    Options& options_;
    std::unique_ptr<platform::Window> window_;
    std::unique_ptr<platform::Control> Check1_, Picture1_, Check2_, Picture2_, Text1_, Image1_, Label1_, Check5_;
    std::array<std::unique_ptr<platform::Control>, 4> Option1_;
    std::array<std::unique_ptr<platform::Control>, 6> Check3_;
    std::array<std::unique_ptr<platform::Control>, 3> Check4_;
    // The decoration: rules after the captions of Check1 and Check2, and a
    // frame of four lines around the picture and the label.
    std::array<std::unique_ptr<platform::Control>, 6> Line_;
    std::unique_ptr<platform::Control> cmdCancel_, cmdOK_;
    // Other places' time: the balloon's switch for it, the button to the
    // choosing dialog, and the choice made there, stored by OK.
    std::unique_ptr<platform::Control> Check6_, cmdZones_;
    std::unique_ptr<Form11> form11_;
    std::vector<ChosenZone> zones_;
    bool zonesChosen_ = false;
};

}  // namespace morix
