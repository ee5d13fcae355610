#pragma once
// The random shapes both renderers draw: generated once from a fixed seed, so
// every run and both sides of a comparison draw the same pixels' worth.
#include <vector>

#include "platform/types.h"

namespace bench {

// Benchmarked Canvas sizes.
struct CanvasSize {
    int width;
    int height;
};
inline constexpr CanvasSize kSizes[] = {{1920, 1080}, {3840, 2160}};

inline constexpr int kShapeCount = 1000;
inline constexpr int kPolygonVertices = 8;
inline constexpr int kBezierPenWidth = 12;

struct Shapes {
    std::vector<POINT> polygons;  // kShapeCount x kPolygonVertices
    std::vector<POINT> beziers;   // kShapeCount x 4: start, two controls, end
    std::vector<RECT> ellipses;   // kShapeCount bounding boxes
};

// Shapes of a size that scales with the Canvas (up to about a quarter of its
// height across), placed anywhere on it.
const Shapes& ShapesFor(CanvasSize size);

}  // namespace bench
