// The program's start-up over the simulated desktop: Program::Main on a
// fresh program folder and a fresh program, up to the clock window shown.
// Two cases: the sample memo already seen (the usual start, no memo window),
// and the very first start (no settings file, the sample memo comes up).
// Each iteration builds its folder and program with the timing paused.
#include "tests/fake/FakeProgram.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace morix;

void Run(benchmark::State& state, bool sampleSeen) {
    bool shown = true;
    for (auto _ : state) {
        state.PauseTiming();
        auto setup = std::make_unique<test::FakeProgram>();
        if (sampleSeen) setup->SampleDone();
        state.ResumeTiming();
        const bool ended = setup->Start();
        state.PauseTiming();
        const test::FakeWindow* clock = ended ? nullptr : setup->sys.ui.FindWindow("Morix");
        shown = shown && clock != nullptr && clock->visible;
        if (!sampleSeen) shown = shown && setup->program.MemoWindowOpen;
        setup.reset();
        state.ResumeTiming();
    }
    if (!shown) state.SkipWithError("the start-up did not end with the clock (and the sample) shown");
}

void BM_StartSampleSeen(benchmark::State& state) { Run(state, true); }
void BM_FirstStart(benchmark::State& state) { Run(state, false); }
BENCHMARK(BM_StartSampleSeen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstStart)->Unit(benchmark::kMicrosecond);

}  // namespace
