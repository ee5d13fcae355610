#pragma once
// An offscreen Canvas for the drawing-module tests: a window with the
// engine's 236-entry palette realised in its private DC, cleared to black,
// and its published pixels as hardware indices.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/present/offscreen_presenter.h"
#include "platform/win32.h"

namespace modtest {

// PALETTEINDEX(i) through the realised engine palette lands on this index.
constexpr std::uint8_t HardwareIndex(int paletteIndex) { return static_cast<std::uint8_t>(paletteIndex + 10); }
constexpr std::uint8_t Black = 0;

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    HWND window() const { return window_; }
    HDC dc() const { return dc_; }
    gdi::OffscreenPresenter& presenter() { return *presenter_; }

    void Fill(DWORD rop);
    // The published picture, row by row.
    std::vector<std::uint8_t> Indices();
    int CountNot(std::uint8_t index);

private:
    int width_;
    int height_;
    std::shared_ptr<gdi::OffscreenPresenter> presenter_;
    HWND window_;
    HDC dc_;
    HPALETTE palette_;
    HPALETTE previousPalette_;
};

// Pixels with ink (any index but black) in columns [x0, x1) and rows [y0, y1).
int InkIn(const std::vector<std::uint8_t>& px, int width, int x0, int y0, int x1, int y1);

}  // namespace modtest
