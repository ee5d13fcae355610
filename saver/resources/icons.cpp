// The program's icons as 16 x 16 pixel art, one character a pixel.
#include <array>
#include <iterator>

#include "saver/resources/dialog_templates.h"
#include "saver/resources/resource_ids.h"

namespace {

constexpr int Side = 16;
using Art = std::array<const char*, Side>;
using Pixels = std::array<DWORD, Side * Side>;

constexpr DWORD Colour(char c) {
    switch (c) {
    case 'k': return 0xFF000000;  // black
    case 'w': return 0xFFFFFFFF;  // white
    case 'l': return 0xFFC0C0C0;  // light grey
    case 'g': return 0xFF808080;  // grey
    case 'r': return 0xFFE02020;  // red
    case 'o': return 0xFFF08020;  // orange
    case 'y': return 0xFFF0E020;  // yellow
    case 'G': return 0xFF20B040;  // green
    case 'c': return 0xFF20C0E0;  // cyan
    case 'b': return 0xFF2040E0;  // blue
    case 'm': return 0xFFC020C0;  // magenta
    case 'd': return 0xFF101850;  // night blue
    default: return 0x00000000;   // '.': transparent
    }
}

constexpr Pixels Paint(const Art& art) {
    Pixels pixels{};
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x) pixels[y * Side + x] = Colour(art[y][x]);
    return pixels;
}

constexpr bool Square(const Art& art) {
    for (const char* row : art) {
        int length = 0;
        while (row[length]) ++length;
        if (length != Side) return false;
    }
    return true;
}

constexpr Art SetupArt = {
    "......kkkk......", "......kGGk......", "......kGGk......", "......kGGk......",
    "...kkkkGGkkkk...", "....kGGGGGGk....", ".....kGGGGk.....", "......kGGk......",
    "kkkkkkkkkkkkkkkk", "kooooooooooooook", "kooooooooooooook", "koookkkkkkkkoook",
    "kooooooooooooook", "kooooooooooooook", "kkkkkkkkkkkkkkkk", "................",
};
constexpr Art GridArt = {
    "kkkkkkkkkkkkkkkk", "krrrrkyyyykGGGGk", "krrrrkyyyykGGGGk", "krrrrkyyyykGGGGk",
    "krrrrkyyyykGGGGk", "kkkkkkkkkkkkkkkk", "kcccckbbbbkmmmmk", "kcccckbbbbkmmmmk",
    "kcccckbbbbkmmmmk", "kcccckbbbbkmmmmk", "kkkkkkkkkkkkkkkk", "kooookwwwwkddddk",
    "kooookwwwwkddddk", "kooookwwwwkddddk", "kooookwwwwkddddk", "kkkkkkkkkkkkkkkk",
};
constexpr Art ModuleArt = {
    "................", ".kkkkkkkkkkkkkk.", ".kddddddddddddk.", ".kddyyddddddddk.",
    ".kdyddyddddddmk.", ".kyddddyddddmdk.", ".kddddddyddmddk.", ".kdddddddymdddk.",
    ".kddddddmmydddk.", ".kdddddmddydddk.", ".kddmmmdddyyddk.", ".kdmddddddddydk.",
    ".kmdddddddddddk.", ".kddddddddddddk.", ".kkkkkkkkkkkkkk.", "................",
};
constexpr Art PaletteArt = {
    "................", ".kkkkkkkkkkkkkk.", ".krrrrrrrrrrrrk.", ".krrrrrrrrrrrrk.",
    ".kooooooooooook.", ".kooooooooooook.", ".kyyyyyyyyyyyyk.", ".kyyyyyyyyyyyyk.",
    ".kGGGGGGGGGGGGk.", ".kGGGGGGGGGGGGk.", ".kcccccccccccck.", ".kcccccccccccck.",
    ".kbbbbbbbbbbbbk.", ".kmmmmmmmmmmmmk.", ".kkkkkkkkkkkkkk.", "................",
};
constexpr Art MainArt = {
    "................", ".kkkkkkkkkkkkkk.", ".kwwwwwwwwwwwwk.", ".kwkkkwwwwwwwwk.",
    ".kwkGkwgggggwwk.", ".kwkkkwwwwwwwwk.", ".kwwwwwwwwwwwwk.", ".kwkkkwwwwwwwwk.",
    ".kwkGkwgggggggk.", ".kwkkkwwwwwwwwk.", ".kwwwwwwwwwwwwk.", ".kwkkkwwwwwwwwk.",
    ".kwkwkwggggwwwk.", ".kwkkkwwwwwwwwk.", ".kkkkkkkkkkkkkk.", "................",
};
constexpr Art DisplayArt = {
    "................", "kkkkkkkkkkkkkkkk", "klllllllllllllgk", "klkkkkkkkkkkklgk",
    "klkbbbbbbbbbklgk", "klkbccbbbbbbklgk", "klkbcbbbbbbbklgk", "klkbbbbbbbbbklgk",
    "klkbbbbbbbbbklgk", "klkkkkkkkkkkklgk", "klllllllllllllgk", "kggggggggggggggk",
    "kkkkkkkkkkkkkkkk", "......kggk......", "....kkkkkkkk....", "................",
};
constexpr Art SoundArt = {
    "................", "........k.......", ".......kk.......", "......klk...k...",
    ".....kllk....k..", "kkkkkgllk..k..k.", "kllllgllk...k.k.", "kllllgllk...k.k.",
    "kllllgllk...k.k.", "kllllgllk...k.k.", "kkkkkgllk..k..k.", ".....kllk....k..",
    "......klk...k...", ".......kk.......", "........k.......", "................",
};

static_assert(Square(SetupArt) && Square(GridArt) && Square(ModuleArt) && Square(PaletteArt) && Square(MainArt) &&
                  Square(DisplayArt) && Square(SoundArt),
              "every icon is 16 x 16");

constexpr Pixels Setup = Paint(SetupArt);
constexpr Pixels Grid = Paint(GridArt);
constexpr Pixels Module = Paint(ModuleArt);
constexpr Pixels Palette = Paint(PaletteArt);
constexpr Pixels Main = Paint(MainArt);
constexpr Pixels Display = Paint(DisplayArt);
constexpr Pixels Sound = Paint(SoundArt);

constexpr platform::IconResource Icons[] = {
    {IconSetup, {Side, Side, Setup.data()}},           {IconSheet, {Side, Side, Grid.data()}},
    {IconModulePage, {Side, Side, Module.data()}},     {IconPalettePage, {Side, Side, Palette.data()}},
    {IconMainPage, {Side, Side, Main.data()}},         {IconDisplayPage, {Side, Side, Display.data()}},
    {IconSoundPage, {Side, Side, Sound.data()}},
};

}  // namespace

const platform::IconResource* SaverIcons = Icons;
const int SaverIconCount = static_cast<int>(std::size(Icons));
