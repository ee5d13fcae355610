#pragma once
// LoadImageA for bitmap files.
#include "platform/types.h"

constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_LOADFROMFILE = 0x0010;
constexpr UINT LR_CREATEDIBSECTION = 0x2000;

// Loads a ".bmp", ".dib" or ".rle" file (LR_LOADFROMFILE, IMAGE_BITMAP) at
// its own size (cx and cy 0) as a bottom-up DIB section: 8 bits with the
// file's colour table for files of up to 8 bits and RLE, 24 bits for 24,
// and 32 bits for 16- and 32-bit files (platform/gdi/bmp_reader.h says how
// their channels are scaled); the handle is the HBITMAP.  Resources, other
// image types and stretching are not supported (ERROR_NOT_SUPPORTED).  A file
// that is not a bitmap this platform reads, is truncated or would be larger
// than 16384 pixels a side or 2^26 pixels fails with ERROR_INVALID_DATA.
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);
