#include "canvas.h"

#include <cmath>

namespace modtest {

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), presenter_(std::make_shared<gdi::OffscreenPresenter>()) {
    window_ = platform::CreateOffscreenWindow(width, height, presenter_);
    dc_ = GetDC(window_);
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + 235 * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = 236;
    for (int i = 0; i < 236; ++i) {
        // A bright rainbow that repeats every 30 entries, so that pictures
        // written for people to look at show the colour bands.
        auto wave = [i](double shift) { return static_cast<BYTE>(128 + 127 * std::sin(i * 0.21 + shift)); };
        lp->palPalEntry[i] = {wave(0.0), wave(2.1), wave(4.2), PC_RESERVED};
    }
    palette_ = CreatePalette(lp);
    previousPalette_ = SelectPalette(dc_, palette_, FALSE);
    RealizePalette(dc_);
    Fill(BLACKNESS);
}

Canvas::~Canvas() {
    SelectPalette(dc_, previousPalette_, FALSE);
    ReleaseDC(window_, dc_);
    platform::DestroyOffscreenWindow(window_);
    DeleteObject(palette_);
}

void Canvas::Fill(DWORD rop) { PatBlt(dc_, 0, 0, width_, height_, rop); }

std::vector<std::uint8_t> Canvas::Indices() {
    GdiFlush();
    return presenter_->indices();
}

int Canvas::CountNot(std::uint8_t index) {
    int n = 0;
    for (std::uint8_t v : Indices()) n += v != index;
    return n;
}

int InkIn(const std::vector<std::uint8_t>& px, int width, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += px[static_cast<std::size_t>(y) * width + x] != Black;
    return n;
}

}  // namespace modtest
