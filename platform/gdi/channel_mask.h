#pragma once
// One colour channel of a 16- or 32-bit pixel, taken through its bit-field
// mask and scaled to 0..255: a mask wider than 8 bits loses its lowest bits
// until 8 remain, a narrower one is shifted up to fill 8 bits.
#include <bit>

#include "platform/types.h"

namespace gdi {

struct ChannelMask {
    DWORD mask = 0;
    int shift = 0;
    int width = 0;

    explicit ChannelMask(DWORD m) : mask(m) {
        if (!m) return;
        shift = std::countr_zero(m);
        width = static_cast<int>(std::bit_width(m >> shift));
        if (width > 8) {
            shift += width - 8;
            width = 8;
        }
    }
    BYTE operator()(DWORD pixel) const {
        if (!width) return 0;
        return static_cast<BYTE>((((pixel & mask) >> shift) & ((1u << width) - 1)) << (8 - width));
    }
};

}  // namespace gdi
