// Cubic Bezier flattening into integer points, like PolyBezier's.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gdi/raster/clip.h"
#include "platform/gdi/raster/raster.h"

namespace gdi::raster {
namespace {

// Uniform steps keep the polyline within this many pixels of the curve; the
// vertices are rounded to whole pixels anyway, so finer steps buy nothing.
constexpr double kTolerance = 0.5;
constexpr int kMaxSteps = 1024;

void Push(std::vector<POINT>& poly, double x, double y) {
    const POINT p{detail::Clamp(std::llround(std::clamp(x, -4e18, 4e18)), INT32_MIN, INT32_MAX),
                  detail::Clamp(std::llround(std::clamp(y, -4e18, 4e18)), INT32_MIN, INT32_MAX)};
    if (!poly.empty() && poly.back().x == p.x && poly.back().y == p.y) return;
    poly.push_back(p);
}

}  // namespace

std::vector<POINT> FlattenBezier(const POINT* pts, int n) {
    std::vector<POINT> poly;
    if (!pts || n < 1) return poly;
    poly.push_back(pts[0]);
    for (int i = 0; i + 3 < n; i += 3) {
        const double x0 = pts[i].x, y0 = pts[i].y, x1 = pts[i + 1].x, y1 = pts[i + 1].y;
        const double x2 = pts[i + 2].x, y2 = pts[i + 2].y, x3 = pts[i + 3].x, y3 = pts[i + 3].y;
        // With N uniform steps the chord error is at most 3/4 * L / N^2, where L
        // bounds the control polygon's second differences.
        const double l = std::max(std::hypot(x0 - 2 * x1 + x2, y0 - 2 * y1 + y2),
                                  std::hypot(x1 - 2 * x2 + x3, y1 - 2 * y2 + y3));
        const int steps = static_cast<int>(std::clamp(std::ceil(std::sqrt(0.75 * l / kTolerance)), 1.0,
                                                      static_cast<double>(kMaxSteps)));
        for (int k = 1; k < steps; ++k) {
            const double t = static_cast<double>(k) / steps, u = 1 - t;
            const double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
            Push(poly, b0 * x0 + b1 * x1 + b2 * x2 + b3 * x3, b0 * y0 + b1 * y1 + b2 * y2 + b3 * y3);
        }
        Push(poly, x3, y3);
    }
    // A curve that collapses to one point still stroke as a zero-length line.
    if (poly.size() == 1 && n >= 4) poly.push_back(poly.front());
    return poly;
}

}  // namespace gdi::raster
