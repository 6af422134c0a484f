// Under Wine (or Windows): the settings file's reads and writes timed side by
// side with the system's profile functions on the same realistic file. Ours
// read as the program reads, through the copy that the folder's change
// notification keeps right; one row reads the file every time, for
// comparison. Target: a read of the unchanged file within 0.1x of
// GetPrivateProfileIntA.
#include "bench/SettingsFixture.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Files.h"
#include "settings/SettingsCache.h"
#include "settings/SettingsFile.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>

namespace {

double MicrosecondsPerCall(const std::function<void()>& call) {
    using Clock = std::chrono::steady_clock;
    for (int i = 0; i < 200; ++i) call();  // warm the file cache
    double best = 1e30;
    for (int round = 0; round < 5; ++round) {
        const int n = 2000;
        auto start = Clock::now();
        for (int i = 0; i < n; ++i) call();
        double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / n;
        if (us < best) best = us;
    }
    return best;
}

}  // namespace

int main() {
    morix::platform::win32::Win32CodePage cp;
    morix::platform::win32::Win32Files files;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "morix-bench.ini";
    std::ofstream(path, std::ios::binary) << cp.ToAnsi(morix::bench::RealisticIni());
    morix::platform::win32::Win32Clock clock;
    morix::SettingsCache cache{clock};
    morix::SettingsFile settings{files, cp, path, &cache};
    const morix::SettingsFile uncopied{files, cp, path};

    const std::string section = cp.ToAnsi("Morix");
    const std::string bottom = cp.ToAnsi(morix::keys::ActiveBottom.name);
    const std::string title = cp.ToAnsi(morix::keys::ActiveTitle.name);
    const std::string left = cp.ToAnsi(morix::keys::CurrentLeft.name);
    volatile int sink = 0;

    double oursInt = MicrosecondsPerCall([&] { sink = sink + settings.ReadInt(morix::keys::ActiveBottom); });
    double uncopiedInt = MicrosecondsPerCall([&] { sink = sink + uncopied.ReadInt(morix::keys::ActiveBottom); });
    double theirsInt = MicrosecondsPerCall(
        [&] { sink = sink + static_cast<int>(GetPrivateProfileIntA(section.c_str(), bottom.c_str(), 0, path.c_str())); });
    double oursString = MicrosecondsPerCall([&] { sink = sink + static_cast<int>(settings.ReadString(morix::keys::ActiveTitle).size()); });
    double theirsString = MicrosecondsPerCall([&] {
        char buffer[256];
        sink = sink + static_cast<int>(GetPrivateProfileStringA(section.c_str(), title.c_str(), "", buffer, sizeof buffer, path.c_str()));
    });
    double oursSame = MicrosecondsPerCall([&] { settings.WriteValue(morix::keys::CurrentLeft, "14130"); });
    double theirsSame = MicrosecondsPerCall([&] { WritePrivateProfileStringA(section.c_str(), left.c_str(), "14130", path.c_str()); });
    bool flip = false;
    double oursChanged = MicrosecondsPerCall([&] { settings.WriteValue(morix::keys::CurrentLeft, (flip = !flip) ? "14145" : "14130"); });
    double theirsChanged = MicrosecondsPerCall(
        [&] { WritePrivateProfileStringA(section.c_str(), left.c_str(), (flip = !flip) ? "14145" : "14130", path.c_str()); });

    std::printf("%-26s %12s %12s %8s\n", "operation (us per call)", "SettingsFile", "profile API", "ratio");
    auto row = [](const char* name, double ours, double theirs) {
        std::printf("%-26s %12.2f %12.2f %8.2f\n", name, ours, theirs, ours / theirs);
    };
    row("ReadInt", oursInt, theirsInt);
    row("ReadInt (file read anew)", uncopiedInt, theirsInt);
    row("ReadString", oursString, theirsString);
    row("WriteValue (same text)", oursSame, theirsSame);
    row("WriteValue (new text)", oursChanged, theirsChanged);
    DeleteFileA(path.c_str());
    return 0;
}
