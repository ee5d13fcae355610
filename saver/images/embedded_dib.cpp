#include "saver/images/embedded_dib.h"

#include <algorithm>

#include "platform/kernel/bytes.h"

namespace {

using platform::ReadDword;
using platform::ReadWord;

constexpr DWORD CoreHeaderSize = 12;
constexpr DWORD InfoHeaderSize = 40;
constexpr DWORD SmallestRecordWords = 3;  // the size and the function

// Where the packed DIB begins in a record of this function, or 0 when the
// record holds no bitmap.
DWORD DibOffset(WORD function) {
    switch (function) {
    case META_DIBBITBLT: return DibBitBltDibOffset;
    case META_DIBSTRETCHBLT: return DibStretchBltDibOffset;
    case META_SETDIBTODEV: return SetDibToDevDibOffset;
    case META_STRETCHDIB: return StretchDibDibOffset;
    default: return 0;
    }
}

}  // namespace

const BYTE* FindEmbeddedDib(const BYTE* metafile, SIZE_T size, SIZE_T* dibSize) {
    if (!metafile || size < 2 * static_cast<SIZE_T>(MetafileHeaderWords)) return nullptr;
    const SIZE_T end = std::min<ULONGLONG>(size, 2ull * ReadDword(metafile + 6));
    SIZE_T at = 2 * static_cast<SIZE_T>(ReadWord(metafile + 2));
    while (at <= end && end - at >= 2 * SmallestRecordWords) {
        const ULONGLONG bytes = 2ull * ReadDword(metafile + at);
        const WORD function = ReadWord(metafile + at + 4);
        if (bytes < 2 * SmallestRecordWords || bytes > end - at) return nullptr;
        if (const DWORD offset = DibOffset(function)) {
            if (offset >= bytes) return nullptr;
            if (dibSize) *dibSize = static_cast<SIZE_T>(bytes - offset);
            return metafile + at + offset;
        }
        if (function == META_EOF) return nullptr;
        at += static_cast<SIZE_T>(bytes);
    }
    return nullptr;
}

ULONGLONG ColourTableSize(const BYTE* header) {
    const DWORD size = ReadDword(header);
    const bool core = size == CoreHeaderSize;
    const WORD bits = ReadWord(header + (core ? 10 : 14));
    const DWORD used = core ? 0 : ReadDword(header + 32);
    const ULONGLONG colours = used != 0 ? used : bits <= 8 ? (1ull << bits) : 0;
    const bool bitFields = !core && ReadDword(header + 16) == BI_BITFIELDS;
    return colours * (core ? 3 : 4) + (bitFields ? 12 : 0);
}

std::optional<PackedDibLayout> ReadPackedDib(const BYTE* dib, SIZE_T size) {
    if (!dib || size < InfoHeaderSize) return std::nullopt;
    const DWORD headerSize = ReadDword(dib);
    if (headerSize < InfoHeaderSize || headerSize > size) return std::nullopt;
    const auto width = static_cast<LONG>(ReadDword(dib + 4));
    const auto height = static_cast<LONG>(ReadDword(dib + 8));
    const ULONGLONG planes = ReadWord(dib + 12), bits = ReadWord(dib + 14);
    if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
    PackedDibLayout layout{headerSize, ColourTableSize(dib), 0, 0};
    layout.rowSize = (static_cast<ULONGLONG>(width) * planes * bits + 31) / 32 * 4;
    const ULONGLONG rows = static_cast<ULONGLONG>(height < 0 ? -static_cast<LONGLONG>(height) : height);
    if (layout.tableSize > size - headerSize) return std::nullopt;
    const ULONGLONG room = size - headerSize - layout.tableSize;
    if (layout.rowSize > room / rows) return std::nullopt;
    layout.bitsSize = layout.rowSize * rows;
    return layout;
}
