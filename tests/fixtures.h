// Test helpers: a zeroed board with its cues on the double, boards laid from pictures, the cue
// log by name, and the window built in zeroed memory with the sprites its frame drew.
#pragma once
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <tuple>
#include <vector>

#include "platform/scripted/disp_double.h"
#include "board/invariants.h"
#include "ui/mainwindow.h"

using Cues = std::vector<std::string>;

// A file's name without its folder and extension: "./wav/Win.wav" is "Win".
inline std::string stem(const std::string& path) {
    const std::size_t from = path.find_last_of('/') + 1;  // 0 when there is no folder
    return path.substr(from, path.find_last_of('.') - from);
}

// The cues sounded since the last call, by name ("New", "Left" ...); empties the log.
inline Cues cues() {
    Cues out;
    for (const std::string& p : dbl::sounds()) out.push_back(stem(p));
    dbl::clearSounds();
    return out;
}

// What the counters and the face show: the first active row, the state, score and level.
struct Status {
    int top, state, score, level;
    bool operator==(const Status& o) const { return std::tie(top, state, score, level) == std::tie(o.top, o.state, o.score, o.level); }
};
inline Status status(const MineBd& b) { return {b.top, b.state, b.score, b.level}; }
inline std::ostream& operator<<(std::ostream& o, const Status& s) {
    return o << "{top " << s.top << ", state " << s.state << ", score " << s.score << ", level " << s.level << "}";
}

// The client area's size.
inline std::pair<int, int> client() { return {dbl::clientW(), dbl::clientH()}; }

// The board drawn in the letters lay() reads (idle rows too; idleness shows in top).
inline std::vector<std::string> picture(const MineBd& b) {
    std::vector<std::string> rows(b.height, std::string(b.width, '.'));
    for (int x = 0; x < b.width; x++)
        for (int y = 0; y < b.height; y++)
            rows[y][x] = b.open[x][y] ? (b.mine[x][y] ? '!' : 'o') : b.flag[x][y] ? (b.mine[x][y] ? 'F' : 'f')
                       : b.qstn[x][y] ? (b.mine[x][y] ? 'M' : '?') : b.mine[x][y] ? '*' : '.';
    return rows;
}

// `rows` with the cells (x, y) set to c.
inline std::vector<std::string> with(std::vector<std::string> rows, std::initializer_list<std::tuple<int, int, char>> cells) {
    for (const auto& [x, y, c] : cells) rows[y][x] = c;
    return rows;
}

// Re-seeds the deal's draws at every delay, from `seed` on: the same deals every run.
inline void seededDeals(unsigned seed) {
    dbl::onDelay([seed]() mutable { srand(seed++); });
}

// Empty when every open active 0 has all its active neighbours open and, given an open cell
// (sx, sy), every other open cell has an open 0 beside it: the open cells are its flood.
inline std::string floodCheck(MineBd& b, int sx = -1, int sy = -1) {
    for (int x = 0; x < b.width; x++)
        for (int y = b.top; y < b.height; y++) {
            bool zeroBeside = sx < 0 || (x == sx && y == sy);
            for (int k = 0; k < 8; k++) {
                if (!b.isok(k, x, y, b.nx, b.ny) || b.idle[b.nx][b.ny]) continue;
                const bool zero = b.open[b.nx][b.ny] && b.num[b.nx][b.ny] == 0;
                zeroBeside = zeroBeside || zero;
                if (b.open[x][y] && b.num[x][y] == 0 && !b.open[b.nx][b.ny])
                    return "a covered cell beside the open 0 at " + std::to_string(x) + "," + std::to_string(y);
            }
            if (b.open[x][y] && !zeroBeside)
                return "no open 0 beside the open cell " + std::to_string(x) + "," + std::to_string(y);
        }
    return "";
}

struct Game {
    std::unique_ptr<MineBd> holder{new MineBd()};  // value-initialised: all zero
    MineBd& b = *holder;
    Game() { dbl::reset(), b.initaudio(); }
    // Lays a dealt board in state 1, one string a row from the top: '*' a mine, 'F' a flagged
    // mine, 'M' a marked mine, '!' an open mine, 'o' an open safe cell, 'f' a flagged safe cell,
    // '?' a marked safe cell, anything else covered and safe. The first idleRows rows are idle; counts are made right, again
    // and dirty cleared, the cue log emptied.
    void lay(const std::vector<std::string>& rows, int idleRows) {
        b.rowmines = 0;
        for (char c : rows[0]) b.rowmines += isMine(c);
        b.initbd(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), idleRows, b.rowmines);
        for (int y = 0; y < b.height; y++)
            for (int x = 0; x < b.width; x++) {
                const char c = rows[y][x];
                b.mine[x][y] = isMine(c);
                b.open[x][y] = c == 'o' || c == '!';
                b.flag[x][y] = c == 'F' || c == 'f';
                b.qstn[x][y] = c == '?' || c == 'M';
            }
        for (int x = 0; x < b.width; x++)
            for (int y = 0; y < b.height; y++) b.num[x][y] = minesAround(b, x, y);
        b.state = StPlay;
        b.again = b.dirty = false;
        dbl::clearSounds();
    }
    static bool isMine(char c) { return c == '*' || c == 'F' || c == 'M' || c == '!'; }
};

struct Window {
    void* memory;
    MainWindow& w;
    // The double is reset and `setup` run before the window opens.
    template <class Setup>
    explicit Window(Setup setup) : memory(fresh(setup)), w(*new (memory) MainWindow) {}
    Window() : Window([] {}) {}
    ~Window() { w.~MainWindow(), std::free(memory); }
    // What the frame shows at (x, y), by where the sheets hold it: "icon 64" for the sprite
    // cut from icon.bmp at (0, 64), drawn last at (x, y); "" where nothing was drawn.
    std::string at(std::int32_t x, std::int32_t y) const {
        std::string found;
        for (const dbl::Draw& d : dbl::frame()) {
            const dbl::Bitmap* b = dbl::bitmap(d.bmp);
            const dbl::Bitmap* sheet = b ? dbl::bitmap(b->src) : nullptr;
            if (d.x == x && d.y == y)
                found = sheet && b->sx == 0 ? stem(sheet->path) + " " + std::to_string(b->sy) : "?";
        }
        return found;
    }
    std::string cell(int cx, int cy) const { return at(cx * 16, 24 + cy * 16); }
    void click(int cx, int cy, int button = 1) { w.mousePressEvent(cx * 16 + 8, 24 + cy * 16 + 8, button); }

private:
    template <class Setup>
    static void* fresh(Setup setup) { return dbl::reset(), setup(), std::calloc(1, sizeof(MainWindow)); }
};

// Sprites by where the sheets hold them.
inline std::string tile(int n) { return "icon " + std::to_string(240 - 16 * n); }
inline std::string digit(int d) { return "numb " + std::to_string(253 - 23 * d); }
inline std::string face(int row) { return "face " + std::to_string(24 * row); }
const std::string kCover = "icon 0", kFlag = "icon 16", kQstn = "icon 32", kOpenMine = "icon 48",
                  kIdle = "icon 64", kMine = "icon 80", kMinus = "numb 0", kBlank = "numb 23";
