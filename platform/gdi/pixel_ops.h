#pragma once
// The primitive operations every drawing call ends in, one table per pixel
// format: a solid run under a binary raster operation, and a run of source
// values under a ternary raster operation.  Values are in the surface's own
// format: an index byte on 8-bit surfaces, 0x00RRGGBB on 24/32-bit ones.
#include <cstdint>

#include "platform/gdi/surface.h"

namespace gdi {

// A pen or brush colour under a binary raster operation (R2_*).  With the
// pen fixed, every result bit is 0, 1, the destination bit or its inverse,
// so any operation is destination -> (destination & keep) ^ flip, which whole
// runs of pixels can apply a machine word at a time.
struct SolidInk {
    std::uint32_t keep = 0;
    std::uint32_t flip = 0;
};
SolidInk MakeInk(const Surface& s, std::uint32_t value, int rop2);

// f(P, D) of a binary raster operation, bit by bit.
std::uint32_t ApplyRop2(int rop2, std::uint32_t pen, std::uint32_t dst);
// f(P, S, D) of the raster operation byte of a ternary code, bit by bit.
std::uint32_t ApplyRop3(std::uint8_t code, std::uint32_t pattern, std::uint32_t src, std::uint32_t dst);
// Whether a ternary operation reads the source or the pattern.
bool Rop3UsesSource(std::uint8_t code);
bool Rop3UsesPattern(std::uint8_t code);
// The binary operation equal to a ternary one that ignores its source.
int Rop2FromRop3(std::uint8_t code);

struct PixelOps {
    // Pixels [x0, x1) of row y (clamped to the surface).
    void (*solidSpan)(Surface& s, int y, int x0, int x1, const SolidInk& ink);
    // Pixels [x0, x1) of row y from src[0 .. x1 - x0) under a ternary code.
    void (*copySpan)(Surface& s, int y, int x0, int x1, const std::uint32_t* src, std::uint8_t code,
                     std::uint32_t pattern);
    std::uint32_t (*get)(Surface& s, int x, int y);
    void (*set)(Surface& s, int x, int y, std::uint32_t value);
};
const PixelOps& OpsFor(const Surface& s);

// The colour a stored value shows (device surfaces: the hardware colour now).
Rgb ShownColour(const Surface& s, std::uint32_t value);

}  // namespace gdi
