#include "saver/modules/polygon.h"

#include <algorithm>
#include <cstdlib>

#include "saver/framework/sources.h"
#include "saver/modules/draw_helpers.h"
#include "saver/modules/motion.h"

PolygonState PolygonModule;

namespace {

constexpr float TwoPi = 6.2832f;
constexpr LONG StartSpeedLimit = 100;
constexpr DWORD ReseedInterval = 100000;  // ms
// The outline takes the palette index mirrored about the middle of the 236
// animated entries.
constexpr LONG OutlineMirror = 236;

PolygonState& Poly = PolygonModule;

void UpdateGeometry(const ModuleRecord* record) {
    Poly.symmetry = std::max<LONG>(Poly.symmetry, 1);
    Poly.xTiles = std::max<LONG>(Poly.xTiles, 1);
    Poly.yTiles = std::max<LONG>(Poly.yTiles, 1);
    Poly.angleStep = TwoPi / static_cast<float>(Poly.symmetry);
    Poly.tileWidth = record->width / Poly.xTiles;
    Poly.tileHeight = record->height / Poly.yTiles;
}

// A canvas narrower or lower than its tile count has tiles of no size; the
// vertices then start on the first column or row instead of dividing by 0.
LONG RandomBelow(LONG bound) {
    const LONG r = std::rand();
    return bound > 0 ? r % bound : 0;
}

void SeedVertices() {
    for (LONG i = Poly.vertices - 1; i >= 0; --i) {
        Poly.position[i].x = RandomBelow(Poly.tileWidth);
        Poly.position[i].y = RandomBelow(Poly.tileHeight);
        Poly.velocity[i].x = (std::rand() & 1) ? -1 : 1;
        Poly.velocity[i].y = (std::rand() & 1) ? -1 : 1;
    }
}

void DrawShape(HDC dc, const POINT* points, int count) { Polygon(dc, points, count); }

void DrawFigure(const ModuleRecord* record) {
    const TileGrid grid = MakeTileGrid(record->width, record->height, Poly.xTiles, Poly.yTiles, Poly.tileType);
    POINT scratch[PolygonMaxVertices];
    if (Poly.symmetry == 1) {
        DrawTiled(record->dc, grid, Poly.position, scratch, Poly.vertices, DrawShape);
        return;
    }
    POINT rotated[PolygonMaxVertices];
    for (LONG k = 0; k < Poly.symmetry; ++k) {
        RotateAbout(Poly.position, rotated, Poly.vertices, Poly.centre, Poly.angleStep * static_cast<float>(k));
        DrawTiled(record->dc, grid, rotated, scratch, Poly.vertices, DrawShape);
    }
}

}  // namespace

LONG PolygonStart(ModuleRecord* record) {
    RandomizeControls(record);
    AdvanceControls(record);

    Poly.vertices = std::clamp<LONG>(ControlValue(record, PolygonVerticesSlot), 2, PolygonMaxVertices);
    Poly.symmetry = ControlValue(record, PolygonSymmetrySlot);
    Poly.speed = std::min(ControlValue(record, PolygonSpeedSlot), StartSpeedLimit);
    Poly.outline = ControlValue(record, PolygonOutlineSlot);
    Poly.xTiles = ControlValue(record, PolygonXTilesSlot);
    Poly.yTiles = ControlValue(record, PolygonYTilesSlot);
    Poly.tileType = ControlValue(record, PolygonTileTypeSlot);
    Poly.colour = 1;
    Poly.direction = 1;
    // Two vertices fill nothing; the outline is what shows them.
    if (Poly.vertices == 2) {
        Poly.outline = 1;
    }

    UpdateGeometry(record);
    Poly.centre = {record->width >> 1, record->height >> 1};
    SeedVertices();
    Poly.endTime = GetTickCount() + ReseedInterval;
    return 0;
}

LONG PolygonStep(ModuleRecord* record) {
    ReadLiveControl(record, PolygonSymmetrySlot, Poly.symmetry);
    ReadLiveControl(record, PolygonSpeedSlot, Poly.speed);
    ReadLiveControl(record, PolygonXTilesSlot, Poly.xTiles);
    ReadLiveControl(record, PolygonYTilesSlot, Poly.yTiles);
    UpdateGeometry(record);

    AdvanceColourWave(Poly.colour, Poly.direction);

    HDC dc = record->dc;
    HPEN pen = nullptr;
    if (Poly.outline) {
        pen = CreatePen(PS_SOLID, 1, PALETTEINDEX(static_cast<WORD>(OutlineMirror - Poly.colour)));
        SelectObject(dc, pen);
    } else {
        SelectObject(dc, GetStockObject(NULL_PEN));
    }
    HBRUSH brush = CreateSolidBrush(PALETTEINDEX(static_cast<WORD>(Poly.colour)));
    SelectObject(dc, brush);

    DrawFigure(record);

    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    DeleteObject(brush);
    if (pen != nullptr) {
        SelectObject(dc, GetStockObject(NULL_PEN));
        DeleteObject(pen);
    }

    // Moved after drawing, so the first frame shows the seeded vertices.  The
    // canvas edges themselves are inside.
    const RECT box{0, 0, record->width + 1, record->height + 1};
    BouncePoints(Poly.position, Poly.velocity, Poly.vertices, Poly.speed, box);

    if (TickCountPassed(Poly.endTime)) {
        PolygonStart(record);
    }
    return 0;
}
