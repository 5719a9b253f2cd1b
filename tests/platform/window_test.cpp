// Tests of the SDL layer's window: size and placement, painting, closing, input, trace, clock.
#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "platform/disp.h"
#include "platform/disp_probe.h"
#include "test_files.h"

namespace {

using disptest::WhereColour;

constexpr std::uint32_t kGrey = 0xAFAFAF;

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  bool had_;
  std::string old_;
};

class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override { DispShutdown(); }

  // Opens the window the way the game does and takes whatever SDL queued while opening it.
  void Open() {
    CreateWin39(200, 200, kGrey, kGrey, 0x10CC0000);
    ASSERT_TRUE(IsWin47());
    for (int i = 0; i < 1000 && IsNextMsg254(); ++i) ASSERT_FALSE(IsPress()) << "start-up press";
  }
  static bool IsPress() { return IsMouseLeft270() || IsMouseRight274() || IsKey261(); }
  std::uint32_t Frame(int x, int y) {
    std::uint32_t rgb = 0xDEADBEEF;
    EXPECT_TRUE(DispFramePixel(x, y, &rgb)) << x << "," << y;
    return rgb;
  }
  // The key code the layer delivers for one key press, or -1 if it delivers no key press.
  std::int32_t KeyFor(int scancode, int keycode, bool repeat = false) {
    EXPECT_TRUE(DispPushKey(scancode, keycode, repeat));
    if (!IsNextMsg254() || !IsKey261() || IsMouseLeft270() || IsMouseRight274()) return -1;
    return GetKey262();
  }

  static std::uint32_t Load(const std::string& path) { return LoadBMP197(path.c_str()); }

  disptest::ScratchDir dir_;
};

TEST_F(WindowTest, OpensSizesAndPlacesTheWindow) {
  Open();
  EXPECT_EQ(GetWidth56(), 200);
  EXPECT_EQ(GetHeight57(), 200);
  SetTitle51("Dravel2 by Quonse");
  SetSize55(192, 344);
  EXPECT_EQ(GetWidth56(), 192);
  EXPECT_EQ(GetHeight57(), 344);
  // The dummy driver has no frame.
  EXPECT_EQ(GetBorderWidth65(), 0);
  EXPECT_EQ(GetBorderHeight66(), 0);
  EXPECT_EQ(GetBorderTitle64(), 0);
  const int screenW = GetScrWidth59(), screenH = GetScrHeight60();
  ASSERT_GT(screenW, 192);
  ASSERT_GT(screenH, 344);
  const std::uint32_t hwnd = GetHwnd75();
  ASSERT_NE(hwnd, 0u);

  const auto at = [](int x, int y) { return std::make_pair(x, y); };
  std::int32_t x = 0, y = 0;
  EXPECT_TRUE(MoveWindow(hwnd, 10, 20, 192, 344, true));
  ASSERT_TRUE(DispWindowPosition(&x, &y));
  EXPECT_EQ(at(x, y), at(10, 20));
  // The game's centring goes negative when the board is taller than the screen.
  EXPECT_TRUE(MoveWindow(hwnd, -40, -300, 192, 344, true));
  ASSERT_TRUE(DispWindowPosition(&x, &y));
  EXPECT_EQ(at(x, y), at(0, 0));
  EXPECT_TRUE(MoveWindow(hwnd, screenW + 50, screenH - 100, 192, 344, true));
  ASSERT_TRUE(DispWindowPosition(&x, &y));
  EXPECT_EQ(at(x, y), at(screenW - 192, screenH - 344));
  EXPECT_TRUE(MoveWindow(hwnd, -10, -10, screenW + 300, screenH + 300, true));
  ASSERT_TRUE(DispWindowPosition(&x, &y));
  EXPECT_EQ(at(x, y), at(0, 0));
  EXPECT_FALSE(MoveWindow(hwnd + 1, 10, 20, 192, 344, true));
  EXPECT_EQ(GetWidth56(), 192);
  EXPECT_EQ(GetHeight57(), 344);
}

TEST_F(WindowTest, PaintsBitmapsUnscaledOnTheBackground) {
  Open();
  const std::uint32_t digit =
      Load(dir_.Write("digit.bmp", disptest::BmpFile(13, 23, 24, WhereColour)));
  const std::uint32_t sprite = CreateBMP192(13, 23);
  DrawBMP200(digit, sprite, 0, 0, 13, 23, 0, 0, 13, 23);

  Clear164();
  DrawBMP214(sprite, 5, 7, 13, 24);
  DrawBMP214(sprite, 100, 100, 4, 3);  // a box smaller than the bitmap cuts it
  DrawBMP214(sprite, -6, 190, 13, 24);  // partly outside the window
  FreshWin45();
  EXPECT_EQ(Frame(5, 7), WhereColour(0, 0));
  EXPECT_EQ(Frame(17, 29), WhereColour(12, 22));
  EXPECT_EQ(Frame(11, 30), kGrey);  // the box's 24th row is background
  EXPECT_EQ(Frame(4, 7), kGrey);
  EXPECT_EQ(Frame(18, 7), kGrey);
  EXPECT_EQ(Frame(103, 102), WhereColour(3, 2));
  EXPECT_EQ(Frame(104, 100), kGrey);
  EXPECT_EQ(Frame(100, 103), kGrey);
  EXPECT_EQ(Frame(0, 199), WhereColour(6, 9));

  // A bitmap changed after it was drawn shows its new pixels in the next frame.
  DrawBMP200(digit, sprite, 0, 10, 13, 13, 0, 0, 13, 13);
  Clear164();
  DrawBMP214(sprite, 5, 7, 13, 24);
  FreshWin45();
  EXPECT_EQ(Frame(5, 7), WhereColour(0, 10));
  EXPECT_EQ(Frame(103, 102), kGrey);

  // After a resize the whole new client area is painted.
  SetSize55(300, 250);
  Clear164();
  DrawBMP214(sprite, 287, 226, 13, 24);
  FreshWin45();
  EXPECT_EQ(Frame(299, 248), WhereColour(12, 22));
  EXPECT_EQ(Frame(250, 10), kGrey);
}

TEST_F(WindowTest, ClosingEndsTheWindowAndLaterCallsAreHarmless) {
  Open();
  const std::uint32_t red = CreateBMP192(2, 2);
  const std::uint32_t hwnd = GetHwnd75();
  CloseWin46();
  EXPECT_FALSE(IsWin47());
  // What the game's loop may still do after Esc, before its next IsWin47 test.
  Clear164();
  DrawBMP214(red, 0, 0, 2, 2);
  FreshWin45();
  SetSize55(192, 344);
  SetTitle51("x");
  EXPECT_EQ(GetWidth56(), 0);
  EXPECT_EQ(GetHeight57(), 0);
  GetBorderWidth65();
  GetBorderHeight66();
  GetBorderTitle64();
  GetScrWidth59();
  GetScrHeight60();
  EXPECT_FALSE(MoveWindow(hwnd, 0, 0, 10, 10, true));
  EXPECT_FALSE(IsNextMsg254());
  EXPECT_FALSE(IsPress());
  std::uint32_t rgb = 0;
  EXPECT_FALSE(DispFramePixel(0, 0, &rgb));
  CloseWin46();
  EXPECT_FALSE(IsWin47());

  // Bitmaps outlive the window and draw on the next one.
  const std::uint32_t where =
      Load(dir_.Write("w.bmp", disptest::BmpFile(4, 4, 24, WhereColour)));
  Open();
  Clear164();
  DrawBMP214(where, 0, 0, 4, 4);
  DrawBMP214(red, 10, 10, 2, 2);
  FreshWin45();
  EXPECT_EQ(Frame(3, 3), WhereColour(3, 3));
  EXPECT_EQ(Frame(11, 11), 0x000000u);
}

TEST_F(WindowTest, KeysArriveAsWindowsKeyCodes) {
  Open();
  const std::pair<int, int> keys[] = {
      {SDL_SCANCODE_ESCAPE, 27},  {SDL_SCANCODE_SPACE, 32},   {SDL_SCANCODE_PAGEUP, 33},
      {SDL_SCANCODE_PAGEDOWN, 34}, {SDL_SCANCODE_LEFT, 37},    {SDL_SCANCODE_UP, 38},
      {SDL_SCANCODE_RIGHT, 39},   {SDL_SCANCODE_DOWN, 40},    {SDL_SCANCODE_0, 48},
      {SDL_SCANCODE_1, 49},       {SDL_SCANCODE_2, 50},       {SDL_SCANCODE_3, 51},
      {SDL_SCANCODE_8, 56},       {SDL_SCANCODE_9, 57},       {SDL_SCANCODE_A, 65},
      {SDL_SCANCODE_D, 68},       {SDL_SCANCODE_F, 70},       {SDL_SCANCODE_P, 80},
      {SDL_SCANCODE_S, 83},       {SDL_SCANCODE_Z, 90},       {SDL_SCANCODE_KP_PLUS, 107},
      {SDL_SCANCODE_KP_MINUS, 109}, {SDL_SCANCODE_RETURN, 13}, {SDL_SCANCODE_TAB, 9},
      {SDL_SCANCODE_BACKSPACE, 8}, {SDL_SCANCODE_F1, 112},    {SDL_SCANCODE_F12, 123},
      {SDL_SCANCODE_KP_0, 96},    {SDL_SCANCODE_KP_9, 105},   {SDL_SCANCODE_MINUS, 189},
      {SDL_SCANCODE_APPLICATION, 0}, {SDL_SCANCODE_MUTE, 0},
  };
  for (const auto& [scancode, code] : keys) EXPECT_EQ(KeyFor(scancode, 0), code) << scancode;

  // Other layouts: digits by position even where they need Shift (AZERTY '&' on 1), letters
  // by what the key says (AZERTY 'a' on the Q position), by position where the layout has
  // no Latin letters (Cyrillic 'в' on D).
  EXPECT_EQ(KeyFor(SDL_SCANCODE_1, '&'), 49);
  EXPECT_EQ(KeyFor(SDL_SCANCODE_Q, 'a'), 65);
  EXPECT_EQ(KeyFor(SDL_SCANCODE_M, ','), 188);
  EXPECT_EQ(KeyFor(SDL_SCANCODE_D, 0x432), 68);
  // Holding a key down repeats it.
  EXPECT_EQ(KeyFor(SDL_SCANCODE_0, 0, true), 48);
  EXPECT_EQ(KeyFor(SDL_SCANCODE_0, 0, true), 48);
}

TEST_F(WindowTest, EachTakeDeliversAtMostOnePressWithItsPosition) {
  Open();
  ASSERT_TRUE(DispPushMotion(3, 4));
  ASSERT_TRUE(DispPushButton(1, true, 10, 20));
  ASSERT_TRUE(DispPushMotion(5, 6));
  ASSERT_TRUE(DispPushButton(3, true, 30, 40));
  ASSERT_TRUE(DispPushButton(3, false, 31, 41));
  ASSERT_TRUE(DispPushButton(2, true, 50, 60));
  ASSERT_TRUE(DispPushKey(SDL_SCANCODE_P, 0, false));
  ASSERT_TRUE(DispPushButton(1, true, 70, 80));

  ASSERT_TRUE(IsNextMsg254());
  EXPECT_TRUE(IsMouseLeft270());
  EXPECT_FALSE(IsMouseRight274());
  EXPECT_FALSE(IsKey261());
  EXPECT_EQ(std::make_pair(GetMousePosX290(), GetMousePosY291()), std::make_pair(10, 20));

  ASSERT_TRUE(IsNextMsg254());
  EXPECT_FALSE(IsMouseLeft270());
  EXPECT_TRUE(IsMouseRight274());
  EXPECT_FALSE(IsKey261());
  EXPECT_EQ(std::make_pair(GetMousePosX290(), GetMousePosY291()), std::make_pair(30, 40));

  // The release and the middle button are no presses of the game's.
  ASSERT_TRUE(IsNextMsg254());
  EXPECT_FALSE(IsMouseLeft270());
  EXPECT_FALSE(IsMouseRight274());
  EXPECT_TRUE(IsKey261());
  EXPECT_EQ(GetKey262(), 80);

  ASSERT_TRUE(IsNextMsg254());
  EXPECT_TRUE(IsMouseLeft270());
  EXPECT_EQ(std::make_pair(GetMousePosX290(), GetMousePosY291()), std::make_pair(70, 80));

  EXPECT_FALSE(IsNextMsg254());
  EXPECT_FALSE(IsPress());

  // Events that are no press are still taken, and leave every press flag down.
  ASSERT_TRUE(DispPushMotion(7, 8));
  EXPECT_TRUE(IsNextMsg254());
  EXPECT_FALSE(IsPress());
  EXPECT_FALSE(IsNextMsg254());
}

TEST_F(WindowTest, CloseThroughTheFrameOrAQuitEndsTheWindow) {
  Open();
  ASSERT_TRUE(DispPushCloseRequest());
  ASSERT_TRUE(DispPushKey(SDL_SCANCODE_SPACE, 0, false));
  EXPECT_TRUE(IsNextMsg254());
  EXPECT_FALSE(IsPress());
  EXPECT_FALSE(IsWin47());
  EXPECT_FALSE(IsNextMsg254());  // what was queued behind the close went with the window

  Open();
  ASSERT_TRUE(DispPushQuit());
  EXPECT_TRUE(IsNextMsg254());
  EXPECT_FALSE(IsWin47());
  Clear164();
  FreshWin45();
}

TEST_F(WindowTest, TraceWritesPressesAndFrames) {
  {
    ScopedEnv trace("DRAVEL2_TRACE", nullptr);
    Open();
    testing::internal::CaptureStderr();
    ASSERT_TRUE(DispPushButton(1, true, 1, 1));
    ASSERT_TRUE(IsNextMsg254());
    FreshWin45();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  }
  ScopedEnv trace("DRAVEL2_TRACE", "1");
  Open();
  testing::internal::CaptureStderr();
  ASSERT_TRUE(DispPushButton(1, true, 1, 1));
  ASSERT_TRUE(DispPushButton(3, true, 2, 2));
  ASSERT_TRUE(DispPushKey(SDL_SCANCODE_A, 0, false));
  while (IsNextMsg254()) {
  }
  FreshWin45();
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(testing::internal::RE::FullMatch(
      log, testing::internal::RE("press [0-9]+\\.[0-9]+\npress [0-9]+\\.[0-9]+\nframe [0-9]+\\.[0-9]+\n")))
      << log;
}

TEST_F(WindowTest, NoDisplayGivesOneLineAndNoWindow) {
  {
    ScopedEnv driver("SDL_VIDEODRIVER", nullptr);
    ScopedEnv x11("DISPLAY", nullptr);
    ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    testing::internal::CaptureStderr();
    CreateWin39(200, 200, kGrey, kGrey, 0x10CC0000);
    // The game loads its clips all the same; without a window no audio device is opened.
    const std::uint32_t clip = LoadAudio292(dir_.Write("a.wav", disptest::WavFile(100)).c_str());
    const std::string said = testing::internal::GetCapturedStderr();
    if (IsWin47()) GTEST_SKIP() << "this machine has a display without X11 or Wayland";
    EXPECT_FALSE(DispClipLoaded(clip));
    EXPECT_EQ(std::string(DispAudioDriver()), "");
    const std::string start = "dravel2: cannot open a window: ";
    EXPECT_EQ(said.rfind(start, 0), 0u) << said;
    EXPECT_GT(said.size(), start.size() + 1) << "no reason given";
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_FALSE(IsNextMsg254());
    EXPECT_EQ(GetWidth56(), 0);
  }
  // A driver named again in the environment is used at the next try.
  Open();
}

TEST(ClockTest, ClockNeverGoesBackAndTicksFinely) {
  double last = GetTimeR49();
  double finest = 1.0;
  for (int i = 0; i < 1000000 && finest >= 0.001; ++i) {
    const double now = GetTimeR49();
    ASSERT_GE(now, last);
    if (now > last) finest = std::min(finest, now - last);
    last = now;
  }
  EXPECT_LT(finest, 0.001);
}

}  // namespace
