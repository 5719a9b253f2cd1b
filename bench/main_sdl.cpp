// The benchmarks on the SDL layer: SDL's dummy video and audio drivers (unless the environment
// names others), the software renderer, and the game's sheets and clips read from assets/.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

void benchForget() {}

int main(int argc, char** argv) {
    // Before the first window opens: the layer reads these when it starts SDL.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (chdir(DRAVEL_ASSETS_DIR) != 0) std::perror(DRAVEL_ASSETS_DIR);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
