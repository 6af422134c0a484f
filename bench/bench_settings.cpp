// The cost of the settings file's three operations on a realistic file.
// Target: a read under 20 µs. The copied reads and writes go through the
// copy of the file the program keeps (settings/SettingsCache).
#include "bench/SettingsFixture.h"
#include "platform/posix/PosixCodePage.h"
#include "platform/posix/PosixFiles.h"
#include "settings/SettingsCache.h"
#include "settings/SettingsFile.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

// The tick count the copy's checks go by, from the system's steady clock.
struct SteadyClock final : morix::platform::Clock {
    morix::platform::LocalTime Now() const override { return {}; }
    morix::platform::SetTimeResult SetDate(int, int, int) override { return morix::platform::SetTimeResult::Failed; }
    morix::platform::SetTimeResult SetTimeOfDay(int, int, int) override { return morix::platform::SetTimeResult::Failed; }
    bool HoldsTimeRight() const override { return false; }
    void SetAsAdministrator(const morix::platform::TimeRequest&, morix::platform::WindowHandle,
                            std::function<void(morix::platform::SetTimeOutcome)> done) override {
        done({morix::platform::SetTimeResult::NotStarted, 0});
    }
    std::uint64_t TickCountMs() const override {
        using namespace std::chrono;
        return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void Pause(unsigned ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

struct Setup {
    Setup() {
        std::string pattern = (std::filesystem::temp_directory_path() / "morix-bench-XXXXXX").string();
        dir = mkdtemp(pattern.data());
        std::ofstream(dir + "/Morix.ini", std::ios::binary) << cp.ToAnsi(morix::bench::RealisticIni());
    }
    ~Setup() { std::filesystem::remove_all(dir); }
    std::string dir;
    morix::platform::PosixCodePage cp;
    morix::platform::PosixFiles files;
    morix::SettingsFile settings{files, cp, dir + "\\Morix.ini"};
    // Through the copy the program keeps, over a watched folder.
    SteadyClock clock;
    morix::SettingsCache cache{clock};
    morix::SettingsFile copied{files, cp, dir + "\\Morix.ini", &cache};
};

Setup& Shared() {
    static Setup s;
    return s;
}

void BM_ReadInt(benchmark::State& state) {
    auto& s = Shared().settings;
    for (auto _ : state) benchmark::DoNotOptimize(s.ReadInt(morix::keys::ActiveBottom));
}
BENCHMARK(BM_ReadInt);

void BM_ReadString(benchmark::State& state) {
    auto& s = Shared().settings;
    for (auto _ : state) benchmark::DoNotOptimize(s.ReadString(morix::keys::ActiveTitle));
}
BENCHMARK(BM_ReadString);

void BM_WriteValueUnchanged(benchmark::State& state) {
    auto& s = Shared().settings;
    for (auto _ : state) s.WriteValue(morix::keys::CurrentLeft, "14130");
}
BENCHMARK(BM_WriteValueUnchanged);

void BM_WriteValueChanged(benchmark::State& state) {
    auto& s = Shared().settings;
    bool flip = false;
    for (auto _ : state) s.WriteValue(morix::keys::CurrentLeft, (flip = !flip) ? "14145" : "14130");
}
BENCHMARK(BM_WriteValueChanged);

void BM_ReadIntCopied(benchmark::State& state) {
    auto& s = Shared().copied;
    for (auto _ : state) benchmark::DoNotOptimize(s.ReadInt(morix::keys::ActiveBottom));
}
BENCHMARK(BM_ReadIntCopied);

void BM_WriteValueChangedCopied(benchmark::State& state) {
    auto& s = Shared().copied;
    bool flip = false;
    for (auto _ : state) s.WriteValue(morix::keys::CurrentLeft, (flip = !flip) ? "14145" : "14130");
}
BENCHMARK(BM_WriteValueChangedCopied);

}  // namespace
