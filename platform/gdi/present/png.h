#pragma once
// Writes pictures of the Canvas (0x00RRGGBB pixels, rows top to bottom) as
// 8-bit RGB PNG files.  The same pixels always give the same bytes, and the
// file appears whole or not at all: it is written beside the target under a
// temporary name and renamed over it.
#include <cstdint>
#include <string>

namespace gdi {

// On failure returns false, leaves any existing file at `path` as it was and,
// when `error` is given, says why.
bool WritePng(const std::string& path, const std::uint32_t* rgb, int width, int height, std::string* error);

}  // namespace gdi
