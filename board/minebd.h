// The board record: the whole game state in one fixed-size record, with the rules, the player's
// actions and the solver as its member functions.
#pragma once
#include <cstdint>

// One open number and its undecided neighbours: how many mines lie among which cells.
struct Rule {
    std::int32_t x, y;    // the open cell the rule belongs to
    std::int32_t mines;   // its number less its flagged neighbours
    std::int32_t cnt;     // undecided neighbours, 1..8 in a stored rule
    std::int32_t ux[8];   // their columns, in neighbour order; only the first cnt are meaningful
    std::int32_t uy[8];   // their rows
};

// Game states.
enum : std::int32_t { StReady = 0, StPlay = 1, StPenalty = 2, StBonus = 3, StLost = 4, StPaused = 5 };

// Plain data: no constructor, no virtual functions; starts zeroed (the front end makes it so),
// holds at most 100 x 100 cells and allocates nothing. Planes are indexed [x][y], x the column,
// y the row (0 at the top, where the idle rows lie). Only cells with x < width and y < height
// make up the board; the methods never touch the others.
//
// The methods keep their loop counters (i, j, k) and the neighbour found by isok (nx, ny) in the
// record, not in locals: a method that calls another board method from inside a loop sees what
// the callee left there. The solver's rule comparison depends on it (k is 8 after setflag,
// setblock and any penalty that added a row).
struct MineBd {
    std::int32_t width;      // columns, 8..100 after initbd
    std::int32_t height;     // rows, 8..100 after initbd
    std::int32_t rowmines;   // mines in every row, 1..width-1 after initbd
    std::int32_t emptyrows;  // configured idle rows of a fresh board (initbd uses at most height-4)
    std::int32_t top;        // first active row: rows above it are idle; 0..height-4
    std::int32_t tick;       // row-clock steps towards the next row, 0..width-1
    double ticktime;         // clock time of the last row-clock step; the main loop's alone
    std::int32_t state;      // StReady..StPaused
    std::int32_t score;      // 0..9999
    std::int32_t level;      // 1 on a fresh board
    bool again;              // a chord opened a cell during a solver pass: repeat the pass
    bool dirty;              // a click reached an active cell: the main loop runs checkline
    bool flag[100][100];
    bool qstn[100][100];
    bool mine[100][100];
    bool open[100][100];
    bool idle[100][100];
    std::int32_t num[100][100];  // mines among the on-board neighbours, idle rows included
    std::int32_t i, j, k;        // scratch: column, row and direction counters
    std::int32_t sx, sy;         // scratch: the cell swapped with, or that takes a displaced mine
    bool tmp;                    // scratch: the mine value held during a swap
    std::int32_t nx, ny;         // scratch: the neighbour written by isok
    std::uint32_t sndwin, sndlose, snderror, sndleft, sndright, sndflag, sndnew, sndsolve;
    Rule cur;                      // the rule createrule is building
    Rule rule[10000];              // one pass's rules, in column-major order of their cells
    std::int32_t rulenum;          // rules in use
    std::int32_t ruleid[100][100]; // index of a cell's rule, or -1

    // Loads the eight cue clips (front end, once, before the first initbd).
    void initaudio();

    // Clamps the configuration and lays a fresh, undealt board in state 0 (New cue).
    void initbd();
    void initbd(std::int32_t width, std::int32_t height, std::int32_t emptyrows, std::int32_t rowmines);
    // Writes the neighbour of (x, y) in direction k (left, right, up, down, up-left, down-left,
    // up-right, down-right) into nx, ny; true when it lies on the board. Inline: every neighbour
    // loop of the board and the solver runs through it.
    bool isok(std::int32_t k, std::int32_t x, std::int32_t y, std::int32_t& nx, std::int32_t& ny) {
        switch (k) {
        case 0: nx = x - 1; ny = y;     return x > 0;
        case 1: nx = x + 1; ny = y;     return x < width - 1;
        case 2: nx = x;     ny = y - 1; return y > 0;
        case 3: nx = x;     ny = y + 1; return y < height - 1;
        case 4: nx = x - 1; ny = y - 1; return x > 0 && y > 0;
        case 5: nx = x - 1; ny = y + 1; return x > 0 && y < height - 1;
        case 6: nx = x + 1; ny = y - 1; return x < width - 1 && y > 0;
        case 7: nx = x + 1; ny = y + 1; return x < width - 1 && y < height - 1;
        }
        return false;
    }

    // Deals the mines at the first left click, keeping (x, y) safe; state 1.
    void resetbd(std::int32_t x, std::int32_t y);
    // Activates the next idle row; losing the last one loses the game.
    void addline();
    // Turns every open mine into a flag, two rows and an Error cue each; true if it found one.
    bool checkerror();
    // Removes row y (top <= y < height), brings a new idle row in at the top, scores.
    void delline(std::int32_t y);
    // Removes every complete active row; clears dirty.
    void checkline();
    // Playing (1, 2, 3) <-> paused (5).
    void pause();

    // The player's actions; the callers pass a cell on the board.
    void clickleft(std::int32_t x, std::int32_t y);
    void clickright(std::int32_t x, std::int32_t y, bool sound);
    void setqstn(std::int32_t x, std::int32_t y, bool sound);
    bool setflag(std::int32_t x, std::int32_t y, bool sound);
    bool setblock(std::int32_t x, std::int32_t y, bool sound);

    // Solver passes; each clears again first and does nothing in states 4 and 5.
    void solve0();       // chords every open 0 (flood opening)
    void solve1();       // right-clicks every open cell, then the Solve cue
    void solveblank();   // opens every active mine-free 0, reading the mine plane
    void solve2();       // pairwise rule deduction
    void createrule();
    void comparerule();
    void comparerule2(std::int32_t a, std::int32_t b);

private:
    // What one solver pass knows about open mines, so that it scans the board for them once
    // rather than after every cell it opens. After any checkerror no open mine is left on the
    // board, and within a pass a cell becomes an open mine only by being opened (the pass never
    // deals, removes rows or resizes): while `clean` holds, a checkerror after openings that met
    // no mine would find nothing and change nothing, and is left out. A pass starts unclean, so
    // its first checkerror scans the whole board as every one used to.
    struct MineWatch {
        bool clean = false;
    };
    // checkerror, left out when `w` proves it would find nothing; `openedMine` says whether the
    // cells opened since the last one include a mine.
    bool checkerror(MineWatch& w, bool openedMine);
    void clickleft(std::int32_t x, std::int32_t y, MineWatch& w);
    void clickright(std::int32_t x, std::int32_t y, bool sound, MineWatch& w);
    bool setblock(std::int32_t x, std::int32_t y, bool sound, MineWatch& w);
    void comparerule2(std::int32_t a, std::int32_t b, MineWatch& w);
    void count(std::int32_t x, std::int32_t y);  // num of one cell, neighbour loop in k
    static void sound(std::uint32_t clip);
    template <class Visit> void sweep(Visit visit);  // the two-way sweep of every cell
};
