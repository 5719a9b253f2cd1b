// Test helpers: a zeroed board on the heap with its cues loaded through the double, boards laid
// from pictures, and the cue log by name.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "board/minebd.h"
#include "tests/double/disp_double.h"
#include "tests/invariants.h"

struct Game {
    std::unique_ptr<MineBd> holder{new MineBd()};  // value-initialised: all zero
    MineBd& b = *holder;

    Game() {
        dbl::reset();
        b.initaudio();
    }

    // Lays a dealt board in state 1 from a picture, one string per row from the top: '*' a mine,
    // anything else safe; `o` marks a safe open cell, 'F' a flagged mine, 'f' a flagged safe
    // cell, '?' a question-marked safe cell. The first `idleRows` rows are idle. Counts are made
    // right, again and dirty are cleared and the cue log is emptied.
    void lay(const std::vector<std::string>& rows, int idleRows) {
        b.width = static_cast<int>(rows[0].size());
        b.height = static_cast<int>(rows.size());
        b.rowmines = 0;
        for (char c : rows[0]) b.rowmines += c == '*' || c == 'F';
        b.emptyrows = idleRows;
        b.initbd();
        for (int y = 0; y < b.height; y++)
            for (int x = 0; x < b.width; x++) {
                const char c = rows[y][x];
                b.mine[x][y] = c == '*' || c == 'F';
                b.open[x][y] = c == 'o';
                b.flag[x][y] = c == 'F' || c == 'f';
                b.qstn[x][y] = c == '?';
            }
        recount();
        b.state = StPlay;
        b.again = b.dirty = false;
        dbl::clearSounds();
    }

    void recount() {
        for (int x = 0; x < b.width; x++)
            for (int y = 0; y < b.height; y++) b.num[x][y] = minesAround(b, x, y);
    }

    // The cues sounded since the last call, by name ("New", "Left" ...), and the log emptied.
    std::vector<std::string> cues() {
        std::vector<std::string> out;
        for (const std::string& p : dbl::sounds()) {
            const auto slash = p.rfind('/'), dot = p.rfind('.');
            out.push_back(p.substr(slash + 1, dot - slash - 1));
        }
        dbl::clearSounds();
        return out;
    }
};

using Cues = std::vector<std::string>;
