// Sets the system's date and time through MorixSetTime.exe, the helper
// beside the program whose manifest asks for an administrator: it is started
// with ShellExecuteExW's "runas" on a thread of its own, because the call
// returns only once the user has answered the system's elevation prompt,
// and the program's windows must go on answering meanwhile. The thread then
// waits for the helper's end and posts its exit code back to a message-only
// window of the thread that owns this object, where `done` is called:
// 0 Done; ERROR_CANCELLED from the start (the prompt declined) Declined;
// ERROR_PRIVILEGE_NOT_HELD or ERROR_ACCESS_DENIED Denied; any other start
// failure NotStarted; any other exit code, or a helper still running after
// HelperWaitMs, Failed. One setting at a time.
#pragma once

#include "platform/Clock.h"
#include "platform/win32/EventRunner.h"
#include "platform/win32/FormWindowClass.h"
#include "platform/win32/Win32Handles.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace morix::platform::win32 {

inline constexpr wchar_t SetTimeHelperName[] = L"MorixSetTime.exe";

class ElevatedTimeSetter final : private MessageTarget {
public:
    static constexpr DWORD HelperWaitMs = 60000;

    // Without a runner `done` is called directly (the component tests).
    ElevatedTimeSetter(std::optional<EventRunner> run, std::wstring helperPath);
    ~ElevatedTimeSetter();
    ElevatedTimeSetter(const ElevatedTimeSetter&) = delete;
    ElevatedTimeSetter& operator=(const ElevatedTimeSetter&) = delete;

    void Start(const TimeRequest& request, HWND owner, std::function<void(SetTimeOutcome)> done);

private:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void Finish(SetTimeOutcome outcome);

    std::optional<EventRunner> run_;
    std::wstring helperPath_;
    UniqueWindow window_;
    std::function<void(SetTimeOutcome)> done_;  // set while a setting runs
};

}  // namespace morix::platform::win32
