#include "platform/gdi/bmp_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/channel_mask.h"
#include "platform/kernel/bytes.h"

namespace gdi {
namespace {

using platform::ReadDword;
using platform::ReadWord;

constexpr std::size_t kFileHeaderSize = 14;
constexpr DWORD kCoreHeaderSize = 12;
constexpr DWORD kInfoHeaderSize = 40;
constexpr DWORD kMaskedHeaderSize = 52;  // the first header with the masks inside

bool ValidDepth(int bits, DWORD compression) {
    switch (compression) {
    case BI_RGB: return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case BI_RLE8: return bits == 8;
    case BI_RLE4: return bits == 4;
    case BI_BITFIELDS: return bits == 16 || bits == 32;
    default: return false;
    }
}

using Channel = ChannelMask;

void DecodeRow(const BmpImage& image, const BYTE* in, BYTE* out, const Channel* channels) {
    const int w = image.width;
    switch (image.fileBitsPerPixel) {
    case 1:
        for (int x = 0; x < w; ++x) out[x] = (in[x >> 3] >> (7 - (x & 7))) & 1;
        break;
    case 4:
        for (int x = 0; x < w; ++x) out[x] = (x & 1) ? (in[x >> 1] & 0x0F) : (in[x >> 1] >> 4);
        break;
    case 8:
    case 24:
        std::memcpy(out, in, static_cast<std::size_t>(w) * (image.fileBitsPerPixel / 8));
        break;
    default:  // 16 and 32 bits through the masks
        for (int x = 0; x < w; ++x) {
            const DWORD pixel = image.fileBitsPerPixel == 16 ? ReadWord(in + 2 * x) : ReadDword(in + 4 * x);
            out[4 * x] = channels[2](pixel);
            out[4 * x + 1] = channels[1](pixel);
            out[4 * x + 2] = channels[0](pixel);
            out[4 * x + 3] = 0;
        }
        break;
    }
}

bool ReadUncompressed(const BYTE* data, std::size_t size, const BmpImage& image, BYTE* bits) {
    const std::uint64_t fileStride = (static_cast<std::uint64_t>(image.width) * image.fileBitsPerPixel + 31) / 32 * 4;
    if (fileStride * static_cast<std::uint64_t>(image.height) > size - image.dataOffset) return false;
    const Channel channels[3] = {Channel(image.masks[0]), Channel(image.masks[1]), Channel(image.masks[2])};
    const std::size_t stride = image.stride();
    for (int r = 0; r < image.height; ++r) {
        const BYTE* in = data + image.dataOffset + fileStride * static_cast<std::uint64_t>(r);
        // Stored rows go bottom-up; a top-down file stores its top row first.
        const int row = image.topDown ? image.height - 1 - r : r;
        DecodeRow(image, in, bits + stride * static_cast<std::size_t>(row), channels);
    }
    return true;
}

// RLE8 and RLE4: runs of one value (of alternating nibbles for RLE4) and
// escapes for end of line, end of bitmap, a move ahead and literal pixels.
// Pixels beyond the picture's width are dropped; the picture ends at the end
// marker or its last row.
bool ReadRunLength(const BYTE* data, std::size_t size, const BmpImage& image, BYTE* bits) {
    const bool four = image.compression == BI_RLE4;
    const std::size_t stride = image.stride();
    const BYTE* p = data + image.dataOffset;
    const BYTE* end = data + size;
    std::int64_t x = 0, y = 0;
    auto put = [&](BYTE value) {
        if (x < image.width) bits[stride * static_cast<std::size_t>(y) + static_cast<std::size_t>(x)] = value;
        ++x;
    };
    while (y < image.height) {
        if (end - p < 2) return false;
        const BYTE count = p[0], value = p[1];
        p += 2;
        if (count > 0) {
            if (!four && x < image.width) {
                const std::int64_t n = std::min<std::int64_t>(count, image.width - x);
                std::memset(bits + stride * static_cast<std::size_t>(y) + static_cast<std::size_t>(x), value,
                            static_cast<std::size_t>(n));
                x += count;
            } else {
                for (int i = 0; i < count; ++i) put(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            }
            continue;
        }
        switch (value) {
        case 0:  // end of line
            x = 0;
            ++y;
            break;
        case 1:  // end of bitmap
            return true;
        case 2:  // move ahead
            if (end - p < 2) return false;
            x = std::min<std::int64_t>(x + p[0], image.width);
            y += p[1];
            p += 2;
            break;
        default: {  // `value` literal pixels, padded to a 16-bit boundary
            const std::size_t bytes = four ? (value + 1u) / 2 : value;
            const std::size_t padded = bytes + (bytes & 1);
            if (static_cast<std::size_t>(end - p) < bytes) return false;
            for (int i = 0; i < value; ++i) put(four ? ((i & 1) ? (p[i / 2] & 0x0F) : (p[i / 2] >> 4)) : p[i]);
            p += std::min<std::size_t>(padded, static_cast<std::size_t>(end - p));
            break;
        }
        }
    }
    return true;
}

}  // namespace

std::optional<BmpImage> ReadBmpHeader(const BYTE* data, std::size_t size, const BmpLimits& limits) {
    if (!data || size < kFileHeaderSize + kCoreHeaderSize || data[0] != 'B' || data[1] != 'M') return std::nullopt;
    const DWORD offBits = ReadDword(data + 10);
    const DWORD headerSize = ReadDword(data + 14);
    const BYTE* h = data + kFileHeaderSize;
    BmpImage image;
    std::int64_t width, height;
    DWORD coloursUsed = 0;
    std::size_t entrySize = 4;
    std::size_t tableAt = kFileHeaderSize + headerSize;
    if (headerSize == kCoreHeaderSize) {
        width = ReadWord(h + 4);
        height = ReadWord(h + 6);
        if (ReadWord(h + 8) != 1) return std::nullopt;
        image.fileBitsPerPixel = ReadWord(h + 10);
        entrySize = 3;
    } else {
        if (headerSize < kInfoHeaderSize || headerSize > size - kFileHeaderSize) return std::nullopt;
        width = static_cast<LONG>(ReadDword(h + 4));
        height = static_cast<LONG>(ReadDword(h + 8));
        if (ReadWord(h + 12) != 1) return std::nullopt;
        image.fileBitsPerPixel = ReadWord(h + 14);
        image.compression = ReadDword(h + 16);
        coloursUsed = ReadDword(h + 32);
        if (image.compression == BI_BITFIELDS) {
            // A 40-byte header is followed by the three masks.
            const std::size_t masksAt = kFileHeaderSize + kInfoHeaderSize;
            if (headerSize < kMaskedHeaderSize) tableAt += 12;
            if (tableAt > size) return std::nullopt;
            for (int i = 0; i < 3; ++i) image.masks[i] = ReadDword(data + masksAt + 4 * i);
        }
    }
    if (!ValidDepth(image.fileBitsPerPixel, image.compression)) return std::nullopt;
    image.topDown = height < 0;
    if (image.topDown && image.compression != BI_RGB && image.compression != BI_BITFIELDS) return std::nullopt;
    height = height < 0 ? -height : height;
    if (width <= 0 || height <= 0 || width > limits.maxSide || height > limits.maxSide ||
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > limits.maxPixels)
        return std::nullopt;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);

    if (image.fileBitsPerPixel <= 8) {
        const DWORD full = 1u << image.fileBitsPerPixel;
        const DWORD count = coloursUsed == 0 ? full : std::min(coloursUsed, full);
        if (tableAt > size || (size - tableAt) / entrySize < count) return std::nullopt;
        image.colours.resize(count);
        for (DWORD i = 0; i < count; ++i) {
            const BYTE* e = data + tableAt + i * entrySize;
            image.colours[i] = {e[0], e[1], e[2], 0};
        }
        image.bitsPerPixel = 8;
    } else if (image.fileBitsPerPixel == 24) {
        image.bitsPerPixel = 24;
    } else {
        image.bitsPerPixel = 32;
        if (image.compression == BI_RGB) {
            const bool sixteen = image.fileBitsPerPixel == 16;
            image.masks[0] = sixteen ? 0x7C00 : 0xFF0000;
            image.masks[1] = sixteen ? 0x03E0 : 0x00FF00;
            image.masks[2] = sixteen ? 0x001F : 0x0000FF;
        }
    }
    // Some writers leave the offset 0: the pixels then follow the table.
    const std::size_t tableEnd = tableAt + image.colours.size() * entrySize;
    image.dataOffset = offBits == 0 ? tableEnd : offBits;
    if (image.dataOffset >= size) return std::nullopt;
    return image;
}

bool ReadBmpPixels(const BYTE* data, std::size_t size, const BmpImage& image, BYTE* bits) {
    if (!data || !bits || image.dataOffset >= size) return false;
    if (image.compression == BI_RLE8 || image.compression == BI_RLE4) return ReadRunLength(data, size, image, bits);
    return ReadUncompressed(data, size, image, bits);
}

}  // namespace gdi
