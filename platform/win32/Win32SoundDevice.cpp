#include "platform/win32/Win32SoundDevice.h"

#include "platform/win32/AnsiSafePath.h"
#include "platform/win32/Wide.h"

#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <memory>
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

namespace {

// From the object's thread to the device's.
constexpr UINT OpenCommand = WM_APP + 10;    // lParam: a new std::wstring, the file
constexpr UINT PlayCommand = WM_APP + 11;    // lParam: the play's generation
constexpr UINT StopCommand = WM_APP + 12;
constexpr UINT CloseCommand = WM_APP + 13;
constexpr UINT StatusCommand = WM_APP + 14;  // lParam: a StatusRequest
// From the device's thread back.
constexpr UINT EndedMessage = WM_APP + 20;    // wParam: the MCI notify code, lParam: the generation
constexpr UINT StartedMessage = WM_APP + 21;  // wParam: the sound's length (ms), lParam: the generation

struct StatusRequest {
    std::wstring item;
    std::wstring answer;
    HANDLE answered;
};

}  // namespace

// Owns the MCI device: every command is sent from here, and MCI's notices
// come to this thread's window.
class Win32SoundDevice::DeviceThread final : private MessageTarget {
public:
    DeviceThread(std::wstring alias, HWND owner, OutputProbe hasOutput)
        : alias_(std::move(alias)), owner_(owner), hasOutput_(std::move(hasOutput)) {
        Handle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        ready_ = ready.Get();
        thread_ = Handle(CreateThread(nullptr, 0, &DeviceThread::Run, this, 0, nullptr));
        if (!thread_.Valid()) throw std::runtime_error("CreateThread failed for the sound device");
        WaitForSingleObject(ready.Get(), INFINITE);
        if (!window_) throw std::runtime_error("CreateWindowExW failed for the sound device's thread");
    }
    ~DeviceThread() {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread_.Get(), INFINITE);
    }
    DeviceThread(const DeviceThread&) = delete;
    DeviceThread& operator=(const DeviceThread&) = delete;
    HWND Window() const { return window_; }

private:
    static DWORD WINAPI Run(void* self) {
        static_cast<DeviceThread*>(self)->Loop();
        return 0;
    }
    void Loop() {
        FormWindowParams params;
        params.parent = HWND_MESSAGE;
        window_ = CreateFormWindow(params, this);
        SetEvent(ready_);
        if (!window_) return;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        if (open_) Send(L"close " + alias_);
        DetachTarget(window_);
        DestroyWindow(window_);
    }

    MCIERROR Send(const std::wstring& command, std::wstring* result = nullptr) {
        wchar_t buffer[128] = {};
        const MCIERROR error = mciSendStringW(command.c_str(), buffer, 128, window_);
        if (result != nullptr) *result = buffer;
        return error;
    }

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case OpenCommand: {
            const std::unique_ptr<std::wstring> file(reinterpret_cast<std::wstring*>(lParam));
            Open(*file);
            return 0;
        }
        case PlayCommand: Play(static_cast<unsigned>(lParam)); return 0;
        case StopCommand:
            if (open_) Send(L"stop " + alias_);
            playing_ = false;
            return 0;
        case CloseCommand: Close(); return 0;
        case StatusCommand: {
            auto* request = reinterpret_cast<StatusRequest*>(lParam);
            if (!open_ || Send(L"status " + alias_ + L" " + request->item, &request->answer) != 0)
                request->answer = L"closed";
            SetEvent(request->answered);
            return 0;
        }
        case MM_MCINOTIFY: {
            // ABORTED and SUPERSEDED come from our own commands, whose end
            // the object has reported; a notice of an earlier device (the id
            // is reused after a close) is not this play's.
            const bool ended = wParam == MCI_NOTIFY_SUCCESSFUL || wParam == MCI_NOTIFY_FAILURE;
            if (ended && playing_ && static_cast<MCIDEVICEID>(lParam) == deviceId_) Ended(wParam);
            return 0;
        }
        case WM_CLOSE: PostQuitMessage(0); return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
        }
    }

    void Open(const std::wstring& file) {
        // A new sound replaces the one open now.
        Close();
        // MCI's drivers may take the path in the ANSI code page.
        if (Send(L"open \"" + AnsiSafePath(file) + L"\" alias " + alias_) != 0) return;
        open_ = true;
        deviceId_ = mciGetDeviceIDW(alias_.c_str());
        Send(L"set " + alias_ + L" time format milliseconds");
        if (Send(L"capability " + alias_ + L" device type", &deviceType_) != 0) deviceType_.clear();
    }
    void Play(unsigned generation) {
        generation_ = generation;
        playing_ = true;
        if (!open_ || !hasOutput_(deviceType_) || Send(L"play " + alias_ + L" from 0 notify") != 0) {
            Ended(MCI_NOTIFY_FAILURE);
            return;
        }
        std::wstring length;
        unsigned long milliseconds = 0;
        if (Send(L"status " + alias_ + L" length", &length) == 0) milliseconds = std::wcstoul(length.c_str(), nullptr, 10);
        PostMessageW(owner_, StartedMessage, milliseconds, static_cast<LPARAM>(generation));
    }
    void Close() {
        playing_ = false;
        if (!open_) return;
        Send(L"close " + alias_);
        open_ = false;
        deviceId_ = 0;
        deviceType_.clear();
    }
    void Ended(WPARAM notifyCode) {
        playing_ = false;
        PostMessageW(owner_, EndedMessage, notifyCode, static_cast<LPARAM>(generation_));
    }

    const std::wstring alias_;
    const HWND owner_;
    const OutputProbe hasOutput_;
    HANDLE ready_ = nullptr;
    Handle thread_;
    HWND window_ = nullptr;
    // The thread's own.
    bool open_ = false;
    bool playing_ = false;
    MCIDEVICEID deviceId_ = 0;
    std::wstring deviceType_;
    unsigned generation_ = 0;
};

Win32SoundDevice::Win32SoundDevice(EventRunner run, OutputProbe hasOutput) : run_(run), alias_(NewAlias()) {
    FormWindowParams params;
    params.parent = HWND_MESSAGE;
    window_.Reset(CreateFormWindow(params, this));
    if (!window_) throw std::runtime_error("CreateWindowExW failed for the sound device's window");
    device_ = std::make_unique<DeviceThread>(alias_, window_.Get(), std::move(hasOutput));
}

Win32SoundDevice::~Win32SoundDevice() {
    // Posted notifications die with the window, undelivered.
    DetachTarget(window_.Get());
    KillTimer(window_.Get(), WatchdogTimer);
    device_.reset();  // closes the device on its thread, and ends it
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

void Win32SoundDevice::Post(UINT command, WPARAM wParam, LPARAM lParam) {
    PostMessageW(device_->Window(), command, wParam, lParam);
}

std::wstring Win32SoundDevice::Status(std::wstring_view item) {
    Handle answered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    StatusRequest request{std::wstring(item), L"", answered.Get()};
    Post(StatusCommand, 0, reinterpret_cast<LPARAM>(&request));
    WaitForSingleObject(answered.Get(), INFINITE);
    return request.answer;
}

void Win32SoundDevice::Open() {
    // A new sound replaces the one open now, which counts as ended.
    if (openAsked_) Close();
    openAsked_ = true;
    Post(OpenCommand, 0, reinterpret_cast<LPARAM>(new std::wstring(fileName_)));
}

void Win32SoundDevice::Play() {
    if (playing_) EndPlay(MCI_NOTIFY_SUPERSEDED);
    BeginPlay();
    // Without an open, or after one that failed, the device's thread reports
    // the play failed.
    Post(PlayCommand, 0, static_cast<LPARAM>(generation_));
}

void Win32SoundDevice::Stop() {
    if (!openAsked_) return;
    Post(StopCommand);
    EndPlay(MCI_NOTIFY_ABORTED);
}

void Win32SoundDevice::Close() {
    if (!openAsked_) return;
    openAsked_ = false;
    Post(CloseCommand);
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
    case DoneMessage: return OnDonePosted(wParam, lParam);
    case EndedMessage: return OnDeviceEnded(wParam, lParam);
    case StartedMessage: return OnDeviceStarted(wParam, lParam);
    case WM_TIMER:
        if (wParam == WatchdogTimer) return OnWatchdog(window);
        return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT Win32SoundDevice::OnDeviceEnded(WPARAM notifyCode, LPARAM generation) {
    // The end of a play that was stopped, closed or replaced meanwhile has
    // been reported already.
    if (playing_ && static_cast<unsigned>(generation) == generation_) EndPlay(notifyCode);
    return 0;
}

LRESULT Win32SoundDevice::OnDeviceStarted(WPARAM lengthMs, LPARAM generation) {
    if (!playing_ || static_cast<unsigned>(generation) != generation_) return 0;
    // A length beyond a day is no chime; such a sound only gets the margin
    // cut short when it really never ends.
    const unsigned long dayMs = 24ul * 60 * 60 * 1000;
    const unsigned long milliseconds = std::min<unsigned long>(static_cast<unsigned long>(lengthMs), dayMs);
    SetTimer(window_.Get(), WatchdogTimer, static_cast<UINT>(milliseconds + WatchdogMarginMs), nullptr);
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
    Post(StopCommand);
    EndPlay(MCI_NOTIFY_SUCCESSFUL);
    return 0;
}

}  // namespace morix::platform::win32
