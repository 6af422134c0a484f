#include "platform/win32/Win32SoundDevice.h"

#include "platform/win32/AnsiSafePath.h"
#include "platform/win32/Wide.h"

#include <mmsystem.h>

#include <atomic>
#include <cwchar>
#include <stdexcept>

namespace morix::platform::win32 {

namespace {

constexpr UINT DoneMessage = WM_APP + 1;
constexpr UINT_PTR WatchdogTimer = 1;

std::wstring NewAlias() {
    static std::atomic<unsigned> next{1};
    return L"morix_sound_" + std::to_wstring(next++);
}

SoundEnd EndOf(WPARAM notifyCode) {
    switch (notifyCode) {
    case MCI_NOTIFY_SUCCESSFUL: return SoundEnd::Finished;
    case MCI_NOTIFY_FAILURE: return SoundEnd::Failed;
    default: return SoundEnd::Stopped;  // aborted: "stop", "close" or another "open"
    }
}

std::wstring Lower(std::string_view text) {
    std::wstring out = Widen(text);
    for (wchar_t& c : out)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return out;
}

}  // namespace

bool HasSoundOutput(std::wstring_view deviceType) {
    if (deviceType == L"sequencer") return midiOutGetNumDevs() > 0;
    if (deviceType == L"waveaudio") return waveOutGetNumDevs() > 0;
    return midiOutGetNumDevs() > 0 || waveOutGetNumDevs() > 0;
}

Win32SoundDevice::Win32SoundDevice(EventRunner run, OutputProbe hasOutput)
    : run_(run), hasOutput_(std::move(hasOutput)), alias_(NewAlias()) {
    FormWindowParams params;
    params.parent = HWND_MESSAGE;
    window_.Reset(CreateFormWindow(params, this));
    if (!window_) throw std::runtime_error("CreateWindowExW failed for the sound device's window");
}

Win32SoundDevice::~Win32SoundDevice() {
    // Posted notifications die with the window, undelivered.
    DetachTarget(window_.Get());
    KillTimer(window_.Get(), WatchdogTimer);
    if (open_) Send(L"close " + alias_);
    window_.Reset();
}

void Win32SoundDevice::SetFileName(std::string_view path) { fileName_ = Widen(path); }

void Win32SoundDevice::SetCommand(std::string_view command) {
    std::wstring c = Lower(command);
    if (c == L"open")
        Open();
    else if (c == L"play")
        Play();
    else if (c == L"stop")
        Stop();
    else if (c == L"close")
        Close();
    // Other commands of the control are not used by the program.
}

MCIERROR Win32SoundDevice::Send(const std::wstring& command, std::wstring* result) {
    wchar_t buffer[128] = {};
    MCIERROR error = mciSendStringW(command.c_str(), buffer, 128, window_.Get());
    if (result != nullptr) *result = buffer;
    return error;
}

void Win32SoundDevice::Open() {
    // A new sound replaces the one open now, which counts as ended.
    if (open_) Close();
    openFailureReported_ = false;
    // MCI's drivers may take the path in the ANSI code page.
    if (Send(L"open \"" + AnsiSafePath(fileName_) + L"\" alias " + alias_) != 0) {
        // The play that follows cannot start either: report it now, once.
        BeginPlay();
        EndPlay(MCI_NOTIFY_FAILURE);
        openFailureReported_ = true;
        return;
    }
    open_ = true;
    deviceId_ = mciGetDeviceIDW(alias_.c_str());
    Send(L"set " + alias_ + L" time format milliseconds");
    if (Send(L"capability " + alias_ + L" device type", &deviceType_) != 0) deviceType_.clear();
}

void Win32SoundDevice::Play() {
    if (playing_) EndPlay(MCI_NOTIFY_SUPERSEDED);
    if (!open_) {
        if (openFailureReported_) {
            openFailureReported_ = false;
            return;
        }
        BeginPlay();
        EndPlay(MCI_NOTIFY_FAILURE);
        return;
    }
    BeginPlay();
    if (!hasOutput_(deviceType_) || Send(L"play " + alias_ + L" from 0 notify") != 0) {
        EndPlay(MCI_NOTIFY_FAILURE);
        return;
    }
    StartWatchdog();
}

void Win32SoundDevice::StartWatchdog() {
    std::wstring length;
    unsigned long milliseconds = 0;
    if (Send(L"status " + alias_ + L" length", &length) == 0) milliseconds = std::wcstoul(length.c_str(), nullptr, 10);
    // A length beyond a day is no chime; such a sound only gets the margin
    // cut short when it really never ends.
    if (milliseconds > 24ul * 60 * 60 * 1000) milliseconds = 24ul * 60 * 60 * 1000;
    SetTimer(window_.Get(), WatchdogTimer, static_cast<UINT>(milliseconds + WatchdogMarginMs), nullptr);
}

void Win32SoundDevice::Stop() {
    if (!open_) return;
    Send(L"stop " + alias_);
    EndPlay(MCI_NOTIFY_ABORTED);
}

void Win32SoundDevice::Close() {
    openFailureReported_ = false;
    if (!open_) return;
    Send(L"close " + alias_);
    open_ = false;
    deviceId_ = 0;
    deviceType_.clear();
    EndPlay(MCI_NOTIFY_ABORTED);
}

void Win32SoundDevice::BeginPlay() {
    playing_ = true;
    ++generation_;
}

void Win32SoundDevice::EndPlay(WPARAM notifyCode) {
    if (!playing_) return;
    playing_ = false;
    KillTimer(window_.Get(), WatchdogTimer);
    PostMessageW(window_.Get(), DoneMessage, notifyCode, static_cast<LPARAM>(generation_));
}

LRESULT Win32SoundDevice::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case MM_MCINOTIFY: return OnMciNotify(wParam, lParam);
    case DoneMessage: return OnDonePosted(wParam, lParam);
    case WM_TIMER:
        if (wParam == WatchdogTimer) return OnWatchdog(window);
        return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT Win32SoundDevice::OnMciNotify(WPARAM notifyCode, LPARAM deviceId) {
    // ABORTED and SUPERSEDED come from our own stop, close or play, which
    // have already reported the end; a notification of an earlier device
    // (the id is reused after a close) is not this play's.
    bool ended = notifyCode == MCI_NOTIFY_SUCCESSFUL || notifyCode == MCI_NOTIFY_FAILURE;
    if (ended && playing_ && static_cast<MCIDEVICEID>(deviceId) == deviceId_) EndPlay(notifyCode);
    return 0;
}

LRESULT Win32SoundDevice::OnDonePosted(WPARAM notifyCode, LPARAM generation) {
    // A play replaced by a newer one (a ring while the last still sounds)
    // ends without its own Done: the clock closes the device on Done, which
    // would cut the newer sound off. The newer play reports the end.
    if (static_cast<unsigned>(generation) != generation_) return 0;
    Fire(run_, onDone_, EndOf(notifyCode));
    return 0;
}

LRESULT Win32SoundDevice::OnWatchdog(HWND window) {
    KillTimer(window, WatchdogTimer);
    if (!playing_) return 0;
    // The device never said it finished: stop it so that it does not hold
    // on, and report the end as if it had come.
    Send(L"stop " + alias_);
    EndPlay(MCI_NOTIFY_SUCCESSFUL);
    return 0;
}

}  // namespace morix::platform::win32
