// The AVX-512 VBMI conversion.  Gathers are slow on some processors (on AMD
// Zen they lose to the scalar loop), so this path splits the table into four
// 256-byte planes, one per byte of the words, held in registers; it looks up
// 64 pixels per plane with two-table byte permutes and interleaves the planes
// back into words.  It outruns a memcpy of the 32-bit frame.
#include <immintrin.h>

#include "platform/gdi/present/convert_paths.h"

namespace gdi::detail {

bool Avx512VbmiConversionAvailable() {
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vbmi");
}

namespace {

#define LUMORA_VBMI __attribute__((target("avx512f,avx512bw,avx512vbmi")))

struct ChannelTables {
    __m512i quarter[4];  // entries 0..63, 64..127, 128..191, 192..255
};

LUMORA_VBMI ChannelTables LoadChannel(const std::uint32_t* table, int channel) {
    alignas(64) std::uint8_t bytes[256];
    for (int i = 0; i < 256; ++i) {
        bytes[i] = static_cast<std::uint8_t>(table[i] >> (8 * channel));
    }
    ChannelTables t;
    for (int q = 0; q < 4; ++q) {
        t.quarter[q] = _mm512_load_si512(bytes + 64 * q);
    }
    return t;
}

LUMORA_VBMI inline __m512i LookUp(const ChannelTables& t, __m512i index, __mmask64 upperHalf) {
    const __m512i lower = _mm512_permutex2var_epi8(t.quarter[0], index, t.quarter[1]);
    const __m512i upper = _mm512_permutex2var_epi8(t.quarter[2], index, t.quarter[3]);
    return _mm512_mask_blend_epi8(upperHalf, lower, upper);
}

// The byte and word unpacks work inside 128-bit lanes; feeding them the
// indices in this order makes the four results come out as pixels 0..15,
// 16..31, 32..47 and 48..63.  Position 16 * lane + 4 * k + j holds pixel
// 16 * k + 4 * lane + j.
LUMORA_VBMI __m512i LaneOrder() {
    alignas(64) std::uint8_t order[64];
    for (int lane = 0; lane < 4; ++lane) {
        for (int k = 0; k < 4; ++k) {
            for (int j = 0; j < 4; ++j) {
                order[16 * lane + 4 * k + j] = static_cast<std::uint8_t>(16 * k + 4 * lane + j);
            }
        }
    }
    return _mm512_load_si512(order);
}

}  // namespace

LUMORA_VBMI void ConvertIndexedToRgb32Avx512Vbmi(const std::uint8_t* src, std::size_t count,
                                                 const std::uint32_t* table, std::uint32_t* dst) {
    std::size_t i = 0;
    if (count >= 64) {
        const ChannelTables c0 = LoadChannel(table, 0);
        const ChannelTables c1 = LoadChannel(table, 1);
        const ChannelTables c2 = LoadChannel(table, 2);
        const ChannelTables c3 = LoadChannel(table, 3);
        const __m512i order = LaneOrder();
        for (; i + 64 <= count; i += 64) {
            // The zero-masked form with a full mask is the same instruction;
            // the plain one trips g++ 12's uninitialised-value warning.
            const __m512i index = _mm512_maskz_permutexvar_epi8(~__mmask64{0}, order, _mm512_loadu_si512(src + i));
            const __mmask64 upperHalf = _mm512_movepi8_mask(index);
            const __m512i b0 = LookUp(c0, index, upperHalf);
            const __m512i b1 = LookUp(c1, index, upperHalf);
            const __m512i b2 = LookUp(c2, index, upperHalf);
            const __m512i b3 = LookUp(c3, index, upperHalf);
            const __m512i lo01 = _mm512_unpacklo_epi8(b0, b1);
            const __m512i hi01 = _mm512_unpackhi_epi8(b0, b1);
            const __m512i lo23 = _mm512_unpacklo_epi8(b2, b3);
            const __m512i hi23 = _mm512_unpackhi_epi8(b2, b3);
            std::uint32_t* out = dst + i;
            _mm512_storeu_si512(out, _mm512_unpacklo_epi16(lo01, lo23));
            _mm512_storeu_si512(out + 16, _mm512_unpackhi_epi16(lo01, lo23));
            _mm512_storeu_si512(out + 32, _mm512_unpacklo_epi16(hi01, hi23));
            _mm512_storeu_si512(out + 48, _mm512_unpackhi_epi16(hi01, hi23));
        }
    }
    for (; i < count; ++i) {
        dst[i] = table[src[i]];
    }
}

}  // namespace gdi::detail
