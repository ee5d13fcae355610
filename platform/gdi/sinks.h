#pragma once
// Sinks that turn the spans of the geometry and text engines into pixels.
#include <algorithm>
#include <tuple>
#include <vector>

#include "platform/gdi/pixel_ops.h"
#include "platform/gdi/raster/span_sink.h"

namespace gdi {

// Paints every span with one ink.
class SolidSink final : public SpanSink {
public:
    SolidSink(Surface& s, const SolidInk& ink) : s_(s), ink_(ink), op_(OpsFor(s).solidSpan) {}
    void span(int y, int x0, int x1) override {
        s_.touchSpan(y, x0, x1);
        op_(s_, y, x0, x1, ink_);
    }

private:
    Surface& s_;
    const SolidInk& ink_;
    void (*op_)(Surface&, int, int, int, const SolidInk&);
};

// Keeps the spans of one shape, sorted by row, so that a second shape can be
// painted without them (fill and outline must not touch a pixel twice under
// raster operations that read the destination).
class SpanCollector final : public SpanSink {
public:
    void span(int y, int x0, int x1) override { spans_.emplace_back(y, x0, x1); }
    void sort() { std::sort(spans_.begin(), spans_.end()); }
    void replay(SpanSink& out) const {
        for (auto [y, x0, x1] : spans_) out.span(y, x0, x1);
    }
    // Emits the parts of [x0, x1) on row y outside the kept spans (sorted first).
    void subtract(int y, int x0, int x1, SpanSink& out) const {
        auto it = std::lower_bound(spans_.begin(), spans_.end(), std::make_tuple(y, x0, x0),
                                   [](const auto& a, const auto& b) {
                                       return std::get<0>(a) != std::get<0>(b) ? std::get<0>(a) < std::get<0>(b)
                                                                               : std::get<2>(a) <= std::get<1>(b);
                                   });
        for (; it != spans_.end() && std::get<0>(*it) == y && x0 < x1; ++it) {
            auto [row, a, b] = *it;
            if (a >= x1) break;
            if (a > x0) out.span(y, x0, a);
            x0 = std::max(x0, b);
        }
        if (x0 < x1) out.span(y, x0, x1);
    }

private:
    std::vector<std::tuple<int, int, int>> spans_;
};

class SubtractSink final : public SpanSink {
public:
    SubtractSink(const SpanCollector& minus, SpanSink& out) : minus_(minus), out_(out) {}
    void span(int y, int x0, int x1) override { minus_.subtract(y, x0, x1, out_); }

private:
    const SpanCollector& minus_;
    SpanSink& out_;
};

}  // namespace gdi
