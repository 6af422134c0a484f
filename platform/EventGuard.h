// Every event handler runs through this guard: an error that no procedure
// handled ends the program with the run-time's standard message, as an
// uncaught error does at the top of an event.
#pragma once

#include <functional>
#include <string>

namespace morix::platform {

class Process;
class Ui;

// "実行時エラー '6':" + two line breaks + the description.
std::string RunTimeErrorMessage(int number, const std::string& description);

void RunGuarded(Ui& ui, Process& process, const std::function<void()>& handler);

}  // namespace morix::platform
