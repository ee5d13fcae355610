#pragma once
// Regions as sets of pixels: y-banded, x-sorted, non-overlapping rectangles,
// kept canonical (vertically adjacent bands with equal runs are merged), so
// equal pixel sets compare equal.
#include <vector>

#include "platform/gdi/raster/span_sink.h"
#include "platform/types.h"

namespace gdi {

// Combine modes and region kinds, with the values of RGN_* and *REGION.
constexpr int kRgnAnd = 1;
constexpr int kRgnOr = 2;
constexpr int kRgnXor = 3;
constexpr int kRgnDiff = 4;
constexpr int kRgnCopy = 5;
constexpr int kNullRegion = 1;
constexpr int kSimpleRegion = 2;
constexpr int kComplexRegion = 3;

class Region {
public:
    Region();                                   // empty
    static Region FromRect(const RECT& r);      // normalised, half-open
    // Shapes other than rectangles are rasterised within kShapeLimit.
    static Region FromEllipse(const RECT& box);
    static Region FromPolygon(const POINT* pts, const int* counts, int polygons, int fillMode);
    // RGN_AND 1, RGN_OR 2, RGN_XOR 3, RGN_DIFF 4, RGN_COPY 5 (copy of a); other modes give a copy of a.
    static Region Combine(const Region& a, const Region& b, int mode);

    bool empty() const;
    RECT bounds() const;                        // {0,0,0,0} when empty
    int kind() const;                           // NULLREGION 1, SIMPLEREGION 2, COMPLEXREGION 3
    bool contains(int x, int y) const;
    void offset(int dx, int dy);                // coordinates saturate at the LONG range
    std::vector<RECT> rects() const;            // the banded rectangles
    // Emits the parts of run [x0, x1) on row y that lie inside the region.
    void clipSpan(int y, int x0, int x1, SpanSink& out) const;
    bool operator==(const Region&) const;

    // Bounds within which elliptic and polygonal regions are rasterised: far
    // beyond any surface, small enough that a huge shape stays cheap.
    static constexpr RECT kShapeLimit = {-65536, -65536, 65536, 65536};

private:
    friend class RegionBuilder;
    struct Band {
        int top, bottom;   // rows [top, bottom)
        int first, count;  // runs xs_[first .. first + 2*count) as (left, right) pairs
    };
    std::vector<Band> bands_;
    std::vector<int> xs_;
};

// Forwards spans to `out`, clipped to a region; with no region, straight through.
class ClippedSink final : public SpanSink {
public:
    ClippedSink(const Region* clip, SpanSink& out) : clip_(clip), out_(out) {}
    void span(int y, int x0, int x1) override {
        if (clip_)
            clip_->clipSpan(y, x0, x1, out_);
        else
            out_.span(y, x0, x1);
    }

private:
    const Region* clip_;
    SpanSink& out_;
};

}  // namespace gdi
