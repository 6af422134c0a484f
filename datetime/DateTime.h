// The date and time subsystem as the clock window reaches it: its dialog,
// loaded while it is open.
#pragma once

#include "clock/Subsystems.h"
#include "datetime/Form5.h"

#include <memory>

namespace morix {

class Module1;

class DateTime final : public DateTimeDialog {
public:
    explicit DateTime(Module1& module);
    ~DateTime() override;

    void OpenDateTime() override;
    void CloseDateTime();
    // The answer of a setting with an administrator's rights, for the dialog
    // that asked if it is still open.
    void AdministratorAnswered(platform::SetTimeOutcome outcome);

    Form5* form5() const { return form5_.get(); }

private:
    Module1& m;
    std::unique_ptr<Form5> form5_;
};

}  // namespace morix
