// The offscreen presenter keeps exactly the last frame and the last colours,
// converts one through the other, and stays consistent while three threads
// publish and read at once.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "platform/gdi/present/offscreen_presenter.h"
#include "platform/kernel/clock.h"
#include "platform/kernel/kernel.h"

namespace {

gdi::HardwareColours Colours(std::uint32_t seed) {
    gdi::HardwareColours colours{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        colours[i] = (seed * 0x010203u + static_cast<std::uint32_t>(i) * 0x0A0B0Cu) & 0xFFFFFF;
    }
    return colours;
}

TEST(OffscreenPresenter, KeepsACopyOfTheLastFrameFromAStridedSource) {
    gdi::OffscreenPresenter presenter;
    EXPECT_EQ(presenter.frameCount(), 0u);
    EXPECT_TRUE(presenter.rgb().empty());

    // 3 x 2 pixels in rows 5 bytes apart; the padding must not be kept.
    std::vector<std::uint8_t> source = {1, 2, 3, 99, 99, 4, 5, 6, 99, 99};
    presenter.publishFrame(source.data(), 3, 2, 5);
    source.assign(source.size(), 0);  // the presenter owns its copy
    EXPECT_EQ(presenter.indices(), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(presenter.size().width, 3);
    EXPECT_EQ(presenter.size().height, 2);

    // Rows bottom-up in memory: a negative stride from the last row.
    const std::vector<std::uint8_t> bottomUp = {7, 8, 9, 10};
    presenter.publishFrame(bottomUp.data() + 2, 2, 2, -2);
    EXPECT_EQ(presenter.indices(), (std::vector<std::uint8_t>{9, 10, 7, 8}));
    EXPECT_EQ(presenter.frameCount(), 2u);
}

TEST(OffscreenPresenter, ANewPaletteChangesTheColoursWithoutANewFrame) {
    gdi::OffscreenPresenter presenter;
    const std::vector<std::uint8_t> frame = {0, 10, 245, 255};
    presenter.publishFrame(frame.data(), 2, 2, 2);
    EXPECT_EQ(presenter.rgb(), (std::vector<std::uint32_t>(4, 0))) << "black until colours arrive";

    const gdi::HardwareColours first = Colours(1);
    presenter.publishPalette(first);
    EXPECT_EQ(presenter.rgb(), (std::vector<std::uint32_t>{first[0], first[10], first[245], first[255]}));

    const gdi::HardwareColours second = Colours(2);
    presenter.publishPalette(second);
    EXPECT_EQ(presenter.rgb(), (std::vector<std::uint32_t>{second[0], second[10], second[245], second[255]}));
    EXPECT_EQ(presenter.frameCount(), 1u);
    EXPECT_EQ(presenter.paletteCount(), 2u);
    EXPECT_EQ(presenter.palette(), second);
}

TEST(OffscreenPresenter, RgbIntoFillsCallerRowsOnlyWhenTheSizeMatches) {
    gdi::OffscreenPresenter presenter;
    const gdi::HardwareColours colours = Colours(3);
    presenter.publishPalette(colours);
    const std::vector<std::uint8_t> frame = {1, 2, 3, 4, 5, 6};
    presenter.publishFrame(frame.data(), 3, 2, 3);

    constexpr std::uint32_t kUntouched = 0x12345678;
    std::vector<std::uint32_t> image(2 * 4, kUntouched);  // rows of 4, one pixel of padding
    EXPECT_FALSE(presenter.rgbInto(image.data(), 2, 3, 4));
    EXPECT_FALSE(presenter.rgbInto(image.data(), 3, 2, 2)) << "stride shorter than a row";
    EXPECT_FALSE(presenter.rgbInto(nullptr, 3, 2, 4));
    EXPECT_EQ(image, std::vector<std::uint32_t>(8, kUntouched));

    ASSERT_TRUE(presenter.rgbInto(image.data(), 3, 2, 4));
    EXPECT_EQ(image, (std::vector<std::uint32_t>{colours[1], colours[2], colours[3], kUntouched, colours[4],
                                                 colours[5], colours[6], kUntouched}));
    EXPECT_EQ(presenter.rgb(), (std::vector<std::uint32_t>{colours[1], colours[2], colours[3], colours[4],
                                                           colours[5], colours[6]}));
}

TEST(OffscreenPresenter, IgnoresFramesItCannotRead) {
    gdi::OffscreenPresenter presenter;
    const std::vector<std::uint8_t> frame = {4, 5, 6, 7};
    presenter.publishFrame(frame.data(), 2, 2, 2);

    presenter.publishFrame(nullptr, 2, 2, 2);
    presenter.publishFrame(frame.data(), -2, 2, 2);
    presenter.publishFrame(frame.data(), 2, -1, 2);
    presenter.publishFrame(frame.data(), 4, 1, 3);  // rows would overlap
    presenter.publishFrame(frame.data(), 4, 1, -3);
    EXPECT_EQ(presenter.frameCount(), 1u);
    EXPECT_EQ(presenter.indices(), frame);

    presenter.publishFrame(nullptr, 0, 0, 0);
    EXPECT_EQ(presenter.frameCount(), 2u);
    EXPECT_TRUE(presenter.indices().empty());
    EXPECT_TRUE(presenter.rgbInto(nullptr, 0, 0, 0));
}

TEST(OffscreenPresenter, PacesOnItsFrameClock) {
    platform::UseTestClock(100);
    gdi::OffscreenPresenter unpaced;
    unpaced.pace();
    const DWORD afterUnpaced = GetTickCount();
    gdi::OffscreenPresenter paced(50);
    paced.pace();
    paced.pace();
    const DWORD afterPaced = GetTickCount();
    paced.setFps(0);
    paced.pace();
    const DWORD afterUnpacing = GetTickCount();
    platform::UseRealClock();

    EXPECT_EQ(unpaced.fps(), 0);
    EXPECT_EQ(afterUnpaced, 100u);
    EXPECT_EQ(afterPaced, 140u);
    EXPECT_EQ(afterUnpacing, 140u);
}

// Each published frame is one index everywhere, and every colour of a
// palette carries both its index and the palette's number, so a reader that
// ever sees a frame or a palette half replaced finds two different colours in
// one picture.
TEST(OffscreenPresenter, ReadersNeverSeeAHalfPublishedFrameOrPalette) {
    constexpr int kWidth = 64;
    constexpr int kHeight = 48;
    gdi::OffscreenPresenter presenter;
    std::atomic<bool> stop{false};

    std::thread drawing([&] {
        std::vector<std::uint8_t> frame(kWidth * kHeight);
        for (int n = 0; !stop.load(); ++n) {
            frame.assign(frame.size(), static_cast<std::uint8_t>(n));
            presenter.publishFrame(frame.data(), kWidth, kHeight, kWidth);
        }
    });
    std::thread palette([&] {
        gdi::HardwareColours colours{};
        for (std::uint32_t n = 1; !stop.load(); ++n) {
            for (std::uint32_t i = 0; i < colours.size(); ++i) {
                colours[i] = (n & 0xFFFF) << 8 | i;
            }
            presenter.publishPalette(colours);
        }
    });

    std::vector<std::uint32_t> image(kWidth * kHeight);
    int mixed = 0;
    // Read until both writers have been busy for a while (they may start
    // late on a loaded machine).
    for (int read = 0; read < 2000 || presenter.frameCount() < 200 || presenter.paletteCount() < 200; ++read) {
        const std::vector<std::uint32_t> pixels = presenter.rgb();
        if (!pixels.empty()) {
            for (std::uint32_t p : pixels) {
                mixed += p != pixels[0];
            }
        }
        if (presenter.rgbInto(image.data(), kWidth, kHeight, kWidth)) {
            for (std::uint32_t p : image) {
                mixed += p != image[0];
            }
        }
    }
    stop.store(true);
    drawing.join();
    palette.join();
    EXPECT_EQ(mixed, 0);
}

}  // namespace
