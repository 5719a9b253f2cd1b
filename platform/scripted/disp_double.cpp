// The scripted display double behind platform/disp.h.
#include "platform/scripted/disp_double.h"

#include <deque>

#include "platform/disp.h"

namespace dbl {
namespace {

struct Event { double at; Kind kind; std::int32_t a, b; };

struct World {
    double clock = 1000, closeAt = 0;
    bool open = false;
    std::int32_t cw = 0, ch = 0, scrW = 1920, scrH = 1080;
    std::deque<Event> script;
    Event taken{0, Other, 0, 0};
    std::function<void()> turnHook, delayHook;
    std::vector<Bitmap> bitmaps;  // handle h is bitmaps[h - 1]
    std::vector<std::string> clips, sounds;
    std::vector<Draw> frame;
    std::vector<double> presents;
};
World w;

std::uint32_t addBitmap(Bitmap b) { return w.bitmaps.push_back(std::move(b)), static_cast<std::uint32_t>(w.bitmaps.size()); }

}  // namespace

void reset() { w = World(); }
double now() { return w.clock; }
void advance(double seconds) { w.clock += seconds; }
void push(double at, Kind kind, std::int32_t a, std::int32_t b) {
    auto it = w.script.end();
    while (it != w.script.begin() && (it - 1)->at > at) --it;  // same time: pushed order
    w.script.insert(it, Event{at, kind, a, b});
}
std::size_t pending() { return w.script.size(); }
void closeAt(double t) { w.closeAt = t; }
void onTurn(std::function<void()> hook) { w.turnHook = std::move(hook); }
void onDelay(std::function<void()> hook) { w.delayHook = std::move(hook); }
bool windowOpen() { return w.open; }
std::int32_t clientW() { return w.cw; }
std::int32_t clientH() { return w.ch; }
const Bitmap* bitmap(std::uint32_t h) { return h - 1 < w.bitmaps.size() ? &w.bitmaps[h - 1] : nullptr; }
const std::vector<Draw>& frame() { return w.frame; }
const std::vector<double>& presents() { return w.presents; }
const std::vector<std::string>& sounds() { return w.sounds; }
void clearSounds() { w.sounds.clear(); }

}  // namespace dbl

using dbl::w;

std::int32_t CreateWin39(std::int32_t cw, std::int32_t ch, std::uint32_t, std::uint32_t, std::uint32_t) {
    w.open = true;
    w.cw = cw, w.ch = ch;
    return 1;
}
void SetTitle51(const char*) {}
void SetSize55(std::int32_t cw, std::int32_t ch) {
    if (w.open) w.cw = cw, w.ch = ch;
}
std::int32_t GetWidth56() { return w.cw; }
std::int32_t GetHeight57() { return w.ch; }
std::int32_t GetBorderWidth65() { return 0; }
std::int32_t GetBorderHeight66() { return 0; }
std::int32_t GetBorderTitle64() { return 0; }
std::int32_t GetScrWidth59() { return w.scrW; }
std::int32_t GetScrHeight60() { return w.scrH; }
std::uint32_t GetHwnd75() { return 0x1234; }
bool MoveWindow(std::uint32_t hwnd, std::int32_t, std::int32_t, std::int32_t, std::int32_t, bool) {
    return w.open && hwnd == 0x1234;
}
bool IsWin47() {
    if (w.closeAt && w.clock > w.closeAt) w.open = false;
    if (w.open && w.turnHook) w.turnHook();
    return w.open;
}
void CloseWin46() { w.open = false; }
void Clear164() { w.frame.clear(); }
void FreshWin45() { w.presents.push_back(w.clock); }
std::uint32_t LoadBMP197(const char* path) { return dbl::addBitmap(dbl::Bitmap{path}); }
std::uint32_t CreateBMP192(std::int32_t bw, std::int32_t bh) { return dbl::addBitmap(dbl::Bitmap{"", bw, bh}); }
void DrawBMP200(std::uint32_t src, std::uint32_t dst, std::int32_t sx, std::int32_t sy, std::int32_t,
                std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
    if (dst - 1 < w.bitmaps.size()) w.bitmaps[dst - 1] = dbl::Bitmap{"", w.bitmaps[dst - 1].w, w.bitmaps[dst - 1].h, src, sx, sy};
}
void DrawBMP214(std::uint32_t bmp, std::int32_t x, std::int32_t y, std::int32_t dw, std::int32_t dh) {
    w.frame.push_back(dbl::Draw{bmp, x, y, dw, dh});
}
bool IsNextMsg254() {
    w.taken.kind = dbl::Other;
    while (!w.script.empty() && w.script.front().at <= w.clock) {
        const dbl::Event e = w.script.front();
        w.script.pop_front();
        if (e.kind == dbl::Close) w.open = false;
        if (e.kind == dbl::Drag) w.cw = e.a, w.ch = e.b;
        if (e.kind == dbl::Close || e.kind == dbl::Drag) continue;
        w.taken = e;
        return true;
    }
    return false;
}
bool IsMouseLeft270() { return w.taken.kind == dbl::Left; }
bool IsMouseRight274() { return w.taken.kind == dbl::Right; }
std::int32_t GetMousePosX290() { return w.taken.a; }
std::int32_t GetMousePosY291() { return w.taken.b; }
bool IsKey261() { return w.taken.kind == dbl::Key; }
std::int32_t GetKey262() { return w.taken.a; }
double GetTimeR49() { return w.clock; }
void Delay28(std::int32_t ms) {
    w.clock += ms / 1000.0;
    if (w.delayHook) w.delayHook();
}
std::uint32_t LoadAudio292(const char* path) {
    w.clips.emplace_back(path);
    return static_cast<std::uint32_t>(w.clips.size());
}
void SetAudioPos305(std::uint32_t clip, std::int32_t pos) {
    // The seam promises pos 0: a clip asked to start elsewhere shows as "?", as an unknown one.
    w.sounds.push_back(pos == 0 && clip - 1 < w.clips.size() ? w.clips[clip - 1] : "?");
}
