#pragma once
// Text engine of the Canvas: FreeType faces found through fontconfig,
// rendered monochrome (the Canvas draws text in one palette index without
// blending), and the line layout of DrawTextA.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/gdi/raster/span_sink.h"
#include "platform/types.h"

namespace gdi::text {

// DrawTextA format flags used by LayoutText, with their Win32 values.
constexpr unsigned kDtTop = 0x0;
constexpr unsigned kDtCenter = 0x1;
constexpr unsigned kDtRight = 0x2;
constexpr unsigned kDtVCenter = 0x4;
constexpr unsigned kDtBottom = 0x8;
constexpr unsigned kDtSingleLine = 0x20;
constexpr unsigned kDtCalcRect = 0x400;
constexpr unsigned kDtNoPrefix = 0x800;

struct FontSpec {
    std::string family = "sans-serif";
    int height = 13;  // cell height in px; negative = character height, as LOGFONT
    int weight = 400;
    bool italic = false;
};

struct Metrics {
    int height, ascent, descent, internalLeading, externalLeading, aveCharWidth, maxCharWidth;
};

class Face {
public:
    struct Impl;
    explicit Face(std::unique_ptr<Impl> impl);
    ~Face();
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;

    static std::shared_ptr<const Face> Open(const FontSpec& request);  // nullptr when no font at all
    static std::shared_ptr<const Face> StockVariable();             // sans-serif, about 13 px
    const Metrics& metrics() const;
    SIZE measure(std::string_view line) const;  // advance width, metrics().height
    // Ink of one line with its cell's top-left at (x, y), as spans within limit.
    // Bytes are Latin-1 code points.
    void draw(std::string_view line, int x, int y, const RECT& limit, SpanSink& out) const;

private:
    std::unique_ptr<Impl> impl_;
};

// DrawTextA layout: lines split at "\n" and "\r\n" (unless kDtSingleLine),
// placed in `rect` by the horizontal and vertical flags; a block of several
// lines is centred or bottom-aligned as a whole.  Without kDtNoPrefix, "&"
// is removed and "&&" shows one "&".  kDtCalcRect extends rect.right and
// rect.bottom to the text and draws nothing.  Returns the text height (with
// kDtVCenter or kDtBottom: from rect.top to the bottom of the text), and calls
// line(x, y, text) with each line's cell position.
int LayoutText(const Face& face, std::string_view text, RECT& rect, unsigned format,
               const std::function<void(int x, int y, std::string_view line)>& line);

}  // namespace gdi::text
