#pragma once
// Packed device-independent bitmaps inside metafiles, as import filters
// return them.  Everything here reads untrusted bytes: every size is checked
// against the bytes there are.
#include <optional>

#include "platform/win32.h"

// The packed DIB of the first bitmap record (bitmap copy, stretched copy,
// DIB to device, stretched DIB) of a metafile `size` bytes long, and the
// bytes left in that record, or null when the metafile has none before its
// end.
const BYTE* FindEmbeddedDib(const BYTE* metafile, SIZE_T size, SIZE_T* dibSize);

// Bytes of colour table (and bit-field masks) after a DIB header: the
// colours-used count, else 2^bits for up to 8 bits, times 3 for a 12-byte
// header and 4 for the others, plus 12 for bit fields.  `header` holds at
// least its own size (12 or 40 and more bytes).
ULONGLONG ColourTableSize(const BYTE* header);

// Where the parts of a packed DIB with a header of 40 bytes or more lie.
struct PackedDibLayout {
    DWORD headerSize;
    ULONGLONG tableSize;
    ULONGLONG rowSize;   // bytes per row, padded to 32 bits
    ULONGLONG bitsSize;  // rows x rowSize
};

// The layout when header, table and bits all fit in `size` bytes.
std::optional<PackedDibLayout> ReadPackedDib(const BYTE* dib, SIZE_T size);
