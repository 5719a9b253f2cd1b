// The board's rules: fresh board and clamps, neighbour order, the deal, rising rows, row
// removal, penalties, pause and the player's actions, with their cues.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/game_fixture.h"

TEST(FreshBoard, ClampsAndLayout) {
    Game g;
    MineBd& b = g.b;
    // A record straight from the heap is all zero: nothing is read uninitialised.
    EXPECT_FALSE(b.again);
    EXPECT_FALSE(b.dirty);
    EXPECT_EQ(b.ticktime, 0.0);
    EXPECT_EQ(b.rulenum, 0);

    b.initbd(3, 20, 8, 20);
    EXPECT_EQ(b.width, 8);
    EXPECT_EQ(b.rowmines, 7);
    b.initbd(12, 20, 8, 0);
    EXPECT_EQ(b.rowmines, 1);
    b.initbd(12, 20, 8, -5);
    EXPECT_EQ(b.rowmines, 1);
    b.initbd(12, 250, 99, 2);
    EXPECT_EQ(b.height, 100);
    EXPECT_EQ(b.top, 96);
    EXPECT_EQ(b.emptyrows, 99);
    EXPECT_TRUE(b.idle[0][95]);
    EXPECT_FALSE(b.idle[0][96]);
    for (int e : {4, 5, 50}) {
        b.initbd(12, 8, e, 2);
        EXPECT_EQ(b.top, 4) << "emptyrows " << e;
    }
    // The configured idle rows come back in full once the board is tall enough again.
    b.initbd(12, 10, 8, 2);
    EXPECT_EQ(b.top, 6);
    b.initbd(12, 20, 8, 2);
    EXPECT_EQ(b.top, 8);
    // No idle row at all: a negative count is taken as none, the field keeps its value.
    b.initbd(12, 20, -3, 2);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.emptyrows, -3);
    EXPECT_EQ(b.state, StReady);

    g.cues();
    b.score = 7;
    b.level = 3;
    b.tick = 5;
    b.state = StLost;
    b.initbd(16, 24, 5, 3);
    EXPECT_EQ(b.width, 16);
    EXPECT_EQ(b.height, 24);
    EXPECT_EQ(b.rowmines, 3);
    EXPECT_EQ(b.top, 5);
    EXPECT_EQ(b.state, StReady);
    EXPECT_EQ(b.score, 0);
    EXPECT_EQ(b.level, 1);
    EXPECT_EQ(b.tick, 0);
    EXPECT_EQ(g.cues(), Cues{"New"});
    for (int x = 0; x < b.width; x++)
        for (int y = 0; y < b.height; y++) {
            ASSERT_EQ(b.mine[x][y], x < 3) << x << "," << y;
            ASSERT_EQ(b.idle[x][y], y < 5);
            ASSERT_FALSE(b.open[x][y] || b.flag[x][y] || b.qstn[x][y]);
            ASSERT_EQ(b.num[x][y], 0);
        }
    EXPECT_EQ(checkInvariants(b), "");
}

TEST(FreshBoard, CellsBeyondTheBoardKeepTheirValues) {
    Game g;
    MineBd& b = g.b;
    b.initbd(32, 32, 8, 6);
    b.open[20][25] = true;
    b.num[20][25] = 3;
    b.flag[5][25] = true;
    b.initbd(12, 20, 8, 2);
    EXPECT_TRUE(b.open[20][25]);
    EXPECT_EQ(b.num[20][25], 3);
    EXPECT_TRUE(b.flag[5][25]);
}

TEST(Neighbours, DirectionOrderAndEdges) {
    Game g;
    MineBd& b = g.b;
    b.initbd(12, 20, 8, 2);
    const int dx[8] = {-1, 1, 0, 0, -1, -1, 1, 1}, dy[8] = {0, 0, -1, 1, -1, 1, -1, 1};
    std::int32_t nx = 0, ny = 0;
    for (int k = 0; k < 8; k++) {
        EXPECT_TRUE(b.isok(k, 5, 5, nx, ny));
        EXPECT_EQ(nx, 5 + dx[k]);
        EXPECT_EQ(ny, 5 + dy[k]);
        // Written even when off the board.
        EXPECT_EQ(b.isok(k, 0, 0, nx, ny), k == 1 || k == 3 || k == 7) << k;
        EXPECT_EQ(nx, dx[k]);
        EXPECT_EQ(b.isok(k, 11, 19, nx, ny), k == 0 || k == 2 || k == 4) << k;
    }
}

// Replays the deal's draws: the delay right after srand(clock()) re-seeds with a known value.
struct SeededDeal : Game {
    unsigned seed = 12345;
    SeededDeal() { dbl::onDelay([this] { srand(seed); }); }
    // The mine plane the shuffle gives, before the first cell is made safe.
    void expectedShuffle(bool out[100][100]) {
        for (int x = 0; x < b.width; x++)
            for (int y = 0; y < b.height; y++) out[x][y] = b.mine[x][y];
        srand(seed);
        for (int x = 0; x < b.width; x++)
            for (int y = 0; y < b.height; y++) {
                const int d = rand() % b.width;
                std::swap(out[x][y], out[d][y]);
            }
    }
};

TEST(Deal, ShufflesEveryRowInDrawOrderAndKeepsTheFirstCellSafe) {
    for (unsigned seed = 1; seed <= 40; seed++) {
        SeededDeal g;
        g.seed = seed;
        MineBd& b = g.b;
        b.initbd(12, 20, 8, 2);
        static bool want[100][100];
        g.expectedShuffle(want);
        const int cx = static_cast<int>(seed % 12), cy = 8 + static_cast<int>(seed % 12);
        b.resetbd(cx, cy);
        if (want[cx][cy]) {
            // The displaced mine goes to the rightmost mine-free cell of the same row.
            int right = -1;
            for (int x = 0; x < b.width; x++)
                if (!want[x][cy]) right = x;
            want[right][cy] = true;
            want[cx][cy] = false;
        }
        for (int x = 0; x < b.width; x++)
            for (int y = 0; y < b.height; y++) ASSERT_EQ(b.mine[x][y], want[x][y]) << seed;
        EXPECT_FALSE(b.mine[cx][cy]);
        EXPECT_EQ(b.state, StPlay);
        EXPECT_EQ(b.top, 8);
        EXPECT_EQ(checkInvariants(b), "") << seed;  // counts right in idle rows too
    }
}

TEST(Deal, IdleRowsAreShuffledAndADenseRowLeavesOneFreeCell) {
    SeededDeal g;
    MineBd& b = g.b;
    b.initbd(8, 20, 8, 7);
    // Row 10 has one free cell after the deal; the first click lands on a mine of it.
    static bool want[100][100];
    g.expectedShuffle(want);
    int cx = 0;
    while (!want[cx][10]) cx++;
    b.resetbd(cx, 10);
    EXPECT_FALSE(b.mine[cx][10]);
    int moved = 0;
    for (int y = 0; y < 8; y++) moved += !b.mine[7][y];  // column 7 was free in every row
    EXPECT_GT(moved, 0) << "idle rows were not shuffled";
    EXPECT_EQ(checkInvariants(b), "");
    // The first click on an idle cell deals and opens nothing.
    b.initbd(12, 20, 8, 2);
    b.resetbd(3, 2);
    b.clickleft(3, 2);
    EXPECT_EQ(b.state, StPlay);
    EXPECT_FALSE(b.open[3][2]);
}

TEST(RisingRows, ActivationRecountsAndTheLastRowLoses) {
    Game g;
    MineBd& b = g.b;
    g.lay({"*.......", "*.......", ".*......", "..*.....", "...*....", "....*...", ".....*..", "......*."}, 3);
    // Stale counts in the incoming row and the one below are made right.
    b.num[0][2] = 99;
    b.num[0][3] = 99;
    b.addline();
    EXPECT_EQ(b.top, 2);
    EXPECT_FALSE(b.idle[5][2]);
    EXPECT_EQ(b.num[0][2], 2);
    EXPECT_EQ(b.num[0][3], 1);
    EXPECT_EQ(b.k, 8);
    EXPECT_EQ(checkInvariants(b), "");
    b.addline();
    EXPECT_EQ(g.cues(), Cues{});
    b.addline();
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.state, StLost);
    EXPECT_EQ(g.cues(), Cues{"Lose"});
    // With no idle row left nothing is activated, nothing sounds, the board stays lost.
    b.state = StPenalty;
    b.k = 3;
    b.addline();
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.state, StLost);
    EXPECT_EQ(b.k, 3);
    EXPECT_EQ(g.cues(), Cues{});
    EXPECT_EQ(checkInvariants(b), "");
}

TEST(RowRemoval, ShiftsScoresAndBringsANewIdleRow) {
    SeededDeal g;
    MineBd& b = g.b;
    g.lay({"*.......", "*.......", "*.......", ".*......", "..*.....", "...*....", "o.f*....",
           "....*...", ".....*..", "......*."}, 3);
    b.delline(7);
    EXPECT_EQ(b.top, 4);
    EXPECT_TRUE(b.open[0][7]);
    EXPECT_TRUE(b.flag[2][7]);
    EXPECT_TRUE(b.mine[3][7]);
    EXPECT_TRUE(b.mine[3][6]);  // the old row 5
    EXPECT_TRUE(b.mine[6][9]);  // rows below stay
    EXPECT_EQ(b.score, 1);
    int mines = 0;
    for (int x = 0; x < 8; x++) {
        EXPECT_TRUE(b.idle[x][0]);
        EXPECT_FALSE(b.open[x][0] || b.flag[x][0] || b.qstn[x][0]);
        mines += b.mine[x][0];
    }
    EXPECT_EQ(mines, 1);
    EXPECT_EQ(g.cues(), Cues{});
    EXPECT_EQ(checkInvariants(b), "");
    // The bottom row goes like any other, on the largest board too.
    b.initbd(100, 100, 8, 30);
    b.resetbd(0, 99);
    b.delline(99);
    EXPECT_EQ(b.top, 9);
    EXPECT_EQ(checkInvariants(b), "");
}

TEST(RowRemoval, BonusLevelsClampAndCueOrder) {
    SeededDeal g;
    MineBd& b = g.b;
    b.initbd(12, 20, 16, 2);
    b.resetbd(0, 19);
    g.cues();
    b.score = 3;
    b.delline(19);  // top 17: at most three active rows left
    EXPECT_EQ(b.top, 13);
    EXPECT_EQ(b.score, 8);
    EXPECT_EQ(b.state, StBonus);
    EXPECT_EQ(b.level, 2);  // 8 >= 4 but not 9
    EXPECT_EQ(g.cues(), (Cues{"New", "Win"}));
    EXPECT_EQ(checkInvariants(b), "");
    b.delline(19);
    EXPECT_EQ(b.level, 3);
    EXPECT_EQ(g.cues(), Cues{"Win"});

    b.score = 9998;
    b.top = 16;
    for (int x = 0; x < 12; x++)
        for (int y = 0; y < 20; y++) b.idle[x][y] = y < 16;
    b.delline(19);
    EXPECT_EQ(b.score, 9999);
    EXPECT_EQ(b.level, 99);  // 99^2 <= 9999 < 100^2
    EXPECT_EQ(checkInvariants(b), "");
    // A level raised far beyond the score gains nothing and cannot overflow the square.
    b.level = 2147483647;
    b.delline(19);
    EXPECT_EQ(b.level, 2147483647);
}

TEST(RowRemoval, BonusBeforeTheDealLeavesTheBoardReady) {
    Game g;
    MineBd& b = g.b;
    b.initbd(12, 20, 8, 2);
    for (int n = 0; n < 9; n++) b.delline(19);  // key 9 before any click
    EXPECT_EQ(b.state, StReady);
    EXPECT_EQ(b.top, 13);
    b.resetbd(4, 18);
    EXPECT_EQ(checkInvariants(b), "");
}

TEST(CheckLine, StackedCompleteRowsAndWhatCompletes) {
    Game g;
    MineBd& b = g.b;
    g.lay({"*.......", "*.......", ".*......", ".*......", "..*.....", "..*.....", "...*....",
           ".....*.o", "*ooooooo", "oFoooooo"}, 3);
    b.dirty = true;
    b.checkline();
    // Rows 9 and 8 go (the old row 8 is tested again at index 9); the old row 7 stays.
    EXPECT_EQ(b.score, 2);
    EXPECT_EQ(b.top, 5);
    EXPECT_TRUE(b.open[7][9]);
    EXPECT_TRUE(b.mine[5][9]);
    EXPECT_FALSE(b.dirty);
    EXPECT_EQ(g.cues(), Cues{"Solve"});
    EXPECT_EQ(checkInvariants(b), "");

    // A wrong flag completes a row all the same, and takes the row's mine with it.
    g.lay({"*.......", "*.......", ".*......", ".*......", "..*.....", "..*.....", "...*....",
           "f....*..", "......*.", ".......*"}, 3);
    b.checkline();
    EXPECT_EQ(b.score, 1);
    EXPECT_FALSE(b.flag[0][7]);
    // Fewer flags than mines with a covered safe cell: nothing goes, and nothing sounds.
    g.lay({"*.......", "*.......", ".*......", ".*......", "..*.....", "..*.....", "...*....",
           "oo...*..", "......*.", ".......*"}, 3);
    b.checkline();
    EXPECT_EQ(b.score, 0);
    EXPECT_EQ(g.cues(), Cues{});
}

TEST(Penalty, OpenedMinesCostTwoRowsEach) {
    Game g;
    MineBd& b = g.b;
    const std::vector<std::string> pic = {"*.......", "*.......", "*.......", "*.......",
                                          "*.......", "*.......", "o*......", ".*......",
                                          "......*.", "......*."};
    g.lay(pic, 5);
    b.state = StBonus;
    b.clickleft(1, 6);
    EXPECT_TRUE(b.flag[1][6]);
    EXPECT_FALSE(b.open[1][6]);
    EXPECT_TRUE(b.mine[1][6]);
    EXPECT_EQ(b.top, 3);
    EXPECT_EQ(b.state, StPenalty);
    EXPECT_EQ(b.k, 8);
    EXPECT_TRUE(b.dirty);
    EXPECT_EQ(g.cues(), Cues{"Error"});  // no Left cue
    EXPECT_EQ(checkInvariants(b), "");

    // A chord that trusts two wrong question marks opens two mines: four rows, the Right cue
    // first, then one Error cue for each mine.
    g.lay({"......**", "......**", "......**", "......**", "......**", "......**", "?o?...**",
           "ooo...**", "*o*.....", "......**"}, 6);
    ASSERT_EQ(b.num[1][7], 2);
    b.clickright(1, 7, true);
    EXPECT_EQ(b.top, 2);
    EXPECT_EQ(b.state, StPenalty);
    EXPECT_TRUE(b.flag[0][8] && b.flag[2][8]);
    EXPECT_FALSE(b.qstn[0][6] || b.qstn[2][6]);
    EXPECT_EQ(g.cues(), (Cues{"Right", "Error", "Error"}));
    EXPECT_EQ(checkInvariants(b), "");

    // top 2: the second row loses the game; Lose sounds before Error.
    g.lay(pic, 2);
    b.clickleft(1, 6);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.state, StLost);
    EXPECT_EQ(g.cues(), (Cues{"Lose", "Error"}));
    // top 1: the first row loses, the second finds none left.
    g.lay(pic, 1);
    b.clickleft(1, 6);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.state, StLost);
    EXPECT_EQ(g.cues(), (Cues{"Lose", "Error"}));
    // A second opened mine in the same scan after the loss leaves the board lost.
    g.lay(pic, 1);
    b.open[1][6] = b.open[1][7] = true;
    EXPECT_TRUE(b.checkerror());
    EXPECT_EQ(b.state, StLost);
    EXPECT_EQ(g.cues(), (Cues{"Lose", "Error", "Error"}));
    EXPECT_EQ(checkInvariants(b), "");
}

TEST(Pause, TogglesOnlyDuringPlay) {
    Game g;
    MineBd& b = g.b;
    for (int s : {StPlay, StPenalty, StBonus}) {
        b.state = s;
        b.pause();
        EXPECT_EQ(b.state, StPaused);
        b.pause();
        EXPECT_EQ(b.state, StPlay);
    }
    for (int s : {StReady, StLost}) {
        b.state = s;
        b.pause();
        EXPECT_EQ(b.state, s);
    }
    EXPECT_EQ(g.cues(), Cues{});
}

TEST(LeftClick, OpensOnlyCoveredUnflaggedActiveCells) {
    Game g;
    MineBd& b = g.b;
    g.lay({"*.......", "*.......", ".*......", "..o*....", "..f*....", "...*?...", "...*....",
           "...*...."}, 2);
    b.clickleft(4, 1);  // idle: nothing, not even dirty
    EXPECT_FALSE(b.dirty);
    EXPECT_FALSE(b.open[4][1]);
    b.clickleft(2, 3);  // open
    EXPECT_TRUE(b.dirty);
    b.dirty = false;
    b.clickleft(2, 4);  // flagged
    EXPECT_TRUE(b.dirty);
    EXPECT_FALSE(b.open[2][4]);
    EXPECT_EQ(g.cues(), Cues{});
    b.state = StPenalty;
    b.clickleft(4, 5);  // question-marked: opened, mark gone
    EXPECT_TRUE(b.open[4][5]);
    EXPECT_FALSE(b.qstn[4][5]);
    EXPECT_EQ(b.state, StPlay);
    EXPECT_EQ(g.cues(), Cues{"Left"});
    b.state = StReady;
    b.clickleft(6, 6);
    EXPECT_EQ(b.state, StReady);
    EXPECT_EQ(checkInvariants(b), "");
}

// The number under test is the open cell (1, 3); rows 0 and 1 are idle.
const std::vector<std::string> around = {"......*.", "......*.", "Fo......", "ooo....*",
                                         "*o......", ".......*", ".......*", ".......*",
                                         ".......*", ".......*"};

TEST(RightClick, TheTwoChordExamples) {
    Game g;
    MineBd& b = g.b;
    // An open 2 with four covered neighbours: one flagged, one marked, two plain.
    g.lay(around, 2);
    b.qstn[0][4] = true;
    ASSERT_EQ(b.num[1][3], 2);
    b.clickright(1, 3, true);
    EXPECT_TRUE(b.open[2][2] && b.open[2][4]);
    EXPECT_FALSE(b.qstn[0][4]);
    EXPECT_TRUE(b.flag[0][4] && b.flag[0][2]);  // the last setflag flags the unmarked cell
    EXPECT_TRUE(b.again);
    EXPECT_TRUE(b.dirty);
    EXPECT_EQ(b.k, 8);
    EXPECT_EQ(g.cues(), (Cues{"Right", "Flag"}));
    EXPECT_EQ(checkInvariants(b), "");

    // An open 1 with one flagged and one marked neighbour: the first chord only takes the mark
    // off, the second opens the cell.
    g.lay({"......*.", "......*.", "Foo.....", "ooo....*", "?oo....*", ".......*", ".......*",
           ".......*", ".......*", ".......*"}, 2);
    ASSERT_EQ(b.num[1][3], 1);
    b.clickright(1, 3, true);
    EXPECT_FALSE(b.qstn[0][4]);
    EXPECT_FALSE(b.open[0][4]);
    EXPECT_FALSE(b.again);
    EXPECT_EQ(g.cues(), Cues{});
    b.clickright(1, 3, true);
    EXPECT_TRUE(b.open[0][4]);
    EXPECT_TRUE(b.again);
    EXPECT_EQ(g.cues(), (Cues{"Right", "Flag"}));
    EXPECT_EQ(checkInvariants(b), "");
}

TEST(RightClick, MarksSatisfiedNumbersZerosAndIdleNeighbours) {
    Game g;
    MineBd& b = g.b;
    g.lay(around, 2);
    b.clickright(2, 2, true);  // covered: mark on
    b.clickright(2, 2, true);  // and off, the same cue
    b.clickright(0, 2, true);  // flagged: takes a mark, keeps the flag
    EXPECT_FALSE(b.qstn[2][2]);
    EXPECT_TRUE(b.qstn[0][2] && b.flag[0][2]);
    EXPECT_EQ(g.cues(), (Cues{"Flag", "Flag", "Flag"}));
    b.clickright(3, 0, true);  // idle: nothing, not even dirty
    EXPECT_EQ(g.cues(), Cues{});

    // A number whose covered neighbours are all flagged already: setflag reaches them again and
    // sounds, and the chord is not tried (an open mine elsewhere would be penalised by it).
    g.lay(around, 2);
    b.open[2][2] = b.open[2][4] = b.flag[0][4] = true;
    b.open[7][9] = true;  // an open mine, which the chord's checkerror would find
    b.clickright(1, 3, true);
    EXPECT_EQ(g.cues(), Cues{"Flag"});
    EXPECT_TRUE(b.open[7][9]);

    // An open 0: the chord opens its plain neighbours and takes marks off the marked ones.
    g.lay({"......*.", "......*.", "......*.", ".?.....*", ".o.....*", ".......*", ".......*",
           ".......*", ".......*", ".......*"}, 2);
    ASSERT_EQ(b.num[1][4], 0);
    b.clickright(1, 4, false);
    EXPECT_FALSE(b.qstn[1][3]);
    EXPECT_FALSE(b.open[1][3]);
    EXPECT_TRUE(b.open[0][3] && b.open[2][5] && b.open[0][5]);
    EXPECT_TRUE(b.again);
    EXPECT_EQ(g.cues(), Cues{});  // the solver's clicks are silent
    EXPECT_EQ(checkInvariants(b), "");

    // A number on the first active row whose only covered neighbours are three idle mines:
    // they meet its count, but idle cells are never flagged, so setflag is false and the chord
    // that follows finds nothing to do.
    g.lay({"..***...", "..***...", "..ooo***", "..ooo***", "***.....", "***.....", "***.....",
           "***.....", "***.....", "***....."}, 2);
    ASSERT_EQ(b.num[3][2], 3);
    b.clickright(3, 2, true);
    EXPECT_FALSE(b.flag[2][1] || b.flag[3][1] || b.flag[4][1]);
    EXPECT_FALSE(b.again);
    EXPECT_EQ(g.cues(), Cues{});
    EXPECT_EQ(checkInvariants(b), "");
}
