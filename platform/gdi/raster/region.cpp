// Regions: bands of rows with sorted, disjoint, non-touching runs.  Every
// constructor goes through RegionBuilder, which keeps the form canonical.
#include "platform/gdi/raster/region.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

#include "platform/gdi/raster/clip.h"
#include "platform/gdi/raster/raster.h"

namespace gdi {

class RegionBuilder {
public:
    // Appends rows [top, bottom) with runs xs[0..n) as (left, right) pairs;
    // rows must come in increasing order.  Touching runs are joined, and
    // the band merges into the previous one when it continues it unchanged.
    void addRows(int top, int bottom, const int* xs, std::size_t n) {
        if (top >= bottom) return;
        const std::size_t start = r_.xs_.size();
        for (std::size_t i = 0; i + 1 < n; i += 2) {
            if (xs[i] >= xs[i + 1]) continue;
            if (r_.xs_.size() > start && r_.xs_.back() >= xs[i])
                r_.xs_.back() = std::max(r_.xs_.back(), xs[i + 1]);
            else
                r_.xs_.push_back(xs[i]), r_.xs_.push_back(xs[i + 1]);
        }
        const int count = static_cast<int>((r_.xs_.size() - start) / 2);
        if (count == 0) return;
        if (!r_.bands_.empty()) {
            Region::Band& last = r_.bands_.back();
            if (last.bottom == top && last.count == count &&
                std::equal(r_.xs_.begin() + last.first, r_.xs_.begin() + last.first + 2 * count,
                           r_.xs_.begin() + static_cast<std::ptrdiff_t>(start))) {
                last.bottom = bottom;
                r_.xs_.resize(start);
                return;
            }
        }
        r_.bands_.push_back({top, bottom, static_cast<int>(start), count});
    }
    Region take() { return std::move(r_); }

private:
    Region r_;
};

namespace {

// Collects spans of a rasterised shape, then builds the region from them.
class SpanCollector final : public SpanSink {
public:
    void span(int y, int x0, int x1) override { spans_.push_back({y, x0, x1}); }

    Region build() {
        if (!std::is_sorted(spans_.begin(), spans_.end())) std::sort(spans_.begin(), spans_.end());
        RegionBuilder b;
        std::vector<int> xs;
        for (std::size_t i = 0; i < spans_.size();) {
            const int y = spans_[i][0];
            xs.clear();
            for (; i < spans_.size() && spans_[i][0] == y; ++i) {
                // Overlapping runs within a row are joined here.
                if (!xs.empty() && xs.back() >= spans_[i][1]) {
                    xs.back() = std::max(xs.back(), spans_[i][2]);
                } else {
                    xs.push_back(spans_[i][1]);
                    xs.push_back(spans_[i][2]);
                }
            }
            b.addRows(y, y + 1, xs.data(), xs.size());
        }
        return b.take();
    }

private:
    std::vector<std::array<int, 3>> spans_;
};

bool Apply(int mode, bool a, bool b) {
    switch (mode) {
        case kRgnAnd: return a && b;
        case kRgnOr: return a || b;
        case kRgnXor: return a != b;
        case kRgnDiff: return a && !b;
        default: return a;
    }
}

// Combines two run lists (2*na and 2*nb boundaries) into out.
void CombineRuns(const int* a, std::size_t na, const int* b, std::size_t nb, int mode, std::vector<int>& out) {
    out.clear();
    std::size_t i = 0, j = 0;
    bool inA = false, inB = false, cur = false;
    int start = 0;
    while (i < na || j < nb) {
        const std::int64_t xa = i < na ? a[i] : INT64_MAX, xb = j < nb ? b[j] : INT64_MAX;
        const int x = static_cast<int>(std::min(xa, xb));
        for (; i < na && a[i] == x; ++i) inA = !inA;
        for (; j < nb && b[j] == x; ++j) inB = !inB;
        const bool v = Apply(mode, inA, inB);
        if (v == cur) continue;
        if (v) {
            start = x;
        } else {
            out.push_back(start);
            out.push_back(x);
        }
        cur = v;
    }
}

}  // namespace

Region::Region() = default;

Region Region::FromRect(const RECT& r) {
    RegionBuilder b;
    const int xs[2] = {std::min(r.left, r.right), std::max(r.left, r.right)};
    b.addRows(std::min(r.top, r.bottom), std::max(r.top, r.bottom), xs, 2);
    return b.take();
}

Region Region::FromEllipse(const RECT& box) {
    const RECT n = {std::min(box.left, box.right), std::min(box.top, box.bottom), std::max(box.left, box.right),
                    std::max(box.top, box.bottom)};
    SpanCollector c;
    raster::FillEllipse(n, kShapeLimit, c);
    return c.build();
}

Region Region::FromPolygon(const POINT* pts, const int* counts, int polygons, int fillMode) {
    SpanCollector c;
    raster::FillPolygon(pts, counts, polygons, fillMode, kShapeLimit, c);
    return c.build();
}

Region Region::Combine(const Region& a, const Region& b, int mode) {
    if (mode != kRgnAnd && mode != kRgnOr && mode != kRgnXor && mode != kRgnDiff) return a;
    std::vector<int> ys;
    ys.reserve(2 * (a.bands_.size() + b.bands_.size()));
    for (const Band& band : a.bands_) ys.push_back(band.top), ys.push_back(band.bottom);
    for (const Band& band : b.bands_) ys.push_back(band.top), ys.push_back(band.bottom);
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    RegionBuilder out;
    std::vector<int> runs;
    std::size_t ia = 0, ib = 0;
    for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
        const int y0 = ys[k], y1 = ys[k + 1];
        while (ia < a.bands_.size() && a.bands_[ia].bottom <= y0) ++ia;
        while (ib < b.bands_.size() && b.bands_[ib].bottom <= y0) ++ib;
        const bool hasA = ia < a.bands_.size() && a.bands_[ia].top <= y0;
        const bool hasB = ib < b.bands_.size() && b.bands_[ib].top <= y0;
        const int* ra = hasA ? a.xs_.data() + a.bands_[ia].first : nullptr;
        const int* rb = hasB ? b.xs_.data() + b.bands_[ib].first : nullptr;
        CombineRuns(ra, hasA ? 2 * static_cast<std::size_t>(a.bands_[ia].count) : 0, rb,
                    hasB ? 2 * static_cast<std::size_t>(b.bands_[ib].count) : 0, mode, runs);
        out.addRows(y0, y1, runs.data(), runs.size());
    }
    return out.take();
}

bool Region::empty() const { return bands_.empty(); }

RECT Region::bounds() const {
    if (bands_.empty()) return {0, 0, 0, 0};
    RECT r{INT_MAX, bands_.front().top, INT_MIN, bands_.back().bottom};
    for (const Band& b : bands_) {
        r.left = std::min(r.left, xs_[static_cast<std::size_t>(b.first)]);
        r.right = std::max(r.right, xs_[static_cast<std::size_t>(b.first + 2 * b.count - 1)]);
    }
    return r;
}

int Region::kind() const {
    if (bands_.empty()) return kNullRegion;
    return bands_.size() == 1 && bands_[0].count == 1 ? kSimpleRegion : kComplexRegion;
}

bool Region::contains(int x, int y) const {
    bool hit = false;
    struct Probe final : SpanSink {
        bool* hit;
        explicit Probe(bool* h) : hit(h) {}
        void span(int, int, int) override { *hit = true; }
    } probe(&hit);
    if (x < INT_MAX) clipSpan(y, x, x + 1, probe);
    return hit;
}

void Region::offset(int dx, int dy) {
    if (bands_.empty() || (dx == 0 && dy == 0)) return;
    // Saturation can squash rows or runs together, so the result is rebuilt.
    auto sat = [](int v, int d) { return raster::detail::Clamp(std::int64_t{v} + d, INT32_MIN, INT32_MAX); };
    RegionBuilder b;
    std::vector<int> runs;
    int lastBottom = INT32_MIN;
    for (const Band& band : bands_) {
        runs.assign(xs_.begin() + band.first, xs_.begin() + band.first + 2 * band.count);
        for (int& x : runs) x = sat(x, dx);
        const int top = std::max(sat(band.top, dy), lastBottom);
        const int bottom = sat(band.bottom, dy);
        if (top >= bottom) continue;
        b.addRows(top, bottom, runs.data(), runs.size());
        lastBottom = bottom;
    }
    *this = b.take();
}

std::vector<RECT> Region::rects() const {
    std::vector<RECT> out;
    out.reserve(xs_.size() / 2);
    for (const Band& b : bands_)
        for (int i = 0; i < b.count; ++i)
            out.push_back({xs_[static_cast<std::size_t>(b.first + 2 * i)], b.top,
                           xs_[static_cast<std::size_t>(b.first + 2 * i + 1)], b.bottom});
    return out;
}

void Region::clipSpan(int y, int x0, int x1, SpanSink& out) const {
    if (x0 >= x1) return;
    const auto band = std::upper_bound(bands_.begin(), bands_.end(), y,
                                       [](int v, const Band& b) { return v < b.bottom; });
    if (band == bands_.end() || band->top > y) return;
    const int* runs = xs_.data() + band->first;
    // First run whose right edge lies beyond x0.
    int lo = 0, hi = band->count;
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (runs[2 * mid + 1] > x0)
            hi = mid;
        else
            lo = mid + 1;
    }
    for (int i = lo; i < band->count && runs[2 * i] < x1; ++i)
        out.span(y, std::max(x0, runs[2 * i]), std::min(x1, runs[2 * i + 1]));
}

bool Region::operator==(const Region& o) const {
    if (bands_.size() != o.bands_.size() || xs_ != o.xs_) return false;
    for (std::size_t i = 0; i < bands_.size(); ++i)
        if (bands_[i].top != o.bands_[i].top || bands_[i].bottom != o.bands_[i].bottom ||
            bands_[i].count != o.bands_[i].count)
            return false;
    return true;
}

}  // namespace gdi
