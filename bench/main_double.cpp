// The benchmarks on the scripted double: the game's own share of the work, without drawing.
#include <benchmark/benchmark.h>

#include "platform/scripted/disp_double.h"

void benchForget() { dbl::clearSounds(); }

int main(int argc, char** argv) {
    dbl::reset();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
