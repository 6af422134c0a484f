#include "platform/EventGuard.h"

#include "base/RuntimeError.h"
#include "platform/Process.h"
#include "platform/Ui.h"

namespace morix::platform {

std::string RunTimeErrorMessage(int number, const std::string& description) {
    return "実行時エラー '" + std::to_string(number) + "':\r\n\r\n" + description;
}

void RunGuarded(Ui& ui, Process& process, const std::function<void()>& handler) {
    int number = 0;
    std::string description;
    try {
        handler();
        return;
    } catch (const RuntimeError& e) {
        number = e.Number();
        description = e.Description();
    } catch (const std::bad_alloc&) {
        number = err::OutOfMemory;
        description = StandardDescription(number);
    } catch (const std::exception& e) {
        number = 51;  // internal error
        description = std::string("内部エラーです。 (") + e.what() + ")";
    }
    // Saved before the message: the user may well end the process from
    // outside rather than answer it.
    process.SaveBeforeFatalExit();
    ui.ShowMessageBox(RunTimeErrorMessage(number, description), "Morix", MessageButtons::Ok, MessageIcon::Stop);
    process.Exit(1);
}

}  // namespace morix::platform
