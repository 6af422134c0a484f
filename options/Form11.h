// The dialog "他の地域の時刻", opened from the extended options: up to eight
// zones picked from the system's list, each with a label the user may edit,
// in the order the balloon lists them. OK hands the choice back to the
// extended options, which store it with their own OK.
#pragma once

#include "platform/Control.h"
#include "platform/ListBox.h"
#include "platform/Window.h"
#include "settings/OtherZones.h"

#include <functional>
#include <memory>
#include <vector>

namespace morix {

class Module1;

class Form11 final {
public:
    using Chosen = std::function<void(const std::vector<ChosenZone>&)>;
    // `closed` runs once the dialog is done with, after `chosen` on OK.
    Form11(Module1& module, std::vector<ChosenZone> zones, Chosen chosen, std::function<void()> closed);
    ~Form11();
    Form11(const Form11&) = delete;
    Form11& operator=(const Form11&) = delete;

    void Form_Load();
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    void lstChosen_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    platform::Window& Window() { return *window_; }

private:
    // The chosen zones into their list, `select` selected, and the label
    // box and the buttons to match.
    void ShowChosen(int select);
    // The label box's text back into the zone it belongs to.
    void KeepLabel();
    void Move(int from, int to);

    Module1& m;
    std::vector<platform::ZoneName> system_;
    std::vector<ChosenZone> zones_;
    int editing_ = -1;  // the zone whose label the box holds
    Chosen chosen_;
    std::function<void()> closed_;
    std::unique_ptr<platform::Window> window_;
    std::unique_ptr<platform::Control> Label1_, Label2_, Label3_, txtLabel_;
    std::unique_ptr<platform::Control> cmdAdd_, cmdRemove_, cmdUp_, cmdDown_, cmdCancel_, cmdOK_;
    std::unique_ptr<platform::ListBox> lstZones_, lstChosen_;
};

}  // namespace morix
