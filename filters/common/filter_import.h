#pragma once
// What every filter's ImportGr does: read the file the caller names, decode
// it, and hand the picture back as a metafile in global memory holding one
// stretched-DIB record, as import filters do.
#include <cstddef>
#include <vector>

#include "filters/common/packed_dib.h"
#include "platform/gdi/gdi.h"

namespace filter {

// ImportGr's results: 0 is success.
constexpr int ImportOk = 0;
constexpr int ImportBadArguments = 1;
constexpr int ImportCannotRead = 2;
constexpr int ImportBadData = 3;
constexpr int ImportNoMemory = 4;

// Files larger than this are not read.
constexpr std::size_t MaxFileBytes = std::size_t{256} << 20;

using Decoder = bool (*)(const BYTE* data, std::size_t size, PackedDib& picture);

// The metafile of a picture: header, window origin and extent, the
// stretched-DIB record with the packed DIB, end of file.  WriteMetafile
// fills MetafileBytes(picture) bytes.
std::size_t MetafileBytes(const PackedDib& picture);
void WriteMetafile(const PackedDib& picture, BYTE* out);

int ImportPicture(const FilterFileSpec* file, FilterPicture* picture, Decoder decode);

}  // namespace filter

// The entry points of a filter whose pictures come from `decoder`.
#define LUMORA_IMPORT_FILTER(decoder)                                                                          \
    extern "C" __attribute__((visibility("default"))) int GetFilterInfo(short, LPSTR, HGLOBAL* preferences,   \
                                                                        LPVOID) {                            \
        if (preferences) *preferences = nullptr;                                                             \
        return FilterInterfaceVersion;                                                                       \
    }                                                                                                        \
    extern "C" __attribute__((visibility("default"))) int ImportGr(HDC, FilterFileSpec* file,                 \
                                                                   FilterPicture* picture, HGLOBAL) {         \
        return filter::ImportPicture(file, picture, decoder);                                                \
    }
