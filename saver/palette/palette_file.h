#pragma once
// Palette files (".PAL"): the custom colours on their own, 952 bytes, little-
// endian: the mark 00 42 00 42 (the mark of settings files), the length of
// the colour data as a u32 (944), then 236 entries of red, green, blue and
// flags bytes (flags 1).
#include <cstddef>

#include "saver/palette/palette_settings.h"

constexpr DWORD PaletteFileDataBytes = PaletteEntryCount * 4;  // 944
constexpr DWORD PaletteFileBytes = 8 + PaletteFileDataBytes;   // 952

// Why a palette file was refused.
enum class PaletteFileFault {
    None,
    CannotOpen,    // missing or unreadable
    NotPalette,    // fewer than 4 bytes, or not the mark
    WrongLength,   // a length field other than 944
    Truncated,     // the file ends before its 944 bytes of colours
};

// The file's bytes for these colours.
void BuildPaletteFile(const PALETTEENTRY* colours, BYTE* bytes);
// The colours of a file's first bytes (at most PaletteFileBytes are looked
// at), as LoadPaletteFile takes them.
PaletteFileFault ParsePaletteFile(const BYTE* bytes, std::size_t size, PALETTEENTRY* colours, DWORD* length = nullptr);

// Writes the custom colours to the file, replacing it.  1 when the whole
// file was written.
BOOL WritePaletteFile(const char* path);

// Reads the file's 236 colours into `colours`, every flags byte PC_RESERVED
// (the table goes to AnimatePalette as it is).  On any fault `colours` is
// left as it was.  `length` receives the length field when one was read.
PaletteFileFault LoadPaletteFile(const char* path, PALETTEENTRY* colours, DWORD* length = nullptr);

// The reason in words, for the user: "%s" is where the file name goes.
void DescribePaletteFileFault(PaletteFileFault fault, DWORD length, const char* path, char* text, std::size_t size);

// Replaces the custom colours with the file's and shows them through the
// page's palette.  A file that cannot be used changes nothing: it beeps and
// tells the user (a message box over `owner`) which file was refused and
// why.  1 when the colours were read.
BOOL ReadPaletteFile(HPALETTE palette, const char* path, HWND owner);
