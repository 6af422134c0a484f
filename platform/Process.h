// The program's process: where it lives, whether it already runs, and its end.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace morix::platform {

class Process {
public:
    virtual ~Process() = default;
    // The folder that holds the executable, without a trailing separator.
    virtual std::string ProgramFolder() const = 0;
    // The executable's full path.
    virtual std::string ExecutablePath() const = 0;
    // The user's own folder for the data of programs on this machine (the
    // local application data folder on Windows), without a trailing
    // separator; "" when there is none.
    virtual std::string LocalDataFolder() const = 0;
    // The user's own folder for the data of programs that follows the user
    // from machine to machine (the roaming application data folder), the
    // same way.
    virtual std::string RoamingDataFolder() const = 0;
    // True when another instance of the program runs (answered once, before
    // any window exists; the answer holds for the life of this process).
    virtual bool AnotherInstanceRunning() = 0;
    // Asks the system to start the program again, with no arguments, when
    // it closes it to update the program or itself (an installer's restart
    // manager, an update's restart); not after a crash or a hang.
    virtual void RegisterForRestart() = 0;
    // Whether this user's normal run of the program may make a file in the
    // folder. The same as this process may, unless it runs elevated (started
    // with 管理者として実行): then the user's everyday rights are asked.
    virtual bool NormalRunMayWrite(std::string_view folder) const = 0;
    // Ends the process at once: no unload handling runs.
    [[noreturn]] virtual void Exit(int code) = 0;

    // What the program saves when an error that nothing handled is about to
    // end it (an open memo's text); set by the program, run by the event
    // guard. A failure inside it is passed over: the program still ends.
    void OnFatalError(std::function<void()> save) { saveOnFatalError_ = std::move(save); }
    void SaveBeforeFatalExit() noexcept {
        const std::function<void()> save = saveOnFatalError_;
        if (!save) return;
        try {
            save();
        } catch (...) {
        }
    }

private:
    std::function<void()> saveOnFatalError_;
};

}  // namespace morix::platform
