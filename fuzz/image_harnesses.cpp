// The readers of untrusted picture bytes: bitmap files, metafiles and the
// packed DIBs in them, and what each import filter makes of a file.
#include <cstring>
#include <vector>

#include "filters/common/filter_import.h"
#include "filters/jpeg/jpeg_decode.h"
#include "filters/pcx/pcx_decode.h"
#include "filters/qt/qt_decode.h"
#include "fuzz/harnesses.h"
#include "platform/gdi/bmp_reader.h"
#include "saver/images/embedded_dib.h"

namespace {

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

// A packed DIB found in `size` bytes: every part of it is readable.
void TouchPackedDib(const BYTE* dib, std::size_t size) {
    const auto layout = ReadPackedDib(dib, size);
    if (!layout) return;
    const ULONGLONG end = layout->headerSize + layout->tableSize + layout->bitsSize;
    Check(end <= size);
    volatile BYTE last = end ? dib[end - 1] : 0;
    (void)last;
}

// What a filter hands the program: a metafile with the decoded picture,
// found again exactly as it was packed.
int FuzzFilter(filter::Decoder decode, const std::uint8_t* data, std::size_t size) {
    filter::PackedDib picture;
    if (!decode(data, size, picture)) return 0;
    std::vector<BYTE> metafile(filter::MetafileBytes(picture));
    filter::WriteMetafile(picture, metafile.data());
    SIZE_T dibSize = 0;
    const BYTE* dib = FindEmbeddedDib(metafile.data(), metafile.size(), &dibSize);
    Check(dib != nullptr && dibSize >= picture.bytes().size());
    Check(std::memcmp(dib, picture.bytes().data(), picture.bytes().size()) == 0);
    const auto layout = ReadPackedDib(dib, dibSize);
    Check(layout.has_value());
    return 0;
}

}  // namespace

int FuzzBmpReader(const std::uint8_t* data, std::size_t size) {
    const gdi::BmpLimits limits{2048, 1u << 20};
    const auto image = gdi::ReadBmpHeader(data, size, limits);
    if (!image) return 0;
    Check(image->width > 0 && image->height > 0 && image->width <= limits.maxSide);
    std::vector<BYTE> bits(image->stride() * static_cast<std::size_t>(image->height));
    gdi::ReadBmpPixels(data, size, *image, bits.data());
    return 0;
}

int FuzzEmbeddedDib(const std::uint8_t* data, std::size_t size) {
    SIZE_T dibSize = 0;
    const BYTE* dib = FindEmbeddedDib(data, size, &dibSize);
    if (dib) {
        Check(dib >= data && dib < data + size && dibSize <= static_cast<SIZE_T>(data + size - dib));
        TouchPackedDib(dib, dibSize);
    }
    // The same bytes as a packed DIB of their own.
    TouchPackedDib(data, size);
    return 0;
}

int FuzzJpegFilter(const std::uint8_t* data, std::size_t size) { return FuzzFilter(filter::DecodeJpeg, data, size); }
int FuzzPcxFilter(const std::uint8_t* data, std::size_t size) { return FuzzFilter(filter::DecodePcx, data, size); }
int FuzzQtFilter(const std::uint8_t* data, std::size_t size) { return FuzzFilter(filter::DecodeWithQt, data, size); }
