#include "platform/gdi/pixel_ops.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/hardware_palette.h"

namespace gdi {
namespace {

constexpr int kCopyPen = 13, kNop = 11;  // R2_COPYPEN, R2_NOP

}  // namespace

std::uint32_t ApplyRop2(int rop2, std::uint32_t p, std::uint32_t d) {
    const unsigned t = static_cast<unsigned>(rop2 - 1) & 15;
    std::uint32_t r = 0;
    if (t & 1) r |= ~p & ~d;
    if (t & 2) r |= ~p & d;
    if (t & 4) r |= p & ~d;
    if (t & 8) r |= p & d;
    return r;
}

std::uint32_t ApplyRop3(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    switch (code) {
    case 0x00: return 0;
    case 0xFF: return ~0u;
    case 0xCC: return s;
    case 0x33: return ~s;
    case 0x66: return s ^ d;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    case 0xF0: return p;
    case 0x55: return ~d;
    case 0x5A: return p ^ d;
    default: break;
    }
    std::uint32_t r = 0;
    for (int m = 0; m < 8; ++m) {
        if (!((code >> m) & 1)) continue;
        r |= ((m & 4) ? p : ~p) & ((m & 2) ? s : ~s) & ((m & 1) ? d : ~d);
    }
    return r;
}

bool Rop3UsesSource(std::uint8_t code) { return ((code >> 2) & 0x33) != (code & 0x33); }
bool Rop3UsesPattern(std::uint8_t code) { return ((code >> 4) & 0x0F) != (code & 0x0F); }

int Rop2FromRop3(std::uint8_t code) {
    const int t = (code & 1) | (code & 2) | ((code >> 2) & 4) | ((code >> 2) & 8);
    return t + 1;
}

SolidInk MakeInk(const Surface& s, std::uint32_t value, int rop2) {
    SolidInk ink;
    ink.value = value;
    ink.rop2 = rop2;
    // Copy and no-op runs never read the table.
    if (s.bitsPerPixel == 8 && rop2 != kCopyPen && rop2 != kNop)
        for (unsigned d = 0; d < 256; ++d) ink.table[d] = static_cast<std::uint8_t>(ApplyRop2(rop2, value, d));
    return ink;
}

namespace {

bool ClampSpan(const Surface& s, int y, int& x0, int& x1) {
    if (y < 0 || y >= s.height) return false;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, s.width);
    return x0 < x1;
}

void SolidSpan8(Surface& s, int y, int x0, int x1, const SolidInk& ink) {
    if (ink.rop2 == kNop || !ClampSpan(s, y, x0, x1)) return;
    std::uint8_t* p = s.row(y) + x0;
    if (ink.rop2 == kCopyPen) {
        std::memset(p, static_cast<int>(ink.value & 0xFF), static_cast<std::size_t>(x1 - x0));
        return;
    }
    for (int x = x0; x < x1; ++x, ++p) *p = ink.table[*p];
}

void CopySpan8(Surface& s, int y, int x0, int x1, const std::uint32_t* src, std::uint8_t code,
               std::uint32_t pattern) {
    const int skip = std::max(0, -x0);
    if (!ClampSpan(s, y, x0, x1)) return;
    src += skip;
    std::uint8_t* p = s.row(y) + x0;
    const int n = x1 - x0;
    if (code == 0xCC) {
        for (int i = 0; i < n; ++i) p[i] = static_cast<std::uint8_t>(src[i]);
        return;
    }
    for (int i = 0; i < n; ++i) p[i] = static_cast<std::uint8_t>(ApplyRop3(code, pattern, src[i], p[i]));
}

std::uint32_t Get8(Surface& s, int x, int y) { return s.row(y)[x]; }
void Set8(Surface& s, int x, int y, std::uint32_t v) { s.row(y)[x] = static_cast<std::uint8_t>(v); }

template <int Bytes>
std::uint32_t Load(const std::uint8_t* p) {
    return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}
template <int Bytes>
void Store(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    if constexpr (Bytes == 4) p[3] = 0;
}

template <int Bytes>
void SolidSpanRgb(Surface& s, int y, int x0, int x1, const SolidInk& ink) {
    if (ink.rop2 == kNop || !ClampSpan(s, y, x0, x1)) return;
    std::uint8_t* p = s.row(y) + x0 * Bytes;
    for (int x = x0; x < x1; ++x, p += Bytes)
        Store<Bytes>(p, ApplyRop2(ink.rop2, ink.value, Load<Bytes>(p)) & 0xFFFFFF);
}

template <int Bytes>
void CopySpanRgb(Surface& s, int y, int x0, int x1, const std::uint32_t* src, std::uint8_t code,
                 std::uint32_t pattern) {
    const int skip = std::max(0, -x0);
    if (!ClampSpan(s, y, x0, x1)) return;
    src += skip;
    std::uint8_t* p = s.row(y) + x0 * Bytes;
    for (int i = 0; i < x1 - x0; ++i, p += Bytes)
        Store<Bytes>(p, ApplyRop3(code, pattern, src[i], Load<Bytes>(p)) & 0xFFFFFF);
}

template <int Bytes>
std::uint32_t GetRgb(Surface& s, int x, int y) {
    return Load<Bytes>(s.row(y) + x * Bytes);
}
template <int Bytes>
void SetRgb(Surface& s, int x, int y, std::uint32_t v) {
    Store<Bytes>(s.row(y) + x * Bytes, v & 0xFFFFFF);
}

constexpr PixelOps kOps8{SolidSpan8, CopySpan8, Get8, Set8};
constexpr PixelOps kOps24{SolidSpanRgb<3>, CopySpanRgb<3>, GetRgb<3>, SetRgb<3>};
constexpr PixelOps kOps32{SolidSpanRgb<4>, CopySpanRgb<4>, GetRgb<4>, SetRgb<4>};

}  // namespace

const PixelOps& OpsFor(const Surface& s) {
    return s.bitsPerPixel == 8 ? kOps8 : s.bitsPerPixel == 24 ? kOps24 : kOps32;
}

Rgb ShownColour(const Surface& s, std::uint32_t value) {
    if (s.bitsPerPixel != 8) return value & 0xFFFFFF;
    if (s.device) return HardwareColour(static_cast<std::uint8_t>(value));
    return s.table[value & 0xFF];
}

}  // namespace gdi
