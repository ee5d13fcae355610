#include "saver/modules/draw_helpers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr float TwoPi = 6.2831855f;
constexpr float RandScale = 3.0518509e-05f;  // 1 / 32767

float RandomFraction() { return static_cast<float>(std::rand()) * RandScale; }

// Truncation toward zero that stays defined for coordinates beyond the
// 32-bit range (a point right in front of the eye projects far away).
LONG Truncate(long double v) {
    if (std::isnan(v)) {
        return 0;
    }
    if (v >= 2147483647.0L) {
        return 2147483647;
    }
    if (v <= -2147483648.0L) {
        return -2147483647 - 1;
    }
    return static_cast<LONG>(v);
}

}  // namespace

// ---------------------------------------------------------------------------
// Tiling
// ---------------------------------------------------------------------------

BOOL TileVisible(int column, int row, int tileType) {
    switch (tileType) {
    case 1:
        return (column + row) % 2 != 0;
    case 2:
        return (column + row) % 2 == 0;
    default:
        return TRUE;
    }
}

TileGrid MakeTileGrid(int canvasWidth, int canvasHeight, int xTiles, int yTiles, int tileType) {
    TileGrid grid;
    grid.xTiles = xTiles < 1 ? 1 : xTiles;
    grid.yTiles = yTiles < 1 ? 1 : yTiles;
    grid.tileType = tileType;
    grid.tileWidth = canvasWidth / grid.xTiles;
    grid.tileHeight = canvasHeight / grid.yTiles;
    return grid;
}

void DrawTiled(HDC dc, const TileGrid& grid, const POINT* points, POINT* scratch, int count,
               TiledDrawProc draw) {
    for (int c = 0; c < grid.xTiles; ++c) {
        for (int r = 0; r < grid.yTiles; ++r) {
            if (!TileVisible(c, r, grid.tileType)) {
                continue;
            }
            const LONG offsetX = c * grid.tileWidth;
            const LONG offsetY = r * grid.tileHeight;
            for (int i = 0; i < count; ++i) {
                scratch[i].x = points[i].x / grid.xTiles + offsetX;
                scratch[i].y = points[i].y / grid.yTiles + offsetY;
            }
            draw(dc, scratch, count);
        }
    }
}

namespace {

struct RingSource {
    HDC dc;
    int width;
    int height;
    int left;
    int top;
    int right;
    int bottom;
};

void CopyRow(const RingSource& s, int x, int y, int srcY, bool flip) {
    if (flip) {
        StretchBlt(s.dc, x + s.width - 1, y, -s.width, 1, s.dc, s.left, srcY, s.width, 1, SRCCOPY);
    } else {
        BitBlt(s.dc, x, y, s.width, 1, s.dc, s.left, srcY, SRCCOPY);
    }
}

void CopyColumn(const RingSource& s, int x, int y, int srcX, bool flip) {
    if (flip) {
        StretchBlt(s.dc, x, y + s.height - 1, 1, -s.height, s.dc, srcX, s.top, 1, s.height, SRCCOPY);
    } else {
        BitBlt(s.dc, x, y, 1, s.height, s.dc, srcX, s.top, SRCCOPY);
    }
}

}  // namespace

void MirrorTileEdges(HDC dc, int xTiles, int yTiles, int tileWidth, int tileHeight, int tileType, int width,
                     int height, int srcLeft, int srcTop, int srcRight, int srcBottom, int dstLeft, int dstTop,
                     int dstRight, int dstBottom) {
    const RingSource s{dc, width, height, srcLeft, srcTop, srcRight, srcBottom};
    const int dx = dstRight - dstLeft;
    const int dy = dstBottom - dstTop;
    bool skip = srcLeft != 0;
    for (int r = 0; r < yTiles; ++r) {
        for (int c = 0; c < xTiles; ++c) {
            if (!TileVisible(c, r, tileType)) {
                continue;
            }
            if (skip) {
                skip = false;
                continue;
            }
            const int x0 = dstLeft + c * tileWidth;
            const int y0 = dstTop + r * tileHeight;
            const bool oddColumn = c % 2 != 0;
            const bool oddRow = r % 2 != 0;
            // An odd row swaps top and bottom and flips the columns; an odd
            // column swaps left and right and flips the rows.
            CopyRow(s, x0, y0, oddRow ? srcBottom : srcTop, oddColumn);
            CopyRow(s, x0, y0 + dy, oddRow ? srcTop : srcBottom, oddColumn);
            CopyColumn(s, x0, y0, oddColumn ? srcRight : srcLeft, oddRow);
            CopyColumn(s, x0 + dx, y0, oddColumn ? srcLeft : srcRight, oddRow);
        }
    }
}

// ---------------------------------------------------------------------------
// Rotation
// ---------------------------------------------------------------------------

void RotatePoint(POINT& point, float angle) {
    const long double a = angle;
    const long double c = cosl(a);
    const long double s = sinl(a);
    const long double x = point.x;
    const long double y = point.y;
    point.x = Truncate(x * c + y * s);
    point.y = Truncate(y * c - x * s);
}

// ---------------------------------------------------------------------------
// Shape stamps
// ---------------------------------------------------------------------------

void InitShapeStamp(HDC dc, int sides, int style, int spacing, int size, float angleStep, ShapeStamp* stamp) {
    if (size < 4 && size != 0) {
        sides = 1;
    }
    if (!((size >= 3 || size == 0) && sides != 2)) {
        style = style < 3 ? 1 : style < 6 ? 4 : 7;
    }
    stamp->size = static_cast<float>(size);
    stamp->spacing = spacing;
    stamp->angleStep = angleStep;
    stamp->dc = dc;
    stamp->sides = static_cast<BYTE>(sides);
    stamp->style = static_cast<ShapeStyle>(style);
    stamp->childScale = 1.0f / (1.5f + 4.0f * RandomFraction());
    stamp->spinFactor = RandomFraction() + 0.5f;
    stamp->angle = 0.0f;
    stamp->stepCounter = 0;
}

void SelectStampTools(const ShapeStamp* stamp, COLORREF colour) {
    if (stamp->dc == nullptr) {
        return;
    }
    if (stamp->sides >= 2) {
        HPEN pen;
        HBRUSH brush;
        switch (stamp->style % ShapeNestingStep) {
        case ShapeFilledBlackOutline:
            pen = CreatePen(PS_SOLID, 0, 0);
            brush = CreateSolidBrush(colour);
            break;
        case ShapeFilled:
            pen = CreatePen(PS_SOLID, 0, colour);
            brush = CreateSolidBrush(colour);
            break;
        default:
            pen = CreatePen(PS_SOLID, 0, colour);
            brush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
            break;
        }
        SelectObject(stamp->dc, pen);
        SelectObject(stamp->dc, brush);
        return;
    }
    SelectObject(stamp->dc, CreatePen(PS_SOLID, static_cast<int>(stamp->size), colour));
}

void ReleaseStampTools(const ShapeStamp* stamp) {
    if (stamp->dc == nullptr) {
        return;
    }
    DeleteObject(SelectObject(stamp->dc, GetStockObject(BLACK_PEN)));
    DeleteObject(SelectObject(stamp->dc, GetStockObject(BLACK_BRUSH)));
}

void DrawStamp(int x, int y, const ShapeStamp* stamp) {
    if (stamp->sides < 2 && stamp->style < ShapeNestingStep) {
        MoveToEx(stamp->dc, x, y, nullptr);
        LineTo(stamp->dc, x, y);
        return;
    }
    POINT vertices[256];
    const int sides = stamp->sides;
    const float turn = TwoPi / static_cast<float>(sides);
    for (int i = 0; i < sides; ++i) {
        const float a = static_cast<float>(i) * turn + stamp->angle;
        vertices[i].x = Truncate(std::sin(a) * stamp->size) + x;
        vertices[i].y = Truncate(std::cos(a) * stamp->size) + y;
    }
    if (stamp->style < ShapeNestingStep) {
        Polygon(stamp->dc, vertices, sides);
        return;
    }
    ShapeStamp child = *stamp;
    child.size = stamp->size * stamp->childScale + 1.0f;
    child.angleStep = stamp->angleStep * stamp->spinFactor;
    child.style = static_cast<ShapeStyle>(stamp->style - ShapeNestingStep);
    for (int i = 0; i < sides; ++i) {
        DrawStamp(vertices[i].x, vertices[i].y, &child);
    }
}

namespace {

void StampAtPixel(int x, int y, LPARAM data) {
    auto* stamp = reinterpret_cast<ShapeStamp*>(data);
    if (stamp->stepCounter == 0) {
        DrawStamp(x, y, stamp);
        stamp->angle += stamp->angleStep;
    }
    stamp->stepCounter = stamp->stepCounter >= stamp->spacing ? 0 : stamp->stepCounter + 1;
}

}  // namespace

void DrawStampLine(int x0, int y0, int x1, int y1, ShapeStamp* stamp) {
    if (stamp->sides <= 1) {
        MoveToEx(stamp->dc, x0, y0, nullptr);
        LineTo(stamp->dc, x1, y1);
        return;
    }
    const ShapeStamp saved = *stamp;
    stamp->stepCounter = 0;
    const int length = std::max(std::abs(x0 - x1), std::abs(y0 - y1));
    // A line of no length visits no pixel, and a spacing of 0 stamps every
    // pixel; neither may turn the step into a division by zero.
    if (length > 0 && stamp->spacing != 0) {
        stamp->angleStep = stamp->angleStep / (static_cast<float>(length) / static_cast<float>(stamp->spacing));
    } else {
        stamp->angleStep = 0.0f;
    }
    LineDDA(x1, y1, x0, y0, StampAtPixel, reinterpret_cast<LPARAM>(stamp));
    *stamp = saved;
}

// ---------------------------------------------------------------------------
// 3-D camera
// ---------------------------------------------------------------------------

ViewCamera* CreateViewCamera(HWND window) {
    auto* camera = reinterpret_cast<ViewCamera*>(GlobalAlloc(GPTR, sizeof(ViewCamera)));
    if (camera == nullptr) {
        return nullptr;
    }
    RECT rect{0, 0, 320, 200};
    if (window != nullptr) {
        GetClientRect(window, &rect);
    }
    SetCameraViewport(camera, rect);
    camera->focalLength = 200.0;
    camera->eyeX = 0.0;
    camera->eyeY = 0.0;
    camera->eyeZ = -125.0;
    return camera;
}

void SetCameraViewport(ViewCamera* camera, const RECT& rect) {
    camera->viewportWidth = rect.right;
    camera->viewportHeight = rect.bottom;
    camera->centreX = camera->viewportWidth * 0.5;
    camera->centreY = camera->viewportHeight * 0.5;
}

int ProjectPoint(const ViewCamera* camera, const Point3D& p, LONG* sx, LONG* sy) {
    *sx = 0;
    *sy = 0;
    if (!(p.z > camera->eyeZ)) {
        return 1;
    }
    const double d = p.z - camera->eyeZ;
    *sx = Truncate((p.x - camera->eyeX) / d * camera->focalLength + camera->eyeX + camera->centreX);
    *sy = Truncate(camera->centreY - ((p.y - camera->eyeY) / d * camera->focalLength + camera->eyeY));
    return 0;
}

void RotatePoint3D(Point3D& p, double angleX, double angleY, double angleZ) {
    const double x1 = std::sin(angleZ) * p.y + std::cos(angleZ) * p.x;
    const double y1 = std::cos(angleZ) * p.y - std::sin(angleZ) * p.x;
    const double y2 = std::sin(angleX) * p.z + std::cos(angleX) * y1;
    const double z1 = std::cos(angleX) * p.z - std::sin(angleX) * y1;
    const double z2 = std::sin(angleY) * x1 + std::cos(angleY) * z1;
    const double x2 = std::cos(angleY) * x1 - std::sin(angleY) * z1;
    p = {x2, y2, z2};
}
