// The benchmarks of what the player waits for: a repaint (and one of an unchanged frame), a click with its flood, a chord, the
// keys D, S and F at their worst, and the row clock's new row on a full board, each on a 12 x 20
// and a 100 x 100 board. Built twice: on the SDL layer (what the player feels) and on the
// scripted double (the game's own share, without drawing).
#include <benchmark/benchmark.h>

#include "bench/boards.h"
#include "bench/window.h"
#include "platform/disp.h"
#include "ui/mainwindow.h"

// Drops what the seam logged (the double keeps every cue it was asked to sound); defined by the
// program's main.
void benchForget();

namespace {

using bench::window;

// A board laid into the window, which is sized to it first, and kept to be restored before
// every iteration of a benchmark that changes it.
struct Scene {
    MineBd* saved;
    explicit Scene(void (*lay)(MineBd&, int, int), int w, int h) : saved(new MineBd()) {
        MainWindow& g = window();
        g.width = w;
        g.height = h;
        g.initWindow();  // the client size follows the board, as after the arrow keys
        lay(g, w, h);
        *saved = g;
    }
    ~Scene() { delete saved; }
    // The scene again, its score one apart from the last time's: the handler's repaint is then
    // a frame the layer has not shown, which it draws and shows, as after a real click.
    void restore() {
        static_cast<MineBd&>(window()) = *saved;
        static int n = 0;
        window().score += ++n % 2;
        benchForget();
    }
};

void sizes(benchmark::internal::Benchmark* b) { b->Args({12, 20})->Args({100, 100}); }

// Times `act` on a fresh copy of the scene each iteration; counts the passes it repeats.
template <class Act>
void timed(benchmark::State& state, void (*lay)(MineBd&, int, int), Act act) {
    Scene scene(lay, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    int passes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        scene.restore();
        state.ResumeTiming();
        passes = act(window());
    }
    if (passes) state.counters["passes"] = passes;
}

// The repetition of a pass while again stays set, as the handlers run it, counting the passes.
template <class Pass>
int repeat(MainWindow& g, Pass pass) {
    int n = 0;
    g.again = true;
    while (g.again) {
        pass(g);
        n++;
    }
    return n;
}

constexpr int KeyD = 68, KeyF = 70, KeyS = 83;

// A repaint that shows something new (the score moves on), so the layer draws and shows it.
void BM_Paint(benchmark::State& state) {
    Scene scene(bench::layPainted, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    MainWindow& g = window();
    for (auto _ : state) {
        g.score = (g.score + 1) % 10000;
        g.paintEvent();
    }
}
BENCHMARK(BM_Paint)->Apply(sizes)->Unit(benchmark::kMicrosecond);

// The repaint of the idle loop: the same frame as the one on the screen, which the layer does
// not draw again.
void BM_PaintUnchanged(benchmark::State& state) {
    Scene scene(bench::layPainted, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    MainWindow& g = window();
    for (auto _ : state) g.paintEvent();
}
BENCHMARK(BM_PaintUnchanged)->Apply(sizes)->Unit(benchmark::kMicrosecond);

// A left click on the open field: clickleft, the flood's solve0 repetition, the repaint.
void BM_ClickFlood(benchmark::State& state) {
    timed(state, bench::layOpenField, [](MainWindow& g) {
        g.mousePressEvent(g.width * 16 - 8, 24 + (g.height - 1) * 16 + 8, 1);
        return 0;
    });
}
BENCHMARK(BM_ClickFlood)->Apply(sizes)->Unit(benchmark::kMicrosecond);

// The flood alone, for its passes.
void BM_Flood(benchmark::State& state) {
    timed(state, bench::layOpenField, [](MainWindow& g) {
        g.clickleft(g.width - 1, g.height - 1);
        return repeat(g, [](MainWindow& m) { m.solve0(); });
    });
}
BENCHMARK(BM_Flood)->Apply(sizes)->Unit(benchmark::kMicrosecond);

// The serpent: the flood with the most passes found; the click at the bottom-left.
void BM_ClickSerpent(benchmark::State& state) {
    timed(state, bench::laySerpent, [](MainWindow& g) {
        g.mousePressEvent(8, 24 + (g.height - 1) * 16 + 8, 1);
        return 0;
    });
}
BENCHMARK(BM_ClickSerpent)->Apply(sizes)->Unit(benchmark::kMicrosecond);

void BM_Serpent(benchmark::State& state) {
    timed(state, bench::laySerpent, [](MainWindow& g) {
        g.clickleft(0, g.height - 1);
        return repeat(g, [](MainWindow& m) { m.solve0(); });
    });
}
BENCHMARK(BM_Serpent)->Apply(sizes)->Unit(benchmark::kMicrosecond);

// A right click that chords into the open field and floods it.
void BM_Chord(benchmark::State& state) {
    timed(state, bench::layChordField, [](MainWindow& g) {
        g.mousePressEvent(1 * 16 + 8, 24 + (g.height - 1) * 16 + 8, 2);
        return 0;
    });
}
BENCHMARK(BM_Chord)->Apply(sizes)->Unit(benchmark::kMicrosecond);

void BM_KeyD(benchmark::State& state) {
    timed(state, bench::layDeduction, [](MainWindow& g) {
        g.keyPressEvent(KeyD);
        return 0;
    });
}
BENCHMARK(BM_KeyD)->Apply(sizes)->Unit(benchmark::kMicrosecond);

void BM_SolveD(benchmark::State& state) {
    timed(state, bench::layDeduction,
          [](MainWindow& g) { return repeat(g, [](MainWindow& m) { m.solve1(); }); });
}
BENCHMARK(BM_SolveD)->Apply(sizes)->Unit(benchmark::kMicrosecond);

void BM_KeyDSerpent(benchmark::State& state) {
    timed(state, bench::laySerpentFlagged, [](MainWindow& g) {
        g.keyPressEvent(KeyD);
        return 0;
    });
}
BENCHMARK(BM_KeyDSerpent)->Apply(sizes)->Unit(benchmark::kMicrosecond);

void BM_SolveDSerpent(benchmark::State& state) {
    timed(state, bench::laySerpentFlagged,
          [](MainWindow& g) { return repeat(g, [](MainWindow& m) { m.solve1(); }); });
}
BENCHMARK(BM_SolveDSerpent)->Apply(sizes)->Unit(benchmark::kMicrosecond);

void BM_KeyS(benchmark::State& state) {
    timed(state, bench::layRules, [](MainWindow& g) {
        g.keyPressEvent(KeyS);
        return 1;
    });
}
BENCHMARK(BM_KeyS)->Apply(sizes)->Unit(benchmark::kMicrosecond);

void BM_KeyF(benchmark::State& state) {
    timed(state, bench::layBlankField, [](MainWindow& g) {
        g.keyPressEvent(KeyF);
        return 1;
    });
}
BENCHMARK(BM_KeyF)->Apply(sizes)->Unit(benchmark::kMicrosecond);

// The row clock's new row on a full board: addline and the solve0 repetition after it.
void BM_RowClock(benchmark::State& state) {
    timed(state, bench::layFullBoard, [](MainWindow& g) {
        g.addline();
        return repeat(g, [](MainWindow& m) { m.solve0(); });
    });
}
BENCHMARK(BM_RowClock)->Apply(sizes)->Unit(benchmark::kMicrosecond);

}  // namespace
