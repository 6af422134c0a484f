#include "info/InfoBalloon.h"

#include "clock/Module1.h"

namespace morix {

InfoBalloon::InfoBalloon(Module1& module)
    : m(module), vitalink_(module.platform.libraries), lines_(module, vitalink_) {}

InfoBalloon::~InfoBalloon() = default;

void InfoBalloon::Show() {
    if (loaded_) return;
    if (!form8_) form8_ = std::make_unique<Form8>(m, lines_);
    loaded_ = true;
    form8_->Form_Load();
    if (loaded_ && !form8_->Usable()) Unload();
}

void InfoBalloon::Refresh() {
    if (loaded_) form8_->Refresh();
}

void InfoBalloon::Unload() {
    if (!loaded_) return;
    loaded_ = false;
    form8_->Form_Unload();
}

TwipsRect InfoBalloon::Bounds() const { return loaded_ ? form8_->Bounds() : TwipsRect{}; }

}  // namespace morix
