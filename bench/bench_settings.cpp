// The cost of the settings file's three operations on a realistic file.
// Target: a read under 20 µs.
#include "bench/SettingsFixture.h"
#include "platform/posix/PosixCodePage.h"
#include "platform/posix/PosixFiles.h"
#include "settings/SettingsFile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

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

}  // namespace
