#pragma once
// Reading BITMAPINFO blocks: header checks, row layout and colour tables.
#include <array>
#include <cstddef>
#include <optional>

#include "platform/gdi/dc.h"

namespace gdi {

struct DibLayout {
    int width = 0;
    int height = 0;          // rows, positive
    bool bottomUp = true;
    int bitsPerPixel = 8;    // 8, 24 or 32
    std::size_t stride = 0;  // bytes per row, padded to 4
    int colours = 0;         // colour table entries (8 bits per pixel)
};

// The layout of a DIB the Canvas handles (BI_RGB, 8/24/32 bits, sane sizes).
std::optional<DibLayout> ReadDibLayout(const BITMAPINFO* info);

// The colour of each index of an 8-bit DIB's table: RGBQUADs, or WORD
// logical palette indices naming the colours of the DC's palette entries
// (DIB_PAL_COLORS).  Indices beyond the table show black.
std::array<Rgb, 256> DibColours(const BITMAPINFO* info, const DibLayout& layout, UINT usage,
                                const DeviceContext* dc);

}  // namespace gdi
