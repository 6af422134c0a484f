// The options subsystem as the clock window reaches it: the basic options
// dialog (Form3) and the extended options dialog (Form4), each loaded while
// it is open.
#pragma once

#include "clock/Subsystems.h"
#include "options/Form3.h"
#include "options/Form4.h"

#include <memory>

namespace morix {

class Module1;

class Options final : public OptionDialogs {
public:
    explicit Options(Module1& module);
    ~Options() override;

    void OpenBasicOptions() override;
    void OpenExtendedOptions() override;
    void CloseBasicOptions();
    void CloseExtendedOptions();

    Form3* form3() const { return form3_.get(); }
    Form4* form4() const { return form4_.get(); }

private:
    Module1& m;
    std::unique_ptr<Form3> form3_;
    std::unique_ptr<Form4> form4_;
};

}  // namespace morix
