#pragma once
// JPEG pictures through libjpeg: colour pictures as 24 bits, grey ones as
// 8 bits with a grey ramp.
#include <cstddef>

#include "filters/common/packed_dib.h"

namespace filter {

// False for data that is not a whole JPEG picture (a truncated one
// included) or one beyond the limits.
bool DecodeJpeg(const BYTE* data, std::size_t size, PackedDib& picture);

}  // namespace filter
