// Implements platform::SoundDevice over MCI (mciSendStringW, one alias per
// device): "open", "play" (as "play ... from 0 notify"), "stop", "close".
// MM_MCINOTIFY comes to a hidden message-only window of class "MorixForm",
// which also runs the watchdog (SetTimer) and delivers the OnDone handler's
// call through the event guard: MCI_NOTIFY_SUCCESSFUL as SoundEnd::Finished,
// MCI_NOTIFY_FAILURE as Failed, MCI_NOTIFY_ABORTED as Stopped.
//
// Exactly one OnDone is posted for every "play", never from inside a
// command: when the sound ends by itself (MCI_NOTIFY_SUCCESSFUL/FAILURE);
// through "stop", "close", another "open" or another "play"; at once when
// the play cannot start (the device is not open, MCI refuses, or the system
// has no output device of the sound's kind); and from the watchdog, the
// sound's length ("status ... length") plus a margin after the start, for
// systems whose sequencer accepts a play and never finishes it (Wine
// without a MIDI device). A failed "open" is reported by the "play" that
// follows it.
//
// The device itself lives on a thread of its own, with a message-only window
// of its own that MCI notifies: the sequencer's open can take more than a
// second on Windows 11, and the clock's tick must not wait for it. Commands
// are posted to that thread in their order and return at once; what the
// device answers is posted back to the window of the thread that owns the
// object, where OnDone is called. (An MCI alias belongs to the thread that
// opened it, so every command of a device is sent from that one thread.)
#pragma once

#include "platform/Controls.h"
#include "platform/win32/EventRunner.h"
#include "platform/win32/FormWindowClass.h"
#include "platform/win32/Win32Handles.h"

#include <windows.h>
#include <mmsystem.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace morix::platform::win32 {

// True when the system can output a sound of the MCI device type ("sequencer",
// "waveaudio", or another type: any output device at all).
bool HasSoundOutput(std::wstring_view deviceType);

class Win32SoundDevice final : public SoundDevice, private MessageTarget {
public:
    using OutputProbe = std::function<bool(std::wstring_view deviceType)>;
    static constexpr UINT WatchdogMarginMs = 2000;

    explicit Win32SoundDevice(EventRunner run, OutputProbe hasOutput = HasSoundOutput);
    ~Win32SoundDevice() override;
    Win32SoundDevice(const Win32SoundDevice&) = delete;
    Win32SoundDevice& operator=(const Win32SoundDevice&) = delete;

    void SetFileName(std::string_view path) override;
    void SetCommand(std::string_view command) override;
    void OnDone(std::function<void(SoundEnd)> handler) override { onDone_ = std::move(handler); }

    const std::wstring& Alias() const { return alias_; }
    // The device's answer to "status <alias> <item>" ("closed" when it is not
    // open), asked after every command posted before.
    std::wstring Status(std::wstring_view item);

    class DeviceThread;

private:
    void Open();
    void Play();
    void Stop();
    void Close();
    void BeginPlay();
    void EndPlay(WPARAM notifyCode);
    void Post(UINT command, WPARAM wParam = 0, LPARAM lParam = 0);

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDonePosted(WPARAM notifyCode, LPARAM generation);
    LRESULT OnDeviceEnded(WPARAM notifyCode, LPARAM generation);
    LRESULT OnDeviceStarted(WPARAM lengthMs, LPARAM generation);
    LRESULT OnWatchdog(HWND window);

    EventRunner run_;
    std::function<void(SoundEnd)> onDone_;
    std::wstring alias_;
    std::wstring fileName_;
    bool openAsked_ = false;  // an open was posted and no close since
    bool playing_ = false;
    unsigned generation_ = 0;  // counts plays; a Done of an older one is dropped
    UniqueWindow window_;
    std::unique_ptr<DeviceThread> device_;
};

}  // namespace morix::platform::win32
