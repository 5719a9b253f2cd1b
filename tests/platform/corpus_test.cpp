// The fuzz targets' committed corpus (fuzz/corpus) through their exercises: every input that
// ever broke the layer stays fixed. An exercise aborts on a broken promise, naming the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "exercise.h"
#include "platform/probe/disp_probe.h"

TEST(FuzzCorpus, SheetsAndClipsKeepTheLayersPromises) {
  for (const auto& [kind, exercise] : {std::pair{"bmp", fuzzload::ExerciseSheet}, {"wav", fuzzload::ExerciseClip}}) {
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(std::string(DRAVEL_FUZZ_DIR "/corpus/") + kind)) {
      std::ifstream in(e.path(), std::ios::binary);
      const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      std::fprintf(stderr, "%s\n", e.path().filename().c_str());
      exercise(bytes.data(), bytes.size());
      ++files;
    }
    DispShutdown();
    EXPECT_GE(files, 30) << kind;
  }
}
