// The eight sound cues, built from a few enveloped voices each and mixed into 16-bit samples.
//
// Everything here is plain double arithmetic (+, -, *, /, floor) in a fixed order, with our own
// sine and noise, so every build and optimisation level produces the same bits.
#include "assetkit.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace assetkit {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRate = Clip::rate;

// sin(2*pi*turns): folded onto a quarter wave, then a Taylor series through x^13, which is
// off there by less than 1e-9, far below one 16-bit step.
double sineTurns(double turns) {
    double t = turns - std::floor(turns);  // [0, 1)
    if (t > 0.75) t -= 1.0;                // (-0.25, 0)
    else if (t > 0.25) t = 0.5 - t;        // sin(pi - x) = sin(x)
    const double x = 2.0 * kPi * t;
    const double x2 = x * x;
    double sum = 1.0;
    for (int k = 13; k >= 3; k -= 2) sum = 1.0 - x2 / (k * (k - 1)) * sum;
    return x * sum;
}

// Fixed-seed linear congruential noise in [-1, 1).
struct Noise {
    std::uint32_t state;
    explicit Noise(std::uint32_t seed) : state(seed) {}
    double next() {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 23) - 1.0;
    }
};

enum class Source { Tone, BandNoise };

// One voice: a tone (a stack of harmonics over a gliding fundamental) or band-passed noise whose
// centre glides the same way. Its envelope rises from zero and falls back to it, so voices
// start and stop without clicks.
struct Voice {
    double start = 0;     // s
    double length = 0.1;  // s
    double freq0 = 440, freq1 = 440;  // Hz at start and end; glides linearly
    double amp = 1;
    double attack = 0.005;   // s, linear rise
    double release = 0.005;  // s, linear fall at the end
    int decayPower = 0;      // the body decays as (1 - t/length)^decayPower
    std::vector<double> harmonics = {1.0};     // amplitude of partials 1, 2, 3, ...
    double vibratoRate = 0, vibratoDepth = 0;  // Hz, fraction of the frequency
    Source source = Source::Tone;
    double bandQ = 2;  // resonance of the noise band
    std::uint32_t seed = 1;
};

double envelope(const Voice& v, double t) {
    double e = std::min(1.0, t / v.attack) * std::min(1.0, (v.length - t) / v.release);
    const double rest = 1.0 - t / v.length;
    for (int i = 0; i < v.decayPower; ++i) e *= rest;
    return std::max(0.0, e);
}

void addVoice(std::vector<double>& mix, const Voice& v) {
    const long first = long(v.start * kRate);
    const long count = long(v.length * kRate);
    double phase = 0;  // in turns of the fundamental
    Noise noise(v.seed);
    double low[2] = {0, 0}, band[2] = {0, 0};  // two band-pass stages in series
    for (long i = 0; i < count; ++i) {
        const long at = first + i;
        if (at >= long(mix.size())) break;
        const double t = double(i) / kRate;
        double f = v.freq0 + (v.freq1 - v.freq0) * (t / v.length);
        if (v.vibratoDepth > 0) f *= 1.0 + v.vibratoDepth * sineTurns(v.vibratoRate * t);
        double s = 0;
        if (v.source == Source::Tone) {
            int n = 1;
            for (double h : v.harmonics) {
                if (f * n < kRate * 0.45) s += h * sineTurns(phase * n);  // nothing aliases
                ++n;
            }
            phase += f / kRate;
            phase -= std::floor(phase);
        } else {
            // Two state-variable band-pass stages in series for steeper skirts; each runs twice
            // per sample, which keeps it stable up to ~5 kHz.
            const double k = 2.0 * sineTurns(f / (4.0 * kRate));
            s = noise.next();
            for (int stage = 0; stage < 2; ++stage) {
                for (int pass = 0; pass < 2; ++pass) {
                    low[stage] += k * band[stage];
                    const double high = s - low[stage] - band[stage] / v.bandQ;
                    band[stage] += k * high;
                }
                s = band[stage];
            }
        }
        mix[std::size_t(at)] += v.amp * envelope(v, t) * s;
    }
}

// Mixes the voices, scales the loudest sample to `peak` of full scale and adds a short fade at
// each end so the first and last samples are exactly zero.
Clip render(std::initializer_list<Voice> voices, double peak) {
    double end = 0;
    for (const Voice& v : voices) end = std::max(end, v.start + v.length);
    std::vector<double> mix(std::size_t(end * kRate) + 1, 0.0);
    for (const Voice& v : voices) addVoice(mix, v);

    double loudest = 0;
    for (double s : mix) loudest = std::max(loudest, std::fabs(s));
    const double gain = loudest > 0 ? peak / loudest : 0;

    const std::size_t n = mix.size();
    const std::size_t fadeIn = std::size_t(0.002 * kRate), fadeOut = std::size_t(0.008 * kRate);
    Clip clip;
    clip.samples.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        double s = mix[i] * gain;
        if (i < fadeIn) s *= double(i) / double(fadeIn);
        if (n - 1 - i < fadeOut) s *= double(n - 1 - i) / double(fadeOut);
        const double q = std::floor(s * 32767.0 + 0.5);
        clip.samples[i] = std::int16_t(std::clamp(q, -32767.0, 32767.0));
    }
    return clip;
}

constexpr double kHalfScale = 0.5;  // -6 dBFS: room for several cues sounding at once

// Note frequencies, equal temperament from A4 = 440 Hz.
constexpr double E4 = 329.63, F4 = 349.23, Fs4 = 369.99, G4 = 392.00;
constexpr double C5 = 523.25, E5 = 659.26, G5 = 783.99, C6 = 1046.50, E6 = 1318.51;

// A level gained: a bright rising arpeggio that rings out on the top note.
Clip win() {
    const std::vector<double> bright = {1.0, 0.35, 0.15, 0.06};
    Voice n1{0.00, 0.22, C5, C5, 0.8, 0.004, 0.02, 2, bright};
    Voice n2{0.08, 0.22, E5, E5, 0.8, 0.004, 0.02, 2, bright};
    Voice n3{0.16, 0.22, G5, G5, 0.8, 0.004, 0.02, 2, bright};
    Voice n4{0.24, 0.50, C6, C6, 0.9, 0.004, 0.04, 2, bright};
    Voice n5{0.24, 0.50, E6, E6, 0.3, 0.004, 0.04, 3, {1.0}};
    return render({n1, n2, n3, n4, n5}, kHalfScale);
}

// The game is lost: four falling, slightly wavering tones, the last one sagging away.
Clip lose() {
    const std::vector<double> mellow = {1.0, 0.25, 0.3, 0.05, 0.1};
    Voice n1{0.00, 0.20, G4, G4, 1.0, 0.01, 0.04, 0, mellow};
    Voice n2{0.21, 0.20, Fs4, Fs4, 1.0, 0.01, 0.04, 0, mellow};
    Voice n3{0.42, 0.20, F4, F4, 1.0, 0.01, 0.04, 0, mellow};
    Voice n4{0.63, 0.36, E4, E4 * 0.9, 1.0, 0.01, 0.10, 1, mellow, 6.0, 0.015};
    return render({n1, n2, n3, n4}, 0.4);  // sustained, so it sounds loud at a lower peak
}

// A mine opened: a harsh low buzz of two beating saw-like tones over a rasp of noise.
Clip error() {
    std::vector<double> saw;
    for (int n = 1; n <= 24; ++n) saw.push_back(1.0 / n);
    Voice a{0.0, 0.30, 110, 92, 1.0, 0.003, 0.03, 1, saw};
    Voice b{0.0, 0.30, 116, 97, 0.8, 0.003, 0.03, 1, saw};
    Voice rasp{0.0, 0.12, 900, 500, 0.6, 0.002, 0.03, 2};
    rasp.source = Source::BandNoise;
    rasp.bandQ = 1.5;
    rasp.seed = 7;
    return render({a, b, rasp}, kHalfScale);
}

// A safe cell opened: one soft, quick pop. It is the most frequent cue, so it is the quietest.
Clip left() {
    Voice pop{0.0, 0.05, 820, 260, 1.0, 0.002, 0.01, 3, {1.0, 0.15}};
    return render({pop}, 0.4);
}

// A chord opened neighbours: two pops in quick succession, the second higher and fuller.
Clip right() {
    Voice pop1{0.00, 0.05, 760, 250, 1.0, 0.002, 0.01, 3, {1.0, 0.15}};
    Voice pop2{0.06, 0.06, 980, 330, 1.0, 0.002, 0.01, 3, {1.0, 0.3, 0.1}};
    return render({pop1, pop2}, 0.45);
}

// A mark toggled: a short high blip, rising slightly.
Clip flag() {
    Voice blip{0.0, 0.08, 1480, 1860, 1.0, 0.004, 0.015, 2, {1.0, 0.12}};
    return render({blip}, kHalfScale);
}

// A fresh board: two bell strokes a fourth apart.
Clip fresh() {
    const std::vector<double> bell = {1.0, 0.3, 0.0, 0.12};
    Voice s1{0.00, 0.30, G5, G5, 0.8, 0.003, 0.03, 2, bell};
    Voice s2{0.07, 0.33, C6, C6, 1.0, 0.003, 0.03, 2, bell};
    return render({s1, s2}, kHalfScale);
}

// Rows removed or a solver pass done: a rising whoosh of noise with a scatter of high glints.
Clip solve() {
    Voice whoosh{0.0, 0.34, 700, 4200, 1.0, 0.10, 0.05, 1};
    whoosh.source = Source::BandNoise;
    whoosh.bandQ = 4;
    whoosh.seed = 12345;
    Noise pick(2024);
    auto glint = [&pick](double at) {
        const double f = 4800 + 2000 * (0.5 + 0.5 * pick.next());  // above the whoosh
        return Voice{at, 0.07, f, f * 1.02, 0.8, 0.002, 0.01, 3, {1.0}};
    };
    return render({whoosh, glint(0.06), glint(0.11), glint(0.15), glint(0.19), glint(0.22),
                   glint(0.26)},
                  kHalfScale);
}

}  // namespace

std::vector<NamedClip> synthesiseClips() {
    return {{"Win", win()},     {"Lose", lose()}, {"Error", error()}, {"Left", left()},
            {"Right", right()}, {"Flag", flag()}, {"New", fresh()},   {"Solve", solve()}};
}

}  // namespace assetkit
