#pragma once
// The kit the drawing modules share: tile selection and scaled-copy tiling,
// the mirrored ring copier, integer rotation, the shape stamp and the 3-D
// camera.  Nothing here keeps state of its own; stamps and cameras belong to
// the module that uses them, and every colour is the caller's COLORREF.
#include "platform/win32.h"

// ---------------------------------------------------------------------------
// Tiling
// ---------------------------------------------------------------------------

// Tile type 1 keeps the tiles whose column + row is odd, 2 those where it is
// even; 0, 3 and any other type keep every tile.
BOOL TileVisible(int column, int row, int tileType);

// How a vector figure is repeated over xTiles by yTiles tiles: its points are
// scaled into the first tile and drawn once per visible tile at the tile's
// offset, columns outer, rows inner.
struct TileGrid {
    int xTiles;
    int yTiles;
    int tileType;
    int tileWidth;   // canvas width / xTiles
    int tileHeight;  // canvas height / yTiles
};

// Tile counts below 1 count as 1, so a grid never divides by zero.
TileGrid MakeTileGrid(int canvasWidth, int canvasHeight, int xTiles, int yTiles, int tileType);

// Draws `count` points (scaled into the first tile here) once per visible
// tile through `draw`; `scratch` holds `count` points and receives each
// tile's copy.
using TiledDrawProc = void (*)(HDC dc, const POINT* points, int count);
void DrawTiled(HDC dc, const TileGrid& grid, const POINT* points, POINT* scratch, int count,
               TiledDrawProc draw);

// Copies one one-pixel rectangular ring (srcLeft, srcTop)-(srcRight,
// srcBottom) of width x height pixels out to every visible tile, mirrored so
// that odd columns and odd rows are mirror images of the source tile.  Tile
// (c, r) receives it at (dstLeft + c * tileWidth, dstTop + r * tileHeight),
// its right and bottom edges dstRight - dstLeft and dstBottom - dstTop
// further on.  When srcLeft is not 0 the first visible tile is the source
// tile itself and is left alone.
void MirrorTileEdges(HDC dc, int xTiles, int yTiles, int tileWidth, int tileHeight, int tileType, int width,
                     int height, int srcLeft, int srcTop, int srcRight, int srcBottom, int dstLeft, int dstTop,
                     int dstRight, int dstBottom);

// ---------------------------------------------------------------------------
// Rotation
// ---------------------------------------------------------------------------

// Rotates `point` about the origin by `angle` radians, in extended precision
// from the integer coordinates, truncating toward zero.
void RotatePoint(POINT& point, float angle);

// ---------------------------------------------------------------------------
// Shape stamps
// ---------------------------------------------------------------------------

// style mod 3 is the fill class, style div 3 the nesting depth (0..2): a
// nested stamp draws smaller copies of itself at the vertices of its own,
// undrawn polygon.
using ShapeStyle = BYTE;
constexpr ShapeStyle ShapeFilledBlackOutline = 0;  // filled with the colour, black one-pixel outline
constexpr ShapeStyle ShapeFilled = 1;              // filled and outlined with the colour
constexpr ShapeStyle ShapeHollow = 2;              // outlined with the colour only
constexpr ShapeStyle ShapeNestingStep = 3;         // add once per nesting level

struct ShapeStamp {
    float size;        // radius in pixels; a dot's pen width
    float childScale;  // size factor for the next nesting level
    float angle;       // rotation of the first vertex
    float spinFactor;  // angleStep factor for the next nesting level
    float angleStep;   // added to angle at every stamp along a line
    LONG spacing;      // along a line, one stamp every spacing + 1 pixels
    LONG stepCounter;  // position within the spacing interval
    HDC dc;
    BYTE sides;  // polygon vertices; 1 is a round dot drawn with a wide pen
    ShapeStyle style;
};

// Small stamps (size 1 to 3) become dots, and dots and two-sided stamps can
// only be drawn filled, so they take the filled class at the same depth.
// Draws two random numbers for the nesting factors.
void InitShapeStamp(HDC dc, int sides, int style, int spacing, int size, float angleStep, ShapeStamp* stamp);

// Creates the pen (and for polygons the brush) for `colour` and selects them
// into the stamp's DC.  ReleaseStampTools puts the stock black pen and brush
// back and deletes what they displace.
void SelectStampTools(const ShapeStamp* stamp, COLORREF colour);
void ReleaseStampTools(const ShapeStamp* stamp);

// Draws the stamp centred at (x, y) with the selected tools.
void DrawStamp(int x, int y, const ShapeStamp* stamp);

// Stamps along the segment, starting at (x1, y1) and stopping short of
// (x0, y0); dots draw a plain pen line instead.  The rotation along the line
// spreads angleStep over one spacing interval; the stamp is left as it was.
void DrawStampLine(int x0, int y0, int x1, int y1, ShapeStamp* stamp);

// ---------------------------------------------------------------------------
// 3-D camera
// ---------------------------------------------------------------------------

struct Point3D {
    double x;
    double y;
    double z;
};

struct ViewCamera {
    double viewportWidth;
    double viewportHeight;
    double centreX;
    double centreY;
    double focalLength;
    double eyeX;
    double eyeY;
    double eyeZ;
};

// A camera on the window's client area (320 x 200 without a window), from the
// global heap; release it with GlobalFree.  Null when memory runs out.
ViewCamera* CreateViewCamera(HWND window);
void SetCameraViewport(ViewCamera* camera, const RECT& rect);

// Projects `p` onto the viewport: 0 with the screen position in sx, sy; 1 when
// the point is not in front of the eye (sx = sy = 0).
int ProjectPoint(const ViewCamera* camera, const Point3D& p, LONG* sx, LONG* sy);

// Rotates `p` in place about z, then x, then y.
void RotatePoint3D(Point3D& p, double angleX, double angleY, double angleZ);
