// The whole game on the real SDL layer (dummy drivers) with broken sheets and clips in its
// folder: it must start, play and exit 0, painting the placeholder where a sheet is bad and
// staying silent where a clip is bad, while the good files beside them work as usual.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "../platform/test_files.h"
#include "platform/disp.h"
#include "platform/disp_probe.h"
#include "ui/game.h"
#include "ui/mainwindow.h"

namespace {

using disptest::Bytes;
namespace fs = std::filesystem;

// USB usage codes, which are SDL's scancodes.
constexpr std::int32_t kScanD = 7, kScanEscape = 41, kScanSpace = 44;

const char* const kSheets[] = {"face.bmp", "icon.bmp", "numb.bmp"};
const char* const kClips[] = {"Win.wav",  "Lose.wav", "Error.wav", "Left.wav",
                              "Right.wav", "Flag.wav", "New.wav",   "Solve.wav"};

Bytes ReadAsset(const std::string& relative) {
  std::ifstream in(std::string(DRAVEL_ASSETS_DIR) + "/" + relative, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What replaces a good file: bytes, or something that is not a readable file at all.
struct Hostile {
  enum Kind { kBytes, kMissing, kDirectory, kFifo, kLinkToZero, kLinkToItself } kind;
  Bytes bytes;
};
Hostile Of(Bytes b) { return {Hostile::kBytes, std::move(b)}; }

// What a sheet's sprites must look like in the frame.
enum class Look {
  kPlaceholder,  // the layer refused the file: every pixel is the placeholder
  kGood,         // the file is the committed one in all that matters
  kTiny,         // the 8 x 8 sheet of TinySheet: its pixels where it has them, else placeholder
  kAny,          // a file SDL reads as some other picture: only the game's survival counts
};
constexpr std::uint32_t kTinyColour = 0x123456;
Bytes TinySheet() { return disptest::BmpFile(8, 8, 24, [](int, int) { return kTinyColour; }); }

// A sprite as the game paints it: cut from a sheet at sheetY, drawn at (x, y) in the frame.
struct Sprite {
  int sheet;  // index in kSheets
  std::int32_t sheetY, x, y, w, h;
};
// At the first frame of a fresh 12 x 20 board: the play face, a covered cell in the bottom row
// (cell 5, 19), and the leading blank of the score.
constexpr Sprite kSprites[] = {{0, 96, 84, 0, 24, 24}, {1, 0, 80, 24 + 19 * 16, 16, 16},
                               {2, 23, 0, 0, 13, 23}};

using Pixels = std::vector<std::uint32_t>;

// What one run of the game saw, gathered from inside its loop by the frame hook.
struct Seen {
  int frames = 0;
  Pixels sprites[3];
  bool cellOpened = false;
  bool looped = false;  // a frame came from the game's loop
  std::map<std::string, bool> clipLoaded;
  bool badClipSounded = false;
  std::vector<std::string> badClips;
};

void OnFrame(void* context) {
  Seen& run = *static_cast<Seen*>(context);
  if (++run.frames == 1) {
    for (int s = 0; s < 3; ++s) {
      const Sprite& sp = kSprites[s];
      for (std::int32_t y = 0; y < sp.h; ++y)
        for (std::int32_t x = 0; x < sp.w; ++x) {
          std::uint32_t rgb = 0xDEADBEEF;
          DispFramePixel(sp.x + x, sp.y + y, &rgb);
          run.sprites[s].push_back(rgb);
        }
    }
    // A turn of play, taken one message a turn: open cell (5, 15), mark cell (11, 8), one
    // solver pass, the solver to its end, then Esc.
    DispPushButton(1, true, 5 * 16 + 8, 24 + 15 * 16 + 8);
    DispPushButton(1, false, 5 * 16 + 8, 24 + 15 * 16 + 8);
    DispPushButton(3, true, 11 * 16 + 8, 24 + 8 * 16 + 8);
    DispPushKey(kScanSpace, 0, false);
    DispPushKey(kScanD, 0, false);
    DispPushKey(kScanEscape, 0, false);
  }
  // Inside the window's constructor the game is not running yet.
  const MainWindow* g = runningGame();
  if (!g) return;
  run.cellOpened = run.cellOpened || g->open[5][15];
  const std::pair<const char*, std::uint32_t> handles[] = {
      {"Win.wav", g->sndwin},     {"Lose.wav", g->sndlose}, {"Error.wav", g->snderror},
      {"Left.wav", g->sndleft},   {"Right.wav", g->sndright}, {"Flag.wav", g->sndflag},
      {"New.wav", g->sndnew},     {"Solve.wav", g->sndsolve}};
  for (const auto& [name, handle] : handles) {
    run.clipLoaded[name] = DispClipLoaded(handle);
    for (const std::string& bad : run.badClips)
      if (bad == name && DispClipPlaying(handle)) run.badClipSounded = true;
  }
  run.looped = true;
}

class HostileAssetsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The sprites of the committed sheets, as the layer reads them.
    for (int s = 0; s < 3; ++s) {
      const std::string path = std::string(DRAVEL_ASSETS_DIR) + "/bmp/" + kSheets[s];
      const std::uint32_t sheet = LoadBMP197(path.c_str());
      const Sprite& sp = kSprites[s];
      good_[s].clear();
      for (std::int32_t y = 0; y < sp.h; ++y)
        for (std::int32_t x = 0; x < sp.w; ++x) {
          std::uint32_t rgb = 0;
          EXPECT_TRUE(DispBitmapPixel(sheet, x, sp.sheetY + y, &rgb)) << kSheets[s];
          good_[s].push_back(rgb);
        }
    }
    DispShutdown();
  }
  void TearDown() override { DispOnPresent(nullptr, nullptr); }

  static Pixels Expected(int s, Look look) {
    const Sprite& sp = kSprites[s];
    Pixels p;
    for (std::int32_t y = 0; y < sp.h; ++y)
      for (std::int32_t x = 0; x < sp.w; ++x) {
        const std::int32_t fy = sp.sheetY + y;
        if (look == Look::kGood)
          p.push_back(good_[s][y * sp.w + x]);
        else if (look == Look::kTiny && x < 8 && fy < 8)
          p.push_back(kTinyColour);
        else
          p.push_back(DispPlaceholderPixel(x, fy));
      }
    return p;
  }

  // Lays out a game folder (bmp/ and wav/ with the committed files, then the replacements),
  // runs the whole game in it with the frame hook and returns what it saw; status is
  // runGame's.
  Seen Play(const std::map<std::string, Hostile>& replaced, int* status, bool noFolders = false) {
    disptest::ScratchDir dir;
    const fs::path root = dir.Path("game");
    Seen run;
    if (noFolders) {
      for (const char* c : kClips) run.badClips.push_back(c);
    } else {
      fs::create_directories(root / "bmp");
      fs::create_directories(root / "wav");
      const fs::path assets = DRAVEL_ASSETS_DIR;
      for (const char* s : kSheets) fs::copy_file(assets / "bmp" / s, root / "bmp" / s);
      for (const char* c : kClips) fs::copy_file(assets / "wav" / c, root / "wav" / c);
    }
    for (const auto& [name, hostile] : replaced) {
      const fs::path file = root / (name.find(".bmp") != std::string::npos ? "bmp" : "wav") / name;
      fs::remove(file);
      switch (hostile.kind) {
        case Hostile::kBytes: {
          std::ofstream out(file, std::ios::binary);
          out.write(reinterpret_cast<const char*>(hostile.bytes.data()),
                    static_cast<std::streamsize>(hostile.bytes.size()));
          break;
        }
        case Hostile::kMissing: break;
        case Hostile::kDirectory: fs::create_directory(file); break;
        case Hostile::kFifo: EXPECT_EQ(mkfifo(file.c_str(), 0600), 0); break;
        case Hostile::kLinkToZero: fs::create_symlink("/dev/zero", file); break;
        case Hostile::kLinkToItself: fs::create_symlink(file.filename(), file); break;
      }
      if (name.find(".wav") != std::string::npos) run.badClips.push_back(name);
    }
    fs::create_directories(root);
    const fs::path home = fs::current_path();
    fs::current_path(root);
    DispOnPresent(OnFrame, &run);
    *status = runGame();
    DispOnPresent(nullptr, nullptr);
    fs::current_path(home);
    DispShutdown();
    return run;
  }

  // The checks every run shares: exit 0, a turn of play, each sprite as it should look, the
  // good clips loaded and the bad ones silent.
  // badClipsSilent: false where SDL may still make some sound of the bad clips.
  void ExpectPlayed(const Seen& run, int status, const Look (&looks)[3],
                    bool badClipsSilent = true) {
    EXPECT_EQ(status, 0);
    EXPECT_GE(run.frames, 4);
    EXPECT_TRUE(run.cellOpened) << "the click did not open its cell";
    ASSERT_TRUE(run.looped);
    for (int s = 0; s < 3; ++s) {
      if (looks[s] == Look::kAny) continue;
      const Pixels want = Expected(s, looks[s]);
      const Sprite& sp = kSprites[s];
      const auto differ = std::mismatch(want.begin(), want.end(), run.sprites[s].begin(),
                                        run.sprites[s].end());
      if (differ.first == want.end()) continue;
      const std::ptrdiff_t at = differ.first - want.begin();
      ADD_FAILURE() << kSheets[s] << ": sprite pixel (" << at % sp.w << ", " << at / sp.w
                    << ") of the frame is " << std::hex << *differ.second << ", not "
                    << *differ.first;
    }
    for (const char* c : kClips) {
      const bool bad = std::find(run.badClips.begin(), run.badClips.end(), c) != run.badClips.end();
      if (!bad) {
        EXPECT_TRUE(run.clipLoaded.at(c)) << c;
      }
    }
    if (!badClipsSilent) return;
    EXPECT_FALSE(run.badClipSounded);
    for (const std::string& c : run.badClips) EXPECT_FALSE(run.clipLoaded.at(c)) << c;
  }

  static Pixels good_[3];
};

Pixels HostileAssetsTest::good_[3];

// Makers of a hostile file from the good one.
using Maker = std::function<Hostile(const Bytes&)>;
Maker Always(Hostile::Kind kind) {
  return [kind](const Bytes&) { return Hostile{kind, {}}; };
}
Maker Instead(Bytes bytes) {
  return [bytes](const Bytes&) { return Of(bytes); };
}
// The good file with the 32-bit (or, narrow, 16-bit) field at `at` set to v.
Maker Field(std::size_t at, std::uint32_t v, bool narrow = false) {
  return [=](const Bytes& good) {
    Bytes b = good;
    narrow ? disptest::Put16(&b, at, v) : disptest::Put32(&b, at, v);
    return Of(std::move(b));
  };
}
Maker Field16(std::size_t at, std::uint32_t v) { return Field(at, v, true); }
// The good file's first n bytes.
Maker CutAt(std::size_t n) {
  return [n](const Bytes& good) { return Of(Bytes(good.begin(), good.begin() + n)); };
}
// Kinds of file that are no file at all, for sheets and clips alike.
const std::pair<const char*, Hostile::Kind> kNoFiles[] = {
    {"missing", Hostile::kMissing},           {"a directory", Hostile::kDirectory},
    {"a named pipe", Hostile::kFifo},         {"a link to /dev/zero", Hostile::kLinkToZero},
    {"a link to itself", Hostile::kLinkToItself}};

struct SheetCase {
  std::string name;
  Maker make;
  Look look;
};

std::vector<SheetCase> SheetCases() {
  using namespace disptest;  // the header's field offsets
  const Look P = Look::kPlaceholder;
  std::vector<SheetCase> cases{
      {"empty", Instead({}), P},
      {"a clip", Instead(ReadAsset("wav/Left.wav")), P},
      {"width 0", Field(kBmpWidth, 0), P},
      {"height 0", Field(kBmpHeight, 0), P},
      {"negative width", Field(kBmpWidth, -24u), P},
      {"height -100000", Field(kBmpHeight, -100000u), P},
      {"height INT_MIN", Field(kBmpHeight, 0x80000000u), P},
      {"100000 x 100000", [](const Bytes& b) {
         return Field(kBmpHeight, 100000)(Field(kBmpWidth, 100000)(b).bytes);
       }, P},
      {"0 bits", Field16(kBmpBits, 0), P},
      {"7 bits", Field16(kBmpBits, 7), P},
      {"32 bits on 24-bit rows", Field16(kBmpBits, 32), P},
      {"64 bits", Field16(kBmpBits, 64), P},
      // Fewer bits a pixel than the file holds: SDL reads some other picture from the same bytes.
      {"16 bits on 24-bit rows", Field16(kBmpBits, 16), Look::kAny},
      {"8 bits without a palette", Field16(kBmpBits, 8), Look::kAny},
      {"2 planes", Field16(kBmpPlanes, 2), P},
      {"RLE8 at 24 bits", Field(kBmpCompression, 1), P},
      {"RLE4 at 24 bits", Field(kBmpCompression, 2), P},
      {"bit fields at 24 bits", Field(kBmpCompression, 3), P},
      {"JPEG inside", Field(kBmpCompression, 4), P},
      {"PNG inside", Field(kBmpCompression, 5), P},
      {"compression 2^32-1", Field(kBmpCompression, ~0u), P},
      {"header size 0", Field(kBmpHeaderSize, 0), P},
      {"header size 2^32-1", Field(kBmpHeaderSize, ~0u), P},
      {"pixels at 0", Field(kBmpPixelOffset, 0), P},
      {"pixels past the end", Field(kBmpPixelOffset, ~0u), P},
      // A palette size means nothing at 24 bits: the sheet reads as it is.
      {"2^31 colours used at 24 bits", Field(kBmpColoursUsed, 0x80000000u), Look::kGood},
      {"a sheet of 8 x 8", Instead(TinySheet()), Look::kTiny},
      {"one byte short", [](const Bytes& b) { return Of(Bytes(b.begin(), b.end() - 1)); }, P},
  };
  for (const auto& [name, kind] : kNoFiles) cases.push_back({name, Always(kind), P});
  // Cut inside every field of the file header and the info header, and inside the pixels.
  for (std::size_t n : {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 34, 38, 42,
                        46, 50, 53, 54, 55, 1000})
    cases.push_back({"cut at " + std::to_string(n), CutAt(n), P});
  return cases;
}

struct ClipCase {
  std::string name;
  Maker make;
  bool silent;  // false: SDL may make some sound of it
};

std::vector<ClipCase> ClipCases() {
  // The committed clips have the plain 44-byte layout: RIFF size at 4, format chunk size at 16,
  // encoding 20, channels 22, rate 24, bytes a second 28, block 32, bits 34, data size 40.
  std::vector<ClipCase> cases{
      {"empty", Instead({}), true},
      {"a sheet", Instead(ReadAsset("bmp/face.bmp")), true},
      {"RIFF size 2^32-1", Field(4, ~0u), false},
      {"not WAVE", Field(8, 0x45564158), true},
      {"format chunk of 2^32-1", Field(16, ~0u), true},
      {"format chunk of 4", Field(16, 4), true},
      {"encoding 0x1234", Field16(20, 0x1234), true},
      {"MS ADPCM without its extension", Field16(20, 2), true},
      {"IMA ADPCM without its extension", Field16(20, 0x11), true},
      {"MPEG inside", Field16(20, 0x55), true},
      {"16-bit float", Field16(20, 3), true},
      {"extensible without its extension", Field16(20, 0xFFFE), true},
      {"no channels", Field16(22, 0), true},
      {"65535 channels", Field16(22, 65535), true},
      {"rate 0", Field(24, 0), true},
      {"rate 1", Field(24, 1), true},
      {"rate 2^32-1", Field(24, ~0u), false},
      {"block 0", Field16(32, 0), true},
      {"0 bits", Field16(34, 0), true},
      {"7 bits", Field16(34, 7), true},
      {"64 bits", Field16(34, 64), true},
      {"data of 2^32-1", Field(40, ~0u), true},
      {"data of 0", Field(40, 0), false},
  };
  for (const auto& [name, kind] : kNoFiles) cases.push_back({name, Always(kind), true});
  for (std::size_t n : {1, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 34, 36, 38, 40,
                        42, 44, 1000})
    cases.push_back({"cut at " + std::to_string(n), CutAt(n), true});
  return cases;
}

// Each run breaks all three sheets one way and all eight clips another.
TEST_F(HostileAssetsTest, EverySheetAndClipBrokenTheSameWay) {
  const std::vector<SheetCase> sheetCases = SheetCases();
  const std::vector<ClipCase> clipCases = ClipCases();
  for (std::size_t i = 0; i < std::max(sheetCases.size(), clipCases.size()); ++i) {
    const SheetCase& sheet = sheetCases[i % sheetCases.size()];
    const ClipCase& clip = clipCases[i % clipCases.size()];
    SCOPED_TRACE("sheets: " + sheet.name + "; clips: " + clip.name);
    std::map<std::string, Hostile> replaced;
    for (const char* s : kSheets) replaced[s] = sheet.make(ReadAsset(std::string("bmp/") + s));
    for (const char* c : kClips) replaced[c] = clip.make(ReadAsset(std::string("wav/") + c));
    int status = -1;
    const Seen run = Play(replaced, &status);
    ExpectPlayed(run, status, {sheet.look, sheet.look, sheet.look}, clip.silent);
  }
}

// The case of that name in a list.
template <typename Case>
const Case& Named(const std::vector<Case>& cases, const std::string& name) {
  return *std::find_if(cases.begin(), cases.end(), [&](const Case& c) { return c.name == name; });
}

TEST_F(HostileAssetsTest, OneBadFileAmongGoodOnesSpoilsOnlyItself) {
  const std::vector<SheetCase> sheetCases = SheetCases();
  const char* const sheetWays[] = {"a named pipe", "100000 x 100000", "a sheet of 8 x 8"};
  for (int s = 0; s < 3; ++s) {
    const SheetCase& c = Named(sheetCases, sheetWays[s]);
    SCOPED_TRACE(std::string(kSheets[s]) + ": " + c.name);
    Look looks[3] = {Look::kGood, Look::kGood, Look::kGood};
    looks[s] = c.look;
    int status = -1;
    const Seen run = Play({{kSheets[s], c.make(ReadAsset(std::string("bmp/") + kSheets[s]))}},
                          &status);
    ExpectPlayed(run, status, looks);
  }
  const std::vector<ClipCase> clipCases = ClipCases();
  const char* const clipWays[] = {"missing",   "a directory", "a link to /dev/zero", "cut at 36",
                                  "rate 1",    "empty",       "MS ADPCM without its extension",
                                  "7 bits"};
  const Look good[3] = {Look::kGood, Look::kGood, Look::kGood};
  for (int i = 0; i < 8; ++i) {
    const ClipCase& c = Named(clipCases, clipWays[i]);
    SCOPED_TRACE(std::string(kClips[i]) + ": " + c.name);
    int status = -1;
    const Seen run = Play({{kClips[i], c.make(ReadAsset(std::string("wav/") + kClips[i]))}},
                          &status);
    ExpectPlayed(run, status, good);
  }
}

TEST_F(HostileAssetsTest, NoSheetsAndNoClipsAtAll) {
  int status = -1;
  const Seen run = Play({}, &status, true);
  const Look none[3] = {Look::kPlaceholder, Look::kPlaceholder, Look::kPlaceholder};
  ExpectPlayed(run, status, none);
}

}  // namespace
