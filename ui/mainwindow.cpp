// The window's start-up, sizing and input handlers: the face, the board and the key table.
#include "ui/mainwindow.h"

#include <cstdint>

#include "platform/disp.h"

namespace {

constexpr std::uint32_t WindowColour = 0xAFAFAF;
// Visible, titled, with a system menu and a resizable frame; no minimise or maximise box.
constexpr std::uint32_t WindowStyle = 0x10CC0000;
constexpr const char* Title = "Dravel2 by Quonse";

struct Preset {
    std::int32_t width, height, rowmines, emptyrows;
};
// Keys 1, 2 and 3; the first is also the configuration the game starts with.
constexpr Preset Presets[] = {{12, 20, 2, 8}, {16, 24, 3, 8}, {32, 32, 6, 8}};

// Windows virtual-key codes of the commands.
enum : std::int32_t {
    KeyEsc = 27, KeySpace = 32, KeyPageUp = 33, KeyPageDown = 34,
    KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40,
    Key0 = 48, Key1 = 49, Key2 = 50, Key3 = 51, Key8 = 56, Key9 = 57,
    KeyD = 68, KeyF = 70, KeyP = 80, KeyS = 83, KeyPadPlus = 107, KeyPadMinus = 109
};

}  // namespace

MainWindow::MainWindow() {
    CreateWin39(200, 200, WindowColour, WindowColour, WindowStyle);
    SetTitle51(Title);
    initaudio();
    width = Presets[0].width;
    height = Presets[0].height;
    rowmines = Presets[0].rowmines;
    emptyrows = Presets[0].emptyrows;
    initbd();
    initBMP();
    initWindow();
    paintEvent();
}

void MainWindow::initWindow0() {
    SetSize55(width * CellPx, height * CellPx + StripPx);
    paintEvent();
}

void MainWindow::initWindow() {
    initbd();
    initWindow0();
    const std::int32_t w = GetWidth56() + 2 * GetBorderWidth65();
    const std::int32_t h = GetHeight57() + 2 * GetBorderHeight66();
    // Centred on the frame without its title bar, which then hangs one title height lower.
    const std::int32_t left = (GetScrWidth59() - w) / 2;
    const std::int32_t upper = (GetScrHeight60() - h) / 2;
    MoveWindow(GetHwnd75(), left, upper, w, h + GetBorderTitle64(), true);
}

void MainWindow::mousePressEvent(std::int32_t x, std::int32_t y, std::int32_t button) {
    if (y < StripPx) {
        // The face's hit box is one pixel narrower than the face.
        if (x >= width * 8 - 11 && x <= width * 8 + 11) {
            if (button == 1) initbd();
            if (button == 2) pause();
        }
    } else if (state <= StBonus) {
        const std::int32_t cx = x / CellPx, cy = (y - StripPx) / CellPx;
        if (cx >= 0 && cx < width && cy < height) {
            if (button == 1) {
                if (state == StReady) resetbd(cx, cy);
                clickleft(cx, cy);
            }
            if (button == 2) clickright(cx, cy, true);
            again = true;
            while (again) solve0();
        }
    }
    paintEvent();
}

void MainWindow::keyPressEvent(std::int32_t key) {
    std::int32_t e = 0;
    switch (key) {
    case KeyEsc:
        CloseWin46();
        break;
    case KeySpace:
        solve1();
        break;
    case KeyPageUp:
        e = emptyrows;
        if (e >= height - 3) e = height - 4;
        e = e - 1;
        if (e <= 0) e = 1;
        emptyrows = e;
        initWindow();
        break;
    case KeyPageDown:
        e = emptyrows + 1;
        if (e >= height - 3) e = height - 4;
        emptyrows = e;
        initWindow();
        break;
    case KeyLeft:
        width--;
        initWindow();
        break;
    case KeyUp:
        height--;
        initWindow();
        break;
    case KeyRight:
        width++;
        initWindow();
        break;
    case KeyDown:
        height++;
        initWindow();
        break;
    case Key0:
        if (level < INT32_MAX) level++;  // no limit but the integer's
        break;
    case Key1:
    case Key2:
    case Key3: {
        const Preset& p = Presets[key - Key1];
        width = p.width;
        height = p.height;
        rowmines = p.rowmines;
        emptyrows = p.emptyrows;
        initbd();
        initWindow();
        break;
    }
    case Key8:
        addline();
        break;
    case Key9:
        delline(height - 1);
        break;
    case KeyD:
        again = true;
        while (again) solve1();
        break;
    case KeyF:
        again = true;
        while (again) solveblank();
        break;
    case KeyP:
        pause();
        break;
    case KeyS:
        solve2();
        break;
    case KeyPadPlus:
        rowmines++;
        initWindow();
        break;
    case KeyPadMinus:
        rowmines--;
        initWindow();
        break;
    default:
        break;
    }
    paintEvent();
}
