// The AVX2 conversion: the table look-up is a gather of eight entries at a
// time.  Only this file's functions are compiled for AVX2, so the program
// still runs on processors without it.
#include <immintrin.h>

#include "platform/gdi/present/convert_paths.h"

namespace gdi::detail {

bool Avx2ConversionAvailable() {
    return __builtin_cpu_supports("avx2");
}

__attribute__((target("avx2"))) void ConvertIndexedToRgb32Avx2(const std::uint8_t* src, std::size_t count,
                                                                const std::uint32_t* table,
                                                                std::uint32_t* dst) {
    const int* base = reinterpret_cast<const int*>(table);
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        const __m128i lo = _mm256_castsi256_si128(bytes);
        const __m128i hi = _mm256_extracti128_si256(bytes, 1);
        const __m256i i0 = _mm256_cvtepu8_epi32(lo);
        const __m256i i1 = _mm256_cvtepu8_epi32(_mm_srli_si128(lo, 8));
        const __m256i i2 = _mm256_cvtepu8_epi32(hi);
        const __m256i i3 = _mm256_cvtepu8_epi32(_mm_srli_si128(hi, 8));
        __m256i* out = reinterpret_cast<__m256i*>(dst + i);
        _mm256_storeu_si256(out + 0, _mm256_i32gather_epi32(base, i0, 4));
        _mm256_storeu_si256(out + 1, _mm256_i32gather_epi32(base, i1, 4));
        _mm256_storeu_si256(out + 2, _mm256_i32gather_epi32(base, i2, 4));
        _mm256_storeu_si256(out + 3, _mm256_i32gather_epi32(base, i3, 4));
    }
    for (; i + 8 <= count; i += 8) {
        const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i),
                            _mm256_i32gather_epi32(base, _mm256_cvtepu8_epi32(bytes), 4));
    }
    for (; i < count; ++i) {
        dst[i] = table[src[i]];
    }
}

}  // namespace gdi::detail
