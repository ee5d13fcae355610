#pragma once
// The 8-bit picture routines of the Bitmap slide show: picking a file from a
// mask, loading it (bitmap files directly, everything else through an
// import filter), and preparing a picture whose pixel values are palette
// indices.
#include <atomic>

#include "platform/win32.h"

// The position of the last file picked from a mask; starts at 0 and is kept
// for the life of the process.
extern std::atomic<LONG> LastPickedFile;

// The random numbers of the picture-loading worker: a sequence of its own,
// as a thread's C runtime generator is on Windows, so that loading never
// disturbs the draws of the drawing thread.  Same formula as rand().
void SeedWorkerRandom(DWORD seed);
LONG WorkerRandom();

// The number of entries FindFirstFileA/FindNextFileA list for the mask.
LONG CountMatchingFiles(const char* mask);

// Picks one of the mask's matches, in the order the file system lists them:
// a random one, or the one after the last picked (wrapping).  `path`
// receives the mask's directory and the name (MAX_PATH characters).  0
// when nothing matches.
BOOL PickMatchingFile(const char* mask, char* path, BOOL random);

// Loads the picked file: ".bmp", ".dib" and ".rle" with LoadImageA, any
// other through an import filter.  A DIB section, or null.
HBITMAP LoadImageFile(const char* mask, BOOL random);

// A DIB section holding a packed DIB of at most `size` bytes (header, colour
// table, bits), or null when the header, table or bits do not fit in `size`
// or describe a bitmap the Canvas does not keep.
HBITMAP BitmapFromPackedDib(const BYTE* dib, SIZE_T size);

// The header block of a prepared picture: a 40-byte header and 256 colours
// (later 256 palette indices in the first 512 bytes).
struct IndexDibHeader {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[256];

    BITMAPINFO* info() { return reinterpret_cast<BITMAPINFO*>(this); }
    // Entry i becomes palette index i, for drawing with DIB_PAL_COLORS.
    void UsePaletteIndices();
};

// An 8-bit bottom-up DIB section of w x h with 256 colours: a grey ramp, or
// the colour table of the bitmap selected in `dc`.  The header block and
// the bits come back beside it; null when it cannot be made.
HBITMAP CreateIndexDib(HDC dc, BOOL grey, LONG w, LONG h, IndexDibHeader*& header, BYTE*& bits);

// Brightness of a 16-, 24- or 32-bit DIB section into an 8-bit bottom-up
// body of the same size: the mean of the three channels, truncated; 16 and
// 32 bits through the image's bit-field masks or the usual ones.  Other
// depths leave the target alone.
void ConvertToGrey(const DIBSECTION& source, BYTE* target);
