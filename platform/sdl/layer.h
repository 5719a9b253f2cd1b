// The SDL layer's one state, owned by layer.cpp, and what may be done to it as a whole: the
// window destroyed, everything shut down. The files of the display operations (window.cpp,
// input.cpp, frame.cpp, pictures.cpp, sounds.cpp) and the probes read and change it; the
// leaves it holds (bitmaps, clips, frame list, scale, clock) know nothing of it.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/sdl/bitmaps.h"
#include "platform/sdl/clips.h"
#include "platform/sdl/clock.h"
#include "platform/sdl/frame_list.h"
#include "platform/sdl/scale.h"
#include "platform/sdl/screen.h"

namespace disp_sdl {

// Bounds on the client size the layer accepts, in game pixels.
constexpr std::int32_t kMaxClientSide = 16384;

// What the last IsNextMsg254 took. Only presses are kept; everything else leaves kNone.
enum class Message { kNone, kLeft, kRight, kKey };

struct Layer {
  // The open window, null while none is open, and where its frames show (open with it).
  SDL_Window* window = nullptr;
  Screen screen;
  bool videoUp = false;
  // DRAVEL2_TRACE asked for a line on stderr at every press taken and frame shown.
  bool trace = false;

  // The client size the game last set, in game pixels, and the window size in window units
  // that the layer asked for it; 0 before the first.
  std::int32_t gameW = 0, gameH = 0;
  int setW = 0, setH = 0;
  // The room on the screen changed since: the game is to size its window afresh.
  bool refit = false;
  Scale scale;
  // While the window is maximized the board shows at the largest whole scale that fits it,
  // centred, its top-left corner at (boardX, boardY) window units (0, 0 otherwise); the scale
  // wanted before is wanted again when the window is restored.
  bool maximized = false;
  int boardX = 0, boardY = 0;
  int wantedBeforeMaximized = 1;

  Message message = Message::kNone;
  std::int32_t mouseX = 0, mouseY = 0, key = 0;
  Clock clock;

  Bitmaps bitmaps;
  Clips clips;
  // The clips the game asked for before the audio device opened, by handle and file: read and
  // decoded when it opens, so that the first frame never waits for them.
  std::vector<std::pair<std::uint32_t, std::string>> unreadClips;
  // The game's files already said to be refused: each is said once.
  std::set<std::string> refusedFiles;
  FrameList frame;
  // When the first FreshWin45 since the window opened put the first frame on the screen, by
  // the game's clock; negative before it.
  double firstFrameAt = -1;
};

// The one state.
Layer& TheLayer();

// Makes ShutDown run when the process exits, so that the game, which never releases its
// bitmaps, clips and window, still leaves nothing behind. Cheap to call again.
void ShutDownAtExit();
// Destroys the window and its screen if open, and stops video; IsWin47 is false after.
void DestroyWindow();
// Releases everything the layer holds and quits SDL; the layer can start afresh after it.
void ShutDown();
// The room on the screen changed (a browser's page resized, a phone turned): the next turn of
// the game's loop sizes the window afresh, at the desktop's scale again.
void RoomChanged();
// The next FreshWin45 draws and shows its frame even if it is the one on the screen.
void RedrawFrame();
// Follows the window into and out of its maximized state, and fits the board to it while it is
// maximized (maximize.cpp).
void FollowMaximized();
// Reads and decodes the clips still unread, and names the files refused (sounds.cpp).
void ReadClips();
// Holds the game's clock while the window cannot be seen (minimized, the page hidden), and
// lets it go on when it can again.
void HoldClock(bool hold);

}  // namespace disp_sdl
