#include "saver/modules/bezier.h"

#include <algorithm>
#include <cstdlib>

#include "saver/framework/sources.h"
#include "saver/modules/draw_helpers.h"
#include "saver/modules/motion.h"

BezierState Bezier;

namespace {

constexpr float TwoPi = 6.2832f;
constexpr LONG BoxMargin = 40;

void SetSymmetry(BezierFrame& frame, LONG symmetry) {
    frame.symmetry = std::max<LONG>(symmetry, 1);
    frame.angleStep = TwoPi / static_cast<float>(frame.symmetry);
}

void MovePoints(BezierPoints& points, LONG speed) {
    BouncePoints(points.position, points.velocity, Bezier.pointCount, speed, Bezier.box);
}

void DrawCurve(HDC dc, const POINT* points, int count) { PolyBezier(dc, points, static_cast<DWORD>(count)); }

// Curve j runs through points 2j to 2j + 3, so neighbours share two points.
void DrawCurves(HDC dc, const TileGrid& grid, const POINT* points) {
    POINT scratch[4];
    for (int j = 0; 2 * j < Bezier.curves; ++j) {
        DrawTiled(dc, grid, points + 2 * j, scratch, 4, DrawCurve);
    }
}

void DrawFigure(const ModuleRecord* record, const BezierPoints& points, const BezierFrame& frame) {
    const TileGrid grid = MakeTileGrid(record->width, record->height, frame.xTiles, frame.yTiles, frame.tileType);
    if (frame.symmetry == 1) {
        DrawCurves(record->dc, grid, points.position);
        return;
    }
    POINT rotated[BezierMaxPoints];
    for (LONG k = 0; k < frame.symmetry; ++k) {
        const float angle = frame.angleStep * static_cast<float>(k);
        RotateAbout(points.position, rotated, Bezier.pointCount, Bezier.centre, angle);
        DrawCurves(record->dc, grid, rotated);
    }
}

void DrawWithPen(const ModuleRecord* record, const BezierPoints& points, const BezierFrame& frame,
                 COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, frame.width, colour);
    SelectObject(record->dc, pen);
    DrawFigure(record, points, frame);
    SelectObject(record->dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

// Replays a remembered frame on the tail in black.
auto TailEraser(const ModuleRecord* record) {
    return [record](const BezierFrame& frame) {
        MovePoints(Bezier.tail, frame.speed);
        DrawWithPen(record, Bezier.tail, frame, RGB(0, 0, 0));
    };
}

void SeedPoints(const ModuleRecord* record) {
    // The absolute value keeps the modulus positive on canvases narrower or
    // lower than 10 pixels.
    const int xRange = std::abs(record->width - 10) + 1;
    const int yRange = std::abs(record->height - 10) + 1;
    for (int i = 0; i < Bezier.pointCount; ++i) {
        Bezier.head.position[i].x = std::rand() % xRange + 5;
        Bezier.head.position[i].y = std::rand() % yRange + 5;
        Bezier.head.velocity[i].x = (std::rand() & 1) ? -1 : 1;
        Bezier.head.velocity[i].y = (std::rand() & 1) ? -1 : 1;
    }
    Bezier.tail = Bezier.head;
}

}  // namespace

LONG BezierInit(ModuleRecord*) {
    AllocateTrail(Bezier.trail);
    return 0;
}

LONG BezierStart(ModuleRecord* record) {
    RandomizeControls(record);
    AdvanceControls(record);

    Bezier.curves = std::clamp<LONG>(ControlValue(record, BezierCurvesSlot), 1, (BezierMaxPoints - 4) / 2);
    const LONG trailDelay = 3 * std::clamp<LONG>(ControlValue(record, BezierTrailSlot), 1, 100);
    Bezier.pointCount = 2 * Bezier.curves + 4;
    BezierFrame& frame = Bezier.frame;
    SetSymmetry(frame, ControlValue(record, BezierSymmetrySlot));
    frame.width = ControlValue(record, BezierWidthSlot);
    frame.speed = ControlValue(record, BezierSpeedSlot);
    frame.xTiles = ControlValue(record, BezierXTilesSlot);
    frame.yTiles = ControlValue(record, BezierYTilesSlot);
    frame.tileType = ControlValue(record, BezierTileTypeSlot);
    Bezier.endTime = GetTickCount() + static_cast<DWORD>(ControlValue(record, BezierDurationSlot)) * 1000u;
    Bezier.centre = {record->width >> 1, record->height >> 1};

    const LONG reach = BoxMargin + frame.width;
    Bezier.box = {-reach, -reach, record->width + reach, record->height + reach};

    SeedPoints(record);

    StartTrail(Bezier.trail, trailDelay);
    Bezier.colour = 0;
    Bezier.direction = 1;
    return 0;
}

LONG BezierStep(ModuleRecord* record) {
    if (Bezier.trail.frames == nullptr) {
        return 0;
    }
    AdvanceColourWave(Bezier.colour, Bezier.direction);

    BezierFrame& frame = Bezier.frame;
    LONG symmetry = frame.symmetry;
    ReadLiveControl(record, BezierSymmetrySlot, symmetry);
    SetSymmetry(frame, symmetry);
    ReadLiveControl(record, BezierWidthSlot, frame.width);
    ReadLiveControl(record, BezierSpeedSlot, frame.speed);
    ReadLiveControl(record, BezierXTilesSlot, frame.xTiles);
    ReadLiveControl(record, BezierYTilesSlot, frame.yTiles);

    RememberFrame(Bezier.trail, frame);
    MovePoints(Bezier.head, frame.speed);
    DrawWithPen(record, Bezier.head, frame, PALETTEINDEX(static_cast<WORD>(Bezier.colour)));
    FollowTrail(Bezier.trail, TailEraser(record));

    if (EndImageWhenDue(Bezier.trail, Bezier.endTime, TailEraser(record))) {
        BezierStart(record);
    }
    return 0;
}

LONG BezierFree(ModuleRecord* record) {
    ReleaseTrail(Bezier.trail, TailEraser(record));
    return 0;
}
