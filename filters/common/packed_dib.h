#pragma once
// The picture a filter decodes, as a packed device-independent bitmap: a
// 40-byte header, the colour table, then the rows bottom-up, each padded to
// 32 bits.
#include <vector>

#include "platform/gdi/gdi.h"

namespace filter {

// Pictures beyond these are refused from their headers, before anything is
// allocated.  Fuzzing builds take smaller pictures only, so that each run
// stays quick; the code is the same.
constexpr int MaxSide = 16384;
#ifdef LUMORA_FUZZING
constexpr unsigned long long MaxPixels = 1ull << 20;
#else
constexpr unsigned long long MaxPixels = 1ull << 26;
#endif

bool WithinLimits(long long width, long long height);

class PackedDib {
public:
    // Header, table and zeroed rows of 8 or 24 bits per pixel; false for a
    // size beyond the limits or without memory.
    bool Create(int width, int height, int bitsPerPixel, const std::vector<RGBQUAD>& colours = {});

    int width() const { return width_; }
    int height() const { return height_; }
    std::size_t stride() const { return stride_; }
    // Row y counted from the top of the picture.
    BYTE* row(int y) { return bytes_.data() + bitsAt_ + stride_ * static_cast<std::size_t>(height_ - 1 - y); }
    const std::vector<BYTE>& bytes() const { return bytes_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::size_t stride_ = 0;
    std::size_t bitsAt_ = 0;
    std::vector<BYTE> bytes_;
};

// A grey ramp: entry i is (i, i, i).
std::vector<RGBQUAD> GreyColours(int count = 256);

}  // namespace filter
