#pragma once
// Windows metafiles held in memory, as graphics import filters return them.
// All numbers are little-endian.  The header: type (WORD, 1 in memory), its
// own size in 16-bit words (WORD at byte 2, 9), version (WORD at 4), the
// whole metafile's size in 16-bit words (DWORD at 6), object count (WORD at
// 10), the largest record in words (DWORD at 12), a reserved WORD at 16.
// Each record: its size in 16-bit words (DWORD), its function (WORD at 4),
// then the function's parameters; META_EOF ends the metafile.
#include "platform/types.h"

constexpr WORD MetafileHeaderWords = 9;
constexpr WORD MetafileVersion = 0x0300;

constexpr WORD META_EOF = 0x0000;
constexpr WORD META_SETWINDOWORG = 0x020B;
constexpr WORD META_SETWINDOWEXT = 0x020C;
constexpr WORD META_DIBBITBLT = 0x0940;
constexpr WORD META_DIBSTRETCHBLT = 0x0B41;
constexpr WORD META_SETDIBTODEV = 0x0D33;
constexpr WORD META_STRETCHDIB = 0x0F43;

// Where the packed DIB begins inside each bitmap record, in bytes from the
// record's start: after the size, the function and the parameters.
constexpr DWORD DibBitBltDibOffset = 22;
constexpr DWORD DibStretchBltDibOffset = 26;
constexpr DWORD SetDibToDevDibOffset = 24;
constexpr DWORD StretchDibDibOffset = 28;
