// The window: start-up, clicks, the key table, and painting the sprites cut from the sheets,
// checked through the double's logs against the sheets' layouts.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/fixtures.h"

using V = std::vector<int>;

TEST(Window, StartUpFaceAndBoardClicks) {
    Window win([] { seededDeals(1); });
    MainWindow& w = win.w;
    EXPECT_EQ((V{w.width, w.height, w.rowmines}), (V{12, 20, 2}));  // the first preset, ready to deal
    EXPECT_EQ(status(w), (Status{8, StReady, 0, 1}));
    EXPECT_EQ(client(), std::pair(192, 344));
    EXPECT_EQ(cues(), (Cues{"New", "New"}));
    // The face's hit box is x 85..107 of the strip (y 24 is the board): left a new game, right a
    // pause in play.
    for (const auto& [x, y, button, from, to] : {std::tuple{84, 10, 1, StPlay, StPlay}, {108, 10, 2, StPlay, StPlay},
                                                 {85, 23, 1, StPlay, StReady}, {107, 0, 1, StLost, StReady},
                                                 {96, 0, 2, StReady, StReady}, {96, 24, 1, StPlay, StPlay},
                                                 {96, 0, 2, StPenalty, StPaused}, {96, 0, 2, StPaused, StPlay}}) {
        w.state = from;
        cues();
        w.mousePressEvent(x, y, button);
        EXPECT_EQ(w.state, to) << x << " " << button;
        EXPECT_EQ(cues(), to == StReady && from != StReady ? Cues{"New"} : Cues{});
    }
    // The first left click deals around its cell, opens it, floods, and repaints once.
    w.initbd();
    const std::size_t frames = dbl::presents().size();
    win.click(5, 15);
    EXPECT_EQ(dbl::presents().size(), frames + 1);
    ASSERT_TRUE(w.open[5][15] && w.num[5][15] == 0);
    EXPECT_EQ(floodCheck(w, 5, 15) + checkInvariants(w), "");
    // x 15 is column 0 and x 16 column 1, y 24 row 0; beside the board and below it, nothing.
    for (const auto& [x, y, opened] : {std::tuple{16, 216, 1}, {15, 231, 0}, {12 * 16 + 3, 100, -1}, {20, 24 + 20 * 16, -1}}) {
        w.initbd();
        w.mousePressEvent(x, y, 1);
        EXPECT_EQ(w.state, opened < 0 ? StReady : StPlay) << x;
        EXPECT_TRUE(opened < 0 || w.open[opened][12]) << x;
    }
    // A right click marks with its cue; a lost or paused board takes no board click.
    int cx = 0;
    while (w.open[cx][19]) cx++;
    cues();
    win.click(cx, 19, 2);
    EXPECT_TRUE(w.qstn[cx][19]);
    EXPECT_EQ(cues(), Cues{"Flag"});
    for (int s : {StLost, StPaused}) {
        w.state = s;
        win.click(cx, 19, 2);
        win.click(cx, 19, 1);
        EXPECT_TRUE(w.qstn[cx][19] && !w.open[cx][19]);
    }
}

TEST(Window, EveryKeyOfTheTable) {
    Window win([] { seededDeals(3); });
    MainWindow& w = win.w;
    auto press = [&](int key) {
        const std::size_t frames = dbl::presents().size();
        w.keyPressEvent(key);
        EXPECT_GT(dbl::presents().size(), frames) << "key " << key << " did not repaint";
    };
    // Configuration keys: (key, field, before, after), each a new game, the window following.
    struct Case { int key; std::int32_t MineBd::*field; int before, after; };
    const Case cases[] = {{33, &MineBd::emptyrows, 1, 1},   {34, &MineBd::emptyrows, 16, 16},
                          {33, &MineBd::emptyrows, 30, 15}, {34, &MineBd::emptyrows, 8, 9},
                          {39, &MineBd::width, 12, 13},     {37, &MineBd::width, 8, 8},
                          {37, &MineBd::width, 13, 12},     {40, &MineBd::height, 20, 21},
                          {38, &MineBd::height, 21, 20},    {107, &MineBd::rowmines, 11, 11},
                          {107, &MineBd::rowmines, 2, 3},   {109, &MineBd::rowmines, 1, 1},
                          {109, &MineBd::rowmines, 3, 2},   {33, &MineBd::emptyrows, 17, 15}};
    for (const Case& c : cases) {
        w.width = 12, w.height = 20, w.emptyrows = 8, w.*c.field = c.before;
        w.initbd();
        w.state = StPlay;
        cues();
        press(c.key);
        SCOPED_TRACE(testing::Message() << "key " << c.key << " from " << c.before);
        EXPECT_EQ(w.*c.field, c.after);
        EXPECT_EQ(w.state, StReady);
        EXPECT_EQ(client(), std::pair(w.width * 16, w.height * 16 + 24));
        EXPECT_EQ(cues(), Cues{"New"});
    }
    for (const auto& p : {V{'2', 16, 24, 3}, V{'3', 32, 32, 6}, V{'1', 12, 20, 2}}) {  // two boards each
        w.emptyrows = 3;
        press(p[0]);
        EXPECT_EQ((V{w.width, w.height, w.rowmines, w.emptyrows}), (V{p[1], p[2], p[3], 8}));
        EXPECT_EQ(cues(), (Cues{"New", "New"}));
    }
    win.click(5, 15);  // in a game: levels, a row added and the bottom row removed
    for (int n = 0; n < 5; n++) press('0');
    const int top = w.top;
    press('8');
    EXPECT_EQ(w.top, top - 1);
    w.qstn[0][19] = true, w.qstn[0][18] = false;  // 9 takes the bottom row: the one above comes down
    press('9');
    EXPECT_EQ(status(w), (Status{top, StPlay, 1, 6}));
    EXPECT_FALSE(w.qstn[0][19]);
    w.level = INT32_MAX;  // levels go up to the integer's limit and stop there
    press('0');
    EXPECT_EQ(w.level, INT32_MAX);
    cues();
    press(' ');  // Space and D: local passes with their Solve cues; F: the hint; S; P
    EXPECT_EQ(cues(), Cues{"Solve"});
    press('D');
    const Cues d = cues();
    EXPECT_TRUE(!d.empty() && d == Cues(d.size(), "Solve"));
    press('F');
    for (int x = 0; x < w.width; x++)
        for (int y = w.top; y < w.height; y++) EXPECT_TRUE(w.mine[x][y] || w.num[x][y] || w.open[x][y]);
    press('S');
    EXPECT_EQ(checkInvariants(w), "");
    press('P');
    EXPECT_EQ(w.state, StPaused);
    cues();  // drops the hint's
    for (int key : {int{' '}, int{'D'}, int{'F'}, int{'A'}, 0}) press(key);  // paused: no pass runs
    EXPECT_EQ(cues(), Cues{});
    press('P');
    EXPECT_EQ(w.state, StPlay);
    press(27);  // Esc closes the window and still repaints
    EXPECT_FALSE(dbl::windowOpen());
}

TEST(Window, PaintsTilesFacesCountersPreviewPauseAndLoss) {
    Window win([] { seededDeals(3); });
    MainWindow& w = win.w;
    win.click(5, 15);
    // Opening a mine shows the penalty face; the rows of a bonus, the bonus face.
    int mx = 0, my = 0;
    for (int x = 0; x < 12; x++)
        for (int y = w.top; y < 20; y++)
            if (w.mine[x][y] && !w.flag[x][y] && !w.qstn[x][y]) mx = x, my = y;
    win.click(mx, my);
    EXPECT_EQ(win.at(84, 0), face(3));
    for (int n = w.top; n < 17; n++) w.keyPressEvent('9');
    EXPECT_EQ(win.at(84, 0), face(1));
    w.flag[0][19] = !w.open[0][19];
    w.qstn[1][19] = !w.open[1][19] && !w.flag[1][19];
    w.tick = 5;
    for (int state : {StPlay, StLost}) {
        w.state = state;
        w.paintEvent();
        for (int x = 0; x < 12; x++)
            for (int y = 0; y < 20; y++) {
                std::string want = w.open[x][y] ? tile(w.num[x][y]) : w.flag[x][y] ? kFlag : w.qstn[x][y] ? kQstn
                                 : state == StLost && w.mine[x][y] ? kMine : w.idle[x][y] ? kIdle : kCover;
                if (w.idle[x][y] && !(y == w.top - 1 && x < 5)) want = "";  // the preview only
                ASSERT_EQ(win.cell(x, y), want) << x << "," << y << " state " << state;
            }
    }
    for (int n = 0; n <= 8; n++) w.open[n][19] = true, w.mine[n][19] = w.flag[n][19] = w.qstn[n][19] = false, w.num[n][19] = n;
    w.open[11][19] = w.mine[11][19] = true, w.flag[11][19] = false;
    w.paintEvent();
    for (int n = 0; n <= 8; n++) EXPECT_EQ(win.cell(n, 19), tile(n)) << n;
    EXPECT_EQ(win.cell(11, 19), kOpenMine);
    const int faceRow[] = {4, 4, 3, 1, 2, 0};  // the face sheet: paused, bonus, lost, penalty, play
    for (int s = 0; s <= 5; s++) {
        w.state = s;
        w.paintEvent();
        EXPECT_EQ(win.at(84, 0), face(faceRow[s])) << s;
    }
    for (int x = 0; x < 12; x++)  // paused: every cell idle, the preview row too
        for (int y = 0; y < 20; y++) ASSERT_EQ(win.cell(x, y), kIdle);
    w.tick = 0, w.state = StPlay;
    w.paintEvent();
    for (int x = 0; x < 12; x++) EXPECT_EQ(win.cell(x, w.top - 1), "");
    // Counters: the score at x 0, 13, 26, 39; the level at the right edge, nothing before it.
    struct Counter { int score, level; Cues shown; };
    const Counter counters[] = {{0, 1, {kBlank, kBlank, kBlank, digit(0), "", "", kBlank, digit(1)}},
                                {120, 12, {kBlank, digit(1), digit(2), digit(0), "", "", digit(1), digit(2)}},
                                {9999, 305, {digit(9), digit(9), digit(9), digit(9), "", digit(3), digit(0), digit(5)}},
                                {-5, 7, {kBlank, kBlank, kMinus, digit(5), "", "", kBlank, digit(7)}}};
    for (const Counter& c : counters) {
        w.score = c.score, w.level = c.level;
        w.paintEvent();
        Cues shown;
        for (int p = 0; p < 8; p++) shown.push_back(win.at(p < 4 ? 13 * p : 192 - 52 + 13 * (p - 4), 0));
        EXPECT_EQ(shown, c.shown) << c.score << " " << c.level;
        for (const dbl::Draw& d : dbl::frame())
            if (d.y == 0 && (d.x < 52 || d.x >= 140)) {
                ASSERT_EQ(std::pair(d.w, d.h), std::pair(13, 24));
            }
        EXPECT_TRUE(std::all_of(dbl::frame().begin(), dbl::frame().end(),  // inside the 192 x 344 client area
                                [](const dbl::Draw& d) { return d.x >= 0 && d.y >= 0 && d.x + d.w <= 192 && d.y + d.h <= 344; }));
    }
    w.width = 8;  // the smallest board: score 0..51, face 52..75, level 76..127
    w.initWindow();
    w.score = 1234, w.level = 5678;
    w.paintEvent();
    EXPECT_EQ(win.at(39, 0) + win.at(52, 0) + win.at(76, 0), digit(4) + face(4) + digit(5));
}
