// The basic options dialog "オプション": memo behaviour, the chime (with a
// trial), the clock design (with a two-second preview) and the balloon frame
// (with its picture), and whether Windows starts Morix at logon. OK writes
// six settings and the logon entry and reloads the clock window;
// the clock takes no input while the dialog is open.
#pragma once

#include "platform/Control.h"
#include "platform/Controls.h"
#include "platform/ListBox.h"
#include "platform/Window.h"

#include <array>
#include <memory>

namespace morix {

class Module1;
class Options;

class Form3 final {
public:
    Form3(Module1& module, Options& options);
    ~Form3();
    Form3(const Form3&) = delete;
    Form3& operator=(const Form3&) = delete;

    void Form_Load();
    void Form_Unload();
    void Check3_Click();
    void Check4_Click();
    void lstHukidasi_Click();
    void cmdPreView_Click();
    void Timer1_Timer();
    void cmdPlay_Click();
    void cmdStop_Click();
    void mciChyaim_Done();
    void cmdOK_Click();
    void cmdCancel_Click();

    platform::Window& Window() { return *window_; }

    // The design preview runs; a chime started with "Play" plays.
    bool PreviewBusy = false;
    bool ChimeBusy = false;

private:
    void LoadAutoDelete();
    void LoadAutoShow();
    void FillDesignList();
    void FillChimeList();
    void FillFrameList();
    void SaveOptions();
    void LoadLogonStart();
    void SaveLogonStart();
    // Fills the list from the folder's entries in the system's order and
    // selects the stored name (letter case counts).
    void FillList(platform::ListBox& list, const std::vector<std::string>& entries, const std::string& stored);
    void SetChimeControlsEnabled(bool enabled);

    Module1& m;
    Options& options_;
    std::unique_ptr<platform::Window> window_;
    std::unique_ptr<platform::Control> Check2_, Check3_, Picture1_, Check4_, Picture2_;
    std::array<std::unique_ptr<platform::Control>, 2> Option1_, Option2_;
    std::unique_ptr<platform::Control> Frame1_, cmdPreView_, Frame2_, cmdPlay_, cmdStop_, Frame3_, imgHukidasi_;
    std::unique_ptr<platform::ListBox> lstDsin_, lstCyaim_, lstHukidasi_;
    std::unique_ptr<platform::Animation> aniPreView_;
    std::unique_ptr<platform::Control> Check5_;
    // The logon box's value as loaded: OK changes the entry only when it changed.
    int logonShown_ = 0;
    std::unique_ptr<platform::Control> cmdOK_, cmdCancel_;
    std::unique_ptr<platform::Timer> Timer1_;
    std::unique_ptr<platform::SoundDevice> mciChyaim_;
};

}  // namespace morix
