// The frame's draws and their digest.
#include "platform/sdl/frame_list.h"

namespace disp_sdl {

namespace {

// FNV-1a over the draws' fields, one at a time.
constexpr std::uint64_t kDigestStart = 14695981039346656037ull;
std::uint64_t Mixed(std::uint64_t digest, std::uint32_t value) {
  return (digest ^ value) * 1099511628211ull;
}

}  // namespace

void FrameList::Begin() {
  drawing_.clear();
  digest_ = kDigestStart;
}

void FrameList::Add(std::uint32_t bmp, std::int32_t x, std::int32_t y, std::int32_t w,
                    std::int32_t h) {
  drawing_.push_back(Draw{bmp, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                          static_cast<std::int16_t>(w), static_cast<std::int16_t>(h)});
  for (const std::int32_t v : {static_cast<std::int32_t>(bmp), x, y, w, h})
    digest_ = Mixed(digest_, static_cast<std::uint32_t>(v));
}

bool FrameList::Changed(std::uint64_t pictures) const {
  return stale_ || digest_ != shownDigest_ || shownPictures_ != pictures;
}

void FrameList::Shown(std::uint64_t pictures) {
  shownDigest_ = digest_;
  shownPictures_ = pictures;
  stale_ = false;
}

void FrameList::Forget() {
  drawing_.clear();
  drawing_.shrink_to_fit();
  stale_ = true;
}

}  // namespace disp_sdl
