// The board's rules: the deal, rising rows, row removal, penalties and the right click's
// actions, with their cues.
#include <gtest/gtest.h>

#include "tests/fixtures.h"

using V = std::vector<int>;

struct Board : testing::Test { Game g; MineBd& b = g.b; };

// The deal replays: every row shuffled by its own draws in draw order, the first cell's mine
// moved to the rightmost free cell of its row.
TEST(Deal, ShufflesEveryRowAndKeepsTheFirstCellSafe) {
    for (unsigned seed = 1; seed <= 30; seed++) {
        Game g;
        MineBd& b = g.b;
        seededDeals(seed);
        b.initbd(seed % 2 ? 12 : 8, 20, 8, seed % 2 ? 2 : 7);
        static bool want[100][100];
        srand(seed);
        for (int x = 0; x < b.width; x++)
            for (int y = 0; y < b.height; y++) want[x][y] = b.mine[x][y];
        for (int x = 0; x < b.width; x++)
            for (int y = 0; y < b.height; y++) std::swap(want[x][y], want[rand() % b.width][y]);
        const int cx = static_cast<int>(seed * 7 % b.width), cy = 8 + static_cast<int>(seed % 12);
        b.resetbd(cx, cy);
        for (int right = b.width - 1; want[cx][cy]; right--)
            if (!want[right][cy]) want[right][cy] = true, want[cx][cy] = false;
        for (int x = 0; x < b.width; x++)
            for (int y = 0; y < b.height; y++) ASSERT_EQ(b.mine[x][y], want[x][y]) << seed;
        EXPECT_EQ(b.state, StPlay);
        EXPECT_EQ(checkInvariants(b), "") << seed;  // counts right, idle rows too
    }
}

TEST_F(Board, RisingRowsRemovalScoreBonusAndLevels) {
    seededDeals(5);
    g.lay({"*.......", "*.......", ".*......", "..*.....", "...*....", "o.f*....", "....*...", "......*."}, 3);
    b.num[0][2] = b.num[0][3] = 99;  // stale counts in the incoming row and the one below
    b.addline();
    EXPECT_EQ((V{b.top, b.num[0][2], b.num[0][3], b.k}), (V{2, 2, 1, 8}));
    b.delline(6);  // the rows above move down one, a new idle row comes in
    EXPECT_TRUE(b.open[0][6] && b.flag[2][6] && b.mine[3][6] && b.mine[3][5] && b.mine[6][7]);
    EXPECT_EQ(b.top * 10 + b.score, 31);
    EXPECT_EQ(cues(), Cues{});
    EXPECT_EQ(checkInvariants(b), "");
    for (int n = 0; n < 2; n++) b.addline();
    EXPECT_EQ(cues(), Cues{});
    b.addline();  // the last idle row: lost
    EXPECT_EQ(b.top * 10 + b.state, StLost);
    EXPECT_EQ(cues(), Cues{"Lose"});
    b.state = StPenalty, b.k = 3;
    b.addline();  // none left: nothing activates or sounds, the board stays lost
    EXPECT_EQ((V{b.top, b.state, b.k}), (V{0, StLost, 3}));
    EXPECT_EQ(cues(), Cues{});
    // At most three active rows left: four rows and four points more; levels at 4 and 9.
    b.initbd(12, 20, 16, 2);
    b.resetbd(0, 19);
    b.score = 3;
    cues();
    b.delline(19);
    EXPECT_EQ((V{b.top, b.score, b.state, b.level}), (V{13, 8, StBonus, 2}));
    EXPECT_EQ(cues(), (Cues{"New", "Win"}));
    b.delline(19);
    EXPECT_EQ(b.level * 10 + cues().size(), 31);
    b.score = 9999;  // the score stops at 9999, levels follow it to 99
    b.delline(19);
    EXPECT_EQ(b.score * 1000 + b.level, 9999099);
    b.level = 2147483647;  // far beyond the score: nothing gained, no overflow
    b.delline(19);
    EXPECT_EQ(b.level, 2147483647);
    EXPECT_EQ(checkInvariants(b), "");
    b.initbd(12, 20, 8, 2);  // key 9 before the first click: the bonus, but no deal
    for (int n = 0; n < 9; n++) b.delline(19);
    EXPECT_EQ(b.top * 10 + b.state, 130 + StReady);
}

TEST_F(Board, CheckLineRemovesStackedCompleteRowsOnly) {
    const std::vector<std::string> above = {"*.......", "*.......", ".*......", ".*......", "..*.....",
                                            "..*.....", "...*...."};
    // Rows 9 and 8 go (the old row 8 is tested again at 9), the old row 7 stays; a wrong flag
    // completes its row all the same; a flag short with a safe cell covered completes nothing.
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{".....*.o", "*ooooooo", "oFoooooo"}, 2}, {{"f....*..", "......*.", ".......*"}, 1},
        {{"oo...*..", "......*.", ".......*"}, 0}};
    for (const auto& [rows, removed] : cases) {
        std::vector<std::string> pic = above;
        pic.insert(pic.end(), rows.begin(), rows.end());
        g.lay(pic, 3);
        b.dirty = true;
        b.checkline();
        EXPECT_EQ(b.score * 10 + b.top, removed * 11 + 3) << rows[0];
        EXPECT_EQ(cues(), removed ? Cues{"Solve"} : Cues{});
        EXPECT_FALSE(b.dirty);
        EXPECT_TRUE(removed != 2 || (b.open[7][9] && b.mine[5][9]));
        EXPECT_EQ(checkInvariants(b), "");
    }
}

TEST_F(Board, OpenedMinesCostTwoRowsEach) {
    const std::vector<std::string> pic = {"*.......", "*.......", "*.......", "*.......", "*.......",
                                          "*.......", "o*......", ".*......", "......*.", "......*."};
    const std::pair<int, Cues> cases[] = {{5, {"Error"}}, {2, {"Lose", "Error"}}, {1, {"Lose", "Error"}}};
    for (const auto& [idle, cueList] : cases) {
        g.lay(pic, idle);
        b.state = StBonus;
        b.clickleft(1, 6);
        EXPECT_TRUE(b.flag[1][6] && b.mine[1][6] && !b.open[1][6] && b.dirty);
        EXPECT_EQ(b.top * 10 + b.state, idle == 5 ? 30 + StPenalty : StLost);
        EXPECT_EQ(cues(), cueList) << idle;  // no Left cue
        EXPECT_EQ(checkInvariants(b), "");
    }
}

// The number under test is the open cell (1, 3); rows 0 and 1 are idle.
const std::vector<std::string> around = {"......*.", "......*.", "Fo......", "ooo....*", "*o......",
                                         ".......*", ".......*", ".......*", ".......*", ".......*"};

TEST_F(Board, RightClicksChordFlagAndMark) {
    // An open 2 with a flagged, a marked and two plain covered neighbours: the chord opens the
    // plain ones and takes the mark off; the last flagging flags the marked mine.
    g.lay(around, 2);
    b.qstn[0][4] = true;
    b.clickright(1, 3, true);
    EXPECT_TRUE(b.open[2][2] && b.open[2][4] && b.flag[0][4] && !b.qstn[0][4] && b.again && b.dirty);
    EXPECT_EQ(b.k, 8);
    EXPECT_EQ(cues(), (Cues{"Right", "Flag"}));
    // An open 1 with a flag and a mark: the first chord only takes the mark off.
    g.lay({"......*.", "......*.", "Foo.....", "ooo....*", "?oo....*", ".......*", ".......*",
           ".......*", ".......*", ".......*"}, 2);
    b.clickright(1, 3, true);
    EXPECT_FALSE(b.qstn[0][4] || b.open[0][4] || b.again);
    EXPECT_EQ(cues(), Cues{});
    b.clickright(1, 3, true);
    EXPECT_TRUE(b.open[0][4] && b.again);
    EXPECT_EQ(cues(), (Cues{"Right", "Flag"}));
    // Covered cells toggle a mark, flagged ones take one too; idle cells take nothing.
    g.lay(around, 2);
    for (const auto& [x, y] : {std::pair{2, 2}, {2, 2}, {0, 2}, {3, 0}}) b.clickright(x, y, true);
    EXPECT_TRUE(!b.qstn[2][2] && b.qstn[0][2] && b.flag[0][2] && !b.qstn[3][0]);
    EXPECT_EQ(cues(), (Cues{"Flag", "Flag", "Flag"}));
    // Neighbours all flagged already: the flagging sounds again, no chord is tried (its check
    // would find the open mine planted elsewhere).
    g.lay(around, 2);
    b.open[2][2] = b.open[2][4] = b.flag[0][4] = b.open[7][9] = true;
    b.clickright(1, 3, true);
    EXPECT_EQ(cues(), Cues{"Flag"});
    EXPECT_TRUE(b.open[7][9]);
    // A chord trusting two wrong marks opens two mines: four rows, Right then an Error each.
    g.lay({"......**", "......**", "......**", "......**", "......**", "......**", "?o?...**",
           "ooo...**", "*o*.....", "......**"}, 6);
    b.clickright(1, 7, true);
    EXPECT_EQ(b.top * 10 + b.state, 20 + StPenalty);
    EXPECT_TRUE(b.flag[0][8] && b.flag[2][8] && !b.qstn[0][6] && !b.qstn[2][6]);
    EXPECT_EQ(cues(), (Cues{"Right", "Error", "Error"}));
    EXPECT_EQ(checkInvariants(b), "");
}
