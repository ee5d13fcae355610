#pragma once
// A file the program carries, generated from the source tree at build time
// (cmake/embed_files.cmake).
#include <cstddef>

struct EmbeddedFile {
    const char* name;
    const unsigned char* data;
    std::size_t size;
};
