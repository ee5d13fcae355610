// LoadImageA and the bitmap file reader: every depth comes out as a DIB the
// Canvas keeps, and hostile files are refused without harm.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <initializer_list>
#include <vector>

#include "platform/gdi/bmp_reader.h"
#include "platform/kernel/bytes.h"
#include "platform/win32.h"
#include "support/temp_dir.h"

namespace {

using platform::WriteDword;
using platform::WriteWord;

// A bitmap file with a 40-byte header (or a 12-byte one), optional masks,
// a table of `colours` (B, G, R, 0 each) and the given body.
std::vector<BYTE> Bmp(LONG width, LONG height, WORD bits, DWORD compression, std::vector<BYTE> colours,
                      std::vector<BYTE> body, std::vector<DWORD> masks = {}, bool core = false) {
    const DWORD header = core ? 12 : 40;
    std::vector<BYTE> file(14 + header + 4 * masks.size());
    file[0] = 'B';
    file[1] = 'M';
    WriteDword(&file[14], header);
    if (core) {
        WriteWord(&file[18], static_cast<WORD>(width));
        WriteWord(&file[20], static_cast<WORD>(height));
        WriteWord(&file[22], 1);
        WriteWord(&file[24], bits);
    } else {
        WriteDword(&file[18], static_cast<DWORD>(width));
        WriteDword(&file[22], static_cast<DWORD>(height));
        WriteWord(&file[26], 1);
        WriteWord(&file[28], bits);
        WriteDword(&file[30], compression);
        WriteDword(&file[46], static_cast<DWORD>(colours.size() / 4));
    }
    for (std::size_t i = 0; i < masks.size(); ++i) WriteDword(&file[14 + header + 4 * i], masks[i]);
    file.insert(file.end(), colours.begin(), colours.end());
    WriteDword(&file[10], static_cast<DWORD>(file.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

// Decoded pixels, bottom-up, or empty when the file is refused.
std::vector<BYTE> Decode(const std::vector<BYTE>& file, gdi::BmpImage* out = nullptr) {
    auto image = gdi::ReadBmpHeader(file.data(), file.size());
    if (!image) return {};
    std::vector<BYTE> bits(image->stride() * image->height);
    if (!gdi::ReadBmpPixels(file.data(), file.size(), *image, bits.data())) return {};
    if (out) *out = *image;
    return bits;
}

TEST(BmpReader, SmallDepthsBecomeIndicesWithTheirTable) {
    gdi::BmpImage image;
    // 1 bit, 3 pixels: 1 0 1; 4 bits: 0xA 0x3 0x7.
    EXPECT_EQ(Decode(Bmp(3, 1, 1, BI_RGB, {0, 0, 0, 0, 255, 255, 255, 0}, {0xA0, 0, 0, 0}), &image),
              (std::vector<BYTE>{1, 0, 1, 0}));
    EXPECT_EQ(image.colours.size(), 2u);
    EXPECT_EQ(Decode(Bmp(3, 1, 4, BI_RGB, std::vector<BYTE>(64), {0xA3, 0x70, 0, 0})),
              (std::vector<BYTE>{0xA, 0x3, 0x7, 0}));
    // An old-style header has 3-byte colours.
    EXPECT_EQ(Decode(Bmp(2, 1, 1, BI_RGB, {9, 8, 7, 6, 5, 4}, {0x40, 0, 0, 0}, {}, true), &image),
              (std::vector<BYTE>{0, 1, 0, 0}));
    EXPECT_EQ(image.colours[1].rgbBlue, 6);
    EXPECT_EQ(image.colours[1].rgbRed, 4);
}

TEST(BmpReader, DeepPixelsBecomeBlueGreenRedWithChannelsScaled) {
    // 16 bits, 5-5-5 by default: red 31, green 1, blue 16.
    const WORD pixel = (31 << 10) | (1 << 5) | 16;
    std::vector<BYTE> body = {BYTE(pixel), BYTE(pixel >> 8), 0, 0};
    gdi::BmpImage image;
    EXPECT_EQ(Decode(Bmp(1, 1, 16, BI_RGB, {}, body), &image), (std::vector<BYTE>{128, 8, 248, 0}));
    EXPECT_EQ(image.bitsPerPixel, 32);
    // 5-6-5 bit fields, and 32-bit fields of 10 bits that keep their top 8.
    const WORD rgb565 = (1 << 11) | (63 << 5) | 2;
    EXPECT_EQ(Decode(Bmp(1, 1, 16, BI_BITFIELDS, {}, {BYTE(rgb565), BYTE(rgb565 >> 8), 0, 0},
                         {0xF800, 0x07E0, 0x001F})),
              (std::vector<BYTE>{16, 252, 8, 0}));
    const DWORD wide = (0x3FFu << 20) | (0x004u << 10) | 0x3F0u;
    std::vector<BYTE> body32(4);
    WriteDword(body32.data(), wide);
    EXPECT_EQ(Decode(Bmp(1, 1, 32, BI_BITFIELDS, {}, body32, {0x3FF00000, 0x000FFC00, 0x000003FF})),
              (std::vector<BYTE>{0xFC, 0x01, 0xFF, 0}));
}

TEST(BmpReader, TopDownRowsAreStoredBottomUp) {
    // Two rows of 24 bits, the top one first in the file.
    std::vector<BYTE> body = {1, 2, 3, 0, 4, 5, 6, 0};
    EXPECT_EQ(Decode(Bmp(1, -2, 24, BI_RGB, {}, body)), (std::vector<BYTE>{4, 5, 6, 0, 1, 2, 3, 0}));
}

TEST(BmpReader, RunLengthRunsLiteralsMovesAndEnds) {
    // RLE8, 6 x 3: a run of 3 fives, 3 literals (padded), end of line; a move
    // of 2 right and 1 up; a run that overflows the row; end of bitmap.
    std::vector<BYTE> rle8 = {3, 5, 0, 3, 7, 8, 6, 0, 0, 0, 0, 2, 2, 1, 5, 9, 0, 1};
    EXPECT_EQ(Decode(Bmp(6, 3, 8, BI_RLE8, std::vector<BYTE>(1024), rle8)),
              (std::vector<BYTE>{5, 5, 5, 7, 8, 6, 0, 0,  //
                                 0, 0, 0, 0, 0, 0, 0, 0,  //
                                 0, 0, 9, 9, 9, 9, 0, 0}));
    // RLE4: a run of 3 alternating nibbles, a literal of 3 nibbles.
    std::vector<BYTE> rle4 = {3, 0x12, 0, 3, 0x45, 0x60, 0, 1};
    EXPECT_EQ(Decode(Bmp(6, 1, 4, BI_RLE4, std::vector<BYTE>(64), rle4)), (std::vector<BYTE>{1, 2, 1, 4, 5, 6, 0, 0}));
}

TEST(BmpReader, HostileFilesAreRefused) {
    const std::vector<BYTE> table(1024);
    // Truncated bodies: plain rows missing, run-length data without an end.
    EXPECT_TRUE(Decode(Bmp(4, 4, 8, BI_RGB, table, std::vector<BYTE>(12))).empty());
    EXPECT_TRUE(Decode(Bmp(4, 4, 8, BI_RLE8, table, {4, 1, 0, 0})).empty());
    EXPECT_TRUE(Decode(Bmp(4, 4, 8, BI_RLE8, table, {0, 5, 1, 2})).empty());
    // Giant pictures are refused from the header, whatever the body.
    for (LONG side : {100000, 16000}) {
        const std::vector<BYTE> giant = Bmp(side, 16000, 8, BI_RLE8, table, {0, 1});
        EXPECT_FALSE(gdi::ReadBmpHeader(giant.data(), giant.size()));
    }
    // Nonsense in the header: depth, compression, planes, sizes, offsets.
    EXPECT_TRUE(Decode(Bmp(2, 2, 7, BI_RGB, {}, std::vector<BYTE>(16))).empty());
    EXPECT_TRUE(Decode(Bmp(2, 2, 24, BI_RLE8, {}, std::vector<BYTE>(16))).empty());
    EXPECT_TRUE(Decode(Bmp(2, -2, 8, BI_RLE8, table, {0, 1})).empty());
    EXPECT_TRUE(Decode(Bmp(0, 2, 24, BI_RGB, {}, std::vector<BYTE>(16))).empty());
    EXPECT_TRUE(Decode(Bmp(2, INT32_MIN, 24, BI_RGB, {}, std::vector<BYTE>(16))).empty());
    std::vector<BYTE> file = Bmp(2, 2, 24, BI_RGB, {}, std::vector<BYTE>(16));
    WriteDword(&file[10], 0x7FFFFFFF);
    EXPECT_TRUE(Decode(file).empty());
    WriteDword(&file[14], 0xFFFFFFF0);
    EXPECT_TRUE(Decode(file).empty());
    file = Bmp(2, 2, 8, BI_RGB, table, std::vector<BYTE>(8));
    WriteDword(&file[46], 0xFFFFFFFF);  // more colours than the file holds
    file.resize(200);
    EXPECT_TRUE(Decode(file).empty());
}

TEST(LoadImage, MakesABottomUpDibSectionOrFails) {
    testsupport::TempDir dir;
    const std::string good = (dir.path() / "Four.bmp").string(), bad = (dir.path() / "Bad.bmp").string();
    std::vector<BYTE> table(16);
    table[4 + 2] = 200;  // entry 1 is red
    const std::vector<BYTE> file = Bmp(2, 2, 4, BI_RGB, table, {0x10, 0, 0, 0, 0x01, 0, 0, 0});
    std::ofstream(good, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
    std::ofstream(bad, std::ios::binary) << "BM nothing";

    HANDLE image = LoadImageA(nullptr, good.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    ASSERT_NE(image, nullptr);
    DIBSECTION section{};
    ASSERT_EQ(GetObjectA(reinterpret_cast<HBITMAP>(image), sizeof section, &section), int(sizeof section));
    EXPECT_EQ(section.dsBm.bmBitsPixel, 8);
    EXPECT_GT(section.dsBmih.biHeight, 0);
    const auto* bits = static_cast<const BYTE*>(section.dsBm.bmBits);
    EXPECT_EQ(bits[0], 1);
    EXPECT_EQ(bits[4 + 1], 1);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HBITMAP>(image));
    RGBQUAD colours[2];
    ASSERT_EQ(GetDIBColorTable(dc, 0, 2, colours), 2u);
    EXPECT_EQ(colours[1].rgbRed, 200);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(reinterpret_cast<HBITMAP>(image));

    EXPECT_EQ(LoadImageA(nullptr, bad.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(LoadImageA(nullptr, (dir.str() + "/none.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, good.c_str(), IMAGE_BITMAP, 0, 0, 0), nullptr) << "resources are not supported";
}

}  // namespace
