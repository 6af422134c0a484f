// The time set through MorixSetTime.exe, the real helper of the program
// folder, started by ShellExecuteExW's "runas" on a thread of its own and
// answered on this thread's messages. Wine starts it without a prompt and
// lets nobody move its clock by more than half a second, so each answer can
// be had without touching this machine's clock: the time it already shows is
// taken (a change of nothing), an hour on is refused. On Windows the
// elevation prompt would come up: these cases run under Wine only.
#include "platform/TimeRequest.h"
#include "platform/win32/ElevatedTimeSetter.h"
#include "platform/win32/Wide.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace morix::win32test {
namespace {

using platform::SetTimeOutcome;
using platform::SetTimeResult;
using platform::TimeRequest;
using platform::win32::ElevatedTimeSetter;

bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// The local time at the start of a second (the request carries whole
// seconds), moved on by the hours.
TimeRequest NowMovedOn(int hours) {
    SYSTEMTIME t{};
    for (GetLocalTime(&t); t.wMilliseconds > 30; GetLocalTime(&t)) Sleep(1);
    const ULONGLONG chosenAt = GetTickCount64();
    FILETIME f{};
    SystemTimeToFileTime(&t, &f);
    ULARGE_INTEGER at{{f.dwLowDateTime, f.dwHighDateTime}};
    at.QuadPart += static_cast<ULONGLONG>(hours) * 3600ULL * 10000000ULL;
    f = {at.LowPart, at.HighPart};
    FileTimeToSystemTime(&f, &t);
    return {{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond}, chosenAt};
}

// Runs this thread's messages until the answer comes (at most 30 s).
std::optional<SetTimeOutcome> AnswerOf(ElevatedTimeSetter& setter, const TimeRequest& request, bool& answeredAtOnce) {
    std::optional<SetTimeOutcome> answer;
    setter.Start(request, nullptr, [&](SetTimeOutcome outcome) { answer = outcome; });
    answeredAtOnce = answer.has_value();
    const ULONGLONG until = GetTickCount64() + 30000;
    while (!answer && GetTickCount64() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    return answer;
}

TEST(Win32ElevatedTime, TheHelpersAnswerComesBackAsTheOutcome) {
    if (!UnderWine()) GTEST_SKIP() << "on Windows the elevation prompt would ask a person";
    const std::wstring folder = platform::win32::Widen(MORIX_DIST_DIR);
    const std::wstring helper = folder + L"\\MorixSetTime.exe";
    ASSERT_NE(GetFileAttributesW(helper.c_str()), INVALID_FILE_ATTRIBUTES) << "no helper in " << MORIX_DIST_DIR;
    struct Case {
        const char* what;
        std::wstring path;
        int hours;
        SetTimeOutcome outcome;
    } cases[] = {
        {"the time it shows", helper, 0, {SetTimeResult::Done, 0}},
        {"an hour on, refused", helper, 1, {SetTimeResult::Denied, ERROR_PRIVILEGE_NOT_HELD}},
        {"no helper", folder + L"\\NoSuchHelper.exe", 0, {SetTimeResult::NotStarted, ERROR_FILE_NOT_FOUND}},
    };
    for (const Case& c : cases) {
        ElevatedTimeSetter setter(std::nullopt, c.path);
        bool answeredAtOnce = true;
        const std::optional<SetTimeOutcome> answer = AnswerOf(setter, NowMovedOn(c.hours), answeredAtOnce);
        EXPECT_FALSE(answeredAtOnce) << c.what << ": the start waited for the helper";
        ASSERT_TRUE(answer.has_value()) << c.what << ": no answer in 30 s";
        EXPECT_EQ(*answer, c.outcome) << c.what << ": " << static_cast<int>(answer->result) << " " << answer->error;
    }
}

}  // namespace
}  // namespace morix::win32test
