#pragma once
// Colour matching between surfaces: a source index becomes the destination
// index of the nearest colour.  Maps between two 8-bit colour tables are
// cached per pair of tables, since the same pairs come back blit after blit.
#include <array>
#include <cstdint>

#include "platform/gdi/surface.h"

namespace gdi {

using IndexMap = std::array<std::uint32_t, 256>;

// The colours of an 8-bit surface's indices (device surfaces: the hardware
// palette now in force).
std::array<Rgb, 256> ColourTableOf(const Surface& s);

// For each source colour, the nearest entry of `destination`; the identity
// when the tables are equal.
IndexMap NearestMap(const std::array<Rgb, 256>& source, const std::array<Rgb, 256>& destination);

// Nearest entries for arbitrary colours (24/32-bit sources), remembered in a
// small direct-mapped cache for the life of one transfer.
class NearestCache {
public:
    explicit NearestCache(const std::array<Rgb, 256>& table);
    std::uint8_t operator()(Rgb colour);

private:
    const std::array<Rgb, 256>& table_;
    std::array<std::uint32_t, 4096> keys_;
    std::array<std::uint8_t, 4096> values_{};
};

}  // namespace gdi
