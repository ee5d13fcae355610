// Animated GIFs of the Canvas decode to exactly the indices and colours
// given, frame by frame, with the timing asked for.
#include <gtest/gtest.h>
#include <gif_lib.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gdi/present/gif.h"
#include "support/temp_dir.h"

namespace {

constexpr int W = 6;
constexpr int H = 4;

gdi::HardwareColours Colours(std::uint32_t seed) {
    gdi::HardwareColours colours{};
    for (std::uint32_t i = 0; i < 256; ++i) colours[i] = (i * 0x010203u + seed) & 0xFFFFFFu;
    return colours;
}

// What a viewer shows after each frame: the canvas composed frame on frame.
struct Shown {
    std::vector<std::uint32_t> rgb;
    int delay;
    int area;  // of the frame's own image
};

std::vector<Shown> Decode(const std::string& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    EXPECT_NE(gif, nullptr) << GifErrorString(error);
    if (!gif) return {};
    EXPECT_EQ(DGifSlurp(gif), GIF_OK);
    EXPECT_EQ(gif->SWidth, W);
    EXPECT_EQ(gif->SHeight, H);
    std::vector<Shown> shown;
    std::vector<std::uint32_t> canvas(W * H, 0xDEADu);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const ColorMapObject* map = image.ImageDesc.ColorMap;
        EXPECT_NE(map, nullptr);
        if (!map) break;
        EXPECT_EQ(map->ColorCount, 256);
        for (int y = 0; y < image.ImageDesc.Height; ++y) {
            for (int x = 0; x < image.ImageDesc.Width; ++x) {
                const GifColorType c = map->Colors[image.RasterBits[y * image.ImageDesc.Width + x]];
                canvas[(image.ImageDesc.Top + y) * W + image.ImageDesc.Left + x] =
                    std::uint32_t{c.Red} << 16 | std::uint32_t{c.Green} << 8 | c.Blue;
            }
        }
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, i, &control);
        shown.push_back({canvas, control.DelayTime, image.ImageDesc.Width * image.ImageDesc.Height});
    }
    DGifCloseFile(gif, &error);
    return shown;
}

std::vector<std::uint32_t> Through(const std::vector<std::uint8_t>& indices, const gdi::HardwareColours& colours) {
    std::vector<std::uint32_t> rgb;
    for (std::uint8_t index : indices) rgb.push_back(colours[index]);
    return rgb;
}

TEST(GifWriter, FramesShowExactlyTheIndicesThroughTheirColoursForTheirTime) {
    testsupport::TempDir dir;
    const std::string path = (dir.path() / "run.gif").string();
    std::vector<std::uint8_t> a(W * H);
    for (int i = 0; i < W * H; ++i) a[i] = static_cast<std::uint8_t>(i * 11);
    std::vector<std::uint8_t> b = a;
    b[2 * W + 3] = 200;  // one pixel drawn anew
    const gdi::HardwareColours first = Colours(0);
    const gdi::HardwareColours flowed = Colours(0x404040);

    gdi::GifWriter writer;
    std::string error;
    ASSERT_TRUE(writer.open(path, W, H, &error)) << error;
    writer.addFrame(a.data(), first, 0);
    writer.addFrame(a.data(), first, 66);     // the same picture: the first one lasts longer
    writer.addFrame(b.data(), first, 133);    // one pixel changed
    writer.addFrame(b.data(), flowed, 200);   // the colours flowed under the same indices
    writer.addFrame(a.data(), flowed, 202);   // gone again before a hundredth passed
    writer.addFrame(b.data(), flowed, 203);
    EXPECT_FALSE(std::filesystem::exists(path)) << "the file appears only once it is whole";
    ASSERT_TRUE(writer.finish(1000, &error)) << error;

    const std::vector<Shown> shown = Decode(path);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].rgb, Through(a, first));
    EXPECT_EQ(shown[0].delay, 13);
    EXPECT_EQ(shown[1].rgb, Through(b, first));
    EXPECT_EQ(shown[1].delay, 7);
    EXPECT_EQ(shown[1].area, 1) << "only the changed pixel is stored";
    EXPECT_EQ(shown[2].rgb, Through(b, flowed));
    EXPECT_EQ(shown[2].delay, 80);
}

TEST(GifWriter, AFailedOrAbandonedGifLeavesNothingBehind) {
    testsupport::TempDir dir;
    std::string error;
    {
        gdi::GifWriter writer;
        ASSERT_TRUE(writer.open((dir.path() / "left.gif").string(), W, H, &error));
        std::vector<std::uint8_t> a(W * H, 7);
        writer.addFrame(a.data(), Colours(1), 0);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    gdi::GifWriter writer;
    EXPECT_FALSE(writer.open((dir.path() / "no-such-dir" / "x.gif").string(), W, H, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(writer.open((dir.path() / "y.gif").string(), 0, H, &error));
}

}  // namespace
