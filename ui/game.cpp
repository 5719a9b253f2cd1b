// The main loop: one input message a turn, the repaint grid, the row clock, a 1 ms sleep and the
// client size kept to the board.
#include "ui/game.h"

#include <cstdlib>
#include <new>

#include "platform/disp.h"
#include "ui/mainwindow.h"

namespace {

constexpr double RepaintStep = 1.0 / 15;
MainWindow* running = nullptr;

// Row-clock period in seconds: faster with every level.
float rowPeriod(std::int32_t level) { return 5.0f / (static_cast<float>(level) + 5.0f); }

// One step of the row clock: a tick in play, and a new row every width ticks.
void rowClock(MainWindow& g) {
    g.ticktime += rowPeriod(g.level);  // in every state: a pause banks no steps
    if (g.state < StPlay || g.state > StBonus) return;
    if (++g.tick < g.width) return;
    g.tick = 0;
    g.addline();
    g.again = true;
    while (g.again) g.solve0();
}

}  // namespace

MainWindow* runningGame() { return running; }

int runGame() {
    // The record is about 1 MB and must start zeroed: calloc, then build the window in place.
    void* memory = std::calloc(1, sizeof(MainWindow));
    if (!memory) return 1;
    MainWindow& g = *new (memory) MainWindow;
    running = &g;

    double paintRef = GetTimeR49();
    g.ticktime = paintRef;
    // A window already gone at the first test never opened: a failed start.
    const int status = IsWin47() ? 0 : 1;
    if (status == 0) do {
        if (IsNextMsg254()) {
            if (IsMouseLeft270()) g.mousePressEvent(GetMousePosX290(), GetMousePosY291(), 1);
            if (IsMouseRight274()) g.mousePressEvent(GetMousePosX290(), GetMousePosY291(), 2);
            if (IsKey261()) g.keyPressEvent(GetKey262());
            // Rows a click completed go now; without a message they wait for the next one.
            if (g.dirty) g.checkline();
        }
        // The repaint grid moves in exact steps of 1/15 s; a stall of any length costs one
        // repaint.
        if (GetTimeR49() > paintRef + RepaintStep) {
            while (GetTimeR49() > paintRef + RepaintStep) paintRef += RepaintStep;
            g.paintEvent();
        }
        // At most one row-clock step a turn: after a stall the missed steps follow turn by turn.
        if (GetTimeR49() > g.ticktime + rowPeriod(g.level)) rowClock(g);
        Delay28(1);
        if (GetWidth56() != g.width * CellPx || GetHeight57() != g.height * CellPx + StripPx)
            g.initWindow0();
    } while (IsWin47());

    running = nullptr;
    g.~MainWindow();
    std::free(memory);
    return status;
}
