// Arbitrary bytes through the SDL layer's sheet and clip loaders, as the game uses them, checking
// the layer's promises; shared by the fuzz targets and the corpus replay. Each aborts, saying
// why on stderr, when the layer breaks one.
#pragma once
#include <cstddef>
#include <cstdint>

namespace fuzzload {

// Loads the bytes as a sheet: it is 0 x 0 or within the load limits; sprites cut at the game's
// offsets and at offsets the bytes give hold the sheet's pixels or, where it has none, the
// placeholder; the frame shows what was drawn.
void ExerciseSheet(const std::uint8_t* data, std::size_t size);
// Loads the bytes as a clip and sounds it: a clip that did not load never sounds.
void ExerciseClip(const std::uint8_t* data, std::size_t size);

}  // namespace fuzzload
