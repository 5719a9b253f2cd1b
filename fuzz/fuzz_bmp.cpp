// libFuzzer target: arbitrary bytes as a sprite sheet (see exercise.h).
#include "exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzload::ExerciseSheet(data, size);
  return 0;
}
