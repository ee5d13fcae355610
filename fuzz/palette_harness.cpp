// The reader of palette files other people made: it takes a whole, well-
// formed file or nothing, and what it takes writes back as the same bytes.
// The file's bytes go straight to the parser that LoadPaletteFile hands
// what it read; the file system adds nothing worth a million runs.
#include <algorithm>
#include <cstring>

#include "fuzz/harnesses.h"
#include "fuzz/private_root.h"
#include "saver/palette/palette_file.h"

using fuzzsupport::Check;

int FuzzPaletteFile(const std::uint8_t* data, std::size_t size) {
    // The reader looks at no more than a palette file's bytes.
    const std::size_t read = std::min<std::size_t>(size, PaletteFileBytes);
    PALETTEENTRY colours[PaletteEntryCount];
    std::memset(colours, 0xA5, sizeof colours);
    PALETTEENTRY untouched[PaletteEntryCount];
    std::memcpy(untouched, colours, sizeof colours);

    DWORD length = 0;
    const PaletteFileFault fault = ParsePaletteFile(data, read, colours, &length);
    const bool marked = size >= 4 && data[0] == 0x00 && data[1] == 0x42 && data[2] == 0x00 && data[3] == 0x42;
    if (fault != PaletteFileFault::None) {
        Check(std::memcmp(colours, untouched, sizeof colours) == 0);
        Check(marked == (fault != PaletteFileFault::NotPalette));
        Check(fault != PaletteFileFault::CannotOpen);
        Check(fault != PaletteFileFault::WrongLength || length != PaletteFileDataBytes);
        Check(fault != PaletteFileFault::Truncated || size < PaletteFileBytes);
        return 0;
    }
    Check(marked && size >= PaletteFileBytes && length == PaletteFileDataBytes);
    // Written again, the file is the input's first 952 bytes with every
    // flags byte 1 (PC_RESERVED).
    BYTE written[PaletteFileBytes];
    BuildPaletteFile(colours, written);
    BYTE expected[PaletteFileBytes];
    std::memcpy(expected, data, sizeof expected);
    for (std::size_t i = 11; i < sizeof expected; i += 4) expected[i] = PC_RESERVED;
    Check(std::memcmp(written, expected, sizeof expected) == 0);
    return 0;
}
