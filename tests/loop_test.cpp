// The main loop on the double's virtual clock: the repaint grid, the row clock, stalls, pause,
// and the client size kept to the board.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/fixtures.h"
#include "ui/game.h"

namespace {

constexpr double T0 = 1000.0;  // the double's clock at start-up

// What a turn saw, by the time since start-up.
struct Turn { double at; int tick, top, state; };

}  // namespace

// One session on the virtual clock: a click deals at 0.5 s, the row clock steps every 5/6 s, a row
// rises every twelve steps; a 3 s stall at 12 s; a pause (a right click on the face) from 20 s to
// 50 s; level 2 at 50.9 s; the window dragged at 51 s, a click beside the board in that turn.
TEST(Loop, RepaintGridRowClockStallsPauseAndDrag) {
    dbl::reset();
    seededDeals(7);
    std::vector<Turn> turns;
    bool stalled = false;
    double stallEnd = 0;
    dbl::onTurn([&] {
        const MainWindow& g = *runningGame();
        turns.push_back({dbl::now() - T0, g.tick, g.top, g.state});
        EXPECT_EQ(checkInvariants(g), "");
        if (!stalled && dbl::now() > T0 + 12.0) stalled = true, dbl::advance(3.0), stallEnd = dbl::now();
    });
    dbl::push(T0 + 0.5, dbl::Left, 5 * 16 + 8, 24 + 19 * 16 + 8);  // cell (5, 19)
    dbl::push(T0 + 20.0, dbl::Right, 96, 10);  // on the face
    dbl::push(T0 + 50.0, dbl::Key, 'P');
    dbl::push(T0 + 50.9, dbl::Key, '0');  // level 2
    dbl::push(T0 + 51.0, dbl::Drag, 400, 344);  // wider only
    dbl::push(T0 + 51.0, dbl::Left, 300, 300);
    dbl::closeAt(T0 + 52.0);
    EXPECT_EQ(runGame(), 0);
    auto at = [&](double t) { return *std::find_if(turns.begin(), turns.end() - 1, [t](const Turn& s) { return s.at >= t; }); };
    const double p = 5.0 / 6;
    EXPECT_EQ(at(0.4).tick, 0);
    EXPECT_EQ(at(0.5 + 5 * p + 0.01).tick, 5);  // counted from the first step after the deal
    EXPECT_EQ(at(10.0 - 0.01).top, 8);
    EXPECT_EQ(at(10.0 + 0.01).top, 7);
    EXPECT_EQ(at(10.0 + 0.01).tick, 0);
    // After the stall the missed steps follow one a turn.
    std::size_t n = 0;
    while (turns[n].at < 15.0) n++;
    EXPECT_EQ(turns[n + 2].tick - turns[n - 1].tick, 3);
    EXPECT_LE(turns[n].tick - turns[n - 1].tick, 1);
    // Paused: no tick, nothing banked on resuming.
    EXPECT_EQ(at(20.5).state, StPaused);
    EXPECT_EQ(at(49.9).tick, at(20.5).tick);
    EXPECT_LE(at(50.5).tick - at(49.9).tick, 1);
    std::vector<double> steps;  // the row clock's steps: the one after key 0 (level 2) 5/7 s after the last
    for (std::size_t i = 1; i < turns.size(); i++) if (turns[i].tick != turns[i - 1].tick) steps.push_back(turns[i].at);
    const auto next = std::upper_bound(steps.begin(), steps.end(), 50.9);
    EXPECT_NEAR(*next - next[-1], 5.0 / 7, 0.01);
    // The repaint grid: one repaint in the first turn past each 1/15 s step, one for a stall.
    int offGrid = 0;
    for (double t : dbl::presents()) {
        const double phase = (t - T0) * 15 - std::floor((t - T0) * 15);
        offGrid += phase > 0.0011 * 15 + 1e-6 && std::fabs(t - stallEnd) > 0.0011;
    }
    EXPECT_LE(offGrid, 5);  // the handlers' own repaints: the click, two keys, the drag's
    EXPECT_NEAR(static_cast<double>(dbl::presents().size()), (52 - 3) * 15, 10);
    // The drag is undone in its turn, and the click beside the board did nothing.
    EXPECT_EQ(client(), std::pair(192, 344));
    EXPECT_EQ(at(51.5).state, StPlay);
}
