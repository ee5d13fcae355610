#pragma once
// A small offscreen Canvas for the GDI tests: a window with a recording
// presenter, its private DC, and the engine's 236-entry palette realised.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <array>
#include <mutex>
#include <vector>

#include "platform/gdi/gdi.h"

namespace gditest {

// Keeps what the Canvas publishes.
class RecordingPresenter final : public gdi::Presenter {
public:
    void publishFrame(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride) override {
        std::lock_guard lock(mutex);
        frame.assign(static_cast<std::size_t>(width) * height, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) frame[static_cast<std::size_t>(y) * width + x] = pixels[y * stride + x];
        frameWidth = width;
        ++frames;
    }
    void publishChanged(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride,
                        const gdi::DirtyTiles& changed) override {
        publishFrame(pixels, width, height, stride);
        std::lock_guard lock(mutex);
        runs.clear();
        changed.forEachRun([&](int x0, int y0, int x1, int y1) { runs.push_back({x0, y0, x1, y1}); });
    }
    void publishPalette(const gdi::HardwareColours& c) override {
        std::lock_guard lock(mutex);
        colours = c;
        ++palettes;
    }
    void pace() override {
        std::lock_guard lock(mutex);
        ++paces;
    }

    std::mutex mutex;
    std::vector<std::uint8_t> frame;
    int frameWidth = 0;
    std::vector<std::array<int, 4>> runs;  // the changed tiles of the last frame, as runs x0, y0, x1, y1
    gdi::HardwareColours colours{};
    int frames = 0, palettes = 0, paces = 0;
};

// An 8-bit BITMAPINFO with a 256-entry colour table of RGBQUADs or WORDs.
struct Info8 {
    BITMAPINFOHEADER header{};
    RGBQUAD colours[256]{};

    Info8(int width, int height) {
        header.biSize = sizeof(BITMAPINFOHEADER);
        header.biWidth = width;
        header.biHeight = height;
        header.biPlanes = 1;
        header.biBitCount = 8;
        header.biCompression = BI_RGB;
        header.biClrUsed = 256;
    }
    const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
    void grey() {
        for (int i = 0; i < 256; ++i)
            colours[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    }
    void paletteIndices() {
        auto* words = reinterpret_cast<WORD*>(colours);
        for (int i = 0; i < 256; ++i) words[i] = static_cast<WORD>(i);
    }
};

// A top-down 8-bit DIB section, cleared to 0, selected in a memory DC of its own.
class MemoryDib {
public:
    MemoryDib(int width, int height, const Info8& table) : stride_((width + 3) & ~3) {
        Info8 info = table;
        info.header.biWidth = width;
        info.header.biHeight = -height;
        dc = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc, info.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<std::uint8_t*>(bits);
        previous_ = SelectObject(dc, bitmap_);
        std::fill_n(bits_, static_cast<std::size_t>(stride_) * height, std::uint8_t{0});
    }
    ~MemoryDib() {
        SelectObject(dc, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc);
    }
    MemoryDib(const MemoryDib&) = delete;
    MemoryDib& operator=(const MemoryDib&) = delete;

    std::uint8_t& at(int x, int y) { return bits_[y * stride_ + x]; }
    const std::uint8_t* bits() const { return bits_; }

    HDC dc = nullptr;

private:
    int stride_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint8_t* bits_ = nullptr;
};

// The palette engine's palette: 236 PC_RESERVED entries, entry i = (i, 255 - i, i / 2).
inline HPALETTE CreateEnginePalette() {
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + 235 * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = 236;
    for (int i = 0; i < 236; ++i)
        lp->palPalEntry[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 2), PC_RESERVED};
    return CreatePalette(lp);
}

class CanvasTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 64, kHeight = 48;

    void SetUp() override {
        presenter = std::make_shared<RecordingPresenter>();
        window = platform::CreateOffscreenWindow(kWidth, kHeight, presenter);
        dc = GetDC(window);
        palette = CreateEnginePalette();
        previousPalette = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
        PatBlt(dc, 0, 0, kWidth, kHeight, BLACKNESS);
    }
    void TearDown() override {
        for (auto it = cleanups.rbegin(); it != cleanups.rend(); ++it) (*it)();
        SelectClipRgn(dc, nullptr);
        SelectPalette(dc, previousPalette, FALSE);
        ReleaseDC(window, dc);
        platform::DestroyOffscreenWindow(window);
        DeleteObject(palette);
    }

    // The stored hardware indices of the whole Canvas, row by row.
    std::vector<std::uint8_t> Indices() {
        GdiFlush();
        std::lock_guard lock(presenter->mutex);
        return presenter->frame;
    }
    std::uint8_t IndexAt(int x, int y) { return Indices()[static_cast<std::size_t>(y) * kWidth + x]; }
    // Pixels holding `index`, as a count.
    int Count(std::uint8_t index) {
        int n = 0;
        for (auto v : Indices()) n += v == index;
        return n;
    }
    // The bounding box of pixels that are not `background`.
    RECT InkBox(std::uint8_t background = 0) {
        const auto px = Indices();
        RECT box{kWidth, kHeight, 0, 0};
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (px[static_cast<std::size_t>(y) * kWidth + x] != background) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }
    // Selects a new object and deletes the one it displaces at the end.
    template <class H>
    void Use(H object) {
        HGDIOBJ previous = SelectObject(dc, object);
        ASSERT_NE(previous, nullptr);
        cleanups.push_back([this, previous] { DeleteObject(SelectObject(dc, previous)); });
    }

    std::shared_ptr<RecordingPresenter> presenter;
    HWND window = nullptr;
    HDC dc = nullptr;
    HPALETTE palette = nullptr, previousPalette = nullptr;
    std::vector<std::function<void()>> cleanups;
};

}  // namespace gditest
