// Random play over the whole game on the double: seeded sessions of clicks anywhere, every key,
// clock stalls and window drags, across the configurations the keys reach, with the record's
// invariants and every repaint checked as the game runs.
//
// The README's test command runs a short version. The long one, on demand:
//   DRAVEL2_PLAY_SESSIONS=4000 DRAVEL2_PLAY_EVENTS=300 build/tests/random_play_test
// and a failing session replays alone with DRAVEL2_PLAY_SEED=<the seed it printed>.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <sstream>

#include "platform/disp.h"
#include "tests/double/disp_double.h"
#include "tests/invariants.h"
#include "ui/game.h"
#include "ui/mainwindow.h"

namespace {

constexpr double T0 = 1000.0;

long envOr(const char* name, long fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtol(v, nullptr, 10) : fallback;
}

// Keys of the command table, and a few that mean nothing. Esc is rare: it ends the session.
constexpr std::int32_t TableKeys[] = {32, 33, 34, 37, 38, 39, 40, 48, 49, 50, 51,
                                      56, 57, 68, 70, 80, 83, 107, 109};

struct Session {
    std::uint64_t seed;
    std::mt19937_64 rng;
    long events = 0;       // messages the game took
    std::string failure;   // the first broken rule, with where and when

    explicit Session(std::uint64_t s) : seed(s), rng(s) {}

    int pick(int n) { return static_cast<int>(rng() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return pick(100) < percent; }

    void fail(const std::string& what) {
        if (!failure.empty()) return;
        std::ostringstream s;
        s << what << " at t=" << dbl::now() - T0 << " s";
        failure = s.str();
    }

    // The board's rules and ranges, checked whenever the record may have changed.
    void checkRecord(const MainWindow& g) {
        const std::string broken = checkInvariants(g);
        if (!broken.empty()) fail("invariant: " + broken);
        if (g.state < StReady || g.state > StPaused) fail("state " + std::to_string(g.state));
        if (g.score < 0 || g.score > 9999) fail("score " + std::to_string(g.score));
        if (g.tick < 0 || g.tick > g.width - 1) fail("tick " + std::to_string(g.tick));
    }

    // Every draw of a repaint is a sprite initBMP cut (never a whole sheet), inside the client
    // area the board asks for.
    void checkFrame(const MainWindow& g) {
        const std::int32_t cw = g.width * CellPx, ch = g.height * CellPx + StripPx;
        for (const dbl::Draw& d : dbl::frame()) {
            int sprite = -1;
            for (int i = 0; i < SpriteCount; i++)
                if (g.bmp[i] == d.bmp && i != SheetIcon && i != SheetNumb) sprite = i;
            if (sprite < 0) fail("drew a bitmap that is no sprite");
            if (d.x < 0 || d.y < 0 || d.x + d.w > cw || d.y + d.h > ch) {
                std::ostringstream s;
                s << "drew sprite " << sprite << " at " << d.x << "," << d.y << " outside " << cw
                  << " x " << ch;
                fail(s.str());
            }
        }
    }

    // The script: a burst of keys that reaches a random configuration, then play.
    void script(long count) {
        double t = T0 + 0.01;
        auto key = [&](std::int32_t k) { dbl::pushKey(t, k); };
        for (int n = pick(60); n > 0; n--) key(chance(50) ? 39 : 37);   // width
        for (int n = pick(60); n > 0; n--) key(chance(50) ? 40 : 38);   // height
        for (int n = pick(12); n > 0; n--) key(chance(60) ? 107 : 109);  // mines a row
        for (int n = pick(8); n > 0; n--) key(chance(50) ? 33 : 34);     // idle rows
        if (chance(15)) key(51);
        for (int n = pick(chance(20) ? 40 : 4); n > 0; n--) key(48);     // levels
        for (long n = 0; n < count; n++) {
            // Mostly quick play, sometimes a wait long enough for rows to rise.
            const int r = pick(100);
            t += r < 70 ? pick(40) / 1000.0 : r < 95 ? pick(2000) / 1000.0 : pick(15000) / 1000.0;
            const int kind = pick(100);
            if (kind < 55) {
                // A board click in and around the client area of any size the keys reach.
                dbl::pushClick(t, chance(65) ? 1 : 2, pick(1700) - 20, pick(1700) - 10);
            } else if (kind < 62) {
                dbl::pushClick(t, chance(60) ? 1 : 2, pick(1640) / 2 - 10 + pick(3), pick(24));
            } else if (kind < 88) {
                key(TableKeys[pick(sizeof TableKeys / sizeof TableKeys[0])]);
            } else if (kind < 92) {
                key(chance(2) ? 27 : pick(256));
            } else if (kind < 96) {
                dbl::pushDrag(t, pick(2000), pick(2000));
            } else {
                dbl::pushOther(t);
            }
        }
        dbl::closeAt(t + 1.0);
    }

    void run(long count) {
        dbl::reset();
        unsigned dealSeed = static_cast<unsigned>(seed);
        dbl::onDelay([&dealSeed] { srand(dealSeed++); });  // deals replay with the session
        script(count);
        const std::size_t scripted = dbl::pending();
        double lastTick = -1;
        std::size_t lastPending = scripted;
        dbl::onTurn([&] {
            MainWindow& g = *runningGame();
            // A turn without a message and without a row-clock step leaves the record as it
            // was: check only after turns that could change it.
            if (dbl::pending() != lastPending || g.ticktime != lastTick) checkRecord(g);
            lastPending = dbl::pending();
            lastTick = g.ticktime;
            if (pick(20000) == 0) dbl::advance(pick(5000) / 1000.0);  // a stall
            if (!failure.empty()) CloseWin46();
        });
        dbl::onPresent([&] {
            if (const MainWindow* g = runningGame()) checkFrame(*g);
        });
        const int status = runGame();
        if (status != 0 && failure.empty()) fail("status " + std::to_string(status));
        events = static_cast<long>(scripted - dbl::pending());
        dbl::onTurn(nullptr);
        dbl::onPresent(nullptr);
        dbl::onDelay(nullptr);
    }
};

}  // namespace

TEST(RandomPlay, SessionsKeepTheRecordSoundAndDrawOnlySprites) {
    const long sessions = envOr("DRAVEL2_PLAY_SESSIONS", 24);
    const long perSession = envOr("DRAVEL2_PLAY_EVENTS", 150);
    const long only = envOr("DRAVEL2_PLAY_SEED", -1);
    long events = 0;
    int failures = 0;
    for (long n = 0; n < sessions && failures < 5; n++) {
        Session s(only >= 0 ? static_cast<std::uint64_t>(only) : 0x5eed0000u + n);
        s.run(perSession);
        events += s.events;
        if (!s.failure.empty()) {
            failures++;
            ADD_FAILURE() << "session seed " << s.seed << ": " << s.failure
                          << "\n  replay: DRAVEL2_PLAY_SEED=" << s.seed
                          << " DRAVEL2_PLAY_EVENTS=" << perSession << " " << "random_play_test";
        }
        if (only >= 0) break;
    }
    std::printf("random play: %ld sessions, %ld events, %d failing\n",
                only >= 0 ? 1L : sessions, events, failures);
    RecordProperty("events", static_cast<int>(events));
}
