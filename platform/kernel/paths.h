#pragma once
// Small path helpers shared by the file functions.
#include <string>

#include "platform/types.h"

namespace platform::kernel {

// Copies text into a caller's buffer the Win32 way: on success the length
// without the terminating zero; when the buffer is too small, the size
// needed including the zero (and the buffer is left alone).
DWORD CopyToBuffer(const std::string& text, LPSTR buffer, DWORD size);

// The directory part of a path ("." when there is none).
std::string DirectoryOf(const std::string& path);

}  // namespace platform::kernel
