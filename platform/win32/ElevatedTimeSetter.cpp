#include "platform/win32/ElevatedTimeSetter.h"

#include "platform/TimeRequest.h"
#include "platform/win32/Wide.h"

#include <objbase.h>
#include <shellapi.h>

#include <memory>
#include <stdexcept>

namespace morix::platform::win32 {

namespace {

constexpr UINT FinishedMessage = WM_APP + 30;  // wParam: SetTimeResult, lParam: the error code

struct Job {
    std::wstring file, parameters;
    HWND owner, reply;
};

SetTimeOutcome Run(const Job& job) {
    SHELLEXECUTEINFOW run{};
    run.cbSize = sizeof run;
    // No error box of the shell's own: the dialog tells what happened.
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    run.hwnd = job.owner;
    run.lpVerb = L"runas";
    run.lpFile = job.file.c_str();
    run.lpParameters = job.parameters.c_str();
    run.nShow = SW_HIDE;
    if (!ShellExecuteExW(&run)) {
        const DWORD error = GetLastError();
        if (error == ERROR_CANCELLED) return {SetTimeResult::Declined, error};
        return {SetTimeResult::NotStarted, error};
    }
    if (run.hProcess == nullptr) return {SetTimeResult::NotStarted, ERROR_INVALID_HANDLE};
    const Handle process(run.hProcess);
    if (WaitForSingleObject(process.Get(), ElevatedTimeSetter::HelperWaitMs) != WAIT_OBJECT_0)
        return {SetTimeResult::Failed, WAIT_TIMEOUT};
    DWORD code = 0;
    if (!GetExitCodeProcess(process.Get(), &code)) return {SetTimeResult::Failed, GetLastError()};
    if (code == ERROR_SUCCESS) return {SetTimeResult::Done, 0};
    if (code == ERROR_PRIVILEGE_NOT_HELD || code == ERROR_ACCESS_DENIED) return {SetTimeResult::Denied, code};
    return {SetTimeResult::Failed, code};
}

DWORD WINAPI RunJob(void* parameter) {
    const std::unique_ptr<Job> job(static_cast<Job*>(parameter));
    // The shell may hand the start to extensions that need COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const SetTimeOutcome outcome = Run(*job);
    if (SUCCEEDED(com)) CoUninitialize();
    // A window destroyed meanwhile takes no post: the outcome goes nowhere.
    PostMessageW(job->reply, FinishedMessage, static_cast<WPARAM>(outcome.result), static_cast<LPARAM>(outcome.error));
    return 0;
}

}  // namespace

ElevatedTimeSetter::ElevatedTimeSetter(std::optional<EventRunner> run, std::wstring helperPath)
    : run_(run), helperPath_(std::move(helperPath)) {
    FormWindowParams params;
    params.parent = HWND_MESSAGE;
    window_.Reset(CreateFormWindow(params, this));
    if (!window_) throw std::runtime_error("CreateWindowExW failed for the time setter's window");
}

ElevatedTimeSetter::~ElevatedTimeSetter() {
    DetachTarget(window_.Get());
    window_.Reset();
}

void ElevatedTimeSetter::Start(const TimeRequest& request, HWND owner, std::function<void(SetTimeOutcome)> done) {
    // Called from inside an event: a failure to start is answered at once.
    if (done_) {
        // The first setting's answer is still to come.
        if (done) done({SetTimeResult::NotStarted, ERROR_BUSY});
        return;
    }
    auto job = std::make_unique<Job>(Job{helperPath_, Widen(FormatTimeRequest(request)), owner, window_.Get()});
    done_ = std::move(done);
    HANDLE thread = CreateThread(nullptr, 0, &RunJob, job.get(), 0, nullptr);
    if (thread == nullptr) {
        const DWORD error = GetLastError();
        done = std::move(done_);
        done_ = nullptr;
        if (done) done({SetTimeResult::NotStarted, error});
        return;
    }
    job.release();  // the thread's now
    CloseHandle(thread);
}

void ElevatedTimeSetter::Finish(SetTimeOutcome outcome) {
    std::function<void(SetTimeOutcome)> done = std::move(done_);
    done_ = nullptr;
    if (!done) return;
    if (run_)
        Fire(*run_, std::move(done), outcome);
    else
        done(outcome);
}

LRESULT ElevatedTimeSetter::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == FinishedMessage) {
        Finish({static_cast<SetTimeResult>(wParam), static_cast<std::uint32_t>(lParam)});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace morix::platform::win32
