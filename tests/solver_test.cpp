// The solver: flood opening, the local pass, the blank hint and the rule deduction, with the
// again protocol and their cues; and the deduction's soundness over many played boards.
#include <gtest/gtest.h>

#include <random>

#include "tests/game_fixture.h"

namespace {

// Repeats a pass while it sets again, as the front end does; returns the passes run.
template <class Pass>
int repeat(MineBd& b, Pass pass) {
    int passes = 0;
    b.again = true;
    while (b.again) {
        (b.*pass)();
        passes++;
    }
    return passes;
}

int openCount(const MineBd& b) {
    int n = 0;
    for (int x = 0; x < b.width; x++)
        for (int y = 0; y < b.height; y++) n += b.open[x][y];
    return n;
}

}  // namespace

TEST(Flood, OpensAWholeEmptyRegionAndStopsAtNumbers) {
    Game g;
    MineBd& b = g.b;
    // Mines fence off the right side; the left side is one empty region with a number border.
    g.lay({"....*...", "....*...", "....*...", ".....*..", "......*.", ".......*", "......*.",
           ".....*..", "....*...", "....*...", "....*...", "....*..."}, 3);
    b.open[0][11] = true;
    ASSERT_EQ(b.num[0][11], 0);
    // Reference: every active cell reached through zeros, and the numbers that border them.
    bool want[100][100] = {};
    std::vector<std::pair<int, int>> stack{{0, 11}};
    want[0][11] = true;
    while (!stack.empty()) {
        auto [x, y] = stack.back();
        stack.pop_back();
        if (b.num[x][y] != 0) continue;
        for (int dx = -1; dx <= 1; dx++)
            for (int dy = -1; dy <= 1; dy++) {
                const int px = x + dx, py = y + dy;
                if (px < 0 || py < 3 || px >= 8 || py >= 12 || want[px][py]) continue;
                want[px][py] = true;
                stack.push_back({px, py});
            }
    }
    const int passes = repeat(b, &MineBd::solve0);
    for (int x = 0; x < 8; x++)
        for (int y = 0; y < 12; y++) ASSERT_EQ(b.open[x][y], want[x][y]) << x << "," << y;
    EXPECT_GT(openCount(b), 20);
    EXPECT_LE(passes, 3);
    EXPECT_EQ(g.cues(), Cues{});  // the flood is silent
    EXPECT_TRUE(b.dirty);
    EXPECT_EQ(checkInvariants(b), "");

    // From the lower right corner the backward sweep floods the whole region in the first pass;
    // the second finds nothing more.
    g.lay(std::vector<std::string>(12, "*......."), 3);
    b.open[7][11] = true;
    EXPECT_EQ(repeat(b, &MineBd::solve0), 2);
    EXPECT_EQ(openCount(b), 9 * 7);

    // Nothing to flood: one pass, nothing changes but again.
    const int before = openCount(b);
    EXPECT_EQ(repeat(b, &MineBd::solve0), 1);
    EXPECT_EQ(openCount(b), before);
}

TEST(Flood, AQuestionMarkBesideAZeroGoesForwardAndOpensBackward) {
    Game g;
    MineBd& b = g.b;
    // (1,5) is an open 0 whose neighbours are all open but the marked (1,4), a number.
    g.lay({"......*.", "......*.", "......*.", "*.......", "o?o....*", "ooo....*", "ooo....*",
           "......*.", ".....*..", ".....*.."}, 3);
    b.qstn[1][4] = true;
    ASSERT_EQ(b.num[1][5], 0);
    ASSERT_GT(b.num[1][4], 0);
    b.solve0();
    EXPECT_FALSE(b.qstn[1][4]);
    EXPECT_TRUE(b.open[1][4]);
    EXPECT_TRUE(b.again);
    b.solve0();
    EXPECT_FALSE(b.again);
    EXPECT_EQ(checkInvariants(b), "");
}

TEST(Passes, DoNothingWhenLostOrPausedAndEndTheCallersLoop) {
    Game g;
    MineBd& b = g.b;
    g.lay({"......*.", "......*.", "......*.", "*.......", "........", ".......*", "o......*",
           "......*.", ".....*..", ".....*.."}, 3);
    for (int s : {StLost, StPaused}) {
        b.state = s;
        EXPECT_EQ(repeat(b, &MineBd::solve0), 1);
        EXPECT_EQ(repeat(b, &MineBd::solve1), 1);
        EXPECT_EQ(repeat(b, &MineBd::solveblank), 1);
        b.again = true;
        b.rulenum = 7;
        b.solve2();
        EXPECT_FALSE(b.again);
        EXPECT_EQ(b.rulenum, 0);
        EXPECT_EQ(openCount(b), 1);
        EXPECT_EQ(g.cues(), Cues{});  // not even the Solve cue
    }
}

TEST(LocalPass, FlagsOnlyBoardTakesOnePassAndSoundsSolve) {
    Game g;
    MineBd& b = g.b;
    // Every covered cell is a mine beside a number that sees exactly its unopened cells.
    g.lay({"......*.", "......*.", "......*.", "*ooooooo", "ooooo*oo", "ooo*oooo", "oooooo*o",
           "oo*ooooo", "ooooooo*", "*ooooooo"}, 3);
    const int passes = repeat(b, &MineBd::solve1);
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(g.cues(), Cues{"Solve"});
    for (int x = 0; x < 8; x++)
        for (int y = 3; y < 10; y++) ASSERT_EQ(b.flag[x][y], b.mine[x][y]) << x << "," << y;
    EXPECT_EQ(checkInvariants(b), "");
    // A pass that finds nothing still sounds Solve.
    b.solve1();
    EXPECT_EQ(g.cues(), Cues{"Solve"});
}

TEST(BlankHint, ReadsTheMinePlaneAndOpensEachWithItsCue) {
    Game g;
    MineBd& b = g.b;
    g.lay({"......*.", "......*.", "......*.", "*.......", "........", ".......*", ".......*",
           "......*.", ".....*..", ".....*.."}, 3);
    b.state = StBonus;
    int zeros = 0;
    for (int x = 0; x < 8; x++)
        for (int y = 3; y < 10; y++) zeros += !b.mine[x][y] && b.num[x][y] == 0;
    EXPECT_EQ(repeat(b, &MineBd::solveblank), 1);  // exactly one pass, though it opened cells
    EXPECT_EQ(g.cues(), Cues(zeros, "Left"));
    EXPECT_EQ(openCount(b), zeros);
    EXPECT_EQ(b.state, StPlay);
    for (int x = 0; x < 8; x++)
        for (int y = 0; y < 3; y++) EXPECT_FALSE(b.open[x][y]);  // idle zeros stay covered

    // Before the deal: every active cell without a mine, the state stays ready.
    b.initbd(12, 20, 8, 2);
    g.cues();
    b.solveblank();
    EXPECT_EQ(openCount(b), 10 * 12);
    EXPECT_EQ(g.cues(), Cues(10 * 12, "Left"));
    EXPECT_EQ(b.state, StReady);
    EXPECT_TRUE(b.open[2][8] && !b.open[1][8] && !b.open[2][7]);
}

// Rules on the bottom row: A = (0,9) over p = (0,8) and q = (1,8); B = (1,9) over p, q and
// r = (2,8), with the flagged mine (2,9) taken off its count. Everything else is covered, so
// these are the only rules.
std::vector<std::string> pair11 = {"......*.", "......*.", "......*.", ".......*", ".......*",
                                   ".......*", ".......*", ".......*", "*.......", "ooF....."};
std::vector<std::string> pair12 = {"......**", "......**", "......**", "......**", "......**",
                                   "......**", "......**", "......**", "*.*.....", "ooF....*"};

TEST(Deduction, RuleTableAfterCreaterule) {
    Game g;
    MineBd& b = g.b;
    g.lay(pair11, 3);
    b.ruleid[5][5] = 42;
    b.rulenum = 0;
    b.createrule();
    ASSERT_EQ(b.rulenum, 2);
    const Rule& a = b.rule[0];
    EXPECT_EQ(a.x, 0);
    EXPECT_EQ(a.y, 9);
    EXPECT_EQ(a.mines, 1);
    ASSERT_EQ(a.cnt, 2);
    EXPECT_EQ(a.ux[0], 0);  // up, then up-right
    EXPECT_EQ(a.ux[1], 1);
    EXPECT_EQ(a.uy[0], 8);
    EXPECT_EQ(a.uy[1], 8);
    const Rule& r = b.rule[1];
    EXPECT_EQ(r.x, 1);
    EXPECT_EQ(r.mines, 1);  // two mines, one flagged
    ASSERT_EQ(r.cnt, 3);
    EXPECT_EQ(r.ux[0], 1);  // up, up-left, up-right
    EXPECT_EQ(r.ux[1], 0);
    EXPECT_EQ(r.ux[2], 2);
    EXPECT_EQ(b.ruleid[0][9], 0);
    EXPECT_EQ(b.ruleid[1][9], 1);
    EXPECT_EQ(b.ruleid[2][9], -1);
    EXPECT_EQ(b.ruleid[5][5], -1);
    EXPECT_EQ(b.k, 8);
}

TEST(Deduction, OneOneOpensTheThirdCellAndOneTwoLeavesItsMarkAsItWas) {
    for (bool marked : {false, true}) {
        Game g;
        MineBd& b = g.b;
        g.lay(pair11, 3);
        b.qstn[2][8] = marked;  // a proven-safe cell is opened whatever its mark
        b.solve2();
        EXPECT_TRUE(b.open[2][8]);
        EXPECT_FALSE(b.qstn[2][8]);
        EXPECT_EQ(g.cues(), Cues{"Left"});
        EXPECT_FALSE(b.open[0][8] || b.open[1][8]);
        EXPECT_FALSE(b.again);
        EXPECT_TRUE(b.dirty);
        EXPECT_EQ(checkInvariants(b), "");

        g.lay(pair12, 3);
        b.qstn[2][8] = marked;
        ASSERT_EQ(b.num[1][9], 3);
        b.solve2();
        // r is proven a mine by both orders of the pair: right-clicked twice, its mark kept.
        EXPECT_EQ(b.qstn[2][8], marked);
        EXPECT_FALSE(b.open[2][8] || b.flag[2][8]);
        EXPECT_EQ(g.cues(), Cues{});
        EXPECT_EQ(checkInvariants(b), "");
    }
}

TEST(Deduction, IdleCellsInRulesAndASecondPass) {
    Game g;
    MineBd& b = g.b;
    // Row 3 is the first active row, all open but its flagged mine; every undecided cell of
    // its rules is idle, so nothing proven can be clicked.
    g.lay({"*.......", ".*......", "..*.....", "ooFooooo", "oooooFoo", "oFoooooo", "oooooooF",
           "ooFooooo", "oooFoooo", "Foooooo."}, 3);
    b.open[7][9] = true;
    b.mine[7][9] = false;
    b.mine[0][9] = true;
    g.recount();
    b.solve2();
    EXPECT_GT(b.rulenum, 0);
    for (int r = 0; r < b.rulenum; r++)
        for (int c = 0; c < b.rule[r].cnt; c++) EXPECT_LT(b.rule[r].uy[c], 3);
    EXPECT_EQ(g.cues(), Cues{});
    EXPECT_EQ(checkInvariants(b), "");

    // A bottom row open under covered rows: the first pass opens cells of row 8, and the rules
    // of those cells let the second pass open more.
    g.lay({"......*.", "......*.", "......*.", ".......*", ".......*", ".......*", ".......*",
           "...*....", "*.......", "oooooooF"}, 3);
    b.solve2();
    const int first = openCount(b);
    EXPECT_GT(first, 8);
    b.solve2();
    EXPECT_GT(openCount(b), first);
    EXPECT_EQ(checkInvariants(b), "");
}

// Soundness: while every flag stands on a mine and no question mark is set, no pass opens a
// mine. Boards are dealt and played by opening random safe cells between the passes.
TEST(Deduction, NoPassOpensAMineOnASoundBoard) {
    std::mt19937 rng(2026);
    int boards = 0, opened = 0;
    const int sizes[][3] = {{12, 20, 2}, {16, 24, 3}, {32, 32, 6}, {8, 12, 3}, {20, 16, 8}};
    for (int n = 0; n < 150; n++) {
        Game g;
        MineBd& b = g.b;
        const auto& sz = sizes[n % 5];
        unsigned seed = static_cast<unsigned>(rng());
        dbl::onDelay([&seed] { srand(seed++); });
        b.initbd(sz[0], sz[1], 4, sz[2]);
        const int cx = static_cast<int>(rng() % sz[0]), cy = sz[1] - 1;
        b.resetbd(cx, cy);
        b.clickleft(cx, cy);
        boards++;
        for (int step = 0; step < 40 && b.state <= StBonus; step++) {
            g.cues();
            repeat(b, &MineBd::solve0);
            repeat(b, &MineBd::solve1);
            b.solve2();
            repeat(b, &MineBd::solve0);
            for (const std::string& c : g.cues())
                ASSERT_NE(c, "Error") << "a pass opened a mine, board " << n << " step " << step;
            for (int x = 0; x < b.width; x++)
                for (int y = 0; y < b.height; y++) {
                    ASSERT_FALSE(b.qstn[x][y]) << "board " << n;
                    ASSERT_TRUE(!b.flag[x][y] || b.mine[x][y]) << "wrong flag, board " << n;
                }
            ASSERT_EQ(checkInvariants(b), "") << "board " << n;
            b.checkline();
            // Open one random safe covered cell, as a lucky player would.
            std::vector<std::pair<int, int>> safe;
            for (int x = 0; x < b.width; x++)
                for (int y = b.top; y < b.height; y++)
                    if (!b.open[x][y] && !b.mine[x][y] && !b.flag[x][y]) safe.push_back({x, y});
            if (safe.empty()) break;
            const auto [sx, sy] = safe[rng() % safe.size()];
            b.clickleft(sx, sy);
        }
        opened += openCount(b);
    }
    EXPECT_EQ(boards, 150);
    RecordProperty("boards", boards);
    RecordProperty("open_cells_at_end", opened);
}
