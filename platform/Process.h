// The program's process: where it lives, whether it already runs, and its end.
#pragma once

#include <string>

namespace morix::platform {

class Process {
public:
    virtual ~Process() = default;
    // The folder that holds the executable, without a trailing separator.
    virtual std::string ProgramFolder() const = 0;
    // The user's own folder for the data of programs (the local application
    // data folder on Windows), without a trailing separator; "" when there is
    // none.
    virtual std::string LocalDataFolder() const = 0;
    // True when another instance of the program runs (answered once, before
    // any window exists; the answer holds for the life of this process).
    virtual bool AnotherInstanceRunning() = 0;
    // Ends the process at once: no unload handling runs.
    [[noreturn]] virtual void Exit(int code) = 0;
};

}  // namespace morix::platform
