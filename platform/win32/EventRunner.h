// Implements the one way the Win32 components call the program's event
// handlers: through platform::RunGuarded, so that an error no procedure
// handled shows the run-time's standard message and ends the process.
#pragma once

#include "platform/EventGuard.h"

#include <functional>

namespace morix::platform::win32 {

class EventRunner {
public:
    EventRunner(Ui& ui, Process& process) : ui_(&ui), process_(&process) {}
    void operator()(const std::function<void()>& handler) const { RunGuarded(*ui_, *process_, handler); }

private:
    Ui* ui_;
    Process* process_;
};

}  // namespace morix::platform::win32
