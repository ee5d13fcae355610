#include "saver/palette/palette_file.h"

#include <cstdio>
#include <cstring>

#include "saver/framework/module_record.h"

namespace {

// The same four bytes that open a settings file.
constexpr BYTE PaletteFileMark[4] = {0x00, 0x42, 0x00, 0x42};

// Reads up to `size` bytes, however the system splits the reads; the count
// read.
DWORD ReadUpTo(HANDLE file, BYTE* buffer, DWORD size) {
    DWORD total = 0;
    while (total < size) {
        DWORD got = 0;
        if (!ReadFile(file, buffer + total, size - total, &got, nullptr) || got == 0) break;
        total += got;
    }
    return total;
}

DWORD LittleEndian(const BYTE* bytes) {
    return static_cast<DWORD>(bytes[0]) | static_cast<DWORD>(bytes[1]) << 8 | static_cast<DWORD>(bytes[2]) << 16 |
           static_cast<DWORD>(bytes[3]) << 24;
}

}  // namespace

void BuildPaletteFile(const PALETTEENTRY* colours, BYTE* bytes) {
    std::memcpy(bytes, PaletteFileMark, sizeof PaletteFileMark);
    for (int shift = 0; shift < 4; ++shift) bytes[4 + shift] = static_cast<BYTE>(PaletteFileDataBytes >> (8 * shift));
    for (int i = 0; i < PaletteEntryCount; ++i) {
        BYTE* out = bytes + 8 + 4 * i;
        out[0] = colours[i].peRed;
        out[1] = colours[i].peGreen;
        out[2] = colours[i].peBlue;
        out[3] = PC_RESERVED;
    }
}

PaletteFileFault ParsePaletteFile(const BYTE* bytes, std::size_t size, PALETTEENTRY* colours, DWORD* length) {
    if (bytes == nullptr || size < 4 || std::memcmp(bytes, PaletteFileMark, sizeof PaletteFileMark) != 0) {
        return PaletteFileFault::NotPalette;
    }
    if (size < 8) return PaletteFileFault::Truncated;
    const DWORD declared = LittleEndian(bytes + 4);
    if (length != nullptr) *length = declared;
    if (declared != PaletteFileDataBytes) return PaletteFileFault::WrongLength;
    if (size < PaletteFileBytes) return PaletteFileFault::Truncated;
    for (int i = 0; i < PaletteEntryCount; ++i) {
        const BYTE* in = bytes + 8 + 4 * i;
        colours[i] = PALETTEENTRY{in[0], in[1], in[2], PC_RESERVED};
    }
    return PaletteFileFault::None;
}

BOOL WritePaletteFile(const char* path) {
    if (CurrentPalette == nullptr || path == nullptr) return 0;
    BYTE bytes[PaletteFileBytes];
    BuildPaletteFile(CurrentPalette->customColours, bytes);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD written = 0;
    const BOOL stored = WriteFile(file, bytes, sizeof bytes, &written, nullptr) && written == sizeof bytes;
    const BOOL closed = CloseHandle(file);
    return stored && closed ? 1 : 0;
}

PaletteFileFault LoadPaletteFile(const char* path, PALETTEENTRY* colours, DWORD* length) {
    if (path == nullptr || colours == nullptr) return PaletteFileFault::CannotOpen;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return PaletteFileFault::CannotOpen;
    // Only the bytes a palette file has are read: whatever follows them is
    // not ours to look at.
    BYTE bytes[PaletteFileBytes];
    const DWORD got = ReadUpTo(file, bytes, sizeof bytes);
    CloseHandle(file);
    return ParsePaletteFile(bytes, got, colours, length);
}

void DescribePaletteFileFault(PaletteFileFault fault, DWORD length, const char* path, char* text, std::size_t size) {
    if (text == nullptr || size == 0) return;
    const char* file = path != nullptr ? path : "";
    switch (fault) {
    case PaletteFileFault::None: std::snprintf(text, size, "The palette file \"%s\" was read.", file); break;
    case PaletteFileFault::CannotOpen:
        std::snprintf(text, size, "The palette file \"%s\" cannot be opened.", file);
        break;
    case PaletteFileFault::NotPalette:
        std::snprintf(text, size,
                      "\"%s\" is not a palette file: it does not begin with the mark of a Lumora palette file.  "
                      "The colours were not changed.",
                      file);
        break;
    case PaletteFileFault::WrongLength:
        std::snprintf(text, size,
                      "The palette file \"%s\" says it holds %lu bytes of colours; a palette file holds %lu.  "
                      "The colours were not changed.",
                      file, static_cast<unsigned long>(length), static_cast<unsigned long>(PaletteFileDataBytes));
        break;
    case PaletteFileFault::Truncated:
        std::snprintf(text, size,
                      "The palette file \"%s\" is incomplete: it ends before its 236 colours.  "
                      "The colours were not changed.",
                      file);
        break;
    }
}

BOOL ReadPaletteFile(HPALETTE palette, const char* path, HWND owner) {
    if (CurrentPalette == nullptr) return 0;
    // Read into a table of its own: the colours change only when the whole
    // file was good.
    PALETTEENTRY colours[PaletteEntryCount];
    DWORD length = 0;
    const PaletteFileFault fault = LoadPaletteFile(path, colours, &length);
    if (fault != PaletteFileFault::None) {
        MessageBeep(0);
        char text[MAX_PATH + 200];
        DescribePaletteFileFault(fault, length, path, text, sizeof text);
        MessageBoxA(owner, text, "Import Palette", MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    std::memcpy(CurrentPalette->customColours, colours, sizeof colours);
    AnimatePalette(palette, 0, PaletteEntryCount, CurrentPalette->customColours);
    return 1;
}
