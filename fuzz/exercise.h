// Feeding arbitrary bytes to the SDL layer's sheet and clip loaders the way the game uses them,
// checking the layer's promises; shared by the fuzz targets and the corpus regression test.
#pragma once
#include <cstddef>
#include <cstdint>

namespace fuzzload {

// Writes the bytes to a scratch file, loads it as a sheet, cuts sprites from it at the game's
// offsets and at offsets taken from the bytes, draws them in a window and reads them back.
// Aborts, saying why on stderr, if the layer breaks a promise: a loaded sheet is 0 x 0 or within
// the load limits; every sprite pixel is the sheet's pixel or, where the sheet has none, the
// placeholder, and nothing outside the copied block changes; the frame shows what was drawn.
void ExerciseSheet(const std::uint8_t* data, std::size_t size);

// Writes the bytes to a scratch file, loads it as a clip and sounds it. Aborts if a clip that
// did not load sounds.
void ExerciseClip(const std::uint8_t* data, std::size_t size);

}  // namespace fuzzload
