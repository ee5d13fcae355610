// Every seed of the fuzzing corpora through its harness: what fuzzing found
// once stays found.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/harnesses.h"
#include "picture_files.h"

namespace {

TEST(FuzzCorpus, EverySeedPassesItsHarness) {
    const std::pair<const char*, int (*)(const std::uint8_t*, std::size_t)> harnesses[] = {
        {"bmp", FuzzBmpReader}, {"metafile", FuzzEmbeddedDib}, {"jpeg", FuzzJpegFilter},
        {"pcx", FuzzPcxFilter}, {"qt", FuzzQtFilter},
    };
    for (auto [name, harness] : harnesses) {
        int seeds = 0;
        for (const auto& entry : std::filesystem::directory_iterator(std::string(FUZZ_CORPUS_DIR) + "/" + name)) {
            const std::vector<BYTE> bytes = imagetest::ReadFile(entry.path().string());
            EXPECT_EQ(harness(bytes.data(), bytes.size()), 0) << entry.path();
            ++seeds;
        }
        EXPECT_GT(seeds, 0) << name;
    }
}

}  // namespace
