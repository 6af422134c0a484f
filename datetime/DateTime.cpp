#include "datetime/DateTime.h"

#include "clock/FormLayout.h"
#include "clock/Module1.h"

namespace morix {

DateTime::DateTime(Module1& module) : m(module) {}

DateTime::~DateTime() = default;

void DateTime::OpenDateTime() {
    if (!form5_) {
        form5_ = std::make_unique<Form5>(m, *this);
        form5_->Form_Load();
    }
    ShowDialog(form5_->Window());
}

void DateTime::CloseDateTime() {
    if (!form5_) return;
    std::unique_ptr<Form5> form = std::move(form5_);
    form->Form_Unload();
}

void DateTime::AdministratorAnswered(platform::SetTimeOutcome outcome) {
    if (form5_) form5_->AdministratorAnswered(outcome);
}

}  // namespace morix
