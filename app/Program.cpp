#include "app/Program.h"

#include "platform/EventGuard.h"

namespace morix {

Program::Program(platform::Platform& platform)
    : module_(platform), memos_(module_), infoBalloon_(module_), options_(module_), dateTime_(module_), alarms_(module_) {
    module_.memos = &memos_;
    module_.infoBalloon = &infoBalloon_;
    module_.options = &options_;
    module_.dateTime = &dateTime_;
    module_.alarms = &alarms_;
}

void Program::Main() {
    platform::RunGuarded(module_.platform.ui, module_.platform.process, [this] { module_.Main(); });
}

}  // namespace morix
