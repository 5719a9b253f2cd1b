// The board record's invariants, checked from outside.
#include "board/invariants.h"

int minesAround(const MineBd& b, int x, int y) {
    int n = 0;
    for (int dx = -1; dx <= 1; dx++)
        for (int dy = -1; dy <= 1; dy++) {
            const int px = x + dx, py = y + dy;
            if ((dx || dy) && px >= 0 && py >= 0 && px < b.width && py < b.height) n += b.mine[px][py];
        }
    return n;
}

std::string checkInvariants(const MineBd& b) {
    const auto at = [](const char* what, int x, int y) {
        return std::string(what) + " at " + std::to_string(x) + "," + std::to_string(y);
    };
    if (b.width < 8 || b.width > 100 || b.height < 8 || b.height > 100) return "size outside 8..100";
    if (b.rowmines < 1 || b.rowmines > b.width - 1) return "rowmines outside 1..width - 1";
    if (b.top < 0 || b.top > b.height - 4) return "top outside 0..height - 4";
    // Only the addline that loses the game brings top to 0; a board laid with no idle row starts
    // there, ready.
    if (b.top == 0 && b.state != StLost && b.state != StReady) return "top 0 in play";
    const bool dealt = b.state == StPlay || b.state == StPenalty || b.state == StBonus || b.state == StPaused;
    for (int y = 0; y < b.height; y++) {
        int mines = 0;
        for (int x = 0; x < b.width; x++) {
            mines += b.mine[x][y];
            if (b.idle[x][y] != (y < b.top)) return at("idle plane disagrees with top", x, y);
            if (b.idle[x][y] && (b.open[x][y] || b.flag[x][y] || b.qstn[x][y])) return at("idle cell open or marked", x, y);
            if (b.open[x][y] && b.flag[x][y]) return at("cell both open and flagged", x, y);
            if (dealt && !b.idle[x][y] && b.num[x][y] != minesAround(b, x, y)) return at("wrong count", x, y);
        }
        if (mines != b.rowmines) return at("wrong number of mines in the row", 0, y);
    }
    return "";
}
