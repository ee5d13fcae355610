#pragma once
// Reading ".bmp", ".dib" and ".rle" files: 1, 4, 8, 16, 24 and 32 bits per
// pixel, RLE4 and RLE8 compression, bit fields, top-down and bottom-up rows,
// old-style (12-byte) and newer headers.  Nothing in the file is trusted:
// every size and offset is checked against the data, and a picture beyond
// the limits is refused from its header, before anything is allocated.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gdi/gdi.h"

namespace gdi {

struct BmpLimits {
    int maxSide = 16384;
    std::uint64_t maxPixels = std::uint64_t{1} << 26;
};

// A checked bitmap file.  The pixels come out as the body of a bottom-up DIB
// of a depth the Canvas keeps: 8 bits (indices into `colours`) for files of
// up to 8 bits, 24 for 24, and 32 (blue, green, red, 0) for 16 and 32 bits,
// each channel taken through its mask and scaled to 8 bits by shifting.
struct BmpImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;
    std::vector<RGBQUAD> colours;

    // How the file stores its pixels.
    std::size_t dataOffset = 0;
    int fileBitsPerPixel = 8;
    DWORD compression = BI_RGB;
    bool topDown = false;
    DWORD masks[3] = {};  // red, green, blue for 16 and 32 bits

    std::size_t stride() const { return (static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32 * 4; }
};

// The header and colour table of a bitmap file, or nothing when the data is
// not a bitmap this reader takes or exceeds the limits.
std::optional<BmpImage> ReadBmpHeader(const BYTE* data, std::size_t size, const BmpLimits& limits = {});

// Decodes the pixels into `bits`, stride() x height bytes that the caller
// has zero-filled (RLE leaves skipped pixels alone).  False when the data
// ends before the picture does.
bool ReadBmpPixels(const BYTE* data, std::size_t size, const BmpImage& image, BYTE* bits);

}  // namespace gdi
