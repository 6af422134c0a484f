// The cost of one clock tick with following on, over the simulated desktop
// with a real settings file: the window in front unchanged, and the desktop
// in front (whose home placement repeats on every tick). Target: under 50 µs.
#include "tests/fake/FakeProgram.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using namespace morix;

struct TickSetup : test::FakeProgram {
    void Start(bool desktopInFront) {
        if (FakeProgram::Start()) throw std::runtime_error("the clock did not start");
        sys.desktop.Open("無題 - メモ帳", {100, 50, 1000, 700});
        if (desktopInFront) sys.desktop.foreground = sys.desktop.desktopHandle;
        sys.clock.Set(10, 15, 20);  // a second that changes no clip
        sys.Tick();
        sys.Tick();
    }
    void Tick() { sys.Tick(); }
    int Writes() const { return sys.files.writes; }
};

void Run(benchmark::State& state, bool desktopInFront) {
    TickSetup setup;
    setup.Start(desktopInFront);
    const int writes = setup.Writes();
    for (auto _ : state) setup.Tick();
    state.counters["file_writes"] = setup.Writes() - writes;
}

void BM_TickFollowedWindowUnchanged(benchmark::State& state) { Run(state, false); }
void BM_TickDesktopInFront(benchmark::State& state) { Run(state, true); }
BENCHMARK(BM_TickFollowedWindowUnchanged);
BENCHMARK(BM_TickDesktopInFront);

}  // namespace
