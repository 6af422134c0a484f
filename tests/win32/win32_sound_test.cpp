// The sound device under Wine: the order of the MCI commands, exactly one
// Done for every play (by itself, through "stop", after a failed open or
// play; a play replaced by a newer one leaves the Done to that one), and the
// watchdog that ends a play Wine's sequencer never finishes.
#include "Win32TestSupport.h"

#include "platform/win32/EventRunner.h"
#include "platform/win32/Win32SoundDevice.h"
#include "platform/win32/Win32Ui.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

namespace morix::win32test {
namespace {

using platform::win32::EventRunner;
using platform::win32::HasSoundOutput;
using platform::win32::Win32SoundDevice;
using platform::win32::Win32Ui;

using platform::SoundEnd;

// Records how each playback of the devices it listens to ended.
class RecordingSound final {
public:
    void Listen(platform::SoundDevice& device) {
        device.OnDone([this](SoundEnd end) {
            codes.push_back(end);
            if (onDone) onDone();
        });
    }
    std::vector<SoundEnd> codes;
    std::function<void()> onDone;
};

class Win32SoundTest : public ::testing::Test {
protected:
    // The device as the program gets it, or with the question "is there an
    // output device" answered yes, as on a machine with a sound card.
    std::unique_ptr<Win32SoundDevice> Device(bool pretendOutput) {
        std::unique_ptr<Win32SoundDevice> device =
            pretendOutput ? std::make_unique<Win32SoundDevice>(EventRunner(ui, process),
                                                               [](std::wstring_view) { return true; })
                          : std::make_unique<Win32SoundDevice>(EventRunner(ui, process));
        sound.Listen(*device);
        return device;
    }
    // Asked of the device's own thread, after the commands before.
    std::wstring Mode(Win32SoundDevice& device) { return device.Status(L"mode"); }

    TempFolder folder;
    TestProcess process;
    Win32Ui ui{process};
    RecordingSound sound;
};

TEST_F(Win32SoundTest, DoneIsPostedNeverCalledFromInsideACommand) {
    auto device = Device(true);
    device->SetFileName(folder.Utf8File(L"none.mid"));
    device->SetCommand("open");
    device->SetCommand("play");
    EXPECT_TRUE(sound.codes.empty());
    ASSERT_TRUE(PumpUntil([&] { return !sound.codes.empty(); }, 3000));
    PumpFor(200);
    EXPECT_EQ(sound.codes, (std::vector<SoundEnd>{SoundEnd::Failed})) << "one Done for the failed open and its play";
}

TEST_F(Win32SoundTest, OpenPlayStopDoneCloseInThatOrder) {
    std::string midi = folder.Write(L"chime.mid", MidiBytes(20));
    auto device = Device(true);
    device->SetFileName(midi);
    std::vector<std::wstring> modes;
    sound.onDone = [&] {
        modes.push_back(Mode(*device));
        device->SetCommand("close");  // as the clock's Done handler does
        modes.push_back(Mode(*device));
    };
    device->SetCommand("open");
    EXPECT_NE(Mode(*device), L"closed");
    device->SetCommand("play");
    PumpFor(300);
    EXPECT_TRUE(sound.codes.empty()) << "a twenty-second sound cannot be done yet";
    device->SetCommand("stop");
    ASSERT_TRUE(PumpUntil([&] { return !sound.codes.empty(); }, 3000));
    PumpFor(300);
    EXPECT_EQ(sound.codes, (std::vector<SoundEnd>{SoundEnd::Stopped}));
    ASSERT_EQ(modes.size(), 2u);
    EXPECT_EQ(modes[0], L"stopped");
    EXPECT_EQ(modes[1], L"closed");
    device->SetCommand("stop");  // nothing plays: no second Done
    PumpFor(200);
    EXPECT_EQ(sound.codes.size(), 1u);
}

TEST_F(Win32SoundTest, FailedOpenAndItsPlayGetOneDoneAndALaterPlayItsOwn) {
    auto device = Device(true);
    device->SetFileName(folder.Write(L"broken.mid", "MThd but not really a MIDI file"));
    sound.onDone = [&] { device->SetCommand("close"); };  // as the clock's Done handler does
    device->SetCommand("open");
    device->SetCommand("play");
    ASSERT_TRUE(PumpUntil([&] { return !sound.codes.empty(); }, 3000));
    PumpFor(300);
    EXPECT_EQ(sound.codes, (std::vector<SoundEnd>{SoundEnd::Failed}));
    EXPECT_EQ(Mode(*device), L"closed");
    // The handler closed the device; a play now is a new one and fails too.
    device->SetCommand("play");
    ASSERT_TRUE(PumpUntil([&] { return sound.codes.size() == 2; }, 3000));
    PumpFor(200);
    EXPECT_EQ(sound.codes.size(), 2u);
}

TEST_F(Win32SoundTest, PlayWithoutOpenFailsWithOneDone) {
    auto device = Device(true);
    device->SetCommand("play");
    device->SetCommand("stop");
    device->SetCommand("close");
    ASSERT_TRUE(PumpUntil([&] { return !sound.codes.empty(); }, 3000));
    PumpFor(200);
    EXPECT_EQ(sound.codes, (std::vector<SoundEnd>{SoundEnd::Failed}));
}

TEST_F(Win32SoundTest, WatchdogEndsAPlayTheSequencerNeverFinishes) {
    // Wine's sequencer without a MIDI device takes the play and never
    // advances; a real device would notify after one second.
    std::string midi = folder.Write(L"one.mid", MidiBytes(1));
    auto device = Device(true);
    device->SetFileName(midi);
    device->SetCommand("open");
    device->SetCommand("play");
    ASSERT_TRUE(PumpUntil([&] { return !sound.codes.empty(); }, 15000)) << "no Done at all";
    PumpFor(500);
    // An ended play, not a failed one, and the device let go of it.
    EXPECT_EQ(sound.codes, (std::vector<SoundEnd>{SoundEnd::Finished}));
    EXPECT_NE(Mode(*device), L"playing");
}

TEST_F(Win32SoundTest, AReplayedOrReopenedSoundReportsOnlyTheLastPlay) {
    std::string midi = folder.Write(L"long.mid", MidiBytes(30));
    auto device = Device(true);
    device->SetFileName(midi);
    device->SetCommand("open");
    device->SetCommand("play");
    device->SetCommand("play");  // the first play is superseded
    device->SetCommand("open");  // a ring while it plays: opened again without a close
    device->SetCommand("play");
    device->SetCommand("close");
    ASSERT_TRUE(PumpUntil([&] { return !sound.codes.empty(); }, 3000));
    PumpFor(300);
    EXPECT_EQ(sound.codes, (std::vector<SoundEnd>{SoundEnd::Stopped}));
}

TEST_F(Win32SoundTest, ARingWhileTheChimeSoundsIsNotCutOffByTheClose) {
    // The clock closes the device on every Done.
    std::unique_ptr<Win32SoundDevice> device = Device(true);
    sound.onDone = [&] { device->SetCommand("close"); };
    std::string midi = folder.Write(L"chime.mid", MidiBytes(30));
    device->SetFileName(midi);
    device->SetCommand("open");
    device->SetCommand("play");
    device->SetCommand("open");
    device->SetCommand("play");
    PumpFor(500);
    EXPECT_TRUE(sound.codes.empty());
    EXPECT_EQ(Mode(*device), L"playing");
    device->SetCommand("stop");
    ASSERT_TRUE(PumpUntil([&] { return !sound.codes.empty(); }, 3000));
    EXPECT_EQ(sound.codes, (std::vector<SoundEnd>{SoundEnd::Stopped}));
    EXPECT_EQ(Mode(*device), L"closed");
}

TEST_F(Win32SoundTest, WithoutAnOutputDeviceAPlayFailsAtOnce) {
    if (HasSoundOutput(L"sequencer")) GTEST_SKIP() << "this system has a MIDI output device";
    std::string midi = folder.Write(L"chime.mid", MidiBytes(20));
    auto device = Device(false);
    device->SetFileName(midi);
    device->SetCommand("open");
    device->SetCommand("play");
    ASSERT_TRUE(PumpUntil([&] { return !sound.codes.empty(); }, 1500));
    EXPECT_EQ(sound.codes, (std::vector<SoundEnd>{SoundEnd::Failed}));
}

// The sequencer's open can take more than a second on Windows 11: the
// device is worked on a thread of its own, and the commands return at once.
TEST_F(Win32SoundTest, TheCommandsReturnAtOnceAndTheDeviceIsWorkedOnItsOwnThread) {
    std::string midi = folder.Write(L"chime.mid", MidiBytes(20));
    DWORD probedOn = 0;
    auto device = std::make_unique<Win32SoundDevice>(EventRunner(ui, process), [&](std::wstring_view) {
        probedOn = GetCurrentThreadId();
        return true;
    });
    sound.Listen(*device);
    sound.onDone = [&] { device->SetCommand("close"); };  // as the clock's Done handler does
    device->SetFileName(midi);
    const ULONGLONG start = GetTickCount64();
    device->SetCommand("open");
    device->SetCommand("play");
    EXPECT_LT(GetTickCount64() - start, 50u);
    EXPECT_EQ(Mode(*device), L"playing");
    EXPECT_NE(probedOn, 0u);
    EXPECT_NE(probedOn, GetCurrentThreadId());
    device->SetCommand("stop");
    ASSERT_TRUE(PumpUntil([&] { return !sound.codes.empty(); }, 3000));
    PumpFor(200);
    EXPECT_EQ(sound.codes, (std::vector<SoundEnd>{SoundEnd::Stopped}));
    EXPECT_EQ(Mode(*device), L"closed");
}

// Closed right after the open, before the device's thread got to it: one
// Done, and nothing left open.
TEST_F(Win32SoundTest, ACloseRightAfterTheOpenLeavesNothingOpen) {
    std::string midi = folder.Write(L"chime.mid", MidiBytes(20));
    auto device = Device(true);
    device->SetFileName(midi);
    device->SetCommand("open");
    device->SetCommand("play");
    device->SetCommand("close");
    ASSERT_TRUE(PumpUntil([&] { return !sound.codes.empty(); }, 3000));
    PumpFor(500);
    EXPECT_EQ(sound.codes, (std::vector<SoundEnd>{SoundEnd::Stopped}));
    EXPECT_EQ(Mode(*device), L"closed");
}

TEST_F(Win32SoundTest, TheUiMakesIndependentDevices) {
    RecordingSound other;
    auto a = ui.NewSoundDevice();
    auto b = ui.NewSoundDevice();
    sound.Listen(*a);
    other.Listen(*b);
    EXPECT_NE(static_cast<Win32SoundDevice&>(*a).Alias(), static_cast<Win32SoundDevice&>(*b).Alias());
    a->SetCommand("play");
    ASSERT_TRUE(PumpUntil([&] { return !sound.codes.empty(); }, 3000));
    PumpFor(100);
    EXPECT_TRUE(other.codes.empty());
}

}  // namespace
}  // namespace morix::win32test
