// The window's scale: how many pixels of the screen, each way, show one pixel of the game, and
// the conversions between game pixels and window units.
#pragma once
#include <cstdint>

namespace disp_sdl {

// The largest scale: every game pixel at most kMaxScale x kMaxScale pixels of the screen.
constexpr int kMaxScale = 8;

// A scale written out (an option's value, DRAVEL2_SCALE, GDK_SCALE): a whole number from 1 to
// kMaxScale in digits alone; 0 for anything else, null and "" included.
int ScaleValue(const char* text);
// A desktop's scale for its dots an inch: 96 is 1, 192 is 2, the nearest whole number with
// halves up, within 1 to kMaxScale.
int ScaleFromDpi(double dpi);
// The largest scale from 1 to `wanted` at which w x h game pixels fit in room pixels; 1 when
// none does.
int FittingScale(int wanted, std::int64_t w, std::int64_t h, std::int64_t roomW,
                 std::int64_t roomH);

// Every game pixel shows as Now() x Now() pixels, and a window unit (what SDL sizes windows
// and reports positions in) is PixelsPerUnit() pixels.
class Scale {
 public:
  // The scale the player asked for on the command line (1 to kMaxScale); it wins over the
  // environment and the desktop's setting.
  void Choose(int n);
  // For a window just opened, ratio pixels a window unit: the scale wanted becomes the command
  // line's, else DRAVEL2_SCALE's, else the desktop's; the scale in effect is 1 until sized.
  void Start(int ratio, int desktop);
  int Now() const { return scale_; }
  int PixelsPerUnit() const { return ratio_; }
  void Set(int n);
  // The scale the player wants, and a new one from a drag of the frame.
  int Wanted() const { return wanted_; }
  void ZoomTo(int n);
  // Game pixels to window units, and window units to game pixels (rounded down).
  std::int64_t UnitsFromGame(std::int64_t v) const;
  std::int32_t GameFromUnits(std::int64_t v) const;

 private:
  int chosen_ = 0;  // from the command line; 0 when it named none
  int wanted_ = 1;  // the player's scale: chosen when the window opens, changed by a drag
  int scale_ = 1;   // in effect: wanted_, or less where the client would not fit the screen
  int ratio_ = 1;   // pixels of one window unit: 2 on a doubled Wayland output, else 1
};

}  // namespace disp_sdl
