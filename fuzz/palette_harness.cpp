// The reader of palette files other people made: it takes a whole, well-
// formed file or nothing, and what it takes exports to the same bytes.
#include <cstring>
#include <string>

#include "fuzz/harnesses.h"
#include "fuzz/private_root.h"
#include "saver/framework/module_record.h"
#include "saver/palette/palette_file.h"

using fuzzsupport::Check;

int FuzzPaletteFile(const std::uint8_t* data, std::size_t size) {
    static PaletteSettings palette;
    // The record of this harness only while it runs: others keep theirs.
    struct Borrowed {
        PaletteSettings* before = CurrentPalette;
        Borrowed() { CurrentPalette = &palette; }
        ~Borrowed() { CurrentPalette = before; }
    } borrowed;
    const std::string input = fuzzsupport::WriteInput("input.pal", data, size);
    PALETTEENTRY colours[PaletteEntryCount];
    std::memset(colours, 0xA5, sizeof colours);
    PALETTEENTRY untouched[PaletteEntryCount];
    std::memcpy(untouched, colours, sizeof colours);

    DWORD length = 0;
    const PaletteFileFault fault = LoadPaletteFile(input.c_str(), colours, &length);
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
    for (int i = 0; i < PaletteEntryCount; ++i) {
        const std::uint8_t* in = data + 8 + 4 * i;
        Check(colours[i].peRed == in[0] && colours[i].peGreen == in[1] && colours[i].peBlue == in[2]);
        Check(colours[i].peFlags == PC_RESERVED);
    }
    // Written again, the file is the input's first 952 bytes with every
    // flags byte 1.
    std::memcpy(palette.customColours, colours, sizeof colours);
    const std::string output = fuzzsupport::PrivateRoot() + "/output.pal";
    Check(WritePaletteFile(output.c_str()));
    std::string expected(reinterpret_cast<const char*>(data), PaletteFileBytes);
    for (std::size_t i = 11; i < expected.size(); i += 4) expected[i] = 1;
    Check(fuzzsupport::ReadBytes(output) == expected);
    return 0;
}
