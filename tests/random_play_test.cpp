// Random play over the whole game on the double: seeded sessions of clicks anywhere, every key,
// stalls and drags, across the configurations the keys reach, with the record's invariants
// checked after every turn that could change it. Short in the test command, long on demand
// (DRAVEL2_PLAY_SESSIONS, DRAVEL2_PLAY_EVENTS; README); DRAVEL2_PLAY_SEED replays one session.
#include <gtest/gtest.h>

#include <random>

#include "platform/disp.h"
#include "tests/fixtures.h"
#include "ui/game.h"

namespace {

long envOr(const char* name, long fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtol(v, nullptr, 10) : fallback;
}

// The first broken rule of one session, or "".
std::string playSession(std::uint64_t seed, long events) {
    std::mt19937_64 rng(seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<std::uint64_t>(n)); };
    dbl::reset();
    seededDeals(static_cast<unsigned>(seed));
    double t = 1000.01;
    const int configure[] = {39, 37, 40, 38, 107, 109, 33, 34, 48};
    for (int n = pick(120); n > 0; n--) dbl::push(t, dbl::Key, configure[pick(9)]);
    const int keys[] = {32, 33, 34, 37, 38, 39, 40, 48, 49, 50, 51, 56, 57, 68, 70, 80, 83, 107, 109, 0, 65};
    for (long n = 0; n < events; n++) {
        const int r = pick(100);
        t += r < 70 ? pick(40) / 1000.0 : r < 95 ? pick(2000) / 1000.0 : pick(15000) / 1000.0;
        const int kind = pick(100);
        if (kind < 62)
            dbl::push(t, pick(3) ? dbl::Left : dbl::Right, pick(1700) - 20, kind < 55 ? pick(1700) - 10 : pick(24));
        else if (kind < 90)
            dbl::push(t, dbl::Key, keys[pick(sizeof keys / sizeof *keys)]);
        else if (kind < 95)
            dbl::push(t, dbl::Drag, pick(2000), pick(2000));
        else
            dbl::push(t, dbl::Other);
    }
    dbl::closeAt(t + 1.0);
    std::string broken;
    std::size_t lastPending = 0;
    double lastTick = -1;
    int lastTickCount = 0;
    dbl::onTurn([&] {
        MainWindow& g = *runningGame();
        if (dbl::pending() != lastPending || g.ticktime != lastTick) {
            std::string b = checkInvariants(g);
            if (g.state < StReady || g.state > StPaused || g.score < 0 || g.score > 9999 ||
                g.tick < 0 || g.tick >= g.width)
                b += " state, score or tick out of range";
            if (g.tick < lastTickCount && g.state >= StPlay && g.state <= StBonus && !floodCheck(g).empty())
                b += " the row the clock brought in was not flooded: " + floodCheck(g);
            if (!b.empty() && broken.empty()) broken = b + " at t=" + std::to_string(dbl::now());
        }
        lastPending = dbl::pending();
        lastTick = g.ticktime;
        lastTickCount = g.tick;
        if (pick(20000) == 0) dbl::advance(pick(5000) / 1000.0);
        if (!broken.empty()) CloseWin46();
    });
    if (runGame() != 0 && broken.empty()) broken = "status not 0";
    return broken;
}

}  // namespace

TEST(RandomPlay, SessionsKeepTheRecordSound) {
    const long sessions = envOr("DRAVEL2_PLAY_SESSIONS", 24), events = envOr("DRAVEL2_PLAY_EVENTS", 150);
    const long only = envOr("DRAVEL2_PLAY_SEED", -1);
    for (long n = 0; n < (only >= 0 ? 1 : sessions); n++) {
        const std::uint64_t seed = only >= 0 ? static_cast<std::uint64_t>(only) : 0x5eed0000u + n;
        const std::string broken = playSession(seed, events);
        ASSERT_EQ(broken, "") << "replay: DRAVEL2_PLAY_SEED=" << seed << " DRAVEL2_PLAY_EVENTS=" << events;
    }
}
