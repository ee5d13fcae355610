// The reference renderer: Cairo on an 8-bit alpha image surface with
// antialiasing off, drawing the same shapes as the GDI side in one solid
// colour, and doing the same whole-surface fill and mirrored copy.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <memory>

#include "registry.h"

namespace bench {

namespace {

struct CairoCanvas {
    explicit CairoCanvas(CanvasSize size)
        : surface(cairo_image_surface_create(CAIRO_FORMAT_A8, size.width, size.height), cairo_surface_destroy),
          cr(cairo_create(surface.get()), cairo_destroy) {
        cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
        cairo_set_source_rgba(cr.get(), 0, 0, 0, 1);  // on A8 only the alpha counts
    }

    // The share of the surface painted, to hold against the GDI side's.
    void reportCoverage(benchmark::State& state) const {
        cairo_surface_flush(surface.get());
        const unsigned char* data = cairo_image_surface_get_data(surface.get());
        const int stride = cairo_image_surface_get_stride(surface.get());
        const int width = cairo_image_surface_get_width(surface.get());
        const int height = cairo_image_surface_get_height(surface.get());
        double painted = 0;
        for (int y = 0; y < height; ++y) {
            painted += PaintedShare(data + static_cast<std::ptrdiff_t>(y) * stride, static_cast<std::size_t>(width));
        }
        state.counters["coverage"] = height > 0 ? painted / height : 0;
    }

    std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface;
    std::unique_ptr<cairo_t, void (*)(cairo_t*)> cr;
};

// GDI's default fill mode is ALTERNATE: even-odd.
void Polygons(benchmark::State& state, CanvasSize size) {
    const Shapes& shapes = ShapesFor(size);
    CairoCanvas canvas(size);
    cairo_t* cr = canvas.cr.get();
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    for (auto _ : state) {
        for (int i = 0; i < kShapeCount; ++i) {
            const POINT* p = &shapes.polygons[static_cast<std::size_t>(i) * kPolygonVertices];
            cairo_move_to(cr, p[0].x, p[0].y);
            for (int v = 1; v < kPolygonVertices; ++v) {
                cairo_line_to(cr, p[v].x, p[v].y);
            }
            cairo_close_path(cr);
            cairo_fill(cr);
        }
        cairo_surface_flush(canvas.surface.get());
    }
    canvas.reportCoverage(state);
}

// A GDI geometric pen: round caps and joins.
void Beziers(benchmark::State& state, CanvasSize size) {
    const Shapes& shapes = ShapesFor(size);
    CairoCanvas canvas(size);
    cairo_t* cr = canvas.cr.get();
    cairo_set_line_width(cr, kBezierPenWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (auto _ : state) {
        for (int i = 0; i < kShapeCount; ++i) {
            const POINT* p = &shapes.beziers[static_cast<std::size_t>(i) * 4];
            cairo_move_to(cr, p[0].x, p[0].y);
            cairo_curve_to(cr, p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y);
            cairo_stroke(cr);
        }
        cairo_surface_flush(canvas.surface.get());
    }
    canvas.reportCoverage(state);
}

void Ellipses(benchmark::State& state, CanvasSize size) {
    const Shapes& shapes = ShapesFor(size);
    CairoCanvas canvas(size);
    cairo_t* cr = canvas.cr.get();
    for (auto _ : state) {
        for (const RECT& box : shapes.ellipses) {
            cairo_save(cr);
            cairo_translate(cr, (box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0);
            cairo_scale(cr, (box.right - box.left) / 2.0, (box.bottom - box.top) / 2.0);
            cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
            cairo_restore(cr);
            cairo_fill(cr);
        }
        cairo_surface_flush(canvas.surface.get());
    }
    canvas.reportCoverage(state);
}

// The whole surface in one colour: what PatBlt with PATCOPY does.
void Paint(benchmark::State& state, CanvasSize size) {
    CairoCanvas canvas(size);
    for (auto _ : state) {
        cairo_paint(canvas.cr.get());
        cairo_surface_flush(canvas.surface.get());
    }
}

// The whole surface mirrored left to right from another of the same size,
// nearest-neighbour: what a StretchBlt with a negative width does.
void MirroredCopy(benchmark::State& state, CanvasSize size) {
    CairoCanvas canvas(size);
    CairoCanvas source(size);
    cairo_paint(source.cr.get());
    cairo_t* cr = canvas.cr.get();
    cairo_set_source_surface(cr, source.surface.get(), 0, 0);
    cairo_matrix_t mirror;
    cairo_matrix_init(&mirror, -1, 0, 0, 1, size.width, 0);
    cairo_pattern_set_matrix(cairo_get_source(cr), &mirror);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    for (auto _ : state) {
        cairo_paint(cr);
        cairo_surface_flush(canvas.surface.get());
    }
}

}  // namespace

void RegisterCairoBenchmarks() {
    for (CanvasSize size : kSizes) {
        const std::string suffix = "/" + SizeName(size);
        benchmark::RegisterBenchmark(("cairo/patblt_patcopy" + suffix).c_str(), Paint, size)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("cairo/stretchblt_mirror" + suffix).c_str(), MirroredCopy, size)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("cairo/polygons" + suffix).c_str(), Polygons, size)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("cairo/beziers" + suffix).c_str(), Beziers, size)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("cairo/ellipses" + suffix).c_str(), Ellipses, size)->Unit(benchmark::kMillisecond);
    }
}

}  // namespace bench
