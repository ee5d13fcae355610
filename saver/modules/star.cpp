#include "saver/modules/star.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "saver/framework/sources.h"

StarState Star;

namespace {

constexpr float RandScale = 3.0518509e-05f;  // 1 / 32767
constexpr float RingTurn = 6.28f;
constexpr double RingRadius = 90.0;
constexpr float RingDepth = 150.0f;
constexpr float RingNear = 200.0f;
constexpr float TwoPi = 6.2832f;
constexpr double RevolveScale = 0.0004;  // radians per step for one unit of a revolve control
constexpr double SpinScale = 0.007;      // radians per step for one unit of "Star Rotation"
constexpr LONG ColourCount = 236;

float RandomFraction() { return static_cast<float>(std::rand()) * RandScale; }

// Each coordinate takes its own draw, in the order x, y, z.
void SeedStar(StarPoint& star) {
    Point3D& p = star.position;
    if (Star.ringMode) {
        const float a = RandomFraction() * RingTurn;
        p.x = std::sin(static_cast<double>(a)) * RingRadius;
        p.y = std::cos(static_cast<double>(a)) * RingRadius;
        p.z = RandomFraction() * RingDepth + RingNear;
    } else {
        // The depth is scaled by the width, not the height.
        p.x = RandomFraction() * static_cast<float>(4 * Star.width) - static_cast<float>(4 * Star.halfWidth);
        p.y = RandomFraction() * static_cast<float>(4 * Star.height) - static_cast<float>(4 * Star.halfHeight);
        p.z = RandomFraction() * static_cast<float>(4 * Star.width);
    }
    // The first streak starts where the new star projects.
    if (Star.camera != nullptr) {
        ProjectPoint(Star.camera, p, &star.sx, &star.sy);
    } else {
        star.sx = star.sy = 0;
    }
}

void SetSymmetry(LONG symmetry) {
    Star.symmetry = std::max<LONG>(symmetry, 1);
    Star.symmetryStep = TwoPi / static_cast<float>(Star.symmetry);
}

// The revolve and spin controls keep their fractions.  Like the whole-number
// controls they are held to the control's limits, which an unclamped sound
// level would otherwise leave behind.
void ReadLiveScaled(ModuleRecord* record, int slot, double scale, double& target) {
    float value;
    if (ReadLiveFraction(record, slot, value)) target = value * scale;
}

void ReadLiveControls(ModuleRecord* record) {
    ReadLiveControl(record, StarSizeSlot, Star.size);
    Star.stamp.size = static_cast<float>(Star.size);
    ReadLiveControl(record, StarSpeedSlot, Star.speed);
    ReadLiveScaled(record, StarXRevolveSlot, RevolveScale, Star.xRevolve);
    ReadLiveScaled(record, StarYRevolveSlot, RevolveScale, Star.yRevolve);
    ReadLiveScaled(record, StarZRevolveSlot, RevolveScale, Star.zRevolve);
    double spin = Star.stamp.angleStep;
    ReadLiveScaled(record, StarRotationSlot, SpinScale, spin);
    Star.stamp.angleStep = static_cast<float>(spin);
    ReadLiveControl(record, StarXTilesSlot, Star.xTiles);
    ReadLiveControl(record, StarYTilesSlot, Star.yTiles);
    LONG symmetry = Star.symmetry;
    ReadLiveControl(record, StarSymmetrySlot, symmetry);
    SetSymmetry(symmetry);
}

void DrawTileLine(HDC, const POINT* p, int) { DrawStampLine(p[0].x, p[0].y, p[1].x, p[1].y, &Star.tileStamp); }

// New end first, previous end second: the stamps start at the previous end.
void DrawTiledLine(const TileGrid& grid, POINT head, POINT tail) {
    const POINT ends[2] = {head, tail};
    POINT scratch[2];
    DrawTiled(Star.stamp.dc, grid, ends, scratch, 2, DrawTileLine);
}

// How far from the Canvas centre a streak can still show in some rotated
// copy or tile: a tile's copy of a line lands up to a whole Canvas away from
// its own tile, so a Canvas and a stamp for every tile along the longer
// side, doubled so that no turn of the copies matters.  A dot reaches half
// the width of the pen it is drawn with, nested polygons at most 2.2 sizes.
double StreakReach(const TileGrid& grid, float penWidth) {
    const double tiles = std::max(grid.xTiles, grid.yTiles);
    const double stampReach =
        Star.tileStamp.sides <= 1 ? 0.5 * penWidth + 1.0 : 3.0 * Star.tileStamp.size + 3.0;
    const double canvas = std::max(Star.width, Star.height);
    return std::hypot(Star.halfWidth, Star.halfHeight) + 2.0 * tiles * (canvas + stampReach);
}

// A star right in front of the eye projects millions of pixels away (or to
// the ends of the 32-bit range).  Its streak is cut where it leaves the reach
// of every copy, so stamping along it costs a bounded walk and the turned
// copies stay in range; the visible part keeps its direction.
POINT CutStreak(POINT from, POINT to, double reach) {
    const double dx = static_cast<double>(to.x) - from.x;
    const double dy = static_cast<double>(to.y) - from.y;
    double t = 1.0;
    auto limit = [&t, reach](double start, double delta, double centre) {
        if (start + delta > centre + reach) t = std::min(t, (centre + reach - start) / delta);
        if (start + delta < centre - reach) t = std::min(t, (centre - reach - start) / delta);
    };
    limit(from.x, dx, Star.halfWidth);
    limit(from.y, dy, Star.halfHeight);
    if (t >= 1.0) {
        return to;
    }
    return {static_cast<LONG>(from.x + t * dx), static_cast<LONG>(from.y + t * dy)};
}

void DrawStreak(const TileGrid& grid, double reach, POINT head, POINT tail) {
    head = CutStreak(tail, head, reach);
    if (Star.symmetry < 2) {
        DrawTiledLine(grid, head, tail);
        return;
    }
    const POINT centre{Star.halfWidth, Star.halfHeight};
    for (LONG k = 0; k < Star.symmetry; ++k) {
        const float angle = static_cast<float>(k) * Star.symmetryStep;
        POINT a{head.x - centre.x, head.y - centre.y};
        POINT b{tail.x - centre.x, tail.y - centre.y};
        RotatePoint(a, angle);
        RotatePoint(b, angle);
        DrawTiledLine(grid, {a.x + centre.x, a.y + centre.y}, {b.x + centre.x, b.y + centre.y});
    }
}

bool InsideCanvas(POINT p) { return p.x > 0 && p.x < Star.width && p.y > 0 && p.y < Star.height; }

}  // namespace

LONG StarInit(ModuleRecord*) {
    if (Star.camera == nullptr) {
        Star.camera = CreateViewCamera(nullptr);
        if (Star.camera == nullptr) {
            OutputDebugStringA("Could not allocate buffers");
        }
    }
    return 0;
}

LONG StarStart(ModuleRecord* record) {
    RandomizeControls(record);
    AdvanceControls(record);

    const LONG count = std::clamp<LONG>(ControlValue(record, StarCountSlot), 0, StarTableSize);
    Star.size = ControlValue(record, StarSizeSlot);
    Star.speed = ControlValue(record, StarSpeedSlot);
    Star.xRevolve = ControlValue(record, StarXRevolveSlot) * RevolveScale;
    Star.yRevolve = ControlValue(record, StarYRevolveSlot) * RevolveScale;
    Star.zRevolve = ControlValue(record, StarZRevolveSlot) * RevolveScale;
    const auto spin = static_cast<float>(ControlValue(record, StarRotationSlot) * SpinScale);
    const LONG sides = ControlValue(record, StarSidesSlot);
    const LONG style = ControlValue(record, StarTypeSlot);
    Star.xTiles = ControlValue(record, StarXTilesSlot);
    Star.yTiles = ControlValue(record, StarYTilesSlot);
    Star.tileType = ControlValue(record, StarTileTypeSlot);
    SetSymmetry(ControlValue(record, StarSymmetrySlot));

    Star.ringMode = count == 0 ? TRUE : FALSE;
    Star.count = count == 0 ? StarRingCount : count;

    InitShapeStamp(record->dc, sides, style, Star.speed / 5 + 1, Star.size, spin, &Star.stamp);

    Star.width = record->width;
    Star.height = record->height;
    Star.halfWidth = record->width / 2;
    Star.halfHeight = record->height / 2;
    if (Star.camera != nullptr) {
        SetCameraViewport(Star.camera, RECT{0, 0, Star.width, Star.height});
    }
    Star.colour = 0;

    for (LONG i = Star.count - 1; i >= 0; --i) {
        SeedStar(Star.stars[i]);
    }
    return 0;
}

LONG StarStep(ModuleRecord* record) {
    if (Star.camera == nullptr) {
        return 0;
    }
    if (++Star.colour >= ColourCount) {
        Star.colour = 0;
    }
    SelectStampTools(&Star.stamp, PALETTEINDEX(static_cast<WORD>(Star.colour)));
    const float penWidth = Star.stamp.size;  // dots keep this pen for the whole step

    ReadLiveControls(record);
    const TileGrid grid = MakeTileGrid(Star.width, Star.height, Star.xTiles, Star.yTiles, Star.tileType);
    // Every tile draws with the same smaller copy; the module's own stamp
    // keeps its size.
    Star.tileStamp = Star.stamp;
    Star.tileStamp.size = Star.stamp.size / static_cast<float>((grid.xTiles + grid.yTiles) / 2);
    const double reach = StreakReach(grid, penWidth);

    for (LONG i = 0; i < Star.count; ++i) {
        StarPoint& star = Star.stars[i];
        star.position.z -= Star.speed;
        const POINT previous{star.sx, star.sy};
        RotatePoint3D(star.position, Star.xRevolve, Star.yRevolve, Star.zRevolve);
        if (ProjectPoint(Star.camera, star.position, &star.sx, &star.sy) != 0) {
            // Passed the eye: back into the field, drawn from the next step on.
            SeedStar(star);
            continue;
        }
        // A streak from the border or beyond would start off the picture.
        if (InsideCanvas(previous)) {
            DrawStreak(grid, reach, {star.sx, star.sy}, previous);
        }
    }

    Star.stamp.angle += Star.stamp.angleStep;
    ReleaseStampTools(&Star.stamp);
    return 0;
}

LONG StarFree(ModuleRecord*) {
    if (Star.camera != nullptr) {
        GlobalFree(reinterpret_cast<HGLOBAL>(Star.camera));
    }
    Star.camera = nullptr;
    return 0;
}
