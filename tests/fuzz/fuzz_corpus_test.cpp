// Every seed of the settings and spectrum corpora through its harness: what
// fuzzing found once stays found.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/harnesses.h"

namespace {

TEST(FuzzCorpus, EverySeedPassesItsHarness) {
    const std::pair<const char*, int (*)(const std::uint8_t*, std::size_t)> harnesses[] = {
        {"settings", FuzzSettingsFile},
        {"regedit", FuzzRegeditImport},
        {"spectrum", FuzzSpectrumFrame},
        {"pal", FuzzPaletteFile},
    };
    for (auto [name, harness] : harnesses) {
        int seeds = 0;
        for (const auto& entry : std::filesystem::directory_iterator(std::string(FUZZ_CORPUS_DIR) + "/" + name)) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
            EXPECT_EQ(harness(bytes.data(), bytes.size()), 0) << entry.path();
            ++seeds;
        }
        EXPECT_GT(seeds, 0) << name;
    }
}

}  // namespace
