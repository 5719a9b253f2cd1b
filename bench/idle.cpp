// One turn of the game's loop with no message, through the SDL layer, and its pieces: the take
// from an empty queue, a clock reading, the client size, and the 1 ms sleep as it really lasts.
// CPU time is the main thread's: what the turn costs the machine beside its sleep.
#include <benchmark/benchmark.h>

#include "bench/window.h"
#include "platform/disp.h"

namespace {

using bench::window;

void BM_TakeFromEmptyQueue(benchmark::State& state) {
    window();
    while (IsNextMsg254()) {
    }
    for (auto _ : state) benchmark::DoNotOptimize(IsNextMsg254());
}
BENCHMARK(BM_TakeFromEmptyQueue);

void BM_ClockReading(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(GetTimeR49());
}
BENCHMARK(BM_ClockReading);

void BM_ClientSize(benchmark::State& state) {
    window();
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetWidth56());
        benchmark::DoNotOptimize(GetHeight57());
    }
}
BENCHMARK(BM_ClientSize);

void BM_Sleep1ms(benchmark::State& state) {
    for (auto _ : state) Delay28(1);
}
BENCHMARK(BM_Sleep1ms)->UseRealTime()->Unit(benchmark::kMicrosecond);

// runGame's turn when nothing happens: no message, neither repaint nor row step due, the sleep,
// the size check. With and without the sleep, to tell its cost from the rest.
template <bool Sleep>
void idleTurn(benchmark::State& state) {
    MainWindow& g = window();
    while (IsNextMsg254()) {
    }
    const double never = GetTimeR49() + 1e9;
    const double step = 1.0 / 15;
    const float period = 5.0f / (static_cast<float>(g.level) + 5.0f);
    int work = 0;
    for (auto _ : state) {
        if (IsNextMsg254()) work++;
        if (GetTimeR49() > never + step) work++;
        if (GetTimeR49() > never + period) work++;
        if (Sleep) Delay28(1);
        if (GetWidth56() != g.width * CellPx || GetHeight57() != g.height * CellPx + StripPx) work++;
    }
    benchmark::DoNotOptimize(work);
}
void BM_IdleTurn(benchmark::State& state) { idleTurn<true>(state); }
BENCHMARK(BM_IdleTurn)->UseRealTime()->Unit(benchmark::kMicrosecond);
void BM_IdleTurnWithoutSleep(benchmark::State& state) { idleTurn<false>(state); }
BENCHMARK(BM_IdleTurnWithoutSleep);

}  // namespace
