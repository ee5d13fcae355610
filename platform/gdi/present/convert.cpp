// 8-bit to 32-bit conversion runs once per presented frame over the whole
// Canvas, so at 4K it touches 8 M pixels 60 times a second: the vector path is
// chosen once, at first use, from what the processor offers.
#include <cstring>

#include "platform/gdi/presenter.h"
#include "platform/gdi/present/convert_paths.h"

namespace gdi {
namespace detail {

void ConvertIndexedToRgb32Portable(const std::uint8_t* src, std::size_t count, const std::uint32_t* table,
                                   std::uint32_t* dst) {
    // One 8-byte load feeds eight look-ups; extracting the bytes by shifts
    // leaves the load ports to the table.
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, src + i, sizeof bytes);
        const std::uint32_t p0 = table[bytes & 0xFF];
        const std::uint32_t p1 = table[(bytes >> 8) & 0xFF];
        const std::uint32_t p2 = table[(bytes >> 16) & 0xFF];
        const std::uint32_t p3 = table[(bytes >> 24) & 0xFF];
        const std::uint32_t p4 = table[(bytes >> 32) & 0xFF];
        const std::uint32_t p5 = table[(bytes >> 40) & 0xFF];
        const std::uint32_t p6 = table[(bytes >> 48) & 0xFF];
        const std::uint32_t p7 = table[bytes >> 56];
        std::uint32_t* out = dst + i;
        out[0] = p0;
        out[1] = p1;
        out[2] = p2;
        out[3] = p3;
        out[4] = p4;
        out[5] = p5;
        out[6] = p6;
        out[7] = p7;
    }
    for (; i < count; ++i) {
        dst[i] = table[src[i]];
    }
}

}  // namespace detail

void ConvertIndexedToRgb32(const std::uint8_t* src, std::size_t count, const std::uint32_t* table,
                           std::uint32_t* dst) {
    using Path = void (*)(const std::uint8_t*, std::size_t, const std::uint32_t*, std::uint32_t*);
    static const Path path = detail::Avx512VbmiConversionAvailable() ? detail::ConvertIndexedToRgb32Avx512Vbmi
                             : detail::Avx2ConversionAvailable()     ? detail::ConvertIndexedToRgb32Avx2
                                                                     : detail::ConvertIndexedToRgb32Portable;
    path(src, count, table, dst);
}

}  // namespace gdi
