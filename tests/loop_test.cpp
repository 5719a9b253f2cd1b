// The main loop on the double's virtual clock: status, the repaint grid, the row clock, rows
// completed by a click, and the client size kept to the board.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/double/disp_double.h"
#include "tests/invariants.h"
#include "ui/game.h"
#include "ui/mainwindow.h"

namespace {

constexpr double T0 = 1000.0;  // the double's clock at start-up

// Deals the same board every run: the deal seeds from clock() just before its delay.
void seededDeals() {
    unsigned seed = 7;
    dbl::onDelay([seed]() mutable { srand(seed++); });
}

// A left click on the centre of a cell, at T0 + at.
void clickCell(double at, int cx, int cy, int button = 1) {
    dbl::pushClick(T0 + at, button, cx * 16 + 8, 24 + cy * 16 + 8);
}

}  // namespace

TEST(Loop, EndsWithZeroOnEscOrTheFrameAndOneWithoutAWindow) {
    dbl::reset();
    dbl::pushKey(T0 + 0.2, 27);
    EXPECT_EQ(runGame(), 0);
    EXPECT_NEAR(dbl::now(), T0 + 0.2, 0.002);
    EXPECT_EQ(runningGame(), nullptr);

    dbl::reset();
    dbl::pushClose(T0 + 0.3);
    EXPECT_EQ(runGame(), 0);

    dbl::reset();
    dbl::refuseWindow();
    EXPECT_EQ(runGame(), 1);
}

TEST(Loop, RepaintGridStaysOnItsStepsAfterStalls) {
    dbl::reset();
    bool stalled = false;
    std::int64_t stallTurn = 0;
    dbl::onTurn([&] {
        if (!stalled && dbl::now() > T0 + 1.0) {
            stalled = true;
            dbl::advance(0.5);
            stallTurn = dbl::nowUs();
        }
    });
    dbl::closeAt(T0 + 3.0);
    const int startFrames = 2;  // the constructor's paints
    EXPECT_EQ(runGame(), 0);
    const auto& times = dbl::presentTimes();
    ASSERT_GT(times.size(), 35u);
    int afterStall = 0;
    for (std::size_t n = startFrames; n < times.size(); n++) {
        const double t = (times[n] - std::int64_t{1000000000}) / 1e6;
        if (times[n] >= stallTurn && times[n] <= stallTurn + 1000) {
            afterStall++;  // the one repaint for the whole stall
            continue;
        }
        // Otherwise each repaint comes in the first turn past a multiple of 1/15 s.
        const double phase = t * 15 - static_cast<long>(t * 15);
        EXPECT_LT(phase, 0.0011 * 15 + 1e-9) << "repaint off the grid at " << t;
    }
    EXPECT_EQ(afterStall, 1);
    // Frames per second of the grid: 15, less the ones the stall swallowed.
    EXPECT_NEAR(static_cast<double>(times.size() - startFrames), 2.5 * 15 + 1, 2);
}

TEST(Loop, RowClockTicksOnlyInPlayOneStepATurn) {
    dbl::reset();
    seededDeals();
    struct Seen {
        double at;
        int tick, top, state;
    };
    std::vector<Seen> seen;
    bool stalled = false;
    dbl::onTurn([&] {
        const MainWindow& g = *runningGame();
        seen.push_back({dbl::now() - T0, g.tick, g.top, g.state});
        EXPECT_EQ(checkInvariants(g), "") << dbl::now() - T0;
        if (!stalled && dbl::now() > T0 + 12.0) {
            stalled = true;
            dbl::advance(3.0);
        }
    });
    clickCell(0.5, 5, 19);        // deals: the clock counts from its next step
    dbl::pushKey(T0 + 20.0, 80);  // pause for 30 s
    dbl::pushKey(T0 + 50.0, 80);
    dbl::closeAt(T0 + 52.0);
    EXPECT_EQ(runGame(), 0);
    auto at = [&](double t) {
        for (const Seen& s : seen)
            if (s.at >= t) return s;
        return seen.back();
    };
    const double p = 5.0 / 6;
    EXPECT_EQ(at(0.4).tick, 0);
    EXPECT_EQ(at(5 * p + 0.01).tick, 5);
    // Twelve steps make a row: 10 s at level 1 with 12 columns.
    EXPECT_EQ(at(10.0 - 0.01).top, 8);
    EXPECT_EQ(at(10.0 + 0.01).top, 7);
    EXPECT_EQ(at(10.0 + 0.01).tick, 0);
    // A stall of 3 s after 12 s: the missed steps follow one a turn.
    std::size_t n = 0;
    while (seen[n].at < 15.0) n++;
    EXPECT_LE(seen[n].tick - seen[n - 1].tick, 1);
    const int before = seen[n - 1].tick;
    EXPECT_EQ(seen[n + 2].tick, before + 3);
    // Paused from 20 s to 50 s: no tick, nothing banked on resuming.
    EXPECT_EQ(at(20.5).state, StPaused);
    EXPECT_EQ(at(49.9).tick, at(20.5).tick);
    EXPECT_LE(at(50.5).tick - at(49.9).tick, 1);
}

TEST(Loop, LevelSpeedsTheClockAndALostBoardStandsStill) {
    dbl::reset();
    seededDeals();
    int lostTick = -1;
    bool lost = false;
    double rowAt = 0;
    int startTop = 0;
    dbl::onTurn([&] {
        MainWindow& g = *runningGame();
        if (startTop == 0 && g.state == StPlay) startTop = g.top;
        if (rowAt == 0 && startTop && g.top == startTop - 1) rowAt = dbl::now() - T0;
        if (dbl::now() > T0 + 8.0 && !lost) {
            lost = true;
            g.top = 1;
            for (int x = 0; x < g.width; x++) g.idle[x][0] = true;
            g.addline();  // the last idle row: lost
            lostTick = g.tick;
        }
        if (lost) {
            EXPECT_EQ(g.tick, lostTick);
        }
    });
    for (int n = 0; n < 5; n++) dbl::pushKey(T0 + 0.01, 48);  // level 6: 5/11 s a step
    clickCell(0.02, 5, 19);
    dbl::closeAt(T0 + 12.0);
    EXPECT_EQ(runGame(), 0);
    EXPECT_NEAR(rowAt, 12 * 5.0 / 11, 0.01);
}

TEST(Loop, CompletedRowsGoInATurnThatTakesAMessage) {
    dbl::reset();
    seededDeals();
    int phase = 0;
    int scoreAt[4] = {};
    dbl::onTurn([&] {
        MainWindow& g = *runningGame();
        const double t = dbl::now() - T0;
        if (phase == 0 && t > 0.2) {
            // After the deal: open the bottom row's safe cells but one, which a click opens.
            phase = 1;
            int last = 0;
            for (int x = 0; x < g.width; x++)
                if (!g.mine[x][19]) {
                    g.open[x][19] = true;
                    last = x;
                }
            g.open[last][19] = false;
            clickCell(0.5, last, 19);
        }
        if (phase == 1 && t > 0.6) {
            phase = 2;
            scoreAt[0] = g.score;
            // Complete the next row without a message: it waits.
            for (int x = 0; x < g.width; x++) g.open[x][18] = !g.mine[x][18];
            g.dirty = true;
        }
        if (phase == 2 && t > 0.9) {
            phase = 3;
            scoreAt[1] = g.score;
        }
        if (phase == 3 && t > 1.2) {
            phase = 4;
            scoreAt[2] = g.score;
        }
    });
    clickCell(0.1, 5, 17);
    dbl::pushOther(T0 + 1.0);  // any message lets the waiting row go
    dbl::closeAt(T0 + 1.5);
    EXPECT_EQ(runGame(), 0);
    EXPECT_GE(scoreAt[0], 1);            // removed in the click's own turn
    EXPECT_EQ(scoreAt[1], scoreAt[0]);   // no message: it waits
    EXPECT_GT(scoreAt[2], scoreAt[1]);   // the next message takes it
}

TEST(Loop, ClientSizeIsRestoredAndClicksBesideTheBoardDoNothing) {
    dbl::reset();
    int moves = 0;
    std::int32_t w = 0, h = 0;
    bool checked = false;
    dbl::onTurn([&] {
        if (!checked && dbl::now() > T0 + 0.5) {
            checked = true;
            w = dbl::clientW();
            h = dbl::clientH();
            moves = dbl::placement().moves;
        }
    });
    dbl::pushDrag(T0 + 0.3, 400, 500);
    dbl::pushClick(T0 + 0.3, 1, 300, 300);  // taken in the turn of the drag, beside the board
    dbl::closeAt(T0 + 1.0);
    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(w, 192);
    EXPECT_EQ(h, 344);
    EXPECT_EQ(moves, 1);  // the window is not moved again
}
