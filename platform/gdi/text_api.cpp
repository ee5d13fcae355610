// Fonts and text: DrawTextA, GetTextExtentPoint32A, GetTextMetricsA.
#include <cstring>
#include <string_view>

#include "platform/gdi/paint.h"
#include "platform/gdi/raster/raster.h"

using namespace gdi;

namespace {

// The text of an "A" call: `length` bytes, or up to the terminator when -1.
std::string_view TextOf(LPCSTR text, int length) {
    if (!text) return {};
    if (length < 0) return std::string_view(text);
    return std::string_view(text, static_cast<std::size_t>(length));
}

}  // namespace

int DrawTextA(HDC hdc, LPCSTR text, int length, LPRECT rect, UINT format) {
    if (!text || !rect) return 0;
    const std::string_view line = TextOf(text, length);
    int height = 0;
    const BOOL ok = WithDC(hdc, [&](DeviceContext& dc, Surface& s) {
        const text::Face* face = dc.font->face.get();
        if (!face) return false;
        RECT box = *rect;
        const bool calculate = (format & DT_CALCRECT) != 0;
        const bool clipToBox = !(format & DT_NOCLIP);
        const RECT clipBox = *rect;
        const SolidInk textInk = MakeInk(s, calculate ? 0 : ResolveColour(dc, s, dc.textColour), R2_COPYPEN);
        const SolidInk backInk = MakeInk(s, calculate || dc.bkMode != OPAQUE ? 0 : ResolveColour(dc, s, dc.bkColour),
                                         R2_COPYPEN);
        const bool opaque = dc.bkMode == OPAQUE;
        height = text::LayoutText(*face, line, box, format, [&](int x, int y, std::string_view l) {
            auto within = [&](const RECT& limit) {
                if (!clipToBox) return limit;
                return RECT{std::max(limit.left, clipBox.left), std::max(limit.top, clipBox.top),
                            std::min(limit.right, clipBox.right), std::min(limit.bottom, clipBox.bottom)};
            };
            if (opaque) {
                const SIZE cell = face->measure(l);
                const RECT cellRect = {x, y, x + cell.cx, y + cell.cy};
                PaintShape(dc, s, backInk, [&](const RECT& limit, SpanSink& out) {
                    const RECT r = within(limit);
                    if (!EmptyRect(r)) raster::FillRect(cellRect, r, out);
                });
            }
            PaintShape(dc, s, textInk, [&](const RECT& limit, SpanSink& out) {
                const RECT r = within(limit);
                if (!EmptyRect(r)) face->draw(l, x, y, r, out);
            });
        });
        if (calculate) *rect = box;
        return true;
    });
    return ok ? height : 0;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int length, LPSIZE size) {
    if (!size || length < 0 || (!text && length > 0)) return FALSE;
    auto dc = LookupDC(hdc);
    if (!dc) return FALSE;
    std::lock_guard lock(dc->mutex);
    const text::Face* face = dc->font->face.get();
    if (!face) return FALSE;
    *size = face->measure(TextOf(text ? text : "", length));
    return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA metrics) {
    if (!metrics) return FALSE;
    auto dc = LookupDC(hdc);
    if (!dc) return FALSE;
    std::lock_guard lock(dc->mutex);
    const text::Face* face = dc->font->face.get();
    if (!face) return FALSE;
    const text::Metrics& m = face->metrics();
    *metrics = TEXTMETRICA{};
    metrics->tmHeight = m.height;
    metrics->tmAscent = m.ascent;
    metrics->tmDescent = m.descent;
    metrics->tmInternalLeading = m.internalLeading;
    metrics->tmExternalLeading = m.externalLeading;
    metrics->tmAveCharWidth = m.aveCharWidth;
    metrics->tmMaxCharWidth = m.maxCharWidth;
    metrics->tmWeight = dc->font->logFont.lfWeight ? dc->font->logFont.lfWeight : FW_NORMAL;
    metrics->tmDigitizedAspectX = 96;
    metrics->tmDigitizedAspectY = 96;
    metrics->tmFirstChar = 0x20;
    metrics->tmLastChar = 0xFF;
    metrics->tmDefaultChar = 0x1F;
    metrics->tmBreakChar = 0x20;
    metrics->tmItalic = dc->font->logFont.lfItalic;
    metrics->tmPitchAndFamily = 0x22;  // variable pitch, Swiss
    return TRUE;
}
