// The information subsystem as the clock window reaches it: the balloon
// loaded while the pointer rests on the clock, its lines, and the binding to
// the measurement library, which lives as long as the program.
#pragma once

#include "clock/Subsystems.h"
#include "info/Form8.h"
#include "info/InfoLines.h"
#include "info/Vitalink.h"

#include <memory>

namespace morix {

class Module1;

class InfoBalloon final : public InfoBalloonWindow {
public:
    explicit InfoBalloon(Module1& module);
    ~InfoBalloon() override;

    void Show() override;
    void Refresh() override;
    void Unload() override;
    TwipsRect Bounds() const override;

    // The balloon while it is loaded, else nullptr.
    Form8* form8() const { return loaded_ ? form8_.get() : nullptr; }

private:
    Module1& m;
    Vitalink vitalink_;
    InfoLines lines_;
    // Made at the first opening and kept, hidden while unloaded: making and
    // destroying its window and controls was most of an opening's time.
    std::unique_ptr<Form8> form8_;
    bool loaded_ = false;
};

}  // namespace morix
