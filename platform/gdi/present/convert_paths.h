#pragma once
// The implementations behind gdi::ConvertIndexedToRgb32, exposed so tests
// and benchmarks can hold them to the same results.  All take any alignment
// and any count.
#include <cstddef>
#include <cstdint>

namespace gdi::detail {

void ConvertIndexedToRgb32Portable(const std::uint8_t* src, std::size_t count, const std::uint32_t* table,
                                   std::uint32_t* dst);

// True when this processor runs ConvertIndexedToRgb32Avx512Vbmi.
bool Avx512VbmiConversionAvailable();

// Only to be called when Avx512VbmiConversionAvailable().
void ConvertIndexedToRgb32Avx512Vbmi(const std::uint8_t* src, std::size_t count, const std::uint32_t* table,
                                     std::uint32_t* dst);

// True when this processor runs ConvertIndexedToRgb32Avx2.
bool Avx2ConversionAvailable();

// Only to be called when Avx2ConversionAvailable().
void ConvertIndexedToRgb32Avx2(const std::uint8_t* src, std::size_t count, const std::uint32_t* table,
                               std::uint32_t* dst);

}  // namespace gdi::detail
