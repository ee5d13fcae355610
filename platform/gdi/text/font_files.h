#pragma once
// Finding font files through fontconfig, and the process's FreeType library.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <mutex>
#include <optional>
#include <string>

#include "platform/gdi/text/font.h"

namespace gdi::text::detail {

struct FontFile {
    std::string path;
    int index = 0;
    int weight = 400;       // of the file found, on the 100..900 scale
    bool italic = false;    // whether the file found is italic or oblique
};

// The best match for the font request, falling back to any sans-serif; none when the
// system has no usable font at all.
std::optional<FontFile> FindFont(const FontSpec& request);

// FreeType's library object is not thread-safe: hold the lock while creating
// or destroying faces.
std::mutex& LibraryMutex();
FT_Library Library();  // call with LibraryMutex held; nullptr when FreeType fails

}  // namespace gdi::text::detail
