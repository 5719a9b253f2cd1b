// Tests of the SDL layer's sound clips: playing on separate channels, silence for bad files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
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
  disptest::ScratchDir dir_;
};

TEST_F(AudioTest, ClipsPlayAtOnceOnTheirOwnChannels) {
  // Long clips, so that "still sounding" right after the start holds on any machine.
  const std::uint32_t a = LoadAudio292(dir_.Write("a.wav", disptest::WavFile(20000)).c_str());
  const std::uint32_t b = LoadAudio292(dir_.Write("b.wav", disptest::WavFile(20000)).c_str());
  ASSERT_TRUE(DispClipLoaded(a));
  ASSERT_TRUE(DispClipLoaded(b));
  EXPECT_NE(a, b);
  EXPECT_FALSE(DispClipPlaying(a));
  SetAudioPos305(a, 0);
  EXPECT_TRUE(DispClipPlaying(a));
  EXPECT_FALSE(DispClipPlaying(b));
  SetAudioPos305(b, 0);
  SetAudioPos305(a, 0);
  EXPECT_TRUE(DispClipPlaying(a));
  EXPECT_TRUE(DispClipPlaying(b));
}

TEST_F(AudioTest, BadClipsAreSilentHandles) {
  const Bytes good = disptest::WavFile(100);
  const auto patched = [&](std::size_t at, std::uint32_t value) {
    Bytes b = good;
    disptest::Put32(&b, at, value);
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
      {"no channels", [&] {
         Bytes b = good;
         disptest::Put16(&b, 22, 0);
         return b;
       }()},
      {"no samples a second", patched(24, 0)},
      {"17 bits a sample", [&] {
         Bytes b = good;
         disptest::Put16(&b, 34, 17);
         return b;
       }()},
      {"unknown encoding", [&] {
         Bytes b = good;
         disptest::Put16(&b, 20, 0x1234);
         return b;
       }()},
      // 800 samples at 8 Hz: 100 s, which the mixer would hold as 17 MB at 44.1 kHz.
      {"100 s at 8 Hz", patched(24, 8)},
  };
  std::vector<std::uint32_t> handles;
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    const std::uint32_t clip = LoadAudio292(dir_.Write("bad.wav", bytes).c_str());
    ASSERT_NE(clip, 0u);
    EXPECT_FALSE(DispClipLoaded(clip));
    SetAudioPos305(clip, 0);
    EXPECT_FALSE(DispClipPlaying(clip));
    handles.push_back(clip);
  }
  const std::string missing = dir_.Path("missing.wav");
  for (const char* path : {missing.c_str(), ".", static_cast<const char*>(nullptr)}) {
    const std::uint32_t clip = LoadAudio292(path);
    ASSERT_NE(clip, 0u);
    EXPECT_FALSE(DispClipLoaded(clip));
    SetAudioPos305(clip, 0);
    handles.push_back(clip);
  }
  SetAudioPos305(0, 0);
  SetAudioPos305(123456, 0);
  // A good clip after all of them still plays.
  const std::uint32_t fine = LoadAudio292(dir_.Write("fine.wav", good).c_str());
  EXPECT_TRUE(DispClipLoaded(fine));
  for (std::uint32_t h : handles) EXPECT_NE(h, fine);
  // Length, not file size, is what counts: 800 samples at 14 Hz, 57 s, still load.
  EXPECT_TRUE(DispClipLoaded(LoadAudio292(dir_.Write("slow.wav", patched(24, 14)).c_str())));
}

TEST_F(AudioTest, WithoutAnAudioDeviceClipsPlayInSilence) {
  const char* old = std::getenv("SDL_AUDIODRIVER");
  const std::string saved = old ? old : "";
  setenv("SDL_AUDIODRIVER", "no-such-device", 1);
  const std::uint32_t clip = LoadAudio292(dir_.Write("a.wav", disptest::WavFile(100)).c_str());
  old ? setenv("SDL_AUDIODRIVER", saved.c_str(), 1) : unsetenv("SDL_AUDIODRIVER");
  EXPECT_TRUE(DispClipLoaded(clip));
  EXPECT_EQ(std::string(DispAudioDriver()), "dummy");
  SetAudioPos305(clip, 0);
}

TEST_F(AudioTest, CommittedClipsLoad) {
  const std::filesystem::path clips = DRAVEL_ASSETS_DIR "/wav";
  for (const char* name : {"Win.wav", "Lose.wav", "Error.wav", "Left.wav", "Right.wav", "Flag.wav",
                           "New.wav", "Solve.wav"}) {
    if (!std::filesystem::exists(clips / name)) GTEST_SKIP() << (clips / name) << " not there yet";
    EXPECT_TRUE(DispClipLoaded(LoadAudio292((clips / name).c_str()))) << name;
  }
}

}  // namespace
