#pragma once
// The seam between the geometry engines and the device contexts: a shape is
// delivered as horizontal runs of pixels.

namespace gdi {

// Receives the pixels of one shape as runs [x0, x1) on row y (x0 < x1).
// The runs of one shape never overlap, so raster operations that are not
// idempotent (inversion) touch every pixel exactly once.  Runs may arrive in
// any row order.
class SpanSink {
public:
    virtual void span(int y, int x0, int x1) = 0;

protected:
    ~SpanSink() = default;
};

}  // namespace gdi
