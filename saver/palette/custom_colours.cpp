#include "saver/palette/custom_colours.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "saver/framework/module_record.h"

namespace {

constexpr int LastEntry = PaletteEntryCount - 1;

// The three channels of an entry, as the masks name them.
BYTE& Channel(PALETTEENTRY& entry, int channel) {
    return channel == ChannelRed ? entry.peRed : channel == ChannelGreen ? entry.peGreen : entry.peBlue;
}
BYTE Channel(const PALETTEENTRY& entry, int channel) {
    return channel == ChannelRed ? entry.peRed : channel == ChannelGreen ? entry.peGreen : entry.peBlue;
}

struct Mask {
    DWORD flags[ChannelCount];
    bool open(int channel) const { return flags[channel] == 0; }
};

PALETTEENTRY* Colours() { return CurrentPalette != nullptr ? CurrentPalette->customColours : nullptr; }

HPALETTE Show(HPALETTE palette) {
    if (PALETTEENTRY* colours = Colours()) AnimatePalette(palette, 0, PaletteEntryCount, colours);
    return palette;
}

bool Selected(const DWORD* selection, int index) { return selection != nullptr && selection[index] != 0; }

// Copy To and Merge To: the same walk through the source, which is
// stretched or thinned to the selection's length.
template <typename Combine>
HPALETTE MapColoursTo(HPALETTE palette, const PALETTEENTRY* backup, int sourceFirst, int sourceLast,
                      const DWORD* selection, Mask mask, Combine combine) {
    PALETTEENTRY* colours = Colours();
    const int first = FirstSelected(selection);
    const int last = LastSelected(selection);
    if (colours == nullptr || backup == nullptr || first < 0 || sourceFirst < 0 || sourceLast > LastEntry ||
        sourceFirst > sourceLast) {
        return palette;
    }
    const float ratio = static_cast<float>(sourceLast - sourceFirst + 1) / static_cast<float>(last - first + 1);
    float x = static_cast<float>(sourceFirst);
    for (int i = first; i <= last; ++i) {
        // Float steps may add up to a hair past the last source entry.
        int source = static_cast<int>(x);
        if (source > LastEntry) source = LastEntry;
        x += ratio;
        for (int c = 0; c < ChannelCount; ++c) {
            if (mask.open(c)) Channel(colours[i], c) = combine(Channel(colours[i], c), Channel(backup[source], c));
        }
    }
    return Show(palette);
}

// One step of a random walk that turns back at 0 and 255.
void Walk(LONG& value, LONG& step) {
    if (value + step >= 0 && value + step <= 255) {
        value += step;
    } else {
        step = -step;
    }
}

BYTE Scaled(BYTE value, float factor) {
    const float product = static_cast<float>(value) * factor;
    if (!std::isfinite(product) || product <= 0.0f) return 0;
    return product >= 255.0f ? 255 : static_cast<BYTE>(product);
}

}  // namespace

int FirstSelected(const DWORD* selection) {
    for (int i = 0; i < PaletteEntryCount; ++i) {
        if (Selected(selection, i)) return i;
    }
    return -1;
}

int LastSelected(const DWORD* selection) {
    for (int i = LastEntry; i >= 0; --i) {
        if (Selected(selection, i)) return i;
    }
    return -1;
}

HPALETTE CreateCustomPalette() {
    const PALETTEENTRY* colours = Colours();
    if (colours == nullptr) return nullptr;
    auto* block = new (std::nothrow) PaletteBlock{};
    if (block == nullptr) return nullptr;
    block->palVersion = 0x300;
    block->palNumEntries = PaletteEntryCount;
    for (int i = 0; i < PaletteEntryCount; ++i) {
        block->palPalEntry[i] = colours[i];
        block->palPalEntry[i].peFlags = PC_RESERVED;
    }
    // PaletteBlock is LOGPALETTE with all its entries spelled out.
    HPALETTE palette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(block));
    delete block;
    return palette;
}

HPALETTE NegateColours(HPALETTE palette, const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue) {
    PALETTEENTRY* colours = Colours();
    if (colours == nullptr) return palette;
    const Mask mask{{maskRed, maskGreen, maskBlue}};
    for (int i = 0; i < PaletteEntryCount; ++i) {
        if (!Selected(selection, i)) continue;
        for (int c = 0; c < ChannelCount; ++c) {
            if (mask.open(c)) Channel(colours[i], c) = static_cast<BYTE>(255 - Channel(colours[i], c));
        }
    }
    return Show(palette);
}

HPALETTE SmoothColours(HPALETTE palette, const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue) {
    PALETTEENTRY* colours = Colours();
    if (colours == nullptr) return palette;
    const Mask mask{{maskRed, maskGreen, maskBlue}};
    for (int i = 1; i < LastEntry; ++i) {
        if (!Selected(selection, i)) continue;
        for (int c = 0; c < ChannelCount; ++c) {
            if (!mask.open(c)) continue;
            const int sum = Channel(colours[i - 1], c) + 3 * Channel(colours[i], c) + Channel(colours[i + 1], c);
            Channel(colours[i], c) = static_cast<BYTE>(sum / 5);
        }
    }
    return Show(palette);
}

HPALETTE RoughenColours(HPALETTE palette, const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue) {
    PALETTEENTRY* colours = Colours();
    if (colours == nullptr) return palette;
    const Mask mask{{maskRed, maskGreen, maskBlue}};
    for (int i = 1; i < LastEntry; ++i) {
        if (!Selected(selection, i)) continue;
        for (int c = 0; c < ChannelCount; ++c) {
            if (!mask.open(c)) continue;
            const int changed = Channel(colours[i], c) + std::rand() % 21 - 10;
            if (changed >= 0 && changed <= 255) Channel(colours[i], c) = static_cast<BYTE>(changed);
        }
    }
    return Show(palette);
}

HPALETTE RotateChannels(HPALETTE palette, const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue) {
    PALETTEENTRY* colours = Colours();
    if (colours == nullptr) return palette;
    for (int i = 0; i < PaletteEntryCount; ++i) {
        if (!Selected(selection, i)) continue;
        const PALETTEENTRY before = colours[i];
        if (maskRed == 0) colours[i].peRed = before.peGreen;
        if (maskGreen == 0) colours[i].peGreen = before.peBlue;
        if (maskBlue == 0) colours[i].peBlue = before.peRed;
    }
    return Show(palette);
}

HPALETTE GradientColours(HPALETTE palette, const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue) {
    PALETTEENTRY* colours = Colours();
    const int a = FirstSelected(selection);
    const int b = LastSelected(selection);
    const int n = b - a;
    if (colours == nullptr || n < 2) return palette;
    const Mask mask{{maskRed, maskGreen, maskBlue}};
    for (int k = 0; k < n; ++k) {
        for (int c = 0; c < ChannelCount; ++c) {
            if (!mask.open(c)) continue;
            const int blended = (Channel(colours[a], c) * (n - k) + Channel(colours[b], c) * k) / n;
            Channel(colours[a + k], c) = static_cast<BYTE>(blended);
        }
    }
    return Show(palette);
}

HPALETTE ReverseColours(HPALETTE palette, const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue) {
    PALETTEENTRY* colours = Colours();
    int a = FirstSelected(selection);
    int b = LastSelected(selection);
    if (colours == nullptr || b - a < 2) return palette;
    const Mask mask{{maskRed, maskGreen, maskBlue}};
    for (; a < b; ++a, --b) {
        for (int c = 0; c < ChannelCount; ++c) {
            if (mask.open(c)) std::swap(Channel(colours[a], c), Channel(colours[b], c));
        }
    }
    return Show(palette);
}

HPALETTE RandomColours(HPALETTE palette, LONG redStep, LONG greenStep, LONG blueStep, DWORD maskRed,
                       DWORD maskGreen, DWORD maskBlue, const DWORD* selection) {
    PALETTEENTRY* colours = Colours();
    if (colours == nullptr) return palette;
    // Drawn one after the other: their order is part of the colours a seed
    // gives.
    LONG walk[ChannelCount];
    walk[ChannelRed] = std::rand() & 255;
    walk[ChannelGreen] = std::rand() & 255;
    walk[ChannelBlue] = std::rand() & 255;
    LONG steps[ChannelCount] = {redStep, greenStep, blueStep};
    const Mask mask{{maskRed, maskGreen, maskBlue}};
    for (int i = 0; i < PaletteEntryCount; ++i) {
        if (!Selected(selection, i)) continue;
        for (int c = 0; c < ChannelCount; ++c) Walk(walk[c], steps[c]);
        for (int c = 0; c < ChannelCount; ++c) {
            if (mask.open(c)) Channel(colours[i], c) = static_cast<BYTE>(walk[c]);
        }
    }
    return Show(palette);
}

HPALETTE CopyColoursTo(HPALETTE palette, const PALETTEENTRY* backup, int sourceFirst, int sourceLast,
                       const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue) {
    return MapColoursTo(palette, backup, sourceFirst, sourceLast, selection, Mask{{maskRed, maskGreen, maskBlue}},
                        [](BYTE, BYTE source) { return source; });
}

HPALETTE MergeColoursTo(HPALETTE palette, const PALETTEENTRY* backup, int sourceFirst, int sourceLast,
                        const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue) {
    return MapColoursTo(palette, backup, sourceFirst, sourceLast, selection, Mask{{maskRed, maskGreen, maskBlue}},
                        [](BYTE own, BYTE source) { return static_cast<BYTE>((own + source) / 2); });
}

HPALETTE SetColour(HPALETTE palette, int index, int red, int green, int blue, DWORD maskRed, DWORD maskGreen,
                   DWORD maskBlue) {
    PALETTEENTRY* colours = Colours();
    if (colours == nullptr || index < 0 || index > LastEntry) return palette;
    if (maskRed == 0) colours[index].peRed = static_cast<BYTE>(red);
    if (maskGreen == 0) colours[index].peGreen = static_cast<BYTE>(green);
    if (maskBlue == 0) colours[index].peBlue = static_cast<BYTE>(blue);
    return Show(palette);
}

HPALETTE ScaleColours(HPALETTE palette, int first, int last, float redFactor, float greenFactor, float blueFactor,
                      const PALETTEENTRY* backup) {
    PALETTEENTRY* colours = Colours();
    if (colours == nullptr || backup == nullptr || first < 0 || last > LastEntry) return palette;
    for (int i = first; i <= last; ++i) {
        colours[i].peRed = Scaled(backup[i].peRed, redFactor);
        colours[i].peGreen = Scaled(backup[i].peGreen, greenFactor);
        colours[i].peBlue = Scaled(backup[i].peBlue, blueFactor);
    }
    return Show(palette);
}

HPALETTE GetColour(HPALETTE palette, int index, int* red, int* green, int* blue) {
    const PALETTEENTRY* colours = Colours();
    if (colours == nullptr || index < 0 || index > LastEntry) return palette;
    if (red != nullptr) *red = colours[index].peRed;
    if (green != nullptr) *green = colours[index].peGreen;
    if (blue != nullptr) *blue = colours[index].peBlue;
    return palette;
}

HPALETTE RestoreColours(HPALETTE palette, const PALETTEENTRY* table) {
    PALETTEENTRY* colours = Colours();
    if (colours == nullptr || table == nullptr) return palette;
    std::memmove(colours, table, sizeof(PALETTEENTRY) * PaletteEntryCount);
    return Show(palette);
}
