#include "saver/modules/vortex.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "saver/framework/sources.h"
#include "saver/modules/draw_helpers.h"
#include "saver/modules/motion.h"

VortexState Vortex;

namespace {

constexpr float RandScale = 3.0518509e-05f;  // 1 / 32767
constexpr float TwoPi = 6.283184f;
constexpr float AmplitudeScale = 0.0033333334f;  // 1 / 300
constexpr float FluxScale = 0.031836994f;
constexpr LONG PaletteSize = 236;

float RandomFraction() { return static_cast<float>(std::rand()) * RandScale; }

float Period(float spasticity) { return (RandomFraction() + 3.0f) * (301.0f - spasticity); }

LONG ColourNumber(LONG i, LONG type) {
    if ((i & 1) == 0) {
        return i;
    }
    switch (type) {
    case 1:
        return Vortex.points - i;
    case 2:
        return i + 20;
    case 3:
        return i * i;
    case 4:
        return i >> 1;
    case 5:
        return 2 * i;
    default:
        return i;
    }
}

void MovePoints() {
    Vortex.collapsing = FALSE;
    for (LONG i = Vortex.points - 1; i >= 0; --i) {
        VortexPoint& p = Vortex.point[i];
        p.previousX = p.x;
        p.previousY = p.y;
        float rho = std::sin(static_cast<float>(i) * Vortex.frequency) * Vortex.depth + Vortex.radius;
        if (rho < 0.0f) {
            rho = 0.0f;
        } else {
            Vortex.collapsing = TRUE;
        }
        p.x = TruncateToLong(std::sin(p.angle) * rho) + Vortex.centre.x;
        p.y = TruncateToLong(std::cos(p.angle) * rho) + Vortex.centre.y;
    }
    Vortex.radius -= Vortex.collapse;
    const float twist = std::sin(Vortex.radius / Vortex.period) * Vortex.amplitude;
    for (LONG i = 0; i < Vortex.points; ++i) {
        Vortex.point[i].angle += twist;
    }
}

// `ring` holds the N positions followed by the N previous positions, already
// placed in one tile.  Segment j sweeps from point j - 1 to point j mod N.
void DrawQuadrilaterals(HDC dc, const POINT* ring, int count) {
    const int n = count / 2;
    for (int j = 1; j <= n; ++j) {
        const int p = j - 1;
        const int q = j % n;
        const LONG colour = (Vortex.point[p].colour + Vortex.colourOffset) % PaletteSize;
        HBRUSH brush = CreateSolidBrush(PALETTEINDEX(static_cast<WORD>(colour)));
        SelectObject(dc, brush);
        const POINT quad[4] = {ring[p], ring[q], ring[n + q], ring[n + p]};
        Polygon(dc, quad, 4);
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        DeleteObject(brush);
    }
}

void DrawRing(const ModuleRecord* record) {
    const TileGrid grid = MakeTileGrid(record->width, record->height, Vortex.xTiles, Vortex.yTiles, Vortex.tileType);
    POINT ring[2 * VortexMaxPoints];
    POINT scratch[2 * VortexMaxPoints];
    const LONG n = Vortex.points;
    for (LONG i = 0; i < n; ++i) {
        ring[i] = {Vortex.point[i].x, Vortex.point[i].y};
        ring[n + i] = {Vortex.point[i].previousX, Vortex.point[i].previousY};
    }
    SelectObject(record->dc, GetStockObject(NULL_PEN));
    DrawTiled(record->dc, grid, ring, scratch, 2 * n, DrawQuadrilaterals);
    // Wrapped at the palette size, which changes no colour and keeps the
    // offset bounded however long a vortex runs.
    Vortex.colourOffset = (Vortex.colourOffset + 1) % PaletteSize;
}

}  // namespace

LONG VortexStart(ModuleRecord* record) {
    RandomizeControls(record);

    Vortex.points = std::clamp<LONG>(ControlValue(record, VortexPointsSlot), 2, VortexMaxPoints);
    Vortex.period = Period(static_cast<float>(ControlValue(record, VortexSpasticitySlot)));
    Vortex.amplitude = static_cast<float>(ControlValue(record, VortexAmplitudeSlot)) * AmplitudeScale;
    Vortex.holdTime = static_cast<DWORD>(ControlValue(record, VortexDurationSlot)) * 1000u;
    Vortex.type = ControlValue(record, VortexTypeSlot);
    Vortex.collapse = RandomFraction() + static_cast<float>(ControlValue(record, VortexCollapseSlot));
    Vortex.frequency = static_cast<float>(ControlValue(record, VortexFluxSlot)) * FluxScale;
    Vortex.depth = RandomFraction() + static_cast<float>(ControlValue(record, VortexFluxAmplitudeSlot));
    Vortex.xTiles = ControlValue(record, VortexXTilesSlot);
    Vortex.yTiles = ControlValue(record, VortexYTilesSlot);
    Vortex.tileType = ControlValue(record, VortexTileTypeSlot);

    const LONG halfWidth = record->width / 2;
    const LONG halfHeight = record->height / 2;
    Vortex.centre = {halfWidth, halfHeight};
    Vortex.radius = static_cast<float>(
        std::sqrt(static_cast<double>(halfWidth) * halfWidth + static_cast<double>(halfHeight) * halfHeight));

    const LONG n = Vortex.points;
    const float spacing = TwoPi / static_cast<float>(n);
    for (LONG i = n - 1; i >= 0; --i) {
        VortexPoint& p = Vortex.point[i];
        p.x = Vortex.centre.x;
        p.y = Vortex.centre.y;
        p.angle = static_cast<float>(n - 1 - i) * spacing;
        p.colour = ColourNumber(i, Vortex.type);
    }
    // Once, undrawn: the ring stands at its full size with the centre as
    // every point's previous position.
    MovePoints();
    Vortex.colourOffset = 1;
    Vortex.collapsing = TRUE;
    return 0;
}

LONG VortexStep(ModuleRecord* record) {
    float value = 0.0f;
    if (ReadLiveFraction(record, VortexSpasticitySlot, value)) {
        Vortex.period = Period(value);
    }
    if (ReadLiveFraction(record, VortexAmplitudeSlot, value)) {
        Vortex.amplitude = value * AmplitudeScale;
    }
    if (ReadLiveFraction(record, VortexCollapseSlot, value)) {
        Vortex.collapse = value;
    }
    if (ReadLiveFraction(record, VortexFluxSlot, value)) {
        Vortex.frequency = value * FluxScale;
    }
    if (ReadLiveFraction(record, VortexFluxAmplitudeSlot, value)) {
        Vortex.depth = RandomFraction() + value;
    }
    ReadLiveControl(record, VortexXTilesSlot, Vortex.xTiles);
    ReadLiveControl(record, VortexYTilesSlot, Vortex.yTiles);

    if (Vortex.collapsing) {
        MovePoints();
        DrawRing(record);
        Vortex.endTime = GetTickCount() + Vortex.holdTime;
    }
    if (TickCountPassed(Vortex.endTime)) {
        VortexStart(record);
        return 0;
    }
    return StepIdle;
}
