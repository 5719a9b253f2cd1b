// Test helpers for the front end: a window built in zeroed memory on the double, and lookups
// of the sprites a frame drew.
#pragma once
#include <cstdlib>
#include <new>
#include <string>

#include "tests/double/disp_double.h"
#include "tests/invariants.h"
#include "ui/mainwindow.h"

struct Window {
    void* memory;
    MainWindow& w;

    // The double is reset first: the window opens on a 1920 x 1080 screen with no borders
    // unless `setup` says otherwise.
    template <class Setup>
    explicit Window(Setup setup) : memory(fresh(setup)), w(*new (memory) MainWindow) {}
    Window() : Window([] {}) {}
    ~Window() {
        w.~MainWindow();
        std::free(memory);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The sprite index a draw used, or -1.
    int sprite(const dbl::Draw& d) const {
        for (int i = 0; i < SpriteCount; i++)
            if (w.bmp[i] == d.bmp) return i;
        return -1;
    }
    // The sprite drawn last at (x, y) in the current frame, or -1 when nothing was.
    int at(std::int32_t x, std::int32_t y) const {
        int found = -1;
        for (const dbl::Draw& d : dbl::frame())
            if (d.x == x && d.y == y) found = sprite(d);
        return found;
    }
    int cell(int cx, int cy) const { return at(cx * CellPx, StripPx + cy * CellPx); }
    // Left or right click at the centre of a cell.
    void left(int cx, int cy) { w.mousePressEvent(cx * 16 + 8, 24 + cy * 16 + 8, 1); }
    void right(int cx, int cy) { w.mousePressEvent(cx * 16 + 8, 24 + cy * 16 + 8, 2); }

private:
    template <class Setup>
    static void* fresh(Setup setup) {
        dbl::reset();
        setup();
        return std::calloc(1, sizeof(MainWindow));
    }
};
