// The window: start-up order, sprite cutting, the face and board clicks, the key table and
// painting, checked through the double's logs.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/window_fixture.h"

namespace {
std::vector<std::string> cueNames() {
    std::vector<std::string> out;
    for (const std::string& p : dbl::sounds()) out.push_back(p.substr(6, p.size() - 10));
    dbl::clearSounds();
    return out;
}
using Cues = std::vector<std::string>;
}  // namespace

TEST(StartUp, OrderSizeCentringAndTwoNewCues) {
    Window win([] {
        dbl::setScreen(1920, 1080);
        dbl::setBorders(4, 5, 20);
    });
    const std::vector<std::string> want = {
        "CreateWin39", "SetTitle51 Dravel2 by Quonse", "LoadAudio292 ./wav/Win.wav",
        "LoadAudio292 ./wav/Lose.wav", "LoadAudio292 ./wav/Error.wav",
        "LoadAudio292 ./wav/Left.wav", "LoadAudio292 ./wav/Right.wav",
        "LoadAudio292 ./wav/Flag.wav", "LoadAudio292 ./wav/New.wav",
        "LoadAudio292 ./wav/Solve.wav", "LoadBMP197 ./bmp/face.bmp"};
    const auto& calls = dbl::calls();
    ASSERT_GE(calls.size(), want.size());
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + want.size()), want);
    EXPECT_EQ(dbl::createColor(), 0xAFAFAFu);
    EXPECT_EQ(dbl::createStyle(), 0x10CC0000u);
    EXPECT_EQ(cueNames(), (Cues{"New", "New"}));
    EXPECT_EQ(dbl::clientW(), 192);
    EXPECT_EQ(dbl::clientH(), 344);
    // Centred on the frame without its title bar: W = 192 + 8, H = 344 + 10.
    const dbl::Placement p = dbl::placement();
    EXPECT_EQ(p.x, (1920 - 200) / 2);
    EXPECT_EQ(p.y, (1080 - 354) / 2);
    EXPECT_EQ(p.w, 200);
    EXPECT_EQ(p.h, 374);
    EXPECT_GE(dbl::presents(), 2);
    EXPECT_EQ(win.w.state, StReady);
    EXPECT_EQ(win.w.top, 8);
    // A window larger than the screen gets a negative place; the layer keeps it reachable.
    dbl::setScreen(640, 480);
    win.w.keyPressEvent(51);
    EXPECT_EQ(dbl::placement().x, (640 - 520) / 2);
    EXPECT_EQ(dbl::placement().y, -33);  // truncated toward zero
}

TEST(StartUp, SpritesAreCutFromTheirSheetRows) {
    Window win;
    const MainWindow& w = win.w;
    auto from = [&](int sprite, std::uint32_t sheet, int sy, int width, int height) {
        const dbl::Bitmap* b = dbl::bitmap(w.bmp[sprite]);
        ASSERT_NE(b, nullptr) << sprite;
        EXPECT_EQ(b->src, sheet) << sprite;
        EXPECT_EQ(b->sx, 0) << sprite;
        EXPECT_EQ(b->sy, sy) << sprite;
        EXPECT_EQ(b->w, width) << sprite;
        EXPECT_EQ(b->h, height) << sprite;
        EXPECT_EQ(b->copies, 1) << sprite;
    };
    EXPECT_EQ(dbl::bitmap(w.bmpface)->path, "./bmp/face.bmp");
    EXPECT_EQ(dbl::bitmap(w.bmp[SheetIcon])->path, "./bmp/icon.bmp");
    EXPECT_EQ(dbl::bitmap(w.bmp[SheetNumb])->path, "./bmp/numb.bmp");
    for (int i = 0; i < 5; i++) from(i, w.bmpface, 24 * i, 24, 24);
    for (int n = 0; n <= 8; n++) from(Tile0 + n, w.bmp[SheetIcon], 240 - 16 * n, 16, 16);
    from(TileCover, w.bmp[SheetIcon], 0, 16, 16);
    from(TileFlag, w.bmp[SheetIcon], 16, 16, 16);
    from(TileQstn, w.bmp[SheetIcon], 32, 16, 16);
    from(TileOpenMine, w.bmp[SheetIcon], 48, 16, 16);
    from(TileIdle, w.bmp[SheetIcon], 64, 16, 16);
    from(TileMine, w.bmp[SheetIcon], 80, 16, 16);
    for (int d = 0; d <= 9; d++) from(Digit0 + d, w.bmp[SheetNumb], 253 - 23 * d, 13, 23);
    from(DigitMinus, w.bmp[SheetNumb], 0, 13, 23);
    from(DigitBlank, w.bmp[SheetNumb], 23, 13, 23);
    EXPECT_EQ(dbl::bitmapCount(), 3u + 32u);
}

TEST(Mouse, FaceHitBoxNewGameAndPause) {
    Window win;
    MainWindow& w = win.w;
    cueNames();
    for (int x : {84, 108}) {
        w.state = StPlay;
        w.mousePressEvent(x, 10, 1);
        w.mousePressEvent(x, 10, 2);
        EXPECT_EQ(w.state, StPlay) << x;
    }
    EXPECT_EQ(cueNames(), Cues{});
    for (int x : {85, 107}) {
        w.state = StPlay;
        w.mousePressEvent(x, 23, 1);
        EXPECT_EQ(w.state, StReady) << x;
        EXPECT_EQ(cueNames(), Cues{"New"});
    }
    w.mousePressEvent(96, 0, 2);  // ready: nothing to pause
    EXPECT_EQ(w.state, StReady);
    w.state = StPenalty;
    w.mousePressEvent(96, 0, 2);
    EXPECT_EQ(w.state, StPaused);
    w.mousePressEvent(96, 0, 2);
    EXPECT_EQ(w.state, StPlay);
    EXPECT_EQ(dbl::clientW(), 192);  // a new game from the face keeps the window
}

TEST(Mouse, BoardClicksDealOpenFloodAndRespectTheState) {
    Window win;
    MainWindow& w = win.w;
    const int before = dbl::presents();
    win.left(5, 15);  // the first left click deals around this cell, then opens it
    EXPECT_EQ(w.state, StPlay);
    EXPECT_TRUE(w.open[5][15]);
    EXPECT_FALSE(w.mine[5][15]);
    EXPECT_EQ(checkInvariants(w), "");
    if (w.num[5][15] == 0) {
        EXPECT_TRUE(w.open[4][14] && w.open[6][16]);  // flooded
    }
    EXPECT_GT(dbl::presents(), before);
    // Pixel edges: x 15 is column 0, x 16 column 1; y 24 is row 0.
    w.initbd();
    w.mousePressEvent(16, 24 + 16 * 12, 1);
    EXPECT_TRUE(w.open[1][12]);
    w.initbd();
    w.mousePressEvent(15, 24 + 16 * 12 + 15, 1);
    EXPECT_TRUE(w.open[0][12]);
    // Beside a window dragged larger, and below the board: nothing.
    w.initbd();
    w.mousePressEvent(12 * 16 + 3, 100, 1);
    w.mousePressEvent(20, 24 + 20 * 16, 1);
    EXPECT_EQ(w.state, StReady);
    // Right click: a question mark with its cue; lost and paused boards ignore the board.
    win.left(5, 15);
    int cx = 0;
    while (w.open[cx][19] && cx < 11) cx++;
    ASSERT_FALSE(w.open[cx][19]);
    cueNames();
    win.right(cx, 19);
    EXPECT_TRUE(w.qstn[cx][19]);
    EXPECT_EQ(cueNames(), Cues{"Flag"});
    for (int s : {StLost, StPaused}) {
        w.state = s;
        win.right(cx, 19);
        win.left(cx, 19);
        EXPECT_TRUE(w.qstn[cx][19]);
        EXPECT_FALSE(w.open[cx][19]);
    }
    // Idle rows take no clicks but the first left click still deals.
    w.initbd();
    win.left(3, 2);
    EXPECT_EQ(w.state, StPlay);
    EXPECT_FALSE(w.open[3][2]);
}

TEST(Keys, EveryCommandOfTheTable) {
    Window win;
    MainWindow& w = win.w;
    auto press = [&](int key) {
        const int before = dbl::presents();
        w.keyPressEvent(key);
        EXPECT_GT(dbl::presents(), before) << "key " << key << " did not repaint";
    };
    cueNames();
    // Page Up and Page Down keep the idle rows within 1..height - 4.
    w.emptyrows = 1;
    press(33);
    EXPECT_EQ(w.emptyrows, 1);
    w.emptyrows = 16;
    press(34);
    EXPECT_EQ(w.emptyrows, 16);
    w.emptyrows = 30;
    press(33);
    EXPECT_EQ(w.emptyrows, 15);
    press(34);
    EXPECT_EQ(w.emptyrows, 16);
    EXPECT_EQ(w.top, 16);
    // Arrows: new games at the new size, clamped, the window following.
    press(39);
    EXPECT_EQ(w.width, 13);
    EXPECT_EQ(dbl::clientW(), 13 * 16);
    press(40);
    EXPECT_EQ(w.height, 21);
    EXPECT_EQ(dbl::clientH(), 21 * 16 + 24);
    press(38);
    EXPECT_EQ(w.height, 20);
    w.width = 8;
    w.initbd();
    press(37);
    EXPECT_EQ(w.width, 8);
    EXPECT_EQ(w.state, StReady);
    // Keypad + and -: mines a row, clamped to 1..width - 1.
    w.rowmines = 7;
    press(107);
    EXPECT_EQ(w.rowmines, 7);
    w.rowmines = 1;
    press(109);
    EXPECT_EQ(w.rowmines, 1);
    cueNames();
    // Presets: two new boards each.
    press(50);
    EXPECT_EQ(w.width, 16);
    EXPECT_EQ(w.height, 24);
    EXPECT_EQ(w.rowmines, 3);
    EXPECT_EQ(w.emptyrows, 8);
    EXPECT_EQ(cueNames(), (Cues{"New", "New"}));
    press(51);
    EXPECT_EQ(w.width, 32);
    press(49);
    EXPECT_EQ(w.width, 12);
    EXPECT_EQ(dbl::clientW(), 192);
    // Level up inside the running game.
    win.left(5, 15);
    for (int n = 0; n < 5; n++) press(48);
    EXPECT_EQ(w.level, 6);
    EXPECT_EQ(w.state, StPlay);
    // 8 and 9: a row more, the bottom row removed.
    const int top = w.top;
    press(56);
    EXPECT_EQ(w.top, top - 1);
    press(57);
    EXPECT_EQ(w.top, top);
    EXPECT_EQ(w.score, 1);
    cueNames();
    // Space, D: the local pass with its Solve cue; F: the hint; S: the deduction; P: pause.
    press(32);
    EXPECT_EQ(cueNames(), Cues{"Solve"});
    press(68);
    const Cues d = cueNames();
    EXPECT_FALSE(d.empty());
    EXPECT_TRUE(std::all_of(d.begin(), d.end(), [](const std::string& c) { return c == "Solve"; }));
    press(70);
    for (int x = 0; x < w.width; x++)
        for (int y = w.top; y < w.height; y++)
            if (!w.mine[x][y] && w.num[x][y] == 0) {
                EXPECT_TRUE(w.open[x][y]);
            }
    press(83);
    EXPECT_EQ(checkInvariants(w), "");
    press(80);
    EXPECT_EQ(w.state, StPaused);
    press(80);
    EXPECT_EQ(w.state, StPlay);
    // Unlisted keys only repaint; Esc closes the window and still repaints once.
    press(65);
    press(0);
    EXPECT_EQ(w.state, StPlay);
    press(27);
    EXPECT_FALSE(dbl::windowOpen());
}

TEST(Paint, TilesFaceCountersPreviewPauseAndLoss) {
    Window win;
    MainWindow& w = win.w;
    // A board with one of everything: opened numbers, an open mine, a flag, a mark, idle rows.
    win.left(5, 15);
    w.flag[0][19] = !w.open[0][19];
    w.qstn[1][19] = !w.open[1][19] && !w.flag[1][19];
    w.tick = 5;
    w.paintEvent();
    EXPECT_EQ(dbl::clears(), dbl::presents());
    for (int x = 0; x < 12; x++)
        for (int y = 0; y < 20; y++) {
            int want;
            if (w.idle[x][y])
                want = (y == w.top - 1 && x < 5) ? TileIdle : -1;
            else if (w.open[x][y])
                want = Tile0 + w.num[x][y];
            else if (w.flag[x][y])
                want = TileFlag;
            else if (w.qstn[x][y])
                want = TileQstn;
            else
                want = TileCover;
            ASSERT_EQ(win.cell(x, y), want) << x << "," << y;
        }
    // Every draw is one tile inside the client area, or the face, or a counter.
    for (const dbl::Draw& d : dbl::frame()) {
        EXPECT_GE(win.sprite(d), 0);
        EXPECT_LE(d.x + d.w, 192);
        EXPECT_LE(d.y + d.h, 344);
    }
    EXPECT_EQ(win.at(84, 0), FacePlay);
    // Score 0: three blanks and a 0; level 1: a blank then a 1, nothing at the two left places.
    w.score = 0;
    w.paintEvent();
    EXPECT_EQ(win.at(0, 0), DigitBlank);
    EXPECT_EQ(win.at(13, 0), DigitBlank);
    EXPECT_EQ(win.at(26, 0), DigitBlank);
    EXPECT_EQ(win.at(39, 0), Digit0);
    EXPECT_EQ(win.at(192 - 26, 0), DigitBlank);
    EXPECT_EQ(win.at(192 - 13, 0), Digit0 + 1);
    EXPECT_EQ(win.at(192 - 39, 0), -1);
    EXPECT_EQ(win.at(192 - 52, 0), -1);
    w.score = 120;
    w.level = 12;
    w.paintEvent();
    EXPECT_EQ(win.at(0, 0), DigitBlank);
    EXPECT_EQ(win.at(13, 0), Digit0 + 1);
    EXPECT_EQ(win.at(26, 0), Digit0 + 2);
    EXPECT_EQ(win.at(39, 0), Digit0);
    EXPECT_EQ(win.at(192 - 26, 0), Digit0 + 1);
    EXPECT_EQ(win.at(192 - 13, 0), Digit0 + 2);
    EXPECT_EQ(win.at(192 - 39, 0), -1);
    w.score = 9999;
    w.paintEvent();
    for (int p = 0; p < 4; p++) EXPECT_EQ(win.at(13 * p, 0), Digit0 + 9);
    w.score = -5;  // never reached in play; the minus stands over the last blank
    w.paintEvent();
    EXPECT_EQ(win.at(26, 0), DigitMinus);
    for (const dbl::Draw& d : dbl::frame())
        if (d.y == 0 && d.x < 52) {
            EXPECT_EQ(d.w, 13);
            EXPECT_EQ(d.h, 24);
        }

    // Faces per state, and the paused board: every cell idle.
    const int faces[] = {FacePlay, FacePlay, FacePenalty, FaceBonus, FaceLost, FacePaused};
    for (int s = 0; s <= 5; s++) {
        w.state = s;
        w.paintEvent();
        EXPECT_EQ(win.at(84, 0), faces[s]) << s;
    }
    for (int x = 0; x < 12; x++)
        for (int y = 0; y < 20; y++) ASSERT_EQ(win.cell(x, y), TileIdle);

    // Lost: covered mines show, flags and marks stay, the preview row shows its mines.
    w.state = StLost;
    w.paintEvent();
    for (int x = 0; x < 12; x++)
        for (int y = w.top; y < 20; y++) {
            if (w.open[x][y] || w.flag[x][y] || w.qstn[x][y]) continue;
            ASSERT_EQ(win.cell(x, y), w.mine[x][y] ? TileMine : TileCover) << x << "," << y;
        }
    for (int x = 0; x < 5; x++) EXPECT_EQ(win.cell(x, w.top - 1), w.mine[x][w.top - 1] ? TileMine : TileIdle);
    w.open[11][19] = w.mine[11][19] = true;
    w.flag[11][19] = false;
    w.paintEvent();
    EXPECT_EQ(win.cell(11, 19), TileOpenMine);
    // tick 0: no preview at all.
    w.tick = 0;
    w.state = StPlay;
    w.paintEvent();
    for (int x = 0; x < 12; x++) EXPECT_EQ(win.cell(x, w.top - 1), -1);
}

TEST(Paint, SmallestBoardCountersTouchTheFace) {
    Window win;
    MainWindow& w = win.w;
    w.width = 8;
    w.initWindow();
    w.score = 1234;
    w.level = 5678;
    w.paintEvent();
    int right = 0, faceL = 1000, faceR = 0, levelL = 1000;
    for (const dbl::Draw& d : dbl::frame()) {
        if (d.y != 0) continue;
        const int s = win.sprite(d);
        if (s <= FacePlay) {
            faceL = std::min(faceL, d.x);
            faceR = std::max(faceR, d.x + d.w);
        } else if (d.x < 52) {
            right = std::max(right, d.x + d.w);
        } else {
            levelL = std::min(levelL, d.x);
        }
    }
    EXPECT_EQ(right, 52);
    EXPECT_EQ(faceL, 52);
    EXPECT_EQ(faceR, 76);
    EXPECT_EQ(levelL, 76);
}
