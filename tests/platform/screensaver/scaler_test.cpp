#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "platform/screensaver/canvas_scaler.h"
#include "platform/screensaver/window_presenter.h"

using platform::saver::CanvasScaler;
using platform::saver::FitCanvas;
using platform::saver::Placement;
using platform::saver::WindowPresenter;

namespace {

// Colour i is 0x00010101 * i + 0x000100 (never black, so bars stand out).
std::vector<std::uint32_t> greyTable() {
    std::vector<std::uint32_t> table(256);
    for (std::uint32_t i = 0; i < 256; ++i) table[i] = 0x00010101u * i + 0x100u;
    return table;
}

TEST(FitCanvas, KeepsTheAspectRatioAndCentres) {
    Placement same = FitCanvas(800, 600, 800, 600);
    EXPECT_EQ(same.x, 0);
    EXPECT_EQ(same.y, 0);
    EXPECT_EQ(same.width, 800);
    EXPECT_EQ(same.height, 600);

    Placement pillar = FitCanvas(640, 480, 1920, 1080);  // bars left and right
    EXPECT_EQ(pillar.width, 1440);
    EXPECT_EQ(pillar.height, 1080);
    EXPECT_EQ(pillar.x, 240);
    EXPECT_EQ(pillar.y, 0);

    Placement letter = FitCanvas(320, 200, 1280, 1024);  // bars above and below
    EXPECT_EQ(letter.width, 1280);
    EXPECT_EQ(letter.height, 800);
    EXPECT_EQ(letter.x, 0);
    EXPECT_EQ(letter.y, 112);

    Placement down = FitCanvas(1600, 1200, 152, 112);  // a preview of a large Canvas
    EXPECT_EQ(down.height, 112);
    EXPECT_EQ(down.width, 149);
    EXPECT_EQ(down.x, 1);

    Placement empty = FitCanvas(0, 480, 640, 480);
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(FitCanvas(640, 480, 640, 0).height, 0);
}

TEST(CanvasScaler, SameSizeIsAPlainConversion) {
    const int w = 7, h = 3;
    std::vector<std::uint8_t> canvas(w * h);
    std::iota(canvas.begin(), canvas.end(), 10);
    auto table = greyTable();
    QImage image(w, h, QImage::Format_RGB32);
    CanvasScaler scaler;
    scaler.render(canvas.data(), w, h, w, table.data(), reinterpret_cast<std::uint32_t*>(image.bits()), w, h,
                  image.bytesPerLine() / 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) EXPECT_EQ(image.pixel(x, y) & 0xFFFFFFu, table[canvas[y * w + x]]);
}

TEST(CanvasScaler, IntegerScaleRepeatsEveryPixelEqually) {
    // 2 x 2 into 4 x 4: each Canvas pixel becomes a 2 x 2 block.
    std::uint8_t canvas[] = {1, 2, 3, 4};
    auto table = greyTable();
    QImage image(4, 4, QImage::Format_RGB32);
    CanvasScaler scaler;
    scaler.render(canvas, 2, 2, 2, table.data(), reinterpret_cast<std::uint32_t*>(image.bits()), 4, 4,
                  image.bytesPerLine() / 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(image.pixel(x, y) & 0xFFFFFFu, table[canvas[(y / 2) * 2 + x / 2]]) << x << "," << y;
}

TEST(CanvasScaler, VirtualModeOnAWideScreenHasBlackBarsAndNearestPixels) {
    // A 4 x 3 Canvas with a distinct index per pixel into a 16 x 9 window:
    // placed 12 x 9 at x = 2, each Canvas pixel a 3 x 3 block.
    std::vector<std::uint8_t> canvas(12);
    std::iota(canvas.begin(), canvas.end(), 100);
    auto table = greyTable();
    // A stride wider than the window, to see that padding is left alone.
    const int stride = 20;
    std::vector<std::uint32_t> window(stride * 9, 0xDEADBEEFu);
    CanvasScaler scaler;
    scaler.render(canvas.data(), 4, 3, 4, table.data(), window.data(), 16, 9, stride);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 16; ++x) {
            std::uint32_t pixel = window[y * stride + x];
            if (x < 2 || x >= 14) {
                EXPECT_EQ(pixel, 0u) << x << "," << y;
            } else {
                EXPECT_EQ(pixel, table[canvas[(y / 3) * 4 + (x - 2) / 3]]) << x << "," << y;
            }
        }
        for (int x = 16; x < stride; ++x) EXPECT_EQ(window[y * stride + x], 0xDEADBEEFu);
    }
}

TEST(CanvasScaler, FractionalScaleShowsEverySourceColumnNearlyEqually) {
    // 3 columns onto 8: every column shows, each 2 or 3 wide, in order.
    std::uint8_t canvas[] = {1, 2, 3};
    auto table = greyTable();
    std::vector<std::uint32_t> window(8 * 3);
    CanvasScaler scaler;
    scaler.render(canvas, 3, 1, 3, table.data(), window.data(), 8, 3, 8);
    Placement p = FitCanvas(3, 1, 8, 3);
    ASSERT_EQ(p.width, 8);
    int counts[3] = {0, 0, 0};
    int last = 0;
    for (int x = 0; x < 8; ++x) {
        std::uint32_t pixel = window[p.y * 8 + x];
        int source = -1;
        for (int i = 0; i < 3; ++i)
            if (pixel == table[canvas[i]]) source = i;
        ASSERT_GE(source, last) << "columns stay in order";
        last = source;
        ++counts[source];
    }
    for (int count : counts) {
        EXPECT_GE(count, 2);
        EXPECT_LE(count, 3);
    }
}

TEST(WindowPresenter, ShowsThePublishedCopyThroughTheLatestColours) {
    WindowPresenter presenter;
    EXPECT_FALSE(presenter.takeChanges());
    std::vector<std::uint8_t> canvas = {5, 6, 7, 8};
    presenter.publishFrame(canvas.data(), 2, 2, 2);
    gdi::HardwareColours colours{};
    colours[5] = 0x112233;
    colours[8] = 0x445566;
    presenter.publishPalette(colours);
    canvas[0] = 8;  // drawing goes on after the flush; the shown frame must not change
    ASSERT_TRUE(presenter.takeChanges());
    EXPECT_FALSE(presenter.takeChanges()) << "nothing new";
    std::uint32_t shown[4] = {};
    presenter.render(shown, 2, 2, 2);
    EXPECT_EQ(shown[0], 0x112233u);
    EXPECT_EQ(shown[3], 0x445566u);

    // New colours alone change the picture.
    colours[5] = 0x00FF00;
    presenter.publishPalette(colours);
    ASSERT_TRUE(presenter.takeChanges());
    presenter.render(shown, 2, 2, 2);
    EXPECT_EQ(shown[0], 0x00FF00u);

    // A bottom-up frame (negative stride) arrives top row first.
    std::uint8_t rows[] = {1, 1, 8, 8};  // memory: bottom row 1 1, top row 8 8
    presenter.publishFrame(rows + 2, 2, 2, -2);
    ASSERT_TRUE(presenter.takeChanges());
    presenter.render(shown, 2, 2, 2);
    EXPECT_EQ(shown[0], 0x445566u);
    EXPECT_EQ(shown[2], colours[1]);
}

TEST(WindowPresenter, BadFramesAreIgnoredAndNothingPublishedIsBlack) {
    WindowPresenter presenter;
    std::uint8_t pixel = 3;
    presenter.publishFrame(nullptr, 1, 1, 1);
    presenter.publishFrame(&pixel, -1, 1, 1);
    presenter.publishFrame(&pixel, 4, 1, 2);  // stride shorter than a row
    EXPECT_FALSE(presenter.takeChanges());
    std::uint32_t shown[6] = {1, 1, 1, 1, 1, 1};
    presenter.render(shown, 3, 2, 3);
    for (std::uint32_t p : shown) EXPECT_EQ(p, 0u);
}

}  // namespace

// The drawing thread publishes only the tiles it changed and the window
// keeps its pixels between renders, converting only changed tiles while the
// colours stay.  Whatever the order of publications, takes and renders, the
// window must equal a full conversion of the Canvas as last published;
// tiles changed and changed back (A, B, A) between two takes included.  The
// canvas is five columns of tiles wide (the last one narrow) and four bands
// high (the last one short).
TEST(WindowPresenter, ChangedTilesAloneKeepTheWindowEqualToTheCanvas) {
    const int w = 4 * 64 + 9, h = 3 * gdi::DirtyTiles::kBandRows + 5;
    std::vector<std::uint8_t> canvas(w * h, 3);
    auto table = greyTable();
    gdi::HardwareColours colours{};
    std::copy(table.begin(), table.end(), colours.begin());
    WindowPresenter presenter;
    presenter.publishPalette(colours);
    presenter.publishFrame(canvas.data(), w, h, w);
    std::vector<std::uint32_t> window(w * h, 0xDEADu);
    ASSERT_TRUE(presenter.takeChanges());
    ASSERT_EQ(presenter.render(window.data(), w, h, w, true).size(), 1u);

    std::srand(7);
    int partial = 0;
    gdi::DirtyTiles changed;
    changed.reset(w, h);
    for (int step = 0; step < 400; ++step) {
        changed.clear();
        for (int n = 1 + std::rand() % 3; n > 0; --n) {
            const int x = std::rand() % w, y = std::rand() % h;
            const int x1 = std::min(w, x + 1 + std::rand() % 70), y1 = std::min(h, y + 1 + std::rand() % 20);
            for (int yy = y; yy < y1; ++yy)
                for (int xx = x; xx < x1; ++xx) canvas[yy * w + xx] = static_cast<std::uint8_t>(std::rand() % 4);
            changed.add(x, y, x1, y1);
        }
        presenter.publishChanged(canvas.data(), w, h, w, changed);
        if (step % 5 == 4) presenter.publishPalette(colours);  // the colours "change": a whole render
        if (std::rand() % 3 == 0) continue;                    // another publication before the next take
        presenter.takeChanges();
        long long area = 0;
        for (const RECT& r : presenter.render(window.data(), w, h, w, true))
            area += static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
        if (area < static_cast<long long>(w) * h) ++partial;
        for (int i = 0; i < w * h; ++i) {
            ASSERT_EQ(window[i], table[canvas[i]]) << "step " << step << ", pixel " << i;
        }
    }
    EXPECT_GT(partial, 100) << "the window was rendered whole every time";
}

// Tiles are 64 pixels wide and 16 rows high, wider where 64 columns would not
// span the picture; runs merge neighbouring columns and stop at the edges.
TEST(DirtyTiles, RunsCoverWhatWasAddedInWholeTiles) {
    using Runs = std::vector<std::array<int, 4>>;
    auto runs = [](const gdi::DirtyTiles& tiles) {
        Runs out;
        tiles.forEachRun([&](int x0, int y0, int x1, int y1) { out.push_back({x0, y0, x1, y1}); });
        return out;
    };
    gdi::DirtyTiles tiles;
    tiles.reset(300, 40);
    EXPECT_TRUE(tiles.empty());
    tiles.addSpan(5, 63, 65);     // the edge of the first two columns
    tiles.addSpan(20, 250, 900);  // clipped at the right
    tiles.add(-10, 38, 1, 99);    // clipped at the left and the bottom
    tiles.addSpan(-1, 0, 300);    // rows outside: nothing
    tiles.addSpan(40, 0, 300);
    tiles.addSpan(7, 100, 100);   // empty
    EXPECT_EQ(runs(tiles), (Runs{{0, 0, 128, 16}, {192, 16, 300, 32}, {0, 32, 64, 40}}));

    gdi::DirtyTiles other;
    other.reset(300, 40);
    other.add(128, 0, 256, 1);
    tiles.add(other);
    EXPECT_EQ(runs(tiles)[0], (std::array<int, 4>{0, 0, 256, 16}));
    tiles.clear();
    EXPECT_TRUE(tiles.empty());
    EXPECT_TRUE(runs(tiles).empty());

    // 8000 pixels take 63 columns of 128; every column set is one run.
    tiles.reset(8000, 3);
    tiles.addAll();
    EXPECT_EQ(runs(tiles), (Runs{{0, 0, 8000, 3}}));
    tiles.clear();
    tiles.addSpan(1, 7999, 8000);
    EXPECT_EQ(runs(tiles), (Runs{{62 * 128, 0, 8000, 3}}));
}
