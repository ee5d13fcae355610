#include "shapes.h"

#include <map>
#include <random>
#include <utility>

namespace bench {

namespace {

Shapes Generate(CanvasSize size) {
    std::mt19937 random(1234);
    auto below = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const int reach = size.height / 4;
    auto near = [&](POINT centre) {
        return POINT{centre.x + below(reach) - reach / 2, centre.y + below(reach) - reach / 2};
    };
    Shapes shapes;
    for (int i = 0; i < kShapeCount; ++i) {
        const POINT centre{below(size.width), below(size.height)};
        for (int v = 0; v < kPolygonVertices; ++v) {
            shapes.polygons.push_back(near(centre));
        }
    }
    for (int i = 0; i < kShapeCount; ++i) {
        const POINT centre{below(size.width), below(size.height)};
        for (int v = 0; v < 4; ++v) {
            shapes.beziers.push_back(near(centre));
        }
    }
    for (int i = 0; i < kShapeCount; ++i) {
        const int left = below(size.width);
        const int top = below(size.height);
        shapes.ellipses.push_back(RECT{left, top, left + 2 + below(reach), top + 2 + below(reach)});
    }
    return shapes;
}

}  // namespace

const Shapes& ShapesFor(CanvasSize size) {
    static std::map<std::pair<int, int>, Shapes> cache;
    auto [it, added] = cache.try_emplace({size.width, size.height});
    if (added) {
        it->second = Generate(size);
    }
    return it->second;
}

}  // namespace bench
