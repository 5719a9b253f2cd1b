// The solver: flood opening and the rule deduction, with the again protocol and their cues,
// anywhere on the board; and the deduction's soundness.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/fixtures.h"

namespace {

// Repeats a pass while it sets again, as the front end does; returns the passes run.
int repeat(MineBd& b, void (MineBd::*pass)()) {
    int passes = 0;
    for (b.again = true; b.again; passes++) (b.*pass)();
    return passes;
}

int openCount(const MineBd& b) {
    int n = 0;
    for (int x = 0; x < b.width; x++)
        for (int y = 0; y < b.height; y++) n += b.open[x][y];
    return n;
}

// Two open numbers A = (s, 9) and B = (s + 1, 9) on the bottom row of a 16-wide board, B's
// right neighbour (s + 2, 9) a flagged mine, left of A only flagged mines; p, q, r = (s..s + 2,
// 8) above. A says one mine among p and q. In 1-1, B says one among p, q and r: r is proven
// safe. In 1-2 (r a mine), B says two: r is proven a mine. Every other mine lies far to the
// right, a row's worth in each row; mirrored, the pair faces the other way. With p flagged, A's
// rule holds q alone and proves the same.
std::vector<std::string> pairAt(int s, bool oneTwo, bool mirror, bool pFlagged) {
    const int w = 16;
    std::vector<std::string> rows(10, std::string(w, '.'));
    rows[8][s] = pFlagged ? 'F' : '*';
    if (oneTwo) rows[8][s + 2] = '*', rows[9][(s + 6) % w] = '*';
    rows[9][s] = rows[9][s + 1] = 'o';
    rows[9][s + 2] = 'F';
    if (s > 0) rows[8][s - 1] = rows[9][s - 1] = 'F';
    const int m = static_cast<int>(std::count(rows[8].begin(), rows[8].end(), '*') +
                                   std::count(rows[8].begin(), rows[8].end(), 'F'));
    for (int y = 0; y < 8; y++)
        for (int k = 0; k < m; k++) rows[y][(s + 6 + k) % w] = '*';
    if (mirror)
        for (std::string& r : rows) r.assign(r.rbegin(), r.rend());
    return rows;
}

}  // namespace

TEST(Solver, FloodOpensTheWholeRegionAndStopsAtNumbers) {
    Game g;
    MineBd& b = g.b;
    const std::vector<std::string> fenced = {"....*...", "....*...", "....*...", ".....*..", ".....*..",
                                             "......*.", ".......*", "......*.", ".....*..", "....*...",
                                             "....*...", "....*..."};
    for (const auto& [x, y] : {std::pair{0, 11}, {0, 3}, {2, 7}}) {
        g.lay(fenced, 3);
        b.state = x ? StBonus : y == 3 ? StPenalty : StPlay;  // the solver plays in all three
        b.open[x][y] = true;
        EXPECT_LE(repeat(b, &MineBd::solve0), 3);
        EXPECT_EQ(floodCheck(b, x, y), "");
        EXPECT_EQ(openCount(b), 45);
        EXPECT_TRUE(b.dirty);
        EXPECT_EQ(cues(), Cues{});  // the flood is silent
        EXPECT_EQ(checkInvariants(b), "");
    }
    for (const auto& [row, x, y] : {std::tuple{"*.......", 7, 11}, {".......*", 0, 3}}) {
        g.lay(std::vector<std::string>(12, row), 3);  // from the lower right corner the backward
        b.open[x][y] = true;                          // sweep floods it in one pass, from the
        EXPECT_EQ(repeat(b, &MineBd::solve0), 2);     // upper left the forward one
        EXPECT_EQ(openCount(b), 63);
    }
    g.lay({"......*.", "......*.", "......*.", "*.......", "o?o....*", "ooo....*", "ooo....*",
           "......*.", ".....*..", ".....*.."}, 3);
    b.qstn[1][4] = true;  // a question mark beside a 0 is taken off and the cell opened
    b.solve0();
    EXPECT_TRUE(b.open[1][4] && !b.qstn[1][4] && b.again);
    // Once the flood from (0, 9) has begun, the open 0 at (5, 6) has every neighbour open but
    // (5, 5), above it, which only it reaches.
    g.lay({"........**", "........**", "........**", "........**", "...*...*..", "....o.o.**", "...*ooo*..",
           "....ooo.**", "...*...*..", "o.......**"}, 3);
    repeat(b, &MineBd::solve0);
    EXPECT_TRUE(b.open[5][5]);
    // The same beside the right edge: the open 0 at (6, 6) lacks only (7, 6), in the last column.
    g.lay({"**......", "**......", "**......", "**......", "*.....*.", "*.*..ooo", "*.*..oo.", "*.*..ooo",
           "*.....*.", "**......"}, 3);
    repeat(b, &MineBd::solve0);
    EXPECT_TRUE(b.open[7][6]);
    // An open 0 whose neighbours are all open already: the pass opens nothing and still asks for
    // a row check, as a right click does.
    const std::vector<std::string> settled = {"*......*", "*......*", "*......*", "*......*", "*......*",
                                              "..*..*..", "*.ooo..*", ".*ooo*..", "*.ooo..*", "...*...*"};
    g.lay(settled, 3);
    b.solve0();
    EXPECT_EQ(picture(b), settled);
    EXPECT_TRUE(b.dirty && !b.again);
}

// One pass sweeps forward, then back from the lower right corner to the upper left (Space runs
// one): the open 2 at the lower left, whose mines the forward sweep flags only after passing it,
// chords on the way back. A pass trusting wrong flags pays for each mine its chords open.
TEST(Solver, OnePassEndsAtTheLowerLeftCornerAndPaysForTheMinesItOpens) {
    for (const std::int32_t state : {StPlay, StPenalty, StBonus}) {  // the solver plays in all three
        SCOPED_TRACE(testing::Message() << "state " << state);
        Game g;
        g.lay({"......**", "......**", "......**", "......**", "......**", "......**", ".*.....*",
               ".*oo..*.", ".*oo..*.", "o*oo..*."}, 2);
        g.b.state = state;
        g.b.solve1();
        EXPECT_TRUE(g.b.open[0][8]);
        EXPECT_EQ(cues(), Cues{"Solve"});
    }
    Game g;
    const std::vector<std::string> pic = {"*.....**", "..**.*..", ".*..**..", "*.**....", "...o***o", "o*.f*.*.",
                                          "*.*.fo*f", "oFoF.o.*", "oooo**f*", "FooFo.*o", "oooF*.*o", "oooFo.**"};
    g.lay(pic, 4);
    g.b.solve1();
    EXPECT_EQ(picture(g.b), with(pic, {{7, 8, 'F'}, {6, 9, 'F'}, {6, 10, 'F'}, {6, 11, 'F'}, {7, 11, 'F'}}));
    EXPECT_EQ(status(g.b), (Status{2, StPenalty, 0, 1}));
    EXPECT_EQ(cues(), (Cues{"Error", "Solve"}));
}

// The pairs at every column, the edges included, facing either way: a proof is found wherever
// it lies and whichever of the pair comes first. A proven-safe cell is opened whatever its
// mark; a proven mine keeps its mark as it was.
TEST(Deduction, PairsAreProvenAnywhereOnTheRow) {
    for (int s = 0; s <= 13; s++)
        for (int variant = 0; variant < 4; variant++) {
            Game g;
            MineBd& b = g.b;
            const bool mirror = variant & 1, pFlagged = variant & 2;
            const int rx = mirror ? 15 - (s + 2) : s + 2;
            const bool marked = s % 2;
            SCOPED_TRACE(testing::Message() << "A at column " << s << (mirror ? ", mirrored" : "")
                                            << (pFlagged ? ", p flagged" : ""));
            g.lay(pairAt(s, false, mirror, pFlagged), 3);
            b.state = StPlay + s % 3;  // play, penalty or bonus
            b.qstn[rx][8] = marked;
            b.solve2();
            EXPECT_TRUE(b.open[rx][8] && !b.qstn[rx][8]);
            EXPECT_EQ(openCount(b), 3);
            EXPECT_EQ(cues(), Cues{"Left"});
            EXPECT_TRUE(b.dirty && !b.again);
            EXPECT_EQ(checkInvariants(b), "");
            g.lay(pairAt(s, true, mirror, pFlagged), 3);
            b.qstn[rx][8] = marked;
            b.solve2();
            EXPECT_EQ(b.qstn[rx][8], marked);
            EXPECT_FALSE(b.open[rx][8] || b.flag[rx][8]);
            EXPECT_EQ(openCount(b), 2);
            EXPECT_EQ(cues(), Cues{});
        }
}

// A number with nothing undecided around it makes no rule: the 1 at the lower left has its flag,
// and the 0s left around its neighbours are a matter for the local pass, not the deduction. Under
// the one idle row, two open numbers share idle cells, which cancel as any other: 1-1 opens the
// two cells beside them, each with its sound.
TEST(Deduction, NothingUndecidedMakesNoRuleAndSharedIdleCellsCancel) {
    Game g;
    std::vector<std::string> pic(8, ".......*");
    pic.insert(pic.end(), {"oF......", "oo.....*"});
    g.lay(pic, 2);
    g.b.solve2();
    EXPECT_EQ(picture(g.b), pic);
    EXPECT_EQ(cues(), Cues{});
    pic = {"*......*", "oo....**", "....*..*"};
    pic.resize(8, "......**");
    g.lay(pic, 1);
    g.b.solve2();
    EXPECT_EQ(picture(g.b), with(pic, {{2, 1, 'o'}, {2, 2, 'o'}}));
    EXPECT_EQ(cues(), (Cues{"Left", "Left"}));
}

// Soundness: while every flag stands on a mine and no question mark is set, no pass opens a
// mine. Boards are dealt and played by opening random safe cells between the passes.
TEST(Deduction, NoPassOpensAMineOnASoundBoard) {
    std::mt19937 rng(2026);
    const int sizes[][3] = {{12, 20, 2}, {16, 24, 3}, {32, 32, 6}, {8, 12, 3}, {100, 100, 8}};
    for (int n = 0; n < 100; n++) {
        Game g;
        MineBd& b = g.b;
        const auto& sz = sizes[n % 5];
        seededDeals(static_cast<unsigned>(rng()));
        b.initbd(sz[0], sz[1], n % 2 ? 1 : 4, sz[2]);  // one idle row: rules reach into it
        const int cx = static_cast<int>(rng() % sz[0]);
        b.resetbd(cx, sz[1] - 1);
        b.clickleft(cx, sz[1] - 1);
        for (int step = 0; step < 40 && b.state <= StBonus; step++) {
            cues();
            for (auto pass : {&MineBd::solve0, &MineBd::solve1, &MineBd::solve2, &MineBd::solve0}) repeat(b, pass);
            for (const std::string& c : cues()) ASSERT_NE(c, "Error") << "board " << n << " step " << step;
            for (int x = 0; x < b.width; x++)
                for (int y = 0; y < b.height; y++)
                    ASSERT_TRUE(!b.qstn[x][y] && (!b.flag[x][y] || b.mine[x][y])) << "board " << n;
            ASSERT_EQ(checkInvariants(b), "") << "board " << n;
            b.checkline();
            std::vector<std::pair<int, int>> safe;
            for (int x = 0; x < b.width; x++)
                for (int y = b.top; y < b.height; y++)
                    if (!b.open[x][y] && !b.mine[x][y] && !b.flag[x][y]) safe.push_back({x, y});
            if (safe.empty()) break;
            const auto [sx, sy] = safe[rng() % safe.size()];
            b.clickleft(sx, sy);
        }
    }
}
