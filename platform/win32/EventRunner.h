// Implements the one way the Win32 components call the program's event
// handlers: through platform::RunGuarded, so that an error no procedure
// handled shows the run-time's standard message and ends the process; and
// Fire, which calls a copy of a handler with a copy of the runner, so that a
// handler may destroy the object that holds both (a form unloading itself
// from its own button's click).
#pragma once

#include "platform/EventGuard.h"

#include <functional>
#include <utility>

namespace morix::platform::win32 {

class EventRunner {
public:
    EventRunner(Ui& ui, Process& process) : ui_(&ui), process_(&process) {}
    void operator()(const std::function<void()>& handler) const { RunGuarded(*ui_, *process_, handler); }

private:
    Ui* ui_;
    Process* process_;
};

// Runs `handler` (if set) through the guard. Both arrive by value: nothing
// of the caller is touched while or after the handler runs, so the caller
// must return at once afterwards without touching its own members either.
template <typename... Args>
void Fire(EventRunner run, std::function<void(Args...)> handler, Args... args) {
    if (!handler) return;
    run([&] { handler(args...); });
}

}  // namespace morix::platform::win32
