// The alarm window "Morix - アラーム": beside the clock where a balloon goes,
// above every window, shown without taking the keyboard from what the user
// types into. It shows the due alarms' times and messages, and answers with
// "停止" or "5分後にもう一度".
#pragma once

#include "platform/Control.h"
#include "platform/Window.h"

#include <memory>
#include <string>

namespace morix {

class Module1;
class Alarms;

class Form9 final {
public:
    Form9(Module1& module, Alarms& alarms);
    ~Form9();
    Form9(const Form9&) = delete;
    Form9& operator=(const Form9&) = delete;

    // Shows the text (placed beside the clock the first time); snoozing is
    // offered only while an alarm rings.
    void Show(const std::string& text, bool canSnooze);
    void cmdStop_Click();
    void cmdSnooze_Click();

    platform::Window& Window() { return *window_; }

private:
    Module1& m;
    Alarms& alarms_;
    std::unique_ptr<platform::Window> window_;
    std::unique_ptr<platform::Control> lblMessage_, cmdStop_, cmdSnooze_;
};

}  // namespace morix
