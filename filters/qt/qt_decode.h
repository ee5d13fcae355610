#pragma once
// Pictures in every format the installed Qt image readers take (PNG, GIF,
// TIFF, WebP among them): pictures with a colour table of up to 256 entries
// as 8 bits with that table, all others as 24 bits over black.
#include <cstddef>

#include "filters/common/packed_dib.h"

namespace filter {

bool DecodeWithQt(const BYTE* data, std::size_t size, PackedDib& picture);

}  // namespace filter
