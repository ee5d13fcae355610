#pragma once
// PC Paintbrush pictures: 1 bit (two colours), 4 bits (four planes of one bit
// or one plane of four bits, sixteen colours), 8 bits (256 colours, the
// palette at the end of the file) and 24 bits (three planes of eight), run-
// length encoded or plain.
#include <cstddef>

#include "filters/common/packed_dib.h"

namespace filter {

// False for data that is not such a picture, a truncated one included, or
// one beyond the limits.
bool DecodePcx(const BYTE* data, std::size_t size, PackedDib& picture);

}  // namespace filter
