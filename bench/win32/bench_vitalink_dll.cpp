// A timed harness for vitalink.dll under Windows or Wine: the three functions
// the clock calls every second (GetVitalink, GetCpuStart, GetCpuUsage), bound
// by name as the program binds them, 10,000 times; then what the process holds
// before and after. Google Benchmark is native only, hence a plain loop.
//
// Prints the microseconds per round of the three (mean, median, 99th
// percentile, worst), each function alone, and the growth of GUI objects,
// kernel handles and private memory over the 10,000 rounds. Targets: under
// 2 ms per round, no growth.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "vitalink/vitalink.h"

namespace {

constexpr int kRounds = 10000;

double Now() {
    static const double ticksPerUs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1e6;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / ticksPerUs;
}

struct Holdings {
    DWORD gdi = 0, user = 0;       // GetGuiResources of this process
    DWORD handles = 0;             // GetProcessHandleCount
    SIZE_T privateBytes = 0;       // GetProcessMemoryInfo
    SIZE_T committedPrivate = 0;   // walked with VirtualQuery
    uintptr_t nextHandle = 0;      // the value a new handle gets
};

// Wine answers the first three with 0; the last two work everywhere. A leaked
// handle occupies a slot, so the next new handle gets a higher value.
Holdings Measure() {
    Holdings h;
    h.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    h.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    GetProcessHandleCount(GetCurrentProcess(), &h.handles);
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc))
        h.privateBytes = pmc.PrivateUsage;
    MEMORY_BASIC_INFORMATION mbi;
    for (char* p = nullptr; VirtualQuery(p, &mbi, sizeof mbi) == sizeof mbi;
         p = static_cast<char*>(mbi.BaseAddress) + mbi.RegionSize) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) h.committedPrivate += mbi.RegionSize;
        if (static_cast<char*>(mbi.BaseAddress) + mbi.RegionSize < p) break;
    }
    HANDLE probe = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    h.nextHandle = reinterpret_cast<uintptr_t>(probe);
    CloseHandle(probe);
    return h;
}

template <typename F>
void TimeAlone(const char* name, F call) {
    double start = Now();
    for (int i = 0; i < kRounds; ++i) call();
    std::printf("  %-12s %8.2f us per call\n", name, (Now() - start) / kRounds);
}

}  // namespace

int main() {
    HMODULE dll = LoadLibraryW(L"vitalink.dll");
    if (dll == nullptr) {
        std::printf("vitalink.dll not found\n");
        return 1;
    }
    auto getVitalink = reinterpret_cast<GetVitalinkProc>(reinterpret_cast<void*>(GetProcAddress(dll, "GetVitalink")));
    auto getCpuStart = reinterpret_cast<GetCpuStartProc>(reinterpret_cast<void*>(GetProcAddress(dll, "GetCpuStart")));
    auto getCpuUsage = reinterpret_cast<PercentProc>(reinterpret_cast<void*>(GetProcAddress(dll, "GetCpuUsage")));
    if (!getVitalink || !getCpuStart || !getCpuUsage) {
        std::printf("an entry point is missing\n");
        return 1;
    }

    volatile int sink = 0;
    auto round = [&] {
        int16_t s, g, u;
        sink = sink + getVitalink(&s, &g, &u);
        getCpuStart();
        sink = sink + getCpuUsage();
    };
    std::vector<double> us(kRounds);
    for (int i = 0; i < 200; ++i) round();  // warm: first loads, first sample

    Now();      // first uses open what they need once
    Measure();
    Holdings before = Measure();
    double total = Now();
    for (int i = 0; i < kRounds; ++i) {
        double t = Now();
        round();
        us[i] = Now() - t;
    }
    total = Now() - total;
    Holdings after = Measure();

    std::sort(us.begin(), us.end());
    std::printf("vitalink.dll: GetVitalink + GetCpuStart + GetCpuUsage, %d rounds\n", kRounds);
    std::printf("  mean %.2f us, median %.2f us, p99 %.2f us, worst %.2f us per round (target < 2000 us: %s)\n",
                total / kRounds, us[kRounds / 2], us[kRounds * 99 / 100], us.back(),
                us[kRounds * 99 / 100] < 2000 ? "met" : "MISSED");
    TimeAlone("GetVitalink", [&] {
        int16_t s, g, u;
        sink = sink + getVitalink(&s, &g, &u);
    });
    TimeAlone("GetCpuStart", [&] { getCpuStart(); });
    TimeAlone("GetCpuUsage", [&] { sink = sink + getCpuUsage(); });

    Holdings end = Measure();
    std::printf("growth over %d rounds (before -> after the timed rounds; then after all %d calls):\n", kRounds,
                kRounds * 4 + 200);
    std::printf("  GDI objects      %lu -> %lu -> %lu\n", before.gdi, after.gdi, end.gdi);
    std::printf("  USER objects     %lu -> %lu -> %lu\n", before.user, after.user, end.user);
    std::printf("  handle count     %lu -> %lu -> %lu\n", before.handles, after.handles, end.handles);
    std::printf("  private bytes    %zu -> %zu -> %zu\n", before.privateBytes, after.privateBytes, end.privateBytes);
    std::printf("  committed (VQ)   %zu -> %zu -> %zu\n", before.committedPrivate, after.committedPrivate,
                end.committedPrivate);
    std::printf("  next handle      %#zx -> %#zx -> %#zx\n", static_cast<size_t>(before.nextHandle),
                static_cast<size_t>(after.nextHandle), static_cast<size_t>(end.nextHandle));
    bool grew = after.gdi > before.gdi || after.user > before.user || after.handles > before.handles ||
                after.nextHandle > before.nextHandle || after.committedPrivate > before.committedPrivate + 65536;
    std::printf("  per-call growth: %s\n", grew ? "YES" : "none");
    FreeLibrary(dll);
    return grew ? 2 : 0;
}
