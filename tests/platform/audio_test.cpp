// Tests of the SDL layer's sound clips on SDL's dummy audio driver: mixing, restart, bad files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/disp.h"
#include "platform/disp_probe.h"
#include "test_files.h"

namespace {

using disptest::Bytes;

class AudioTest : public ::testing::Test {
 protected:
  void TearDown() override { DispShutdown(); }
  std::uint32_t Load(const Bytes& file) {
    return LoadAudio292(dir_.Write("c" + std::to_string(++files_) + ".wav", file).c_str());
  }
  // The next frames of the mix on the dummy device, which takes the clips' own format.
  std::vector<int> Mix(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames));
    int rate = 0;
    EXPECT_EQ(DispMixAudio(out.data(), frames, &rate), 1);
    EXPECT_EQ(rate, 22050);
    return std::vector<int>(out.begin(), out.end());
  }
  disptest::ScratchDir dir_;
  int files_ = 0;
};

// A clip in the dummy device's own format (22.05 kHz, 16-bit mono), so that it mixes
// unconverted: `frames` frames of the constant `value`.
Bytes Wav16(int frames, std::int16_t value) {
  Bytes b = disptest::WavFile(0);
  const std::uint32_t bytes = static_cast<std::uint32_t>(frames) * 2;
  disptest::Put32(&b, 4, 36 + bytes);
  disptest::Put16(&b, 22, 1);
  disptest::Put32(&b, 24, 22050);
  disptest::Put32(&b, 28, 22050 * 2);
  disptest::Put16(&b, 32, 2);
  disptest::Put16(&b, 34, 16);
  disptest::Put32(&b, 40, bytes);
  for (int i = 0; i < frames; ++i) {
    b.push_back(static_cast<std::uint16_t>(value) & 0xFF);
    b.push_back(static_cast<std::uint16_t>(value) >> 8);
  }
  return b;
}

TEST_F(AudioTest, VoicesOverlapRestartAndNeverClip) {
  const std::uint32_t a = Load(Wav16(1000, 10000));
  const std::uint32_t b = Load(Wav16(300, 30000));
  ASSERT_TRUE(DispClipLoaded(a) && DispClipLoaded(b));
  // Both together must stay inside 16 bits: the volume is 128 * 32767 / (10000 + 30000).
  const int A = 10000 * 104 / 128, B = 30000 * 104 / 128;
  struct Step {
    std::uint32_t play;  // clip sounded before mixing, or 0
    int frames;
    std::vector<std::pair<int, int>> want;  // runs of (frames, value)
  };
  const Step steps[] = {
      {0, 100, {{100, 0}}},               // nothing sounds: silence
      {a, 200, {{200, A}}},               // a from its start
      {b, 400, {{300, A + B}, {100, A}}},  // b over a, until b ends
      {a, 1100, {{1000, A}, {100, 0}}},    // a again: from its start, all of it
  };
  for (const Step& s : steps) {
    if (s.play) SetAudioPos305(s.play, 0);
    std::vector<int> want;
    for (const auto& [n, v] : s.want) want.insert(want.end(), n, v);
    EXPECT_EQ(Mix(s.frames), want) << "after sounding clip " << s.play;
  }
  EXPECT_FALSE(DispClipPlaying(a) || DispClipPlaying(b));
}

TEST_F(AudioTest, CommittedClipsLoadAndSoundTheirLength) {
  std::uint32_t solve = 0;
  for (const char* name : {"Win", "Lose", "Error", "Left", "Right", "Flag", "New", "Solve"}) {
    const std::string path = std::string(DRAVEL_ASSETS_DIR "/wav/") + name + ".wav";
    solve = LoadAudio292(path.c_str());
    ASSERT_TRUE(DispClipLoaded(solve)) << name;
  }
  // Solve.wav is 7498 frames at 22.05 kHz mono, fading out: the quietest last ones are silent
  // at the mixing volume.
  SetAudioPos305(solve, 0);
  const std::vector<int> mix = Mix(8000);
  int last = -1;
  for (int i = 0; i < 8000; ++i)
    if (mix[i] != 0) last = i;
  EXPECT_GT(last, 7000);
  EXPECT_LE(last, 7498);
}

TEST_F(AudioTest, BadClipsAreSilentHandles) {
  const Bytes good = disptest::WavFile(100);
  const auto patched = [&](std::size_t at, std::uint32_t value, bool wide = true) {
    Bytes b = good;
    wide ? disptest::Put32(&b, at, value) : disptest::Put16(&b, at, value);
    return b;
  };
  const std::vector<std::pair<std::string, Bytes>> cases{
      {"empty", {}},
      {"cut in the header", Bytes(good.begin(), good.begin() + 30)},
      {"cut in the samples", Bytes(good.begin(), good.begin() + 300)},
      {"not RIFF", patched(0, 0x46464952 + 1)},
      {"not WAVE", patched(8, 0x45564157 + 1)},
      {"data of 4 GB", patched(40, 0xFFFFFFF0u)},
      {"format chunk of 4 GB", patched(16, 0xFFFFFFF0u)},
      {"format chunk of 4 bytes", patched(16, 4)},
      {"no channels", patched(22, 0, false)},
      {"no samples a second", patched(24, 0)},
      {"17 bits a sample", patched(34, 17, false)},
      {"unknown encoding", patched(20, 0x1234, false)},
      // 800 samples at 8 Hz: 100 s, far longer than any cue.
      {"100 s at 8 Hz", patched(24, 8)},
  };
  std::vector<std::uint32_t> handles;
  for (const auto& [name, bytes] : cases) handles.push_back(Load(bytes));
  for (const char* path : {"/no/such/clip.wav", ".", static_cast<const char*>(nullptr)})
    handles.push_back(LoadAudio292(path));
  for (std::size_t i = 0; i < handles.size(); ++i) {
    SCOPED_TRACE(i < cases.size() ? cases[i].first : "no file");
    ASSERT_NE(handles[i], 0u);
    EXPECT_FALSE(DispClipLoaded(handles[i]));
    SetAudioPos305(handles[i], 0);
  }
  SetAudioPos305(0, 0);
  SetAudioPos305(123456, 0);
  EXPECT_EQ(Mix(64), std::vector<int>(64, 0));
  // A good clip after all of them still plays; length, not file size, is what counts: 800
  // samples at 14 Hz, 57 s, still load.
  EXPECT_TRUE(DispClipLoaded(Load(good)));
  EXPECT_TRUE(DispClipLoaded(Load(patched(24, 14))));
}

TEST_F(AudioTest, WithoutAnAudioDeviceEveryClipIsSilent) {
  setenv("SDL_AUDIODRIVER", "no-such-device", 1);
  const std::uint32_t clip = Load(disptest::WavFile(100));
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  EXPECT_FALSE(DispClipLoaded(clip));
  SetAudioPos305(clip, 0);
  EXPECT_EQ(std::string(DispAudioDriver()), "");
  std::int16_t out[2];
  int rate = 0;
  EXPECT_EQ(DispMixAudio(out, 1, &rate), 0);
}

}  // namespace
