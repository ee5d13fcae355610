#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <utility>
#include <vector>

#include "saver/images/image_effects.h"

namespace {

constexpr BYTE Padding = 0;  // pictures hold 1..255

// Columns 0..w and rows 0..h of random values, rows `stride` bytes apart;
// the padding after each row must stay untouched.
struct Picture {
    LONG w, h;
    LONG_PTR stride;
    std::vector<BYTE> bytes;

    Picture(LONG lastColumn, LONG lastRow, LONG_PTR rowStride, unsigned seed)
        : w(lastColumn), h(lastRow), stride(rowStride),
          bytes(static_cast<std::size_t>(rowStride * (lastRow + 1)), Padding) {
        std::srand(seed);
        for (LONG r = 0; r <= h; ++r)
            for (LONG c = 0; c <= w; ++c) at(r, c) = static_cast<BYTE>(std::rand() % 255 + 1);
    }
    BYTE& at(LONG r, LONG c) { return bytes[static_cast<std::size_t>(r * stride + c)]; }
    BYTE* bits() { return bytes.data(); }
};

// The smoothing order written out plainly: column by column, rows upwards.
void ReferenceSmooth(Picture& p, LONG w, LONG h) {
    for (LONG x = 1; x <= w - 3; ++x)
        for (LONG y = 1; y <= h - 3; ++y) {
            unsigned sum = 0;
            for (LONG dy = -1; dy <= 1; ++dy)
                for (LONG dx = -1; dx <= 1; ++dx) sum += p.at(y + dy, x + dx);
            p.at(y, x) = static_cast<BYTE>(sum / 9);
        }
}

TEST(SmoothPass, SmoothsInPlaceColumnByColumn) {
    // Sizes around the bands of columns that are smoothed together.
    for (auto [w, h] : {std::pair<LONG, LONG>{4, 4}, {5, 37}, {17, 18}, {19, 6}, {40, 23}, {70, 9}}) {
        Picture p(w, h, DibStride(w + 1) + 4, static_cast<unsigned>(w * h));
        Picture expected = p;
        SmoothPass(p.bits(), w, h, p.stride);
        ReferenceSmooth(expected, w, h);
        EXPECT_EQ(p.bytes, expected.bytes) << w << " x " << h;
    }

    // Below 4 x 4 nothing happens.
    for (auto [w, h] : {std::pair<LONG, LONG>{3, 9}, {9, 3}}) {
        Picture p(w, h, DibStride(w), 5);
        const std::vector<BYTE> before = p.bytes;
        SmoothPass(p.bits(), w, h);
        EXPECT_EQ(p.bytes, before);
    }
}

struct Mirrored {
    LONG r;
    LONG c;
};
Mirrored MirrorOf(const Picture& p, LONG effect, LONG r, LONG c) {
    switch (effect % 3) {
        case 1: return {p.h - r, p.w - c};
        case 2: return {r, p.w - c};
        default: return {p.h - r, c};
    }
}

TEST(ImageEffect, BrightPixelsTakeTheirMirrorImage) {
    // 9 pixels a row in 12 bytes, as Plasma stores them (the stride the last
    // column index suggests would be 8).  The last row and column stay.
    for (LONG effect : {4, 5, 6}) {
        Picture p(8, 6, 12, 7);
        Picture expected = p;
        for (LONG r = 0; r < p.h; ++r)
            for (LONG c = 0; c < p.w; ++c) {
                const Mirrored m = MirrorOf(p, effect, r, c);
                if (p.at(r, c) > 127) expected.at(r, c) = p.at(m.r, m.c);
            }
        ApplyImageEffect(p.bits(), p.w, p.h, p.stride, effect);
        EXPECT_EQ(p.bytes, expected.bytes) << "effect " << effect;
    }
}

TEST(ImageEffect, SwapsEveryOtherPixelWithItsMirrorImage) {
    // Sizes where no pixel is swapped twice.  A row of an even number of
    // tested pixels gives a checkerboard, an odd number gives stripes.
    struct Case {
        LONG effect, w, h, rows, columns;
    };
    for (const Case& k : {Case{1, 7, 3, 3, 4}, Case{2, 5, 3, 3, 3}, Case{3, 6, 5, 2, 5}, Case{3, 6, 1, 0, 0}}) {
        Picture p(k.w, k.h, 12, 11);
        Picture expected = p;
        for (LONG r = 0; r < k.rows; ++r)
            for (LONG c = 0; c < k.columns; ++c) {
                if (k.columns % 2 == 0 ? (r + c) % 2 == 0 : c % 2 == 0) continue;
                const Mirrored m = MirrorOf(p, k.effect, r, c);
                std::swap(expected.at(r, c), expected.at(m.r, m.c));
            }
        ApplyImageEffect(p.bits(), p.w, p.h, p.stride, k.effect);
        EXPECT_EQ(p.bytes, expected.bytes) << "effect " << k.effect << ", " << k.w << " x " << k.h;
    }
}

TEST(ImageEffect, CompositeEffectsRunTheirPartsInOrder) {
    constexpr LONG Smooth = -1;
    auto apply = [](Picture p, std::initializer_list<LONG> steps) {
        for (LONG step : steps) {
            if (step == Smooth) {
                SmoothPass(p.bits(), p.w, p.h, p.stride);
            } else {
                ApplyImageEffect(p.bits(), p.w, p.h, p.stride, step);
            }
        }
        return p.bytes;
    };
    const Picture p(12, 9, 16, 3);
    for (LONG effect = 7; effect <= 9; ++effect) EXPECT_EQ(apply(p, {effect}), apply(p, {effect - 3, 1})) << effect;
    for (LONG effect = 11; effect <= 19; ++effect)
        EXPECT_EQ(apply(p, {effect}), apply(p, {Smooth, effect - 10})) << effect;
    EXPECT_EQ(apply(p, {10}), apply(p, {Smooth}));
    EXPECT_NE(apply(p, {10}), p.bytes);
    EXPECT_EQ(apply(p, {20}), p.bytes);
}

}  // namespace
