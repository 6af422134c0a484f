#include "options/Options.h"

#include "clock/FormLayout.h"
#include "clock/Module1.h"

namespace morix {

Options::Options(Module1& module) : m(module) {}

Options::~Options() = default;

// Shown with the front and the keyboard, then above the other windows; opened
// again while open, it only comes to the front again.
void Options::OpenBasicOptions() {
    if (!form3_) {
        form3_ = std::make_unique<Form3>(m, *this);
        form3_->Form_Load();
    }
    ShowDialog(form3_->Window());
}

void Options::OpenExtendedOptions() {
    if (!form4_) {
        form4_ = std::make_unique<Form4>(m, *this);
        form4_->Form_Load();
    }
    ShowDialog(form4_->Window());
}

void Options::CloseBasicOptions() {
    if (!form3_) return;
    std::unique_ptr<Form3> form = std::move(form3_);
    form->Form_Unload();
}

void Options::CloseExtendedOptions() {
    if (!form4_) return;
    std::unique_ptr<Form4> form = std::move(form4_);
    form->Form_Unload();
}

}  // namespace morix
