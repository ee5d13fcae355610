#pragma once
// The one transfer behind BitBlt, StretchBlt, StretchDIBits and
// SetDIBitsToDevice: nearest-neighbour sampling of a source rectangle onto a
// destination rectangle with Win32's choice of samples (negative extents
// mirror), colour matching, a ternary raster operation, and the destination
// DC's clip.
#include <cstddef>
#include <cstdint>

#include "platform/gdi/colour_map.h"
#include "platform/gdi/dc.h"

namespace gdi {

// Source pixels in their stored format; row y (top-down) at top + y * pitch.
struct SourcePixels {
    const std::uint8_t* top = nullptr;
    std::ptrdiff_t pitch = 0;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;
};

// How source values become destination values: 8-bit sources through `map`;
// 24/32-bit sources as colours, matched to `destinationTable` when the
// destination is 8-bit.
struct SourceColours {
    IndexMap map{};
    std::array<Rgb, 256> destinationTable{};
};

// A rectangle by corner and signed extents: a negative extent at x covers
// x, x - 1, ..., x + extent + 1.
struct Extent {
    std::int64_t x, y, width, height;
};

SourcePixels PixelsOf(Surface& s);

// The colour conversion from `source` (a surface's pixels) to `destination`.
SourceColours ColoursBetween(const Surface& source, const Surface& destination);

// Copies with the surfaces locked by the caller.  `overlapping`: source and
// destination share memory, so the source is read from a copy.
void Transfer(DeviceContext& dc, Surface& destination, const SourcePixels& source,
              const SourceColours& colours, const Extent& to, const Extent& from, std::uint8_t code,
              std::uint32_t pattern, bool overlapping);

}  // namespace gdi
