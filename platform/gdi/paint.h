#pragma once
// How the drawing calls reach the pixels: a locked DC, its surface, and
// sinks applying the DC's raster operation under its clip.
#include <utility>

#include "platform/gdi/dc.h"
#include "platform/gdi/sinks.h"

namespace gdi {

// Calls f(dc, surface) with the DC locked; FALSE for stale handles.
template <class F>
BOOL WithDC(HDC hdc, F&& f) {
    auto dc = LookupDC(hdc);
    if (!dc) return FALSE;
    std::lock_guard lock(dc->mutex);
    auto surface = dc->surface();
    if (!surface) return FALSE;
    return f(*dc, *surface) ? TRUE : FALSE;
}

inline bool EmptyRect(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

// Emits the shape of `emit(limit, sink)` in one ink, clipped by the DC.
template <class Emit>
void PaintShape(DeviceContext& dc, Surface& s, const SolidInk& ink, Emit&& emit) {
    const RECT limit = DrawLimit(dc, s);
    if (EmptyRect(limit)) return;
    SolidSink solid(s, ink);
    ClippedSink clipped(dc.clip ? &*dc.clip : nullptr, solid);
    std::lock_guard pixels(s.mutex);
    emit(limit, clipped);
}

// Whether a binary raster operation ignores the destination, so painting a
// pixel twice gives what painting it once would.
inline bool IgnoresDestination(int rop2) {
    return rop2 == R2_BLACK || rop2 == R2_WHITE || rop2 == R2_COPYPEN || rop2 == R2_NOTCOPYPEN ||
           rop2 == R2_NOP;
}

// Paints an interior with the brush and an outline with the pen, each pixel
// once: under raster operations that read the destination, the interior
// leaves out the outline's pixels.
template <class Fill, class Stroke>
void FillAndStroke(DeviceContext& dc, Surface& s, bool hasFill, Fill&& fill, bool hasStroke, Stroke&& stroke) {
    const RECT limit = DrawLimit(dc, s);
    if (EmptyRect(limit) || (!hasFill && !hasStroke)) return;
    const Region* clip = dc.clip ? &*dc.clip : nullptr;
    const SolidInk brushInk = MakeInk(s, hasFill ? ResolveColour(dc, s, dc.brush->colour) : 0, dc.rop2);
    const SolidInk penInk = MakeInk(s, hasStroke ? ResolveColour(dc, s, dc.pen->colour) : 0, dc.rop2);
    SolidSink brushSink(s, brushInk), penSink(s, penInk);
    ClippedSink brushOut(clip, brushSink), penOut(clip, penSink);
    std::lock_guard pixels(s.mutex);
    if (hasFill && hasStroke && !IgnoresDestination(dc.rop2)) {
        SpanCollector outline;
        stroke(limit, outline);
        outline.sort();
        SubtractSink interior(outline, brushOut);
        fill(limit, interior);
        outline.replay(penOut);
        return;
    }
    if (hasFill) fill(limit, brushOut);
    if (hasStroke) stroke(limit, penOut);
}

}  // namespace gdi
