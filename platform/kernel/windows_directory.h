#pragma once
// The Windows directory under the platform root.
#include <string>

namespace platform {

// $ROOT/windows, made when it is missing; a directory made here comes with
// the platform's own pictures, a few 8-bit and 24-bit bitmaps generated
// here.  Its path either way.
std::string EnsureWindowsDirectory();

}  // namespace platform
