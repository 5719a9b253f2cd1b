// The scripted display double behind platform/disp.h.
#include "tests/double/disp_double.h"

#include <deque>
#include <iterator>

#include "platform/disp.h"

namespace dbl {
namespace {

struct Event {
    std::int64_t at;
    enum Kind { Left, Right, Key, Other, Close, Drag } kind;
    std::int32_t a, b;
};

struct World {
    std::int64_t us = 1000000000;
    std::int64_t closeAtUs = 0;
    bool open = false;
    bool refuse = false;
    int creates = 0;
    std::string title;
    std::uint32_t color = 0, style = 0;
    std::int32_t cw = 0, ch = 0;
    std::int32_t scrW = 1920, scrH = 1080;
    std::int32_t side = 0, bottom = 0, titleH = 0;
    Placement place{0, 0, 0, 0, 0};
    std::deque<Event> script;
    Event::Kind taken = Event::Other;
    std::int32_t mx = 0, my = 0, key = 0;
    std::function<void()> hook, delayHook, presentHook;
    std::vector<Bitmap> bitmaps;  // handle h is bitmaps[h - 1]
    std::vector<std::string> clips;
    std::vector<Draw> frame;
    int presents = 0, clears = 0;
    std::vector<std::int64_t> presentTimes;
    std::vector<std::string> sounds;
    std::vector<std::string> calls;
};

World w;

std::int64_t toUs(double s) { return static_cast<std::int64_t>(s * 1e6 + (s >= 0 ? 0.5 : -0.5)); }
// Kept in time order; events pushed for the same time keep the order they were pushed in.
void push(double at, Event::Kind kind, std::int32_t a, std::int32_t b) {
    const Event e{toUs(at), kind, a, b};
    auto it = w.script.end();
    while (it != w.script.begin() && std::prev(it)->at > e.at) --it;
    w.script.insert(it, e);
}
void call(const char* name, const char* arg = nullptr) {
    w.calls.emplace_back(arg ? std::string(name) + " " + arg : std::string(name));
}

}  // namespace

void reset() { w = World(); }
std::int64_t nowUs() { return w.us; }
double now() { return static_cast<double>(w.us) / 1e6; }
void advance(double seconds) { w.us += toUs(seconds); }

void pushClick(double at, int button, std::int32_t x, std::int32_t y) {
    push(at, button == 1 ? Event::Left : Event::Right, x, y);
}
void pushKey(double at, std::int32_t key) { push(at, Event::Key, key, 0); }
void pushOther(double at) { push(at, Event::Other, 0, 0); }
void pushClose(double at) { push(at, Event::Close, 0, 0); }
void pushDrag(double at, std::int32_t cw, std::int32_t ch) { push(at, Event::Drag, cw, ch); }
std::size_t pending() { return w.script.size(); }
void closeAt(double t) { w.closeAtUs = t > 0 ? toUs(t) : 0; }
void onTurn(std::function<void()> hook) { w.hook = std::move(hook); }
void onDelay(std::function<void()> hook) { w.delayHook = std::move(hook); }
void onPresent(std::function<void()> hook) { w.presentHook = std::move(hook); }

bool windowOpen() { return w.open; }
void refuseWindow() { w.refuse = true; }
void setScreen(std::int32_t sw, std::int32_t sh) { w.scrW = sw; w.scrH = sh; }
void setBorders(std::int32_t side, std::int32_t bottom, std::int32_t title) {
    w.side = side;
    w.bottom = bottom;
    w.titleH = title;
}
void setClient(std::int32_t cw, std::int32_t ch) { w.cw = cw; w.ch = ch; }
std::int32_t clientW() { return w.cw; }
std::int32_t clientH() { return w.ch; }
Placement placement() { return w.place; }
int createCalls() { return w.creates; }
std::string title() { return w.title; }
std::uint32_t createColor() { return w.color; }
std::uint32_t createStyle() { return w.style; }

const Bitmap* bitmap(std::uint32_t h) {
    return h >= 1 && h <= w.bitmaps.size() ? &w.bitmaps[h - 1] : nullptr;
}
std::size_t bitmapCount() { return w.bitmaps.size(); }
const std::vector<Draw>& frame() { return w.frame; }
int presents() { return w.presents; }
const std::vector<std::int64_t>& presentTimes() { return w.presentTimes; }
int clears() { return w.clears; }
const std::vector<std::string>& sounds() { return w.sounds; }
void clearSounds() { w.sounds.clear(); }
const std::vector<std::string>& calls() { return w.calls; }

}  // namespace dbl

using dbl::w;
using dbl::call;

std::int32_t CreateWin39(std::int32_t cw, std::int32_t ch, std::uint32_t color, std::uint32_t,
                         std::uint32_t style) {
    call("CreateWin39");
    if (w.refuse) return 0;
    w.open = true;
    w.creates++;
    w.cw = cw;
    w.ch = ch;
    w.color = color;
    w.style = style;
    return 1;
}
void SetTitle51(const char* t) { call("SetTitle51", t); w.title = t ? t : ""; }
void SetSize55(std::int32_t cw, std::int32_t ch) {
    call("SetSize55");
    if (!w.open) return;
    w.cw = cw;
    w.ch = ch;
}
std::int32_t GetWidth56() { return w.cw; }
std::int32_t GetHeight57() { return w.ch; }
std::int32_t GetBorderWidth65() { return w.side; }
std::int32_t GetBorderHeight66() { return w.bottom; }
std::int32_t GetBorderTitle64() { return w.titleH; }
std::int32_t GetScrWidth59() { return w.scrW; }
std::int32_t GetScrHeight60() { return w.scrH; }
std::uint32_t GetHwnd75() { return 0x1234; }
bool MoveWindow(std::uint32_t, std::int32_t x, std::int32_t y, std::int32_t mw, std::int32_t mh, bool) {
    call("MoveWindow");
    w.place = dbl::Placement{x, y, mw, mh, w.place.moves + 1};
    return w.open;
}
bool IsWin47() {
    if (w.open && w.closeAtUs && w.us > w.closeAtUs) w.open = false;
    if (w.open && w.hook) w.hook();
    return w.open;
}
void CloseWin46() { call("CloseWin46"); w.open = false; }
void Clear164() {
    w.clears++;
    w.frame.clear();
}
void FreshWin45() {
    w.presents++;
    w.presentTimes.push_back(w.us);
    if (w.presentHook) w.presentHook();
}

std::uint32_t LoadBMP197(const char* path) {
    call("LoadBMP197", path);
    dbl::Bitmap b;
    b.path = path ? path : "";
    w.bitmaps.push_back(b);
    return static_cast<std::uint32_t>(w.bitmaps.size());
}
std::uint32_t CreateBMP192(std::int32_t bw, std::int32_t bh) {
    call("CreateBMP192");
    dbl::Bitmap b;
    b.w = bw;
    b.h = bh;
    w.bitmaps.push_back(b);
    return static_cast<std::uint32_t>(w.bitmaps.size());
}
void DrawBMP200(std::uint32_t src, std::uint32_t dst, std::int32_t sx, std::int32_t sy, std::int32_t,
                std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
    if (dst < 1 || dst > w.bitmaps.size()) return;
    dbl::Bitmap& d = w.bitmaps[dst - 1];
    d.src = src;
    d.sx = sx;
    d.sy = sy;
    d.copies++;
}
void DrawBMP214(std::uint32_t bmp, std::int32_t x, std::int32_t y, std::int32_t dw, std::int32_t dh) {
    w.frame.push_back(dbl::Draw{bmp, x, y, dw, dh});
}

bool IsNextMsg254() {
    w.taken = dbl::Event::Other;
    while (!w.script.empty() && w.script.front().at <= w.us) {
        dbl::Event e = w.script.front();
        w.script.pop_front();
        switch (e.kind) {
        case dbl::Event::Close:
            w.open = false;
            continue;
        case dbl::Event::Drag:
            w.cw = e.a;
            w.ch = e.b;
            continue;
        default:
            break;
        }
        w.taken = e.kind;
        if (e.kind == dbl::Event::Key) w.key = e.a;
        if (e.kind == dbl::Event::Left || e.kind == dbl::Event::Right) {
            w.mx = e.a;
            w.my = e.b;
        }
        return true;
    }
    return false;
}
bool IsMouseLeft270() { return w.taken == dbl::Event::Left; }
bool IsMouseRight274() { return w.taken == dbl::Event::Right; }
std::int32_t GetMousePosX290() { return w.mx; }
std::int32_t GetMousePosY291() { return w.my; }
bool IsKey261() { return w.taken == dbl::Event::Key; }
std::int32_t GetKey262() { return w.key; }
double GetTimeR49() { return dbl::now(); }
void Delay28(std::int32_t ms) {
    w.us += std::int64_t{ms} * 1000;
    if (w.delayHook) w.delayHook();
}

std::uint32_t LoadAudio292(const char* path) {
    call("LoadAudio292", path);
    w.clips.emplace_back(path ? path : "");
    return static_cast<std::uint32_t>(w.clips.size());
}
void SetAudioPos305(std::uint32_t clip, std::int32_t) {
    w.sounds.push_back(clip >= 1 && clip <= w.clips.size() ? w.clips[clip - 1] : "?");
}
