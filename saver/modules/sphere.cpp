#include "saver/modules/sphere.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "saver/framework/sound_level.h"
#include "saver/framework/sources.h"
#include "saver/modules/draw_helpers.h"
#include "saver/modules/ring_sprite.h"
#include "saver/runtime/overlays.h"

SphereState Sphere;

namespace {

constexpr float RandScale = 3.0518509e-05f;  // 1 / 32767
constexpr float FullTurn = 6.2832f;
constexpr int PaletteSize = 236;
constexpr int FirstAnimatedEntry = 10;
constexpr LONG SmallestStamp = 10;
constexpr LONG SpriteColourStep = 20;
constexpr LONG ColourMultipliers = 8;
// Positions are held this close to the origin: far beyond any canvas, yet
// far enough from the integer limits that a stamp's corners cannot overflow
// when a loud, unclamped sound level throws the distance out of all bounds.
constexpr double FarAway = 1 << 28;

float Fraction() { return static_cast<float>(std::rand()) * RandScale; }

LONG Along(LONG origin, double delta) {
    if (std::isnan(delta)) delta = 0.0;
    return static_cast<LONG>(std::clamp(origin + std::trunc(delta), -FarAway, FarAway));
}

// The point `radius` away from (cx, cy) at `angle`; sine for x, cosine for
// y, so angle 0 points straight down.
POINT Polar(LONG cx, LONG cy, float angle, float radius) {
    const double a = angle;
    return {Along(cx, std::sin(a) * radius), Along(cy, std::cos(a) * radius)};
}

// Entry i stands for hardware entry i + 10 itself, so the sprites hold the
// very indices the Canvas's animated palette shows, whatever colours the
// entries have now.
HPALETTE CreateSpritePalette() {
    std::vector<BYTE> block(sizeof(LOGPALETTE) + (PaletteSize - 1) * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = PaletteSize;
    PALETTEENTRY* entries = palette->palPalEntry;
    for (int i = 0; i < PaletteSize; ++i) {
        entries[i] = {static_cast<BYTE>(i + FirstAnimatedEntry), 0, 0, PC_EXPLICIT};
    }
    return CreatePalette(palette);
}

void ReleaseSprites() {
    if (Sphere.originalBitmap != nullptr) {
        SelectObject(Sphere.spriteDC, Sphere.originalBitmap);
        Sphere.originalBitmap = nullptr;
    }
    for (HBITMAP& sprite : Sphere.sprites) {
        if (sprite != nullptr) {
            DeleteObject(sprite);
        }
        sprite = nullptr;
    }
    Sphere.spritesReady = FALSE;
}

// Sprite i starts at palette entry 20 i on its edge.  A sprite that cannot
// be made leaves the whole image without stamps.
void BuildSprites(const ModuleRecord* record) {
    ReleaseSprites();
    const LONG side = Sphere.size + 2;
    bool ready = Sphere.spriteDC != nullptr;
    for (int i = 0; ready && i < SphereSpriteCount; ++i) {
        Sphere.sprites[i] = CreateCompatibleBitmap(record->dc, side, side);
        HGDIOBJ displaced = Sphere.sprites[i] != nullptr ? SelectObject(Sphere.spriteDC, Sphere.sprites[i]) : nullptr;
        if (displaced == nullptr) {
            ready = false;
            break;
        }
        if (i == 0) {
            Sphere.originalBitmap = static_cast<HBITMAP>(displaced);
        }
        DrawRingSprite(Sphere.spriteDC, Sphere.size / 2, Sphere.size / 2, static_cast<UINT>(SpriteColourStep * i), side,
                       Sphere.type);
    }
    if (!ready) {
        OutputDebugStringA("Could not allocate buffers");
        ReleaseSprites();
        return;
    }
    Sphere.spritesReady = TRUE;
}

void StartImage(ModuleRecord* record) {
    RandomizeControls(record);
    AdvanceControls(record);

    // A size that moves during the image gets sprites for the largest value
    // it can take; the stamps never follow it within the image.
    const bool sizeMoves = record->source[SphereSizeSlot] >= SourceOscillate;
    Sphere.size = ControlValue(record, SphereSizeSlot,
                               sizeMoves ? record->rangeHi[SphereSizeSlot] : record->value[SphereSizeSlot]);
    Sphere.symmetry = ControlValue(record, SphereSymmetrySlot);
    Sphere.type = ControlValue(record, SphereTypeSlot);
    Sphere.duration = ControlValue(record, SphereDurationSlot);
    Sphere.xTiles = ControlValue(record, SphereXTilesSlot);
    Sphere.yTiles = ControlValue(record, SphereYTilesSlot);
    Sphere.tileType = ControlValue(record, SphereTileTypeSlot);

    Sphere.colourMultiplier = std::rand() % ColourMultipliers;
    Sphere.symmetryStep = FullTurn / static_cast<float>(Sphere.symmetry);
    Sphere.halfWidth = record->width / 2;
    Sphere.halfHeight = record->height / 2;
    const double hw = Sphere.halfWidth, hh = Sphere.halfHeight;
    Sphere.halfDiagonal = static_cast<float>(std::sqrt(hw * hw + hh * hh));
    Sphere.endTime = GetTickCount() + static_cast<DWORD>(Sphere.duration) * 1000u;

    Sphere.wedgeClip = (Sphere.type & SphereWedgeClip) != 0 && Sphere.symmetry >= 3;
    Sphere.mirror = (Sphere.type & SphereMirror) != 0;
    Sphere.randomSize = (Sphere.type & SphereRandomSize) != 0;
    Sphere.tileClip = (Sphere.type & SphereTileClip) != 0;

    BuildSprites(record);
}

void ReadLiveControls(ModuleRecord* record) {
    LONG size = Sphere.size;
    ReadLiveControl(record, SphereSizeSlot, size);  // only its phase moves within an image
    ReadLiveControl(record, SphereSymmetrySlot, Sphere.symmetry);
    Sphere.symmetryStep = FullTurn / static_cast<float>(Sphere.symmetry);
    if (Sphere.symmetry < 3) {
        Sphere.wedgeClip = FALSE;
    }
    ReadLiveControl(record, SphereXTilesSlot, Sphere.xTiles);
    ReadLiveControl(record, SphereYTilesSlot, Sphere.yTiles);
}

struct Stamp {
    LONG size;       // s: side of the square copied from the sprite's centre
    LONG origin;     // its top-left corner inside the sprite
    HBITMAP sprite;
    float distance;  // d: from the tile centre
    float radius;    // R: reach of the wedge
};

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// One stamp centred at `centre`, seen through a circle of the stamp's size
// and, where set, the sector's wedge and the tile.
void StampAt(const ModuleRecord* record, POINT centre, HRGN wedge, const RECT& tile, const Stamp& stamp) {
    const LONG half = stamp.size / 2;
    const RECT circle{centre.x - half, centre.y - half, centre.x + half, centre.y + half};
    // A circle off the canvas, or off its tile under the tile clip, changes
    // no pixel: skipping it spares the regions (tiles narrower than a pixel
    // at the largest tiling and symmetry would make a hundred thousand).
    if (!Overlap(circle, {0, 0, record->width, record->height}) || (Sphere.tileClip && !Overlap(circle, tile))) {
        return;
    }
    HDC dc = record->dc;
    HRGN clip = CreateEllipticRgnIndirect(&circle);
    if (clip == nullptr) {
        return;  // without its clip the stamp would be a plain square
    }
    if (wedge != nullptr) {
        CombineRgn(clip, clip, wedge, RGN_AND);
    }
    SelectClipRgn(dc, clip);
    if (Sphere.tileClip) {
        IntersectClipRect(dc, tile.left, tile.top, tile.right, tile.bottom);
    }
    ExcludeShownBoxes();
    SelectObject(Sphere.spriteDC, stamp.sprite);
    BitBlt(dc, centre.x - half, centre.y - half, stamp.size, stamp.size, Sphere.spriteDC, stamp.origin, stamp.origin,
           SRCCOPY);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
}

void StampSectors(const ModuleRecord* record, float phase, const Stamp& stamp) {
    const LONG tileWidth = record->width / Sphere.xTiles;
    const LONG tileHeight = record->height / Sphere.yTiles;
    const LONG offsetX = Sphere.halfWidth / Sphere.xTiles;
    const LONG offsetY = Sphere.halfHeight / Sphere.yTiles;
    const float step = Sphere.symmetryStep;
    for (LONG k = 0; k < Sphere.symmetry; ++k) {
        // Alternates between two values, so neighbouring sectors mirror.
        phase = step - phase;
        const float a = static_cast<float>(k) * step;
        const float a2 = static_cast<float>(k + 1) * step;
        for (LONG c = 0; c < Sphere.xTiles; ++c) {
            for (LONG t = 0; t < Sphere.yTiles; ++t) {
                if (!TileVisible(c, t, Sphere.tileType)) {
                    continue;
                }
                const LONG cx = offsetX + c * tileWidth;
                const LONG cy = offsetY + t * tileHeight;
                HRGN wedge = nullptr;
                if (Sphere.wedgeClip) {
                    const POINT triangle[3] = {
                        {cx, cy}, Polar(cx, cy, a, stamp.radius), Polar(cx, cy, a2, stamp.radius)};
                    wedge = CreatePolygonRgn(triangle, 3, WINDING);
                }
                const RECT tile{c * tileWidth, t * tileHeight, (c + 1) * tileWidth, (t + 1) * tileHeight};
                StampAt(record, Polar(cx, cy, a + phase, stamp.distance), wedge, tile, stamp);
                if (Sphere.mirror) {
                    StampAt(record, Polar(cx, cy, a + (step - phase), stamp.distance), wedge, tile, stamp);
                }
                if (wedge != nullptr) {
                    DeleteObject(wedge);
                }
            }
        }
    }
}

}  // namespace

LONG SphereInit(ModuleRecord*) {
    if (Sphere.spriteDC != nullptr) {
        return 0;
    }
    Sphere.spriteDC = CreateCompatibleDC(nullptr);
    Sphere.spritePalette = CreateSpritePalette();
    if (Sphere.spriteDC != nullptr && Sphere.spritePalette != nullptr) {
        SelectPalette(Sphere.spriteDC, Sphere.spritePalette, FALSE);
        RealizePalette(Sphere.spriteDC);
    }
    return 0;
}

LONG SphereStart(ModuleRecord* record) {
    StartImage(record);
    return 0;
}

LONG SphereStep(ModuleRecord* record) {
    const float phase = Fraction() * Sphere.symmetryStep;
    const LONG n = std::max<LONG>((Sphere.xTiles + Sphere.yTiles) / 2, 1);
    const float radius = Sphere.halfDiagonal / static_cast<float>(n);
    const float distance =
        IsLiveSource(SourceVolume) ? SoundLevel(SourceVolume) * radius + 1.0f : Fraction() * radius;
    // 64 bits: a saturated colour value times m must not overflow.
    const std::int64_t colour =
        std::int64_t{TruncateToLong(distance / radius * 236.0f)} * Sphere.colourMultiplier;
    const int sprite = static_cast<int>((colour / SpriteColourStep % SphereSpriteCount + SphereSpriteCount) %
                                        SphereSpriteCount);

    ReadLiveControls(record);

    LONG size = Sphere.randomSize ? std::rand() % Sphere.size : (2 * Sphere.size) / (Sphere.xTiles + Sphere.yTiles);
    if (size < SmallestStamp) {
        size = SmallestStamp;
    }
    if (size > Sphere.size) {
        size = Sphere.size;
    }

    if (Sphere.spritesReady) {
        const Stamp stamp{size, Sphere.size / 2 - size / 2, Sphere.sprites[sprite], distance, radius};
        StampSectors(record, phase, stamp);
    }

    // Compared as a signed difference, so the time-out survives the tick
    // count wrapping after 49.7 days.
    if (static_cast<LONG>(GetTickCount() - Sphere.endTime) > 0) {
        ReleaseSprites();
        StartImage(record);
    }
    ExcludeShownBoxes();
    return 0;
}

LONG SphereFree(ModuleRecord*) {
    ReleaseSprites();
    if (Sphere.spriteDC != nullptr) {
        DeleteDC(Sphere.spriteDC);
    }
    if (Sphere.spritePalette != nullptr) {
        DeleteObject(Sphere.spritePalette);
    }
    Sphere.spriteDC = nullptr;
    Sphere.spritePalette = nullptr;
    return 0;
}
