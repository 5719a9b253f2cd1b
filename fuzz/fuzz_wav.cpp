// libFuzzer target: arbitrary bytes as a sound clip (see exercise.h).
#include "exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzload::ExerciseClip(data, size);
  return 0;
}
