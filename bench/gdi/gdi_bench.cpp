// Our GDI on an offscreen window's DC (the Canvas as the saver draws on it):
// whole-call cost, from argument checks and clipping to the pixels.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/present/offscreen_presenter.h"
#include "registry.h"

namespace bench {

namespace {

// An offscreen window's DC with a realised 236-entry animation palette, as
// the saver's Canvas has.
class GdiCanvas {
public:
    static constexpr int kPaletteSize = 236;

    explicit GdiCanvas(CanvasSize size)
        : presenter_(std::make_shared<gdi::OffscreenPresenter>()),
          window_(platform::CreateOffscreenWindow(size.width, size.height, presenter_)),
          dc_(GetDC(window_)) {
        std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + (kPaletteSize - 1) * sizeof(PALETTEENTRY));
        auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
        logical->palVersion = 0x300;
        logical->palNumEntries = kPaletteSize;
        for (int i = 0; i < kPaletteSize; ++i) {
            const auto grey = static_cast<BYTE>(i);
            logical->palPalEntry[i] = PALETTEENTRY{grey, grey, grey, PC_RESERVED};
        }
        palette_ = CreatePalette(logical);
        previousPalette_ = SelectPalette(dc_, palette_, FALSE);
        RealizePalette(dc_);
    }

    ~GdiCanvas() {
        SelectPalette(dc_, previousPalette_, FALSE);
        DeleteObject(palette_);
        ReleaseDC(window_, dc_);
        platform::DestroyOffscreenWindow(window_);
    }

    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    HDC dc() const { return dc_; }

    // False (and the benchmark marked failed) when the Canvas could not be made.
    bool ready(benchmark::State& state) const {
        if (dc_ == nullptr || palette_ == nullptr) {
            state.SkipWithError("no Canvas on an offscreen window");
            return false;
        }
        return true;
    }

    // The share of the Canvas painted (the Canvas starts at index 0), so a
    // call that draws nothing cannot pass for a fast one.
    void reportCoverage(benchmark::State& state) const {
        GdiFlush();
        const std::vector<std::uint8_t> pixels = presenter_->indices();
        state.counters["coverage"] = PaintedShare(pixels.data(), pixels.size());
    }

private:
    std::shared_ptr<gdi::OffscreenPresenter> presenter_;
    HWND window_;
    HDC dc_;
    HPALETTE palette_ = nullptr;
    HPALETTE previousPalette_ = nullptr;
};

// Selects an object for the life of the scope and deletes it afterwards.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), previous_(SelectObject(dc, object)) {}
    ~Selected() {
        SelectObject(dc_, previous_);
        DeleteObject(object_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ previous_;
};

constexpr COLORREF kColour = PALETTEINDEX(100);

void PatBltCopy(benchmark::State& state, CanvasSize size) {
    GdiCanvas canvas(size);
    if (!canvas.ready(state)) {
        return;
    }
    Selected brush(canvas.dc(), CreateSolidBrush(kColour));
    for (auto _ : state) {
        PatBlt(canvas.dc(), 0, 0, size.width, size.height, PATCOPY);
    }
}

void PatBltInvert(benchmark::State& state, CanvasSize size) {
    GdiCanvas canvas(size);
    if (!canvas.ready(state)) {
        return;
    }
    for (auto _ : state) {
        PatBlt(canvas.dc(), 0, 0, size.width, size.height, DSTINVERT);
    }
}

void Polygons(benchmark::State& state, CanvasSize size) {
    const Shapes& shapes = ShapesFor(size);
    GdiCanvas canvas(size);
    if (!canvas.ready(state)) {
        return;
    }
    SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    Selected brush(canvas.dc(), CreateSolidBrush(kColour));
    for (auto _ : state) {
        for (int i = 0; i < kShapeCount; ++i) {
            Polygon(canvas.dc(), &shapes.polygons[static_cast<std::size_t>(i) * kPolygonVertices], kPolygonVertices);
        }
    }
    canvas.reportCoverage(state);
}

void Beziers(benchmark::State& state, CanvasSize size) {
    const Shapes& shapes = ShapesFor(size);
    GdiCanvas canvas(size);
    if (!canvas.ready(state)) {
        return;
    }
    Selected pen(canvas.dc(), CreatePen(PS_SOLID, kBezierPenWidth, kColour));
    for (auto _ : state) {
        for (int i = 0; i < kShapeCount; ++i) {
            PolyBezier(canvas.dc(), &shapes.beziers[static_cast<std::size_t>(i) * 4], 4);
        }
    }
    canvas.reportCoverage(state);
}

void Ellipses(benchmark::State& state, CanvasSize size) {
    const Shapes& shapes = ShapesFor(size);
    GdiCanvas canvas(size);
    if (!canvas.ready(state)) {
        return;
    }
    SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    Selected brush(canvas.dc(), CreateSolidBrush(kColour));
    for (auto _ : state) {
        for (const RECT& box : shapes.ellipses) {
            Ellipse(canvas.dc(), box.left, box.top, box.right, box.bottom);
        }
    }
    canvas.reportCoverage(state);
}

// The whole Canvas mirrored left to right from a memory DC of the same size.
void MirroredStretchBlt(benchmark::State& state, CanvasSize size) {
    GdiCanvas canvas(size);
    if (!canvas.ready(state)) {
        return;
    }
    HDC memory = CreateCompatibleDC(canvas.dc());
    {
        Selected bitmap(memory, CreateCompatibleBitmap(canvas.dc(), size.width, size.height));
        SetStretchBltMode(canvas.dc(), COLORONCOLOR);
        for (auto _ : state) {
            StretchBlt(canvas.dc(), size.width - 1, 0, -size.width, size.height, memory, 0, 0, size.width, size.height,
                       SRCCOPY);
        }
    }
    DeleteDC(memory);
}

// The whole Canvas filled from a memory bitmap 5/8 of its size, then that
// bitmap refilled from the whole Canvas: one enlarging and one shrinking
// nearest-neighbour pass, neither a whole multiple.
void ScaledStretchBlt(benchmark::State& state, CanvasSize size) {
    GdiCanvas canvas(size);
    if (!canvas.ready(state)) {
        return;
    }
    const int smallWidth = std::max(1, size.width * 5 / 8), smallHeight = std::max(1, size.height * 5 / 8);
    HDC memory = CreateCompatibleDC(canvas.dc());
    {
        Selected bitmap(memory, CreateCompatibleBitmap(canvas.dc(), smallWidth, smallHeight));
        SetStretchBltMode(canvas.dc(), COLORONCOLOR);
        SetStretchBltMode(memory, COLORONCOLOR);
        for (auto _ : state) {
            StretchBlt(canvas.dc(), 0, 0, size.width, size.height, memory, 0, 0, smallWidth, smallHeight, SRCCOPY);
            StretchBlt(memory, 0, 0, smallWidth, smallHeight, canvas.dc(), 0, 0, size.width, size.height, SRCCOPY);
        }
    }
    DeleteDC(memory);
}

}  // namespace

void RegisterGdiBenchmarks() {
    using Fn = void (*)(benchmark::State&, CanvasSize);
    struct Case {
        const char* name;
        Fn run;
        benchmark::TimeUnit unit;
    };
    const Case cases[] = {
        {"gdi/patblt_patcopy", PatBltCopy, benchmark::kMicrosecond},
        {"gdi/patblt_dstinvert", PatBltInvert, benchmark::kMicrosecond},
        {"gdi/polygons", Polygons, benchmark::kMillisecond},
        {"gdi/beziers", Beziers, benchmark::kMillisecond},
        {"gdi/ellipses", Ellipses, benchmark::kMillisecond},
        {"gdi/stretchblt_mirror", MirroredStretchBlt, benchmark::kMicrosecond},
        {"gdi/stretchblt_scale", ScaledStretchBlt, benchmark::kMicrosecond},
    };
    for (CanvasSize size : kSizes) {
        for (const Case& c : cases) {
            benchmark::RegisterBenchmark((std::string(c.name) + "/" + SizeName(size)).c_str(), c.run, size)
                ->Unit(c.unit);
        }
    }
}

}  // namespace bench
