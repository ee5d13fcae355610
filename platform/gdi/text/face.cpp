// FreeType faces rendered monochrome, with each glyph kept as runs of ink
// relative to its origin on the baseline, so drawing is only run copying.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <map>
#include <mutex>
#include <tuple>
#include <vector>

#include "platform/gdi/text/font.h"
#include "platform/gdi/text/font_files.h"

namespace gdi::text {
namespace {

// Heights beyond this are clamped: glyph bitmaps grow with the square of it.
constexpr double kMaxEmPixels = 2048;

struct Run {
    int dy, x0, x1;  // row relative to the baseline, columns relative to the pen
};

struct Glyph {
    int advance = 0;
    std::vector<Run> runs;
};

struct Ink {
    std::int64_t y, x0, x1;
    bool operator<(const Ink& o) const { return std::tie(y, x0) < std::tie(o.y, o.x0); }
};

thread_local std::vector<Ink> inkScratch;

int RoundPx(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

struct Face::Impl {
    FT_Face face = nullptr;
    Metrics metrics{};
    bool embolden = false, oblique = false;
    mutable std::mutex mutex;  // guards face and glyphs
    mutable std::array<std::unique_ptr<Glyph>, 256> glyphs;

    ~Impl() {
        std::lock_guard<std::mutex> lock(detail::LibraryMutex());
        if (face) FT_Done_Face(face);
    }

    // Call with mutex held.
    const Glyph& glyph(unsigned char c) const {
        std::unique_ptr<Glyph>& slot = glyphs[c];
        if (slot) return *slot;
        slot = std::make_unique<Glyph>();
        if (FT_Load_Char(face, c, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0) return *slot;
        FT_GlyphSlot g = face->glyph;
        if (oblique) FT_GlyphSlot_Oblique(g);
        if (embolden) FT_GlyphSlot_Embolden(g);
        slot->advance = static_cast<int>((g->advance.x + 32) >> 6);
        if (FT_Render_Glyph(g, FT_RENDER_MODE_MONO) != 0 || g->bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
            return *slot;
        const FT_Bitmap& bm = g->bitmap;
        const int pitch = std::abs(bm.pitch);
        for (unsigned row = 0; row < bm.rows; ++row) {
            const unsigned char* bits = bm.buffer + static_cast<std::ptrdiff_t>(
                                                        bm.pitch >= 0 ? row : bm.rows - 1 - row) * pitch;
            const int dy = static_cast<int>(row) - g->bitmap_top;
            int start = -1;
            for (unsigned col = 0; col <= bm.width; ++col) {
                const bool on = col < bm.width && (bits[col >> 3] & (0x80 >> (col & 7)));
                if (on && start < 0) start = static_cast<int>(col);
                if (!on && start >= 0) {
                    slot->runs.push_back({dy, g->bitmap_left + start, g->bitmap_left + static_cast<int>(col)});
                    start = -1;
                }
            }
        }
        return *slot;
    }
};

Face::Face(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Face::~Face() = default;

namespace {

std::shared_ptr<const Face> Load(const FontSpec& request) {
    const auto file = detail::FindFont(request);
    if (!file) return nullptr;
    auto impl = std::make_unique<Face::Impl>();
    {
        std::lock_guard<std::mutex> lock(detail::LibraryMutex());
        FT_Library lib = detail::Library();
        if (!lib || FT_New_Face(lib, file->path.c_str(), file->index, &impl->face) != 0) {
            impl->face = nullptr;
            return nullptr;
        }
    }
    FT_Face f = impl->face;
    if (!FT_IS_SCALABLE(f) || f->units_per_EM == 0) return nullptr;
    const double upem = f->units_per_EM;
    // Cell metrics as Windows derives them: from the OS/2 table's Windows
    // ascent and descent when present, else from the horizontal header.
    double asc = f->ascender, desc = -f->descender, gap = 0;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(f, FT_SFNT_HHEA));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        asc = os2->usWinAscent;
        desc = os2->usWinDescent;
    }
    if (hhea) gap = std::max(0.0, hhea->Line_Gap - ((asc + desc) - (hhea->Ascender - hhea->Descender)));
    if (asc + desc <= 0) asc = upem, desc = 0;

    const int height = request.height == 0 ? 13 : request.height;
    double em = height > 0 ? height * upem / (asc + desc) : -static_cast<double>(height);
    em = std::clamp(em, 1.0, kMaxEmPixels);
    if (FT_Set_Char_Size(f, 0, static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72) != 0) return nullptr;

    const double scale = em / upem;
    Metrics& m = impl->metrics;
    m.ascent = RoundPx(asc * scale);
    m.descent = RoundPx(desc * scale);
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - RoundPx(em));
    m.externalLeading = RoundPx(gap * scale);
    m.maxCharWidth = RoundPx(f->max_advance_width * scale);
    impl->embolden = request.weight >= 600 && file->weight < 600;
    impl->oblique = request.italic && !file->italic;
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        m.aveCharWidth = os2 && os2->xAvgCharWidth > 0 ? RoundPx(os2->xAvgCharWidth * scale)
                                                       : impl->glyph('x').advance;
    }
    return std::make_shared<const Face>(std::move(impl));
}

}  // namespace

std::shared_ptr<const Face> Face::Open(const FontSpec& request) {
    // Faces are shared while anyone holds them: fonts are created far more
    // often than they differ.
    static std::mutex cacheMutex;
    static std::map<std::tuple<std::string, int, int, bool>, std::weak_ptr<const Face>> cache;
    const auto key = std::make_tuple(request.family, request.height, request.weight, request.italic);
    std::lock_guard<std::mutex> lock(cacheMutex);
    if (auto it = cache.find(key); it != cache.end())
        if (auto face = it->second.lock()) return face;
    auto face = Load(request);
    if (face) cache[key] = face;
    return face;
}

std::shared_ptr<const Face> Face::StockVariable() {
    static const std::shared_ptr<const Face> stock = Open(FontSpec{});
    return stock;
}

const Metrics& Face::metrics() const { return impl_->metrics; }

SIZE Face::measure(std::string_view line) const {
    std::int64_t width = 0;
    {
        std::lock_guard<std::mutex> lock(impl_->mutex);
        for (char c : line) width += impl_->glyph(static_cast<unsigned char>(c)).advance;
    }
    return {static_cast<LONG>(std::min<std::int64_t>(width, INT32_MAX)), impl_->metrics.height};
}

void Face::draw(std::string_view line, int x, int y, const RECT& limit, SpanSink& out) const {
    if (limit.left >= limit.right || limit.top >= limit.bottom) return;
    std::vector<Ink>& ink = inkScratch;
    ink.clear();
    const std::int64_t baseline = std::int64_t{y} + impl_->metrics.ascent;
    std::int64_t pen = x;
    {
        std::lock_guard<std::mutex> lock(impl_->mutex);
        for (char c : line) {
            const Glyph& g = impl_->glyph(static_cast<unsigned char>(c));
            for (const Run& r : g.runs) {
                const std::int64_t row = baseline + r.dy;
                const std::int64_t x0 = std::max<std::int64_t>(pen + r.x0, limit.left);
                const std::int64_t x1 = std::min<std::int64_t>(pen + r.x1, limit.right);
                if (row >= limit.top && row < limit.bottom && x0 < x1) ink.push_back({row, x0, x1});
            }
            pen += g.advance;
            if (pen >= limit.right + static_cast<std::int64_t>(2 * kMaxEmPixels)) break;  // nothing further is visible
        }
    }
    // Neighbouring glyphs may overlap (italics, emboldening); runs go out merged
    // so no pixel is delivered twice.
    std::sort(ink.begin(), ink.end());
    for (std::size_t i = 0; i < ink.size();) {
        const std::int64_t row = ink[i].y;
        std::int64_t l = ink[i].x0, r = ink[i].x1;
        for (++i; i < ink.size() && ink[i].y == row && ink[i].x0 <= r; ++i) r = std::max(r, ink[i].x1);
        out.span(static_cast<int>(row), static_cast<int>(l), static_cast<int>(r));
    }
}

}  // namespace gdi::text
