// The three vitalink functions the information balloon calls every second,
// through the program's binding and the real libvitalink.so; and what the
// process holds (descriptors, resident memory) before and after 10,000 rounds.
// Target: the three together under 2 ms, no growth.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "info/Vitalink.h"
#include "platform/posix/PosixDynamicLibraries.h"

namespace {

using morix::Vitalink;
using morix::platform::PosixDynamicLibraries;

void OneSecondsCalls(Vitalink& vitalink) {
    std::int16_t s, g, u;
    benchmark::DoNotOptimize(vitalink.GetVitalink(s, g, u));
    vitalink.GetCpuStart();
    benchmark::DoNotOptimize(vitalink.GetCpuUsage());
}

void BM_VitalinkEverySecond(benchmark::State& state) {
    PosixDynamicLibraries libraries(MORIX_VITALINK_DIR);
    Vitalink vitalink(libraries);
    OneSecondsCalls(vitalink);
    for (auto _ : state) OneSecondsCalls(vitalink);
}
BENCHMARK(BM_VitalinkEverySecond)->Unit(benchmark::kMicrosecond);

void BM_VitalinkGetVitalink(benchmark::State& state) {
    PosixDynamicLibraries libraries(MORIX_VITALINK_DIR);
    Vitalink vitalink(libraries);
    std::int16_t s, g, u;
    for (auto _ : state) benchmark::DoNotOptimize(vitalink.GetVitalink(s, g, u));
}
BENCHMARK(BM_VitalinkGetVitalink)->Unit(benchmark::kMicrosecond);

void BM_VitalinkGetCpuUsage(benchmark::State& state) {
    PosixDynamicLibraries libraries(MORIX_VITALINK_DIR);
    Vitalink vitalink(libraries);
    vitalink.GetCpuStart();
    for (auto _ : state) benchmark::DoNotOptimize(vitalink.GetCpuUsage());
}
BENCHMARK(BM_VitalinkGetCpuUsage)->Unit(benchmark::kMicrosecond);

double OpenDescriptors() {
    double n = 0;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)e;
        ++n;
    }
    return n - 1;
}

double ResidentKb() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024.0;
}

// One iteration = 10,000 rounds; the counters are what the process holds
// before and after them.
void BM_VitalinkGrowthOver10000Rounds(benchmark::State& state) {
    PosixDynamicLibraries libraries(MORIX_VITALINK_DIR);
    Vitalink vitalink(libraries);
    for (int i = 0; i < 100; ++i) OneSecondsCalls(vitalink);
    double fdsBefore = OpenDescriptors(), rssBefore = ResidentKb();
    for (auto _ : state)
        for (int i = 0; i < 10000; ++i) OneSecondsCalls(vitalink);
    double fdsAfter = OpenDescriptors(), rssAfter = ResidentKb();
    state.counters["fds_before"] = fdsBefore;
    state.counters["fds_after"] = fdsAfter;
    state.counters["rss_kb_before"] = rssBefore;
    state.counters["rss_kb_after"] = rssAfter;
}
BENCHMARK(BM_VitalinkGrowthOver10000Rounds)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
