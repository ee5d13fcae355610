#include "platform/gdi/pixel_ops.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/hardware_palette.h"

namespace gdi {

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
    const std::uint32_t bits = s.bitsPerPixel == 8 ? 0xFF : 0xFFFFFF;
    SolidInk ink;
    ink.flip = ApplyRop2(rop2, value, 0) & bits;
    ink.keep = (ApplyRop2(rop2, value, ~0u) & bits) ^ ink.flip;
    return ink;
}

namespace {

bool ClampSpan(const Surface& s, int y, int& x0, int& x1) {
    if (y < 0 || y >= s.height) return false;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, s.width);
    return x0 < x1;
}

// Runs go sixteen bytes at a time, one vector register on any x86-64 (the
// compiler does not vectorise the byte loop at -O2); the byte loop only
// finishes a run.
void KeepFlipBytes(std::uint8_t* p, std::size_t n, std::uint8_t keep, std::uint8_t flip) {
    using Block = std::uint64_t __attribute__((vector_size(16)));
    constexpr std::uint64_t kEveryByte = 0x0101010101010101u;
    const std::uint64_t keepWord = kEveryByte * keep, flipWord = kEveryByte * flip;
    std::size_t i = 0;
    for (; i + sizeof(Block) <= n; i += sizeof(Block)) {
        Block block;
        std::memcpy(&block, p + i, sizeof block);
        block = (block & keepWord) ^ flipWord;
        std::memcpy(p + i, &block, sizeof block);
    }
    for (; i < n; ++i) p[i] = static_cast<std::uint8_t>((p[i] & keep) ^ flip);
}

void SolidSpan8(Surface& s, int y, int x0, int x1, const SolidInk& ink) {
    if ((ink.keep == 0xFF && ink.flip == 0) || !ClampSpan(s, y, x0, x1)) return;
    std::uint8_t* p = s.row(y) + x0;
    const auto n = static_cast<std::size_t>(x1 - x0);
    if (ink.keep == 0)
        std::memset(p, static_cast<int>(ink.flip), n);
    else
        KeepFlipBytes(p, n, static_cast<std::uint8_t>(ink.keep), static_cast<std::uint8_t>(ink.flip));
}

// A ternary operation with its pattern fixed, bit by bit: the result for
// each pair of source and destination bits, as four masks.
struct SourceDestinationMasks {
    std::uint32_t noSource[2];    // source bit 0; destination bit 0, 1
    std::uint32_t withSource[2];  // source bit 1; destination bit 0, 1

    SourceDestinationMasks(std::uint8_t code, std::uint32_t pattern) {
        // Bit 4P + 2S + D of the code is the result for pattern, source and destination bits P, S, D.
        auto mask = [&](int sd) {
            return (((code >> (4 + sd)) & 1) ? pattern : 0) | (((code >> sd) & 1) ? ~pattern : 0);
        };
        noSource[0] = mask(0);
        noSource[1] = mask(1);
        withSource[0] = mask(2);
        withSource[1] = mask(3);
    }
    std::uint32_t apply(std::uint32_t src, std::uint32_t dst) const {
        const std::uint32_t s0 = noSource[0] ^ (dst & (noSource[0] ^ noSource[1]));
        const std::uint32_t s1 = withSource[0] ^ (dst & (withSource[0] ^ withSource[1]));
        return s0 ^ (src & (s0 ^ s1));
    }
};

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
    const SourceDestinationMasks op(code, pattern);
    for (int i = 0; i < n; ++i) p[i] = static_cast<std::uint8_t>(op.apply(src[i], p[i]));
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
    if ((ink.keep == 0xFFFFFF && ink.flip == 0) || !ClampSpan(s, y, x0, x1)) return;
    std::uint8_t* p = s.row(y) + x0 * Bytes;
    for (int x = x0; x < x1; ++x, p += Bytes) Store<Bytes>(p, (Load<Bytes>(p) & ink.keep) ^ ink.flip);
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
