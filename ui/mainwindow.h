// The game's window: the board record, the sprite handles, start-up, input handlers and painting.
#pragma once
#include <cstdint>

#include "board/minebd.h"

// Sprites, by their index in MainWindow::bmp. Two entries are whole sheets (SheetIcon and
// SheetNumb), the sources the tiles and digits are cut from.
enum : int {
    FacePaused = 0, FaceBonus = 1, FaceLost = 2, FacePenalty = 3, FacePlay = 4,
    SheetIcon = 5,
    Tile0 = 6,  // Tile0 + n: an open safe cell with n mines around, n = 0..8
    TileCover = 15, TileQstn = 16, TileFlag = 17, TileOpenMine = 18, TileIdle = 19, TileMine = 20,
    SheetNumb = 21,
    Digit0 = 22,  // Digit0 + d: counter digit d
    DigitMinus = 32, DigitBlank = 33,
    SpriteCount = 34
};

// Geometry in client pixels: 16 x 16 cells below a 24-pixel strip with the face and counters.
constexpr std::int32_t CellPx = 16;
constexpr std::int32_t StripPx = 24;

// The board record comes first. The record must start zeroed: make the window in zeroed memory
// (runGame does), since the constructor lays the board over it and relies on the fields that
// initbd leaves alone being zero.
struct MainWindow : MineBd {
    std::uint32_t bmpface;
    std::uint32_t bmp[SpriteCount];

    // Opens and titles the window, loads cues and sprites, lays the default board, sizes and
    // centres the window, paints.
    MainWindow();

    void initBMP();        // loads the three sheets and cuts the sprites
    void paintEvent();     // redraws the whole client area from the record and shows it
    void initWindow0();    // client area to the board's size, then a repaint
    void initWindow();     // a new game: re-lays the board, sizes and centres the window
    // A button press at client pixel (x, y); button 1 left, 2 right. Always repaints.
    void mousePressEvent(std::int32_t x, std::int32_t y, std::int32_t button);
    // A key press, as a Windows virtual-key code. Always repaints.
    void keyPressEvent(std::int32_t key);
};
