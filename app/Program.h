// The program assembled from its subsystems over a platform: the clock
// window's shared state (Module1) and the windows of the subsystems above it,
// handed to it. Morix.exe builds one over the Win32 services; every native
// test builds a fresh one over the simulated desktop.
#pragma once

#include "alarm/Alarms.h"
#include "clock/Module1.h"
#include "datetime/DateTime.h"
#include "info/InfoBalloon.h"
#include "memo/Memos.h"
#include "options/Options.h"

namespace morix {

class Program {
public:
    explicit Program(platform::Platform& platform);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The program entry, through the event guard: an error that nothing
    // handled ends the process with the run-time's standard message.
    void Main();

    Module1& module() { return module_; }
    InfoBalloon& infoBalloon() { return infoBalloon_; }
    Memos& memos() { return memos_; }
    Options& options() { return options_; }
    DateTime& dateTime() { return dateTime_; }
    Alarms& alarms() { return alarms_; }

private:
    Module1 module_;
    Memos memos_;
    InfoBalloon infoBalloon_;
    Options options_;
    DateTime dateTime_;
    Alarms alarms_;
};

}  // namespace morix
