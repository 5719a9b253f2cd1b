// Searches small boards for the layouts that make the solver repeat its passes the most: a
// hill climb over the mine plane (and, for key D, the open plane), scored by the work the
// repetition does. Prints the best board found as a picture ('*' mine, 'o' open, '.' covered).
// Usage: bench_search flood|d|serpent [WIDTH HEIGHT ITERATIONS SEED work|passes]; the last word says
// what the climb maximises: the work (default) or the number of passes.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "bench/boards.h"

namespace {

enum class Mode { Flood, KeyD };

struct Score {
    int passes = 0;
    long long work = 0;  // cells visited by the passes plus 8 for every cell they act on
};

// The repetition on a copy of the board: the flood after a click on (sx, sy), or key D.
Score run(const MineBd& start, MineBd& b, Mode mode, int sx, int sy) {
    b = start;
    Score s;
    if (mode == Mode::KeyD) {
        b.again = true;
        while (b.again) {
            for (int x = 0; x < b.width; x++)
                for (int y = 0; y < b.height; y++) s.work += b.open[x][y] ? 16 : 0;
            b.solve1();
            s.passes++;
            s.work += 2LL * b.width * b.height;
        }
        return s;
    }
    b.clickleft(sx, sy);
    b.again = true;
    while (b.again) {
        for (int x = 0; x < b.width; x++)
            for (int y = 0; y < b.height; y++) s.work += b.open[x][y] && b.num[x][y] == 0 ? 16 : 0;
        b.solve0();
        s.passes++;
        s.work += 2LL * b.width * b.height;
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string m = argc > 1 ? argv[1] : "flood";
    const Mode mode = m == "d" ? Mode::KeyD : Mode::Flood;
    const bool byPasses = argc > 6 && std::string(argv[6]) == "passes";
    const int w = argc > 2 ? std::atoi(argv[2]) : 16;
    const int h = argc > 3 ? std::atoi(argv[3]) : 16;
    const long iters = argc > 4 ? std::atol(argv[4]) : 200000;
    std::mt19937 rng(argc > 5 ? std::atoi(argv[5]) : 1);

    std::unique_ptr<MineBd> best(new MineBd()), cand(new MineBd()), scratch(new MineBd());
    if (m == "serpent") {
        // The constructed serpent, to compare with what the climb finds.
        bench::laySerpent(*best, w, h);
        const Score s = run(*best, *scratch, Mode::Flood, 0, h - 1);
        std::printf("serpent %dx%d: %d passes, work %lld\n", w, h, s.passes, s.work);
        for (int y = 0; y < h; y++) {
            for (int x = 0; x < w; x++) std::putchar(best->mine[x][y] ? '*' : scratch->open[x][y] ? 'o' : '.');
            std::putchar('\n');
        }
        return 0;
    }
    bench::layEmpty(*best, w, h);
    // Start: a sparse random layout.
    for (int x = 0; x < w; x++)
        for (int y = 0; y < h; y++) best->mine[x][y] = rng() % 8 == 0;
    const int sx = 0, sy = h - 1;  // the click: the bottom-left corner, kept free
    bench::recount(*best);
    auto fix = [&](MineBd& b) {
        // The clicked cell and its neighbours stay free, so the click floods.
        for (int x = 0; x <= 1; x++)
            for (int y = h - 2; y < h; y++) b.mine[x][y] = false;
        for (int x = 0; x < w; x++)
            for (int y = 0; y < h; y++)
                if (b.mine[x][y]) b.open[x][y] = false;
        bench::recount(b);
    };
    fix(*best);
    Score bestScore = run(*best, *scratch, mode, sx, sy);
    for (long i = 0; i < iters; i++) {
        *cand = *best;
        const int flips = 1 + rng() % 3;
        for (int f = 0; f < flips; f++) {
            const int x = rng() % w, y = rng() % h;
            if (mode == Mode::KeyD && rng() % 2)
                cand->open[x][y] = !cand->open[x][y];
            else
                cand->mine[x][y] = !cand->mine[x][y];
        }
        fix(*cand);
        const Score s = run(*cand, *scratch, mode, sx, sy);
        if (byPasses ? s.passes > bestScore.passes || (s.passes == bestScore.passes && s.work >= bestScore.work)
                     : s.work >= bestScore.work) {
            std::swap(best, cand);
            bestScore = s;
        }
    }
    std::printf("%s %dx%d: %d passes, work %lld\n", m.c_str(), w, h, bestScore.passes, bestScore.work);
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++)
            std::putchar(best->mine[x][y] ? '*' : best->open[x][y] ? 'o' : '.');
        std::putchar('\n');
    }
    return 0;
}
