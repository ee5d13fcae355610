#include "saver/modules/cyclic.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "saver/framework/sources.h"

CyclicState Cyclic;

namespace {

constexpr float TwoPi = 6.283f;
constexpr float PhaseCircle = 6.283184f;
constexpr float RandScale = 3.0518509e-05f;  // 1 / 32767
constexpr float RotationScale = 0.007f;      // radians per frame for one unit of Object Rotation
constexpr float PulseBase = 70.0f;
constexpr LONG MaxCalmness = 50;

float RandomFraction() { return static_cast<float>(std::rand()) * RandScale; }

// A control held to fixed bounds as well as its registered limits, for the
// values that size a table walk or divide.
LONG HeldValue(const ModuleRecord* record, int slot, LONG lo, LONG hi) {
    return std::clamp(ControlValue(record, slot), lo, hi);
}

// Angular speeds inversely proportional to the calmness, one random draw each.
void DrawSpeeds(CyclicFrame& frame, LONG calmness) {
    constexpr LONG Divisor[3] = {3, 5, 4};
    for (int i = 0; i < 3; ++i) {
        frame.speed[i] = (RandomFraction() + 0.05f) / static_cast<float>(Divisor[i] * calmness);
    }
}

// The two factors of a path mode: the amplitude A and the phase factor B.
struct PathTerms {
    float a;
    float b;
};

PathTerms Terms(LONG mode, const float* t) {
    switch (mode) {
    case 1:
        return {std::sin(t[0]), std::cos(t[1])};
    case 2:
        return {std::sin(t[0]), std::sin(t[0] + t[1])};
    case 3:
        return {std::sin(t[0] + t[1]), std::sin(t[1])};
    case 4:
        return {std::sin(t[0] + t[3]), std::sin(t[1] + t[3])};
    case 5:
        return {std::sin(t[0]), std::sin(std::cos(t[1]) + t[3])};
    case 6:
        return {std::sin(std::cos(t[0]) + t[3]), std::sin(t[0])};
    case 7:
        return {std::sin(t[3]), std::sin(std::sin(t[3]) + t[3])};
    default:
        return {std::sin(t[1] + t[3]), std::sin(t[3])};
    }
}

void ResetTable(CyclicTable& table) {
    const LONG n = Cyclic.objects;
    const float spread = PhaseCircle / static_cast<float>(n);
    for (LONG i = 0; i < n; ++i) {
        CyclicObject& o = table.object[i];
        o.x = Cyclic.centre.x;
        o.y = Cyclic.centre.y;
        o.phase = static_cast<float>(n - 1 - i) * spread;
    }
    table.angle[0] = table.angle[1] = table.angle[2] = 0.0f;
    table.angle[3] = 0.0f;  // sin t2
}

void PathStep(CyclicTable& table, const CyclicFrame& frame) {
    float* t = table.angle;
    const float r = Cyclic.radius;
    const PathTerms x = Terms(Cyclic.xMode, t);
    for (LONG i = Cyclic.objects - 1; i >= 0; --i) {
        CyclicObject& o = table.object[i];
        o.oldX = o.x;
        o.x = TruncateToLong(std::sin(x.b * o.phase) * x.a * r) + Cyclic.centre.x;
    }
    const PathTerms y = Terms(Cyclic.yMode, t);
    for (LONG i = Cyclic.objects - 1; i >= 0; --i) {
        CyclicObject& o = table.object[i];
        o.oldY = o.y;
        o.y = TruncateToLong(std::cos(y.b * o.phase) * y.a * r) + Cyclic.centre.y;
    }
    t[0] += frame.speed[0];
    t[1] += frame.speed[1];
    t[2] += frame.speed[2];
    t[3] = std::sin(t[2]);
    const float drift = 0.01f * std::sin(t[0] + t[1]);
    for (LONG i = 0; i < Cyclic.objects; ++i) {
        table.object[i].phase += drift;
    }
}

// The stamp the tiled line drawing hands to DrawStampLine.
ShapeStamp* LineStamp = nullptr;

// Stamps are placed from the old position (the second point) toward the new.
void StampLine(HDC, const POINT* points, int) {
    DrawStampLine(points[0].x, points[0].y, points[1].x, points[1].y, LineStamp);
}

void DrawFigure(const ModuleRecord* record, const CyclicTable& table, CyclicFrame& frame) {
    const TileGrid grid = MakeTileGrid(record->width, record->height, frame.xTiles, frame.yTiles, frame.tileType);
    // Smaller tiles get smaller stamps.
    ShapeStamp stamp = frame.stamp;
    stamp.size = frame.stamp.size / static_cast<float>((grid.xTiles + grid.yTiles) >> 1);
    LineStamp = &stamp;

    const POINT centre = Cyclic.centre;
    const float step = TwoPi / static_cast<float>(frame.symmetry);
    POINT ends[2];
    POINT scratch[2];
    for (LONG i = Cyclic.objects - 1; i >= 0; --i) {
        const CyclicObject& o = table.object[i];
        if (frame.symmetry < 2) {
            ends[0] = {o.x, o.y};
            ends[1] = {o.oldX, o.oldY};
            DrawTiled(record->dc, grid, ends, scratch, 2, StampLine);
            continue;
        }
        float angle = 0.0f;
        for (LONG k = 0; k < frame.symmetry; ++k) {
            ends[0] = {o.x - centre.x, o.y - centre.y};
            ends[1] = {o.oldX - centre.x, o.oldY - centre.y};
            for (POINT& p : ends) {
                RotatePoint(p, angle);
                p.x += centre.x;
                p.y += centre.y;
            }
            DrawTiled(record->dc, grid, ends, scratch, 2, StampLine);
            angle += step;
        }
    }
    LineStamp = nullptr;
    frame.stamp.angle += frame.stamp.angleStep;
}

// Moves a table one frame on with the frame's speeds and draws it.
void DrawFrame(const ModuleRecord* record, CyclicTable& table, CyclicFrame& frame, COLORREF colour) {
    SelectStampTools(&frame.stamp, colour);
    PathStep(table, frame);
    DrawFigure(record, table, frame);
    ReleaseStampTools(&frame.stamp);
}

// Replays a remembered frame on the tail in black.
auto TailEraser(const ModuleRecord* record) {
    return [record](CyclicFrame& frame) { DrawFrame(record, Cyclic.tail, frame, RGB(0, 0, 0)); };
}

void ReadLiveControls(ModuleRecord* record) {
    CyclicFrame& frame = Cyclic.frame;
    if (IsLiveSource(record->source[CyclicSpasticitySlot])) {
        LONG spasticity = 51 - Cyclic.calmness;
        ReadLiveControl(record, CyclicSpasticitySlot, spasticity);
        Cyclic.calmness = std::clamp<LONG>(51 - spasticity, 1, MaxCalmness);
        DrawSpeeds(frame, Cyclic.calmness);
    }
    ReadLiveFraction(record, CyclicDiameterSlot, frame.stamp.size);
    ReadLiveControl(record, CyclicSymmetrySlot, frame.symmetry);
    frame.symmetry = std::max<LONG>(frame.symmetry, 1);  // it divides the circle
    float rotation = 0.0f;
    if (ReadLiveFraction(record, CyclicRotationSlot, rotation)) {
        frame.stamp.angleStep = rotation * RotationScale;
    }
    ReadLiveControl(record, CyclicXTilesSlot, frame.xTiles);
    ReadLiveControl(record, CyclicYTilesSlot, frame.yTiles);
}

}  // namespace

LONG CyclicInit(ModuleRecord*) {
    AllocateTrail(Cyclic.trail);
    return 0;
}

LONG CyclicStart(ModuleRecord* record) {
    RandomizeControls(record);
    AdvanceControls(record);

    Cyclic.objects = HeldValue(record, CyclicObjectsSlot, 1, CyclicMaxObjects);
    const LONG spasticity = HeldValue(record, CyclicSpasticitySlot, 1, MaxCalmness);
    Cyclic.calmness = 51 - spasticity;
    const LONG trailDelay = 3 * HeldValue(record, CyclicTrailSlot, 1, 100);
    CyclicFrame& frame = Cyclic.frame;
    frame.symmetry = HeldValue(record, CyclicSymmetrySlot, 1, 32);
    const float rotationStep = static_cast<float>(ControlValue(record, CyclicRotationSlot)) * RotationScale;
    const LONG sides = HeldValue(record, CyclicSidesSlot, 1, 10);
    const LONG style = HeldValue(record, CyclicTypeSlot, 0, 8);
    frame.xTiles = HeldValue(record, CyclicXTilesSlot, 1, 20);
    frame.yTiles = HeldValue(record, CyclicYTilesSlot, 1, 20);
    frame.tileType = ControlValue(record, CyclicTileTypeSlot);

    const LONG diameter = HeldValue(record, CyclicDiameterSlot, 0, 320);
    Cyclic.pulsating = diameter == 0;
    Cyclic.pulseAngle = 0.0f;
    const float r = RandomFraction();
    Cyclic.pulseSpeed = r / static_cast<float>(std::rand() % 5 + 5);

    const LONG spacing = 1 + TruncateToLong(static_cast<float>(spasticity) * 0.2f);
    InitShapeStamp(record->dc, sides, style, spacing, diameter, rotationStep, &frame.stamp);

    // Calm images last longer: between 20 and 10c + 19 seconds.
    const DWORD seconds = static_cast<DWORD>(std::rand() % (10 * Cyclic.calmness) + 20);
    Cyclic.endTime = GetTickCount() + seconds * 1000u;
    DrawSpeeds(frame, Cyclic.calmness);

    Cyclic.centre = {record->width / 2, record->height / 2};
    Cyclic.xMode = std::rand() % CyclicPathModes + 1;
    Cyclic.radius = static_cast<float>(Cyclic.centre.x);
    Cyclic.yMode = std::rand() % CyclicPathModes + 1;

    // Head and tail take the same first step, so the tail starts where the
    // head started.
    ResetTable(Cyclic.head);
    ResetTable(Cyclic.tail);
    PathStep(Cyclic.head, frame);
    PathStep(Cyclic.tail, frame);

    StartTrail(Cyclic.trail, trailDelay);
    Cyclic.colour = 0;
    Cyclic.direction = 1;
    return 0;
}

LONG CyclicStep(ModuleRecord* record) {
    if (Cyclic.trail.frames == nullptr) {
        return 0;
    }
    CyclicFrame& frame = Cyclic.frame;
    if (Cyclic.pulsating) {
        Cyclic.pulseAngle += Cyclic.pulseSpeed;
        frame.stamp.size = std::fabs(std::sin(Cyclic.pulseAngle) * PulseBase) + PulseBase;
    }
    ReadLiveControls(record);
    AdvanceColourWave(Cyclic.colour, Cyclic.direction);

    RememberFrame(Cyclic.trail, frame);
    DrawFrame(record, Cyclic.head, frame, PALETTEINDEX(static_cast<WORD>(Cyclic.colour)));
    FollowTrail(Cyclic.trail, TailEraser(record));

    if (EndImageWhenDue(Cyclic.trail, Cyclic.endTime, TailEraser(record))) {
        CyclicStart(record);
    }
    return 0;
}

LONG CyclicFree(ModuleRecord* record) {
    ReleaseTrail(Cyclic.trail, TailEraser(record));
    return 0;
}
