#include "info/InfoBalloon.h"

#include "clock/Module1.h"

namespace morix {

InfoBalloon::InfoBalloon(Module1& module)
    : m(module), vitalink_(module.platform.libraries), lines_(module, vitalink_) {}

InfoBalloon::~InfoBalloon() = default;

void InfoBalloon::Show() {
    if (form8_) return;
    form8_ = std::make_unique<Form8>(m, lines_);
    form8_->Form_Load();
    if (form8_ && !form8_->Usable()) Unload();
}

void InfoBalloon::Refresh() {
    if (form8_) form8_->Refresh();
}

void InfoBalloon::Unload() {
    if (!form8_) return;
    std::unique_ptr<Form8> form = std::move(form8_);
    form->Form_Unload();
}

TwipsRect InfoBalloon::Bounds() const { return form8_ ? form8_->Bounds() : TwipsRect{}; }

}  // namespace morix
