// The span primitives against the bit-by-bit meaning of the raster
// operations: every binary operation on every destination value, every
// ternary code, runs long enough for the word-at-a-time path and short enough
// for the byte tail, and the pixels beside a run left alone.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/pixel_ops.h"

namespace gditest {
namespace {

using gdi::Surface;

// Result bit of R2 code `rop2` for pen bit p and destination bit d, over `bits` bits.
std::uint32_t BinaryByBits(int rop2, std::uint32_t pen, std::uint32_t dst, int bits) {
    std::uint32_t r = 0;
    for (int b = 0; b < bits; ++b) {
        const unsigned p = (pen >> b) & 1, d = (dst >> b) & 1;
        r |= ((static_cast<unsigned>(rop2 - 1) >> (2 * p + d)) & 1) << b;
    }
    return r;
}

std::uint32_t TernaryByBits(std::uint8_t code, std::uint32_t pattern, std::uint32_t src, std::uint32_t dst) {
    std::uint32_t r = 0;
    for (int b = 0; b < 8; ++b) {
        const unsigned p = (pattern >> b) & 1, s = (src >> b) & 1, d = (dst >> b) & 1;
        r |= ((code >> (4 * p + 2 * s + d)) & 1u) << b;
    }
    return r;
}

// Fills row y with a known pattern of values and returns it.
std::vector<std::uint32_t> Seed(Surface& s, int y, std::mt19937& rng) {
    const gdi::PixelOps& ops = gdi::OpsFor(s);
    const std::uint32_t mask = s.bitsPerPixel == 8 ? 0xFF : 0xFFFFFF;
    std::vector<std::uint32_t> before(static_cast<std::size_t>(s.width));
    for (int x = 0; x < s.width; ++x) {
        // Every index value appears on 8-bit rows; RGB rows get random colours.
        before[x] = s.bitsPerPixel == 8 ? static_cast<std::uint32_t>(x) & 0xFF : rng() & mask;
        ops.set(s, x, y, before[x]);
    }
    return before;
}

TEST(RasterOperations, SolidRunsMatchTheBitwiseMeaningOfEveryBinaryOperation) {
    std::mt19937 rng(11);
    struct Run {
        int x0, x1;
    };
    // Unaligned long runs, runs shorter than a block, and runs past both edges.
    const Run runs[] = {{3, 296}, {7, 20}, {-10, 400}, {40, 41}};
    for (int bpp : {8, 24, 32}) {
        auto s = Surface::Create(300, 1, bpp, bpp != 8, bpp == 8);
        ASSERT_TRUE(s);
        const gdi::PixelOps& ops = gdi::OpsFor(*s);
        const int bits = bpp == 8 ? 8 : 24;
        for (int rop2 = R2_BLACK; rop2 <= R2_WHITE; ++rop2)
            for (std::uint32_t pen : {0x000000u, 0xFFFFFFu, 0x5AC3A5u, 0x0F3Cu}) {
                const std::uint32_t stored = bpp == 8 ? pen & 0xFF : pen;
                const gdi::SolidInk ink = gdi::MakeInk(*s, stored, rop2);
                for (const Run& run : runs) {
                    const std::vector<std::uint32_t> before = Seed(*s, 0, rng);
                    ops.solidSpan(*s, 0, run.x0, run.x1, ink);
                    for (int x = 0; x < s->width; ++x) {
                        const bool inside = x >= run.x0 && x < run.x1;
                        const std::uint32_t want = inside ? BinaryByBits(rop2, stored, before[x], bits) : before[x];
                        ASSERT_EQ(ops.get(*s, x, 0), want)
                            << bpp << " bpp, R2 " << rop2 << ", pen " << pen << ", x " << x;
                    }
                }
            }
    }
}

TEST(RasterOperations, InversionGivesTheComplementaryIndexOverAWholeRow) {
    auto s = Surface::Create(1000, 3, 8, false, true);
    ASSERT_TRUE(s);
    std::mt19937 rng(5);
    const gdi::PixelOps& ops = gdi::OpsFor(*s);
    std::vector<std::uint32_t> before = Seed(*s, 1, rng);
    const gdi::SolidInk dstInvert = gdi::MakeInk(*s, 0, gdi::Rop2FromRop3(static_cast<std::uint8_t>(DSTINVERT >> 16)));
    ops.solidSpan(*s, 1, 0, 1000, dstInvert);
    for (int x = 0; x < 1000; ++x) ASSERT_EQ(ops.get(*s, x, 1), 255 - before[x]) << x;
    // Twice is the identity, and the rows around it never change.
    ops.solidSpan(*s, 1, 0, 1000, gdi::MakeInk(*s, 77, R2_NOT));
    for (int x = 0; x < 1000; ++x) {
        ASSERT_EQ(ops.get(*s, x, 1), before[x]) << x;
        ASSERT_EQ(ops.get(*s, x, 0), 0u);
        ASSERT_EQ(ops.get(*s, x, 2), 0u);
    }
}

TEST(RasterOperations, SourceRunsMatchTheBitwiseMeaningOfEveryTernaryCode) {
    std::mt19937 rng(23);
    auto s = Surface::Create(100, 1, 8, false, true);
    ASSERT_TRUE(s);
    const gdi::PixelOps& ops = gdi::OpsFor(*s);
    std::vector<std::uint32_t> src(100);
    for (int code = 0; code < 256; ++code)
        for (std::uint32_t pattern : {0x00u, 0xFFu, 0x3Cu}) {
            for (std::uint32_t& v : src) v = rng() & 0xFF;
            const std::vector<std::uint32_t> before = Seed(*s, 0, rng);
            // Starts left of the surface: the first source value used is src[2].
            ops.copySpan(*s, 0, -2, 90, src.data(), static_cast<std::uint8_t>(code), pattern);
            for (int x = 0; x < 100; ++x) {
                const std::uint32_t want = x < 90 ? TernaryByBits(static_cast<std::uint8_t>(code), pattern,
                                                                  src[static_cast<std::size_t>(x) + 2], before[x])
                                                  : before[x];
                ASSERT_EQ(ops.get(*s, x, 0), want) << "code " << code << ", pattern " << pattern << ", x " << x;
            }
        }
}

}  // namespace
}  // namespace gditest
