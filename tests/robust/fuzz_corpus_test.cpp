// The fuzz targets' committed corpus (fuzz/corpus), run through the same sheet and clip
// exercises as a regression test: every input that ever broke the layer stays fixed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "exercise.h"
#include "platform/disp_probe.h"

namespace {

namespace fs = std::filesystem;

// Runs every file of fuzz/corpus/<kind> through exercise; returns how many there were. The
// exercises abort on a broken promise, which fails the test with the file named below.
int RunCorpus(const char* kind, void (*exercise)(const std::uint8_t*, std::size_t)) {
  int files = 0;
  const fs::path dir = fs::path(DRAVEL_FUZZ_DIR) / "corpus" / kind;
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
    if (!e.is_regular_file()) continue;
    std::ifstream in(e.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    std::fprintf(stderr, "%s\n", e.path().filename().c_str());
    exercise(bytes.data(), bytes.size());
    ++files;
  }
  DispShutdown();
  return files;
}

TEST(FuzzCorpus, SheetsKeepTheLayersPromises) {
  EXPECT_GE(RunCorpus("bmp", fuzzload::ExerciseSheet), 3);
}

TEST(FuzzCorpus, ClipsKeepTheLayersPromises) {
  EXPECT_GE(RunCorpus("wav", fuzzload::ExerciseClip), 8);
}

}  // namespace
