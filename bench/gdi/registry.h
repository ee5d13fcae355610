#pragma once
// Each benchmark file registers its cases under names main.cpp pairs up:
// "memcpy32/WxH" and "convert.../WxH", "cairo/what/WxH" and "gdi/what/WxH".
#include <cstddef>
#include <cstdint>
#include <string>

#include "shapes.h"

namespace bench {

void RegisterConversionBenchmarks();
void RegisterCairoBenchmarks();
void RegisterGdiBenchmarks();

// The share of `count` bytes that are not zero.
inline double PaintedShare(const std::uint8_t* bytes, std::size_t count) {
    std::size_t painted = 0;
    for (std::size_t i = 0; i < count; ++i) {
        painted += bytes[i] != 0;
    }
    return count > 0 ? static_cast<double>(painted) / static_cast<double>(count) : 0;
}

inline std::string SizeName(CanvasSize size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

}  // namespace bench
