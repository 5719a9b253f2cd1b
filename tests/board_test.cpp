// The board's rules: the deal, rising rows, row removal, penalties and the right click's
// actions, with their cues.
#include <gtest/gtest.h>

#include <functional>

#include "tests/fixtures.h"

struct Board : testing::Test { Game g; MineBd& b = g.b; };

// The deal, by what it promises: every row keeps its mines and is shuffled within itself, the
// same seed deals the same board, and the first cell opened is safe: a mine dealt there moves
// to the rightmost free cell of its row. The new row a removal brings in is shuffled too.
TEST(Deal, ShufflesEachRowReproduciblyAndKeepsTheFirstCellSafe) {
    std::vector<bool> moved(13);  // a row (the last: the incoming one) got a mine right of column 2
    for (unsigned seed = 1; seed <= 20; seed++) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        Game g;
        MineBd& b = g.b;
        auto deal = [&](int cx, int cy) {
            seededDeals(seed);
            b.initbd(10, 12, 4, 3);
            b.resetbd(cx, cy);
            EXPECT_EQ(status(b), (Status{4, StPlay, 0, 1}));
            EXPECT_EQ(checkInvariants(b), "");  // rowmines in every row, idle ones too; counts
            return picture(b);
        };
        const int cx = static_cast<int>(seed % 10), cy = 4 + static_cast<int>(seed % 7);
        std::vector<std::string> first = deal(cx, cy);
        EXPECT_NE(first[cy][cx], '*');
        for (int y = 0; y < 12; y++) moved[y] = moved[y] || first[y].find('*', 3) != std::string::npos;
        const int mx = static_cast<int>(first[11].find('*'));  // deal again, opening a mine first
        std::vector<std::string> want = first;
        want[11][want[11].find_last_of('.')] = '*';
        want[11][mx] = '.';
        const std::vector<std::string> again = deal(mx, 11);
        want[cy] = again[cy];  // the first deal may have moved a mine in its first click's row
        EXPECT_EQ(again, want);
        b.delline(11);
        moved[12] = moved[12] || picture(b)[0].find('*', 3) != std::string::npos;
    }
    EXPECT_EQ(moved, std::vector<bool>(13, true));
}

// A fresh board clamps its configuration: 8..100 a side, 1..width-1 mines a row, idle rows at
// most height-4, never fewer than none; the configured idle rows are kept for a taller board.
TEST_F(Board, FreshBoardClampsItsConfiguration) {
    struct Case { int width, height, emptyrows, rowmines, wantWidth, wantHeight, wantMines, wantTop; };
    const Case cases[] = {{7, 101, 200, 0, 8, 100, 1, 96},   {101, 7, 8, 101, 100, 8, 99, 4},
                          {12, 11, 8, 2, 12, 11, 2, 7},      {12, 11, 7, 11, 12, 11, 11, 7},
                          {12, 20, -3, 1, 12, 20, 1, 0},     {100, 100, 96, 99, 100, 100, 99, 96}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << ", " << c.emptyrows << " idle, " << c.rowmines);
        b.score = 5, b.level = 3, b.state = StLost, b.tick = 4;
        b.initbd(c.width, c.height, c.emptyrows, c.rowmines);
        EXPECT_EQ(std::tuple(b.width, b.height, b.rowmines, b.emptyrows), std::tuple(c.wantWidth, c.wantHeight, c.wantMines, c.emptyrows));
        EXPECT_EQ(status(b), (Status{c.wantTop, StReady, 0, 1}));
        EXPECT_EQ(b.tick, 0);
        EXPECT_EQ(checkInvariants(b), "");
        if (c.wantTop == 0) continue;
        b.resetbd(c.wantWidth - 1, c.wantHeight - 1);  // dealt to its last column and row,
        b.delline(c.wantHeight - 1);                      // that row removed
        EXPECT_EQ(checkInvariants(b), "");
    }
}

TEST_F(Board, RisingRowsRemovalScoreBonusAndLevels) {
    seededDeals(5);
    const std::vector<std::string> pic = {"...*....", "*.......", ".*......", "..*.....", "...*....",
                                          "o?f*....", "....*...", "F.....o."};
    g.lay(pic, 3);
    b.num[0][2] = b.num[0][3] = 99;  // stale counts in the incoming row and the one below
    b.addline();
    EXPECT_EQ(status(b), (Status{2, StPlay, 0, 1}));
    EXPECT_EQ(checkInvariants(b), "");
    b.delline(6);  // the rows above move down one, every plane with them; a new idle row on top
    std::vector<std::string> moved = picture(b), want(pic.begin(), pic.begin() + 6);
    want.push_back(pic[7]);
    EXPECT_EQ(std::vector<std::string>(moved.begin() + 1, moved.end()), want);
    EXPECT_EQ(status(b), (Status{3, StPlay, 1, 1}));
    EXPECT_EQ(cues(), Cues{});
    EXPECT_EQ(checkInvariants(b), "");
    for (int n = 0; n < 2; n++) b.addline();
    EXPECT_EQ(cues(), Cues{});
    EXPECT_EQ(checkInvariants(b), "");  // row 1 counts the mines of idle row 0
    b.addline();  // the last idle row: lost
    EXPECT_EQ(status(b), (Status{0, StLost, 1, 1}));
    EXPECT_EQ(cues(), Cues{"Lose"});
    b.state = StPenalty;
    b.addline();  // none left: nothing activates or sounds, the board stays lost
    EXPECT_EQ(status(b), (Status{0, StLost, 1, 1}));
    EXPECT_EQ(cues(), Cues{});
    // Key 9 on a lost board: row 0, active, moves down too, and the row coming in is bare.
    want = with(pic, {{1, 0, '?'}, {2, 0, 'f'}, {4, 0, 'o'}});
    g.lay(want, 0);
    b.state = StLost;
    b.delline(7);
    moved = picture(b);
    want.pop_back();
    EXPECT_EQ(std::vector<std::string>(moved.begin() + 1, moved.end()), want);
    EXPECT_EQ(status(b), (Status{1, StLost, 1, 1}));
    EXPECT_EQ(checkInvariants(b), "");  // nothing open or marked in the idle row
    // At most three active rows left: four rows and four points more; levels at 4 and 9.
    b.initbd(12, 20, 16, 2);
    b.resetbd(0, 19);
    b.score = 3;
    cues();
    b.delline(19);
    EXPECT_EQ(status(b), (Status{13, StBonus, 8, 2}));
    EXPECT_EQ(cues(), (Cues{"New", "Win"}));
    b.delline(19);
    EXPECT_EQ(status(b), (Status{14, StBonus, 9, 3}));
    EXPECT_EQ(cues(), Cues{"Win"});
    b.score = 9999;  // the score stops at 9999, levels follow it to 99
    b.delline(19);
    EXPECT_EQ(status(b), (Status{15, StBonus, 9999, 99}));
    b.level = 2147483647;  // far beyond the score: nothing gained, no overflow
    b.delline(19);
    EXPECT_EQ(status(b), (Status{16, StBonus, 9999, 2147483647}));
    EXPECT_EQ(checkInvariants(b), "");
    b.initbd(12, 20, 8, 2);  // key 9 before the first click: the bonus, but no deal
    for (int n = 0; n < 9; n++) b.delline(19);
    EXPECT_EQ(status(b), (Status{13, StReady, 13, 3}));
}

TEST_F(Board, CheckLineRemovesStackedCompleteRowsOnly) {
    const std::vector<std::string> above = {"*.......", "*.......", ".*......", ".*......", "..*.....",
                                            "..*.....", "...*...."};
    // Rows 9 and 8 go (the old row 8 is tested again at 9), the old row 7 stays; a wrong flag
    // completes its row all the same; a flag short with a safe cell covered completes nothing.
    const std::pair<std::vector<std::string>, std::vector<int>> cases[] = {
        {{".....*.o", "*ooooooo", "oFoooooo"}, {9, 8}}, {{"f....*..", "......*.", ".......*"}, {7}},
        {{"oo...*..", "......*.", ".......*"}, {}}};
    for (const auto& [rows, removed] : cases) {
        SCOPED_TRACE(rows[0]);
        std::vector<std::string> pic = above;
        pic.insert(pic.end(), rows.begin(), rows.end());
        g.lay(pic, 3);
        b.dirty = true;
        b.checkline();
        const int n = static_cast<int>(removed.size());
        EXPECT_EQ(status(b), (Status{3 + n, StPlay, n, 1}));
        for (int y : removed) pic.erase(pic.begin() + y);
        const std::vector<std::string> now = picture(b);
        EXPECT_EQ(std::vector<std::string>(now.begin() + n, now.end()), pic);
        EXPECT_EQ(cues(), n ? Cues{"Solve"} : Cues{});
        EXPECT_FALSE(b.dirty);
        EXPECT_EQ(checkInvariants(b), "");
    }
    std::vector<std::string> pic = with(above, {{1, 3, 'F'}});  // the top active row counts too
    pic.insert(pic.end(), {".....*..", "......*.", ".......*"});
    g.lay(pic, 3);
    b.checkline();
    EXPECT_EQ(status(b), (Status{4, StPlay, 1, 1}));
}

TEST_F(Board, OpenedMinesCostTwoRowsEach) {
    const std::vector<std::string> pic = {"*.......", "*.......", "*.......", "*.......", "*.......",
                                          "*.......", "o*......", ".*......", "......*.", "......*."};
    const std::pair<int, Cues> cases[] = {{5, {"Error"}}, {2, {"Lose", "Error"}}, {1, {"Lose", "Error"}}};
    for (const auto& [idle, cueList] : cases) {
        SCOPED_TRACE(idle);
        g.lay(pic, idle);
        b.state = StBonus;
        b.clickleft(1, 6);
        EXPECT_EQ(picture(b), with(pic, {{1, 6, 'F'}}));
        EXPECT_TRUE(b.dirty);
        EXPECT_EQ(status(b), (idle == 5 ? Status{3, StPenalty, 0, 1} : Status{0, StLost, 0, 1}));
        EXPECT_EQ(cues(), cueList);  // no Left cue
        EXPECT_EQ(checkInvariants(b), "");
    }
}

// The number under test is the open cell (1, 3); rows 0 and 1 are idle.
const std::vector<std::string> around = {"......*.", "......*.", "Fo......", "ooo....*", "*o......",
                                         ".......*", ".......*", ".......*", ".......*", ".......*"};

// Every direction counts: a flag on any one neighbour of an open 1 lets it chord the other seven;
// a mine on any one covered neighbour, the others open, is flagged.
TEST_F(Board, RightClickCountsEveryNeighbour) {
    const int dx[] = {-1, 1, 0, 0, -1, -1, 1, 1}, dy[] = {0, 0, -1, 1, -1, 1, -1, 1};
    for (int d = 0; d < 8; d++)
        for (bool chord : {true, false}) {
            SCOPED_TRACE(testing::Message() << "mine at " << dx[d] << "," << dy[d] << (chord ? ", flagged" : ""));
            std::vector<std::string> pic(10, ".......*");
            pic[5 + dy[d]][7] = '.';
            for (int n = 0; n < 8; n++) pic[5 + dy[n]][3 + dx[n]] = chord ? '.' : 'o';
            pic[5][3] = 'o';
            std::vector<std::string> want = pic;
            for (int n = 0; n < 8; n++) want[5 + dy[n]][3 + dx[n]] = 'o';
            pic[5 + dy[d]][3 + dx[d]] = chord ? 'F' : '*';
            want[5 + dy[d]][3 + dx[d]] = 'F';
            g.lay(pic, 2);
            b.clickright(3, 5, true);
            EXPECT_EQ(picture(b), want);
            EXPECT_EQ(cues(), chord ? (Cues{"Right", "Flag"}) : Cues{"Flag"});
        }
}

TEST_F(Board, RightClicksChordFlagAndMark) {
    // An open 2 with a flagged, a marked and two plain covered neighbours: the chord opens the
    // plain ones and takes the mark off; the last flagging flags the marked mine.
    g.lay(with(around, {{0, 4, 'M'}}), 2);
    b.clickright(1, 3, true);
    EXPECT_EQ(picture(b), with(around, {{2, 2, 'o'}, {0, 4, 'F'}, {2, 4, 'o'}}));
    EXPECT_TRUE(b.again && b.dirty);
    EXPECT_EQ(cues(), (Cues{"Right", "Flag"}));
    // An open 1 with a flag and a mark: the first chord only takes the mark off.
    const std::vector<std::string> one = {"......*.", "......*.", "Foo.....", "ooo....*", "?oo....*",
                                          ".......*", ".......*", ".......*", ".......*", ".......*"};
    g.lay(one, 2);
    b.clickright(1, 3, true);
    EXPECT_EQ(picture(b), with(one, {{0, 4, '.'}}));
    EXPECT_FALSE(b.again);
    EXPECT_EQ(cues(), Cues{});
    b.clickright(1, 3, true);
    EXPECT_EQ(picture(b), with(one, {{0, 4, 'o'}}));
    EXPECT_TRUE(b.again);
    EXPECT_EQ(cues(), (Cues{"Right", "Flag"}));
    // Covered cells toggle a mark, flagged ones take one too; idle cells take nothing.
    g.lay(around, 2);
    for (const auto& [x, y] : {std::pair{2, 2}, {2, 2}, {0, 2}, {3, 0}}) b.clickright(x, y, true);
    EXPECT_EQ(picture(b), around);
    EXPECT_TRUE(b.qstn[0][2]);  // under the flag
    EXPECT_EQ(cues(), (Cues{"Flag", "Flag", "Flag"}));
    // Neighbours all flagged already: the flagging sounds again, no chord is tried (its check
    // would find the open mine planted elsewhere).
    g.lay(around, 2);
    b.open[2][2] = b.open[2][4] = b.flag[0][4] = b.open[7][9] = true;
    b.clickright(1, 3, true);
    EXPECT_EQ(cues(), Cues{"Flag"});
    EXPECT_TRUE(b.open[7][9]);
    // A chord trusting two wrong marks opens two mines: four rows, Right then an Error each.
    const std::vector<std::string> marks = {"......**", "......**", "......**", "......**", "......**",
                                            "......**", "?o?...**", "ooo...**", "*o*.....", "......**"};
    g.lay(marks, 6);
    b.clickright(1, 7, true);
    EXPECT_EQ(status(b), (Status{2, StPenalty, 0, 1}));
    EXPECT_EQ(picture(b), with(marks, {{0, 6, '.'}, {2, 6, '.'}, {0, 8, 'F'}, {2, 8, 'F'}}));
    EXPECT_EQ(cues(), (Cues{"Right", "Error", "Error"}));
    EXPECT_EQ(checkInvariants(b), "");
}

// The invariant checker, which the random play relies on, names each broken rule: a wrong count
// in every dealt state, and the planes, the rows' mines and top in play.
TEST_F(Board, InvariantCheckerNamesEachBrokenRule) {
    const std::vector<std::string> pic(10, "*......*");
    struct Case { const char* name; std::function<void()> breakIt; std::string found; };
    const Case cases[] = {
        {"count in play", [&] { b.num[3][5]++; }, "wrong count at 3,5"},
        {"count with penalty rows", [&] { b.state = StPenalty, b.num[3][5]++; }, "wrong count at 3,5"},
        {"count with bonus rows", [&] { b.state = StBonus, b.num[3][5]++; }, "wrong count at 3,5"},
        {"count while paused", [&] { b.state = StPaused, b.num[3][5]++; }, "wrong count at 3,5"},
        {"open and flagged", [&] { b.open[2][6] = b.flag[2][6] = true; }, "cell both open and flagged at 2,6"},
        {"idle cell open", [&] { b.open[4][1] = true; }, "idle cell open or marked at 4,1"},
        {"idle plane", [&] { b.idle[4][3] = true; }, "idle plane disagrees with top at 4,3"},
        {"a mine too many", [&] { b.mine[4][2] = true; }, "wrong number of mines in the row at 0,2"},
        {"top 0 in play", [&] { b.top = 0; }, "top 0 in play"}};
    for (const Case& c : cases) {
        g.lay(pic, 3);
        c.breakIt();
        EXPECT_EQ(checkInvariants(b), c.found) << c.name;
    }
}
