// The floor: a bare SDL2 program doing only what Dravel2's loop must do, for comparison.
// Usage: floor COLUMNS ROWS. A window of COLUMNS x 16 by ROWS x 16 + 24 pixels, on the same
// renderer hints as the game's layer (software renderer, no framebuffer acceleration, batching
// on). Every turn it takes at most one event and sleeps 1 ms; 15 times a second, and after every
// button press, it clears and draws one 16 x 16 sprite per cell and presents. With DRAVEL2_TRACE
// set it writes "press <t>" and "frame <t>" lines to stderr as the game does. With
// DRAVEL2_FLOOR_AUDIO set it also opens the audio device as the game's layer does (22.05 kHz
// mono, 256 frames, playing silence), or goes on without one. Esc or closing the window ends it.
#include <SDL.h>
#include <stdio.h>
#include <stdlib.h>

static double g_origin;
static double g_perCount;

static double Now(void) {
  return (double)SDL_GetPerformanceCounter() * g_perCount - g_origin;
}

static void Silence(void* unused, Uint8* out, int bytes) {
  (void)unused;
  SDL_memset(out, 0, bytes);
}

static void Paint(SDL_Renderer* r, SDL_Texture* tile, int cols, int rows, int trace) {
  SDL_RenderClear(r);
  SDL_Rect to = {0, 0, 16, 16};
  for (int x = 0; x < cols; x++)
    for (int y = 0; y < rows; y++) {
      to.x = x * 16;
      to.y = 24 + y * 16;
      SDL_RenderCopy(r, tile, NULL, &to);
    }
  SDL_RenderPresent(r);
  if (trace) fprintf(stderr, "frame %.6f\n", Now());
}

int main(int argc, char** argv) {
  const int cols = argc > 1 ? atoi(argv[1]) : 12;
  const int rows = argc > 2 ? atoi(argv[2]) : 20;
  const int trace = getenv("DRAVEL2_TRACE") != NULL;
  g_perCount = 1.0 / (double)SDL_GetPerformanceFrequency();
  g_origin = (double)SDL_GetPerformanceCounter() * g_perCount;
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    fprintf(stderr, "floor: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* w = SDL_CreateWindow("Dravel2 floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   cols * 16, rows * 16 + 24, 0);
  SDL_Renderer* r = w ? SDL_CreateRenderer(w, -1, 0) : NULL;
  if (!r) {
    fprintf(stderr, "floor: %s\n", SDL_GetError());
    return 1;
  }
  if (getenv("DRAVEL2_FLOOR_AUDIO") && SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    SDL_AudioSpec want = {.freq = 22050, .format = AUDIO_S16SYS, .channels = 1, .samples = 256,
                          .callback = Silence};
    const SDL_AudioDeviceID dev = SDL_OpenAudioDevice(NULL, 0, &want, NULL, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE |
                                                      SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (dev) SDL_PauseAudioDevice(dev, 0);
  }
  SDL_SetRenderDrawColor(r, 0xAF, 0xAF, 0xAF, 255);
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 16, 16, 32, SDL_PIXELFORMAT_RGB888);
  SDL_FillRect(s, NULL, 0x808080);
  SDL_Rect inner = {1, 1, 14, 14};
  SDL_FillRect(s, &inner, 0xC0C0C0);
  SDL_Texture* tile = SDL_CreateTextureFromSurface(r, s);
  SDL_FreeSurface(s);

  const double step = 1.0 / 15;
  double paintRef = Now();
  Paint(r, tile, cols, rows, trace);
  for (;;) {
    SDL_Event e;
    if (SDL_PollEvent(&e)) {
      if (e.type == SDL_QUIT) {
        if (trace) fprintf(stderr, "quit\n");
        break;
      }
      if (e.type == SDL_KEYDOWN && e.key.keysym.scancode == SDL_SCANCODE_ESCAPE) {
        if (trace) fprintf(stderr, "escape\n");
        break;
      }
      if (e.type == SDL_MOUSEBUTTONDOWN) {
        if (trace) fprintf(stderr, "press %.6f\n", Now());
        Paint(r, tile, cols, rows, trace);
      }
    }
    if (Now() > paintRef + step) {
      while (Now() > paintRef + step) paintRef += step;
      Paint(r, tile, cols, rows, trace);
    }
    SDL_Delay(1);
  }
  SDL_DestroyTexture(tile);
  SDL_DestroyRenderer(r);
  SDL_DestroyWindow(w);
  SDL_Quit();
  return 0;
}
