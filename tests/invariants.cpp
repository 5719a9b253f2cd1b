// The board record's invariants, checked from outside.
#include "tests/invariants.h"

#include <sstream>

namespace {
std::string at(const char* what, int x, int y) {
    std::ostringstream s;
    s << what << " at (" << x << ", " << y << ")";
    return s.str();
}
}  // namespace

int minesAround(const MineBd& b, int x, int y) {
    int n = 0;
    for (int dx = -1; dx <= 1; dx++)
        for (int dy = -1; dy <= 1; dy++) {
            const int px = x + dx, py = y + dy;
            if ((dx || dy) && px >= 0 && py >= 0 && px < b.width && py < b.height)
                n += b.mine[px][py];
        }
    return n;
}

std::string checkInvariants(const MineBd& b) {
    std::ostringstream s;
    if (b.width < 8 || b.width > 100 || b.height < 8 || b.height > 100) {
        s << "size " << b.width << " x " << b.height << " outside 8..100";
        return s.str();
    }
    if (b.rowmines < 1 || b.rowmines > b.width - 1) {
        s << "rowmines " << b.rowmines << " outside 1.." << b.width - 1;
        return s.str();
    }
    if (b.top < 0 || b.top > b.height - 4) {
        s << "top " << b.top << " outside 0.." << b.height - 4;
        return s.str();
    }
    // Only the addline that loses the game brings top to 0; a board laid with no idle row
    // starts there, ready.
    if (b.top == 0 && b.state != StLost && b.state != StReady) {
        s << "top 0 in state " << b.state;
        return s.str();
    }
    for (int y = 0; y < b.height; y++) {
        int mines = 0;
        for (int x = 0; x < b.width; x++) mines += b.mine[x][y];
        if (mines != b.rowmines) {
            s << "row " << y << " holds " << mines << " mines, not " << b.rowmines;
            return s.str();
        }
    }
    const bool dealt = b.state == StPlay || b.state == StPenalty || b.state == StBonus ||
                       b.state == StPaused;
    for (int x = 0; x < b.width; x++)
        for (int y = 0; y < b.height; y++) {
            if (b.idle[x][y] != (y < b.top)) return at("idle plane disagrees with top", x, y);
            if (b.idle[x][y] && (b.open[x][y] || b.flag[x][y] || b.qstn[x][y]))
                return at("idle cell open, flagged or marked", x, y);
            if (b.open[x][y] && b.flag[x][y]) return at("cell both open and flagged", x, y);
            if (dealt && !b.idle[x][y]) {
                const int n = minesAround(b, x, y);
                if (b.num[x][y] != n) {
                    s << "count " << b.num[x][y] << ", not " << n;
                    return at(s.str().c_str(), x, y);
                }
            }
        }
    return "";
}
