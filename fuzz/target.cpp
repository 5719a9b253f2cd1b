// A libFuzzer target: arbitrary bytes through DRAVEL_FUZZ_EXERCISE (exercise.h), set per target.
#include "exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzload::DRAVEL_FUZZ_EXERCISE(data, size);
  return 0;
}
