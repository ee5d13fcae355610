#include "saver/images/image_effects.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// Columns smoothed side by side; their rows stay in the first-level cache.
constexpr LONG SmoothBand = 16;

enum class Mirror { Centre, LeftRight, TopBottom };

// The picture of columns 0..w and rows 0..h.
struct Picture {
    BYTE* bits;
    LONG_PTR stride;
    LONG w;
    LONG h;

    BYTE& at(LONG r, LONG c) const { return bits[r * stride + c]; }
    LONG_PTR offsetOfMirror(LONG r, LONG c, Mirror mirror) const {
        const LONG mr = mirror == Mirror::LeftRight ? r : h - r;
        const LONG mc = mirror == Mirror::TopBottom ? c : w - c;
        return mr * stride + mc;
    }
};

// Swaps every other pixel of rows 0..rows-1, columns 0..columns-1 with its
// mirror image: those where a flag is set that flips at the start of every
// row and before every pixel.
void SwapCheckered(const Picture& p, LONG rows, LONG columns, Mirror mirror) {
    bool parity = false;
    for (LONG r = 0; r < rows; ++r) {
        parity = !parity;
        // Before pixel c the flag has flipped c + 1 times since the row began.
        for (LONG c = parity ? 1 : 0; c < columns; c += 2) {
            std::swap(p.at(r, c), p.bits[p.offsetOfMirror(r, c, mirror)]);
        }
        if (columns % 2 != 0) parity = !parity;
    }
}

void SwapEffect(const Picture& p, LONG effect) {
    switch (effect) {
        case 1:
            SwapCheckered(p, p.h, p.w / 2 + 1, Mirror::Centre);
            break;
        case 2:
            SwapCheckered(p, p.h, p.w / 2 + 1, Mirror::LeftRight);
            break;
        case 3:
            if (p.h >= 2) SwapCheckered(p, p.h / 2, p.w - 1, Mirror::TopBottom);
            break;
        default:
            break;
    }
}

// Bright pixels (above 127) take the value of their mirror image in `copy`,
// which has the picture's layout.
BYTE Blend(BYTE pixel, BYTE mirrored) {
    const auto bright = static_cast<BYTE>(-(pixel >> 7));  // all ones above 127
    return static_cast<BYTE>((mirrored & bright) | (pixel & ~bright));
}

void BlendWithCopy(const Picture& p, const BYTE* copy, Mirror mirror) {
    for (LONG r = 0; r < p.h; ++r) {
        BYTE* row = &p.at(r, 0);
        const BYTE* mirrored = copy + p.offsetOfMirror(r, 0, mirror);
        if (mirror == Mirror::TopBottom) {
            for (LONG c = 0; c < p.w; ++c) row[c] = Blend(row[c], mirrored[c]);
        } else {
            for (LONG c = 0; c < p.w; ++c) row[c] = Blend(row[c], mirrored[-c]);
        }
    }
}

constexpr Mirror BlendMirror(LONG effect) {
    return effect % 3 == 1 ? Mirror::Centre : effect % 3 == 2 ? Mirror::LeftRight : Mirror::TopBottom;
}

}  // namespace

LONG_PTR DibStride(LONG width) { return (LONG_PTR{width} + 3) & ~LONG_PTR{3}; }

void SmoothPass(BYTE* bits, LONG w, LONG h) { SmoothPass(bits, w, h, DibStride(w)); }

void SmoothPass(BYTE* bits, LONG w, LONG h, LONG_PTR stride) {
    if (!bits || w < 4 || h < 4 || stride < w) return;
    const LONG lastRow = h - 3;
    const LONG lastColumn = w - 3;
    // Pixel (y, x) reads column x - 1 smoothed up to row y + 1, its own
    // column smoothed up to row y - 1 and everything else as it was.  Going
    // down one column at a time would make every pixel wait for the one
    // before it; instead a band of columns goes down together, each column
    // two rows behind the one on its left.  At step t column x0 + j smooths
    // row t - 2j: the column on its left finished row t - 2j + 1 at step
    // t - 1, and the column on its right reaches row t - 2j - 1 only at step
    // t + 1, so every pixel sees exactly what the column-by-column order
    // gives it, and the pixels of one step do not depend on each other.
    for (LONG x0 = 1; x0 <= lastColumn; x0 += SmoothBand) {
        const LONG columns = std::min(SmoothBand, lastColumn - x0 + 1);
        for (LONG t = 1; t <= lastRow + 2 * (columns - 1); ++t) {
            const LONG first = std::max<LONG>(0, (t - lastRow + 1) / 2);
            const LONG last = std::min(columns - 1, (t - 1) / 2);
            for (LONG j = first; j <= last; ++j) {
                BYTE* centre = bits + (t - 2 * j) * stride + x0 + j;
                const BYTE* before = centre - stride;
                const BYTE* after = centre + stride;
                const unsigned sum = before[-1] + before[0] + before[1] + centre[-1] + centre[0] + centre[1] +
                                     after[-1] + after[0] + after[1];
                *centre = static_cast<BYTE>(sum / 9);
            }
        }
    }
}

void ApplyImageEffect(BYTE* bits, LONG w, LONG h, LONG_PTR stride, LONG effect) {
    if (!bits || w < 0 || h < 0 || stride <= w) return;
    if (effect == 0) effect = std::rand() % 20;
    const bool smoothFirst = effect >= 10 && effect <= 19;
    if (smoothFirst) effect -= 10;

    // The copy comes first, so that a picture is left as it was when there is
    // no memory for it.
    const bool blends = effect >= 4 && effect <= 9;
    const SIZE_T bytes = static_cast<SIZE_T>(h + LONG_PTR{1}) * static_cast<SIZE_T>(stride);
    HGLOBAL copy = blends ? GlobalAlloc(GPTR, bytes) : nullptr;
    if (blends && copy == nullptr) return;

    const Picture picture{bits, stride, w, h};
    if (smoothFirst) SmoothPass(bits, w, h, stride);
    if (blends) {
        auto* copied = static_cast<BYTE*>(GlobalLock(copy));
        std::memcpy(copied, bits, bytes);
        const LONG blend = effect <= 6 ? effect : effect - 3;
        BlendWithCopy(picture, copied, BlendMirror(blend));
        GlobalUnlock(copy);
        GlobalFree(copy);
        if (effect >= 7) SwapEffect(picture, 1);
    } else {
        SwapEffect(picture, effect);
    }
}
