// Lines, polygons, rectangles, ellipses, pattern fills and single pixels.
#include <algorithm>
#include <vector>

#include "platform/gdi/paint.h"
#include "platform/gdi/raster/raster.h"

using namespace gdi;

namespace {

// Wider pens are drawn at this width; far beyond any surface.
constexpr int kMaxPenWidth = 1 << 20;

bool PenVisible(const DeviceContext& dc) { return dc.pen->style != PS_NULL; }
bool BrushVisible(const DeviceContext& dc) { return dc.brush->style != BS_NULL; }

// Strokes a path with the DC's pen: cosmetic for widths 0 and 1, round
// geometric strokes otherwise.
auto PenStroke(const DeviceContext& dc, const POINT* pts, int n, bool closed) {
    const int width = std::min(dc.pen->width, kMaxPenWidth);
    return [=](const RECT& limit, SpanSink& out) {
        if (width <= 1)
            raster::CosmeticPolyline(pts, n, closed, limit, out);
        else
            raster::WidePolyline(pts, n, closed, width, limit, out);
    };
}

void StrokePath(DeviceContext& dc, Surface& s, const POINT* pts, int n, bool closed) {
    if (!PenVisible(dc) || n < 1) return;
    FillAndStroke(dc, s, false, [](const RECT&, SpanSink&) {}, true, PenStroke(dc, pts, n, closed));
}

RECT Normalised(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

const auto kNoFill = [](const RECT&, SpanSink&) {};

}  // namespace

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
    auto dc = LookupDC(hdc);
    if (!dc) return FALSE;
    std::lock_guard lock(dc->mutex);
    if (previous) *previous = dc->position;
    dc->position = {x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    return WithDC(hdc, [&](DeviceContext& dc, Surface& s) {
        const POINT pts[2] = {dc.position, {x, y}};
        StrokePath(dc, s, pts, 2, false);
        dc.position = {x, y};
        return true;
    });
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
    if (!points || count < 2) return FALSE;
    return WithDC(hdc, [&](DeviceContext& dc, Surface& s) {
        StrokePath(dc, s, points, count, false);
        return true;
    });
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
    if (!points || count < 2) return FALSE;
    return WithDC(hdc, [&](DeviceContext& dc, Surface& s) {
        const int fillMode = dc.fillMode;
        FillAndStroke(
            dc, s, BrushVisible(dc),
            [&](const RECT& limit, SpanSink& out) { raster::FillPolygon(points, &count, 1, fillMode, limit, out); },
            PenVisible(dc), PenStroke(dc, points, count, true));
        return true;
    });
}

BOOL PolyBezier(HDC hdc, const POINT* points, DWORD count) {
    if (!points || count < 1 || count % 3 != 1 || count > 0x7FFFFFFF) return FALSE;
    return WithDC(hdc, [&](DeviceContext& dc, Surface& s) {
        const std::vector<POINT> path = raster::FlattenBezier(points, static_cast<int>(count));
        if (path.size() >= 2) StrokePath(dc, s, path.data(), static_cast<int>(path.size()), false);
        return true;
    });
}

BOOL PolyBezierTo(HDC hdc, const POINT* points, DWORD count) {
    if (!points || count % 3 != 0 || count > 0x7FFFFFFE) return FALSE;
    return WithDC(hdc, [&](DeviceContext& dc, Surface& s) {
        if (count == 0) return true;
        std::vector<POINT> controls(count + 1);
        controls[0] = dc.position;
        std::copy(points, points + count, controls.begin() + 1);
        const std::vector<POINT> path = raster::FlattenBezier(controls.data(), static_cast<int>(count + 1));
        if (path.size() >= 2) StrokePath(dc, s, path.data(), static_cast<int>(path.size()), false);
        dc.position = points[count - 1];
        return true;
    });
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    const RECT box = Normalised(left, top, right, bottom);
    return WithDC(hdc, [&](DeviceContext& dc, Surface& s) {
        if (EmptyRect(box)) return true;
        const bool pen = PenVisible(dc), brush = BrushVisible(dc);
        const bool cosmetic = dc.pen->width <= 1;
        auto fillBox = [](RECT r) {
            return [r](const RECT& limit, SpanSink& out) { raster::FillRect(r, limit, out); };
        };
        if (!pen) {
            FillAndStroke(dc, s, brush, fillBox(box), false, kNoFill);
            return true;
        }
        const POINT path[4] = {{box.left, box.top},
                               {box.right - 1, box.top},
                               {box.right - 1, box.bottom - 1},
                               {box.left, box.bottom - 1}};
        if (cosmetic) {
            // A box two pixels thin or less is all outline.
            if (box.right - box.left <= 2 || box.bottom - box.top <= 2) {
                FillAndStroke(dc, s, false, kNoFill, true, fillBox(box));
                return true;
            }
            const RECT inner = {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
            FillAndStroke(dc, s, brush, fillBox(inner), true, PenStroke(dc, path, 4, true));
            return true;
        }
        FillAndStroke(dc, s, brush, fillBox(box), true, PenStroke(dc, path, 4, true));
        return true;
    });
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    const RECT box = Normalised(left, top, right, bottom);
    return WithDC(hdc, [&](DeviceContext& dc, Surface& s) {
        if (EmptyRect(box)) return true;
        auto fill = [&](const RECT& limit, SpanSink& out) { raster::FillEllipse(box, limit, out); };
        if (!PenVisible(dc)) {
            FillAndStroke(dc, s, BrushVisible(dc), fill, false, kNoFill);
        } else if (dc.pen->width <= 1) {
            FillAndStroke(dc, s, BrushVisible(dc), fill, true,
                          [&](const RECT& limit, SpanSink& out) { raster::FrameEllipse(box, limit, out); });
        } else {
            const std::vector<POINT> path = raster::EllipsePath(box);
            FillAndStroke(dc, s, BrushVisible(dc), fill, !path.empty(),
                          PenStroke(dc, path.data(), static_cast<int>(path.size()), true));
        }
        return true;
    });
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH hbrush) {
    auto brush = Lookup<BrushObject>(hbrush);
    if (!rect || !brush) return 0;
    const RECT box = *rect;
    return WithDC(hdc, [&](DeviceContext& dc, Surface& s) {
        if (brush->style == BS_NULL || EmptyRect(box)) return true;
        const SolidInk ink = MakeInk(s, ResolveColour(dc, s, brush->colour), R2_COPYPEN);
        PaintShape(dc, s, ink, [&](const RECT& limit, SpanSink& out) { raster::FillRect(box, limit, out); });
        return true;
    });
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
    const auto code = static_cast<std::uint8_t>(rop >> 16);
    if (Rop3UsesSource(code)) return FALSE;
    const std::int64_t x1 = std::int64_t{x} + width, y1 = std::int64_t{y} + height;
    const RECT box = {static_cast<LONG>(std::clamp<std::int64_t>(std::min<std::int64_t>(x, x1), INT32_MIN, INT32_MAX)),
                      static_cast<LONG>(std::clamp<std::int64_t>(std::min<std::int64_t>(y, y1), INT32_MIN, INT32_MAX)),
                      static_cast<LONG>(std::clamp<std::int64_t>(std::max<std::int64_t>(x, x1), INT32_MIN, INT32_MAX)),
                      static_cast<LONG>(std::clamp<std::int64_t>(std::max<std::int64_t>(y, y1), INT32_MIN, INT32_MAX))};
    return WithDC(hdc, [&](DeviceContext& dc, Surface& s) {
        if (EmptyRect(box)) return true;
        if (Rop3UsesPattern(code) && dc.brush->style == BS_NULL) return true;
        const std::uint32_t pattern = Rop3UsesPattern(code) ? ResolveColour(dc, s, dc.brush->colour) : 0;
        const SolidInk ink = MakeInk(s, pattern, Rop2FromRop3(code));
        PaintShape(dc, s, ink, [&](const RECT& limit, SpanSink& out) { raster::FillRect(box, limit, out); });
        return true;
    });
}

namespace {

bool Visible(const DeviceContext& dc, const Surface& s, int x, int y) {
    return x >= 0 && y >= 0 && x < s.width && y < s.height && (!dc.clip || dc.clip->contains(x, y));
}

}  // namespace

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF colour) {
    COLORREF result = CLR_INVALID;
    WithDC(hdc, [&](DeviceContext& dc, Surface& s) {
        if (!Visible(dc, s, x, y)) return false;
        const std::uint32_t value = ResolveColour(dc, s, colour);
        std::lock_guard pixels(s.mutex);
        s.touchSpan(y, x, x + 1);
        OpsFor(s).set(s, x, y, value);
        result = ColorrefFromRgb(ShownColour(s, value));
        return true;
    });
    return result;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    COLORREF result = CLR_INVALID;
    WithDC(hdc, [&](DeviceContext& dc, Surface& s) {
        if (!Visible(dc, s, x, y)) return false;
        std::uint32_t value;
        {
            std::lock_guard pixels(s.mutex);
            value = OpsFor(s).get(s, x, y);
        }
        result = ColorrefFromRgb(ShownColour(s, value));
        return true;
    });
    return result;
}

BOOL LineDDA(int xStart, int yStart, int xEnd, int yEnd, LINEDDAPROC proc, LPARAM data) {
    if (!proc) return FALSE;
    raster::LineDda(xStart, yStart, xEnd, yEnd, [&](int x, int y) { proc(x, y, data); });
    return TRUE;
}
