// The geometry engines drawing into an 8-bit surface, next to Cairo doing the
// same shapes without antialiasing on an 8-bit (A8) surface.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/gdi/raster/raster.h"

#if LUMORA_BENCH_CAIRO
#include <cairo.h>
#endif

namespace {

using namespace gdi::raster;

struct Surface final : gdi::SpanSink {
    int width, height;
    std::vector<unsigned char> bits;
    unsigned char colour = 0;
    Surface(int w, int h) : width(w), height(h), bits(static_cast<std::size_t>(w) * h) {}
    void span(int y, int x0, int x1) override {
        std::memset(bits.data() + static_cast<std::size_t>(y) * width + x0, colour, static_cast<std::size_t>(x1 - x0));
    }
    RECT rect() const { return {0, 0, width, height}; }
};

constexpr int kShapes = 1000;

std::vector<POINT> RandomPoints(int n, int w, int h, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<POINT> pts(static_cast<std::size_t>(n));
    for (POINT& p : pts) p = {static_cast<LONG>(rng() % w), static_cast<LONG>(rng() % h)};
    return pts;
}

std::vector<RECT> RandomBoxes(int w, int h) {
    std::mt19937 rng(9);
    std::vector<RECT> boxes(kShapes);
    for (RECT& b : boxes) {
        const int x = static_cast<int>(rng() % w), y = static_cast<int>(rng() % h);
        const int rw = 10 + static_cast<int>(rng() % (w / 4)), rh = 10 + static_cast<int>(rng() % (h / 4));
        b = {x - rw / 2, y - rh / 2, x + rw / 2, y + rh / 2};
    }
    return boxes;
}

void Polygons(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    Surface s(w, h);
    const auto pts = RandomPoints(8 * kShapes, w, h, 1);
    const int n = 8;
    for (auto _ : state)
        for (int i = 0; i < kShapes; ++i) {
            s.colour = static_cast<unsigned char>(i);
            FillPolygon(&pts[static_cast<std::size_t>(8 * i)], &n, 1, kAlternate, s.rect(), s);
        }
    benchmark::DoNotOptimize(s.bits.data());
}

void Beziers(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    Surface s(w, h);
    const auto pts = RandomPoints(4 * kShapes, w, h, 2);
    for (auto _ : state)
        for (int i = 0; i < kShapes; ++i) {
            s.colour = static_cast<unsigned char>(i);
            const auto poly = FlattenBezier(&pts[static_cast<std::size_t>(4 * i)], 4);
            WidePolyline(poly.data(), static_cast<int>(poly.size()), false, static_cast<int>(state.range(2)),
                         s.rect(), s);
        }
    benchmark::DoNotOptimize(s.bits.data());
}

void Ellipses(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    Surface s(w, h);
    const auto boxes = RandomBoxes(w, h);
    for (auto _ : state)
        for (int i = 0; i < kShapes; ++i) {
            s.colour = static_cast<unsigned char>(i);
            FillEllipse(boxes[static_cast<std::size_t>(i)], s.rect(), s);
        }
    benchmark::DoNotOptimize(s.bits.data());
}

BENCHMARK(Polygons)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
// Pen widths: the usual 12 pixels, and the widest ribbons the Bezier module draws.
BENCHMARK(Beziers)
    ->Args({1920, 1080, 12})
    ->Args({3840, 2160, 12})
    ->Args({1920, 1080, 200})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Ellipses)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

#if LUMORA_BENCH_CAIRO
struct CairoTarget {
    cairo_surface_t* surface;
    cairo_t* cr;
    CairoTarget(int w, int h)
        : surface(cairo_image_surface_create(CAIRO_FORMAT_A8, w, h)), cr(cairo_create(surface)) {
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);  // plain stores, like an index surface
    }
    ~CairoTarget() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
};

void CairoPolygons(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    CairoTarget t(w, h);
    const auto pts = RandomPoints(8 * kShapes, w, h, 1);
    cairo_set_fill_rule(t.cr, CAIRO_FILL_RULE_EVEN_ODD);
    for (auto _ : state)
        for (int i = 0; i < kShapes; ++i) {
            cairo_set_source_rgba(t.cr, 0, 0, 0, (i & 1) ? 1.0 : 0.0);
            for (int j = 0; j < 8; ++j) {
                const POINT& p = pts[static_cast<std::size_t>(8 * i + j)];
                cairo_line_to(t.cr, p.x, p.y);
            }
            cairo_close_path(t.cr);
            cairo_fill(t.cr);
        }
    cairo_surface_flush(t.surface);
}

void CairoBeziers(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    CairoTarget t(w, h);
    const auto pts = RandomPoints(4 * kShapes, w, h, 2);
    cairo_set_line_width(t.cr, static_cast<double>(state.range(2)));
    cairo_set_line_cap(t.cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(t.cr, CAIRO_LINE_JOIN_ROUND);
    for (auto _ : state)
        for (int i = 0; i < kShapes; ++i) {
            cairo_set_source_rgba(t.cr, 0, 0, 0, (i & 1) ? 1.0 : 0.0);
            const POINT* p = &pts[static_cast<std::size_t>(4 * i)];
            cairo_move_to(t.cr, p[0].x + 0.5, p[0].y + 0.5);
            cairo_curve_to(t.cr, p[1].x + 0.5, p[1].y + 0.5, p[2].x + 0.5, p[2].y + 0.5, p[3].x + 0.5, p[3].y + 0.5);
            cairo_stroke(t.cr);
        }
    cairo_surface_flush(t.surface);
}

void CairoEllipses(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    CairoTarget t(w, h);
    const auto boxes = RandomBoxes(w, h);
    for (auto _ : state)
        for (int i = 0; i < kShapes; ++i) {
            cairo_set_source_rgba(t.cr, 0, 0, 0, (i & 1) ? 1.0 : 0.0);
            const RECT& b = boxes[static_cast<std::size_t>(i)];
            cairo_save(t.cr);
            cairo_translate(t.cr, (b.left + b.right) / 2.0, (b.top + b.bottom) / 2.0);
            cairo_scale(t.cr, (b.right - b.left) / 2.0, (b.bottom - b.top) / 2.0);
            cairo_arc(t.cr, 0, 0, 1, 0, 6.283185307179586);
            cairo_restore(t.cr);
            cairo_fill(t.cr);
        }
    cairo_surface_flush(t.surface);
}

BENCHMARK(CairoPolygons)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(CairoBeziers)
    ->Args({1920, 1080, 12})
    ->Args({3840, 2160, 12})
    ->Args({1920, 1080, 200})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CairoEllipses)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
#endif

}  // namespace
