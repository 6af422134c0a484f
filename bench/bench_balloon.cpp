// The information balloon over the simulated desktop with a real settings
// file: its opening (all six lines, two drives) and one refresh tick with the
// pointer resting on the clock. Targets: opening under 5 ms, a refresh under
// 1 ms.
#include "tests/fake/FakeProgram.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using namespace morix;

struct BalloonSetup : test::FakeProgram {
    BalloonSetup() {
        Set("メモの表示", "1");
        Set("アクティブウインドウへの移動", "0");
        sys.systemInfo.drives = {{"C:\\", platform::DriveKind::Fixed, 120000000000ull},
                                 {"D:\\", platform::DriveKind::Fixed, 800000000ull}};
        sys.clock.Set(10, 15, 20);  // a second that changes no clip
        if (Start()) throw std::runtime_error("the clock did not start");
        const platform::Rect clock = window().Bounds();
        onClock = {clock.left + 10, clock.top + 10};
    }
    platform::Point onClock, offClock{0, 0};
};

void BM_BalloonOpening(benchmark::State& state) {
    BalloonSetup setup;
    for (auto _ : state) {
        setup.sys.desktop.cursor = setup.onClock;
        setup.sys.Tick();  // opens
        state.PauseTiming();
        setup.sys.desktop.cursor = setup.offClock;
        setup.sys.Tick();  // closes
        state.ResumeTiming();
    }
    if (!setup.program.InfoBalloonOpen && setup.sys.ui.FindWindow("Morix - 情報") != nullptr)
        state.SkipWithError("the balloon did not close");
}

void BM_BalloonRefreshTick(benchmark::State& state) {
    BalloonSetup setup;
    setup.sys.desktop.cursor = setup.onClock;
    setup.sys.Tick();
    if (!setup.program.InfoBalloonOpen) state.SkipWithError("the balloon did not open");
    for (auto _ : state) setup.sys.Tick();
}

BENCHMARK(BM_BalloonOpening)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BalloonRefreshTick)->Unit(benchmark::kMicrosecond);

}  // namespace
