#pragma once
// Writing uncompressed bitmap files, for the pictures a new Windows
// directory comes with.
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

// A ".bmp" file: 8 bits with `colours` entries of (blue, green, red, 0)
// bytes, or 24 bits without a table; `rows` is the bottom-up DIB body, rows
// padded to 4 bytes.
std::vector<BYTE> EncodeBitmapFile(int width, int height, int bitsPerPixel, const std::vector<BYTE>& colours,
                                   const std::vector<BYTE>& rows);

}  // namespace platform
