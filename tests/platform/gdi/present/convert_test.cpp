// Every conversion path must give exactly what a plain table look-up gives,
// whatever the alignment and length, and must not write past the end.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/gdi/present/convert_paths.h"
#include "platform/gdi/presenter.h"

namespace {

using ConvertFn = void (*)(const std::uint8_t*, std::size_t, const std::uint32_t*, std::uint32_t*);

struct PathCase {
    const char* name;
    ConvertFn convert;
    bool (*available)();
};

void PrintTo(const PathCase& path, std::ostream* out) {
    *out << path.name;
}

bool Always() {
    return true;
}

class ConversionPath : public testing::TestWithParam<PathCase> {};

constexpr std::uint32_t kGuard = 0xDEADBEEF;

TEST_P(ConversionPath, MatchesTableLookUpAtAnyOffsetAndLength) {
    const PathCase& path = GetParam();
    if (!path.available()) {
        GTEST_SKIP() << path.name << " is not supported by this processor";
    }
    std::mt19937 random(7);
    std::vector<std::uint32_t> table(256);
    for (auto& entry : table) {
        entry = random();  // all four bytes significant, so a lost byte plane shows
    }
    // Every index value appears, in a random order, so each table entry is used.
    std::vector<std::uint8_t> source(700);
    for (std::size_t i = 0; i < source.size(); ++i) {
        source[i] = static_cast<std::uint8_t>(i * 167 + random() % 3);
    }
    // Lengths around every vector width (8, 32, 64) and their remainders, at
    // source and destination offsets off every vector alignment.
    const std::size_t lengths[] = {0, 1, 7, 8, 9, 31, 32, 33, 63, 64, 65, 127, 129, 255, 256, 511, 640};
    for (std::size_t srcOffset : {0u, 1u, 2u, 3u, 5u, 31u, 33u}) {
        for (std::size_t dstOffset : {0u, 1u, 2u, 3u, 7u, 15u}) {
            for (std::size_t length : lengths) {
                std::vector<std::uint32_t> dst(dstOffset + length + 1, 0);
                dst[dstOffset + length] = kGuard;
                path.convert(source.data() + srcOffset, length, table.data(), dst.data() + dstOffset);
                std::vector<std::uint32_t> expected(dstOffset, 0);
                for (std::size_t i = 0; i < length; ++i) {
                    expected.push_back(table[source[srcOffset + i]]);
                }
                expected.push_back(kGuard);
                ASSERT_EQ(dst, expected) << path.name << " src+" << srcOffset << " dst+" << dstOffset << " length "
                                         << length;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllPaths, ConversionPath,
    testing::Values(PathCase{"portable", gdi::detail::ConvertIndexedToRgb32Portable, Always},
                    PathCase{"avx2", gdi::detail::ConvertIndexedToRgb32Avx2, gdi::detail::Avx2ConversionAvailable},
                    PathCase{"avx512vbmi", gdi::detail::ConvertIndexedToRgb32Avx512Vbmi,
                             gdi::detail::Avx512VbmiConversionAvailable},
                    PathCase{"dispatched", gdi::ConvertIndexedToRgb32, Always}),
    [](const testing::TestParamInfo<PathCase>& param) { return std::string(param.param.name); });

}  // namespace
