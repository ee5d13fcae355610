// The picture routines of the slide show: picking files, brightness of deep
// pictures, and the prepared 8-bit picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/kernel/bytes.h"
#include "platform/win32.h"
#include "saver/images/bitmap_images.h"
#include "support/temp_dir.h"

namespace {

TEST(PickMatchingFile, NextOrderStartsAtTheSecondMatchAndWraps) {
    testsupport::TempDir dir;
    for (const char* name : {"one.bmp", "two.BMP", "three.bmp", "other.txt"}) std::ofstream(dir.path() / name) << "x";
    const std::string mask = dir.str() + "/*.bmp";
    ASSERT_EQ(CountMatchingFiles(mask.c_str()), 3);
    std::vector<std::string> listed;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(mask.c_str(), &found);
    do listed.push_back(dir.str() + "/" + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);

    LastPickedFile = 0;
    char path[MAX_PATH];
    for (int expected : {1, 2, 0, 1}) {
        ASSERT_EQ(PickMatchingFile(mask.c_str(), path, FALSE), 1);
        EXPECT_EQ(path, listed[expected]);
    }
    // At random: always one of them, the same sequence for the same seed.
    SeedWorkerRandom(5);
    std::vector<std::string> first, second;
    for (int i = 0; i < 6; ++i) first.push_back(PickMatchingFile(mask.c_str(), path, TRUE) ? path : "");
    SeedWorkerRandom(5);
    for (int i = 0; i < 6; ++i) second.push_back(PickMatchingFile(mask.c_str(), path, TRUE) ? path : "");
    EXPECT_EQ(first, second);
    for (const std::string& p : first) EXPECT_NE(std::find(listed.begin(), listed.end(), p), listed.end());

    EXPECT_EQ(PickMatchingFile((dir.str() + "/*.gif").c_str(), path, FALSE), 0);
    EXPECT_EQ(CountMatchingFiles((dir.str() + "/none/*.*").c_str()), 0);
}

DIBSECTION Section(LONG width, LONG height, WORD bits, std::vector<BYTE>& pixels, DWORD compression = BI_RGB,
                   std::initializer_list<DWORD> masks = {}) {
    DIBSECTION s{};
    s.dsBm.bmWidth = width;
    s.dsBm.bmHeight = height < 0 ? -height : height;
    s.dsBm.bmWidthBytes = static_cast<LONG>((width * bits + 31) / 32 * 4);
    s.dsBm.bmBitsPixel = bits;
    s.dsBm.bmBits = pixels.data();
    s.dsBmih.biHeight = height;
    s.dsBmih.biCompression = compression;
    int i = 0;
    for (DWORD m : masks) s.dsBitfields[i++] = m;
    return s;
}

TEST(ConvertToGrey, MeanOfTheChannelsThroughTheMasks) {
    // 24 bits, two rows stored bottom first; the target keeps that order.
    std::vector<BYTE> rgb = {30, 60, 91, 0, 255, 255, 255, 0};
    std::vector<BYTE> target(8, 7);
    ConvertToGrey(Section(1, 2, 24, rgb), target.data());
    EXPECT_EQ(target, (std::vector<BYTE>{60, 7, 7, 7, 255, 7, 7, 7}));
    // A top-down source keeps the picture upright.
    ConvertToGrey(Section(1, -2, 24, rgb), target.data());
    EXPECT_EQ(target[0], 255);
    EXPECT_EQ(target[4], 60);

    // 16 bits with the usual 5-5-5 masks: 31, 0, 16 -> 248, 0, 128.
    std::vector<BYTE> sixteen(4);
    platform::WriteWord(sixteen.data(), (31 << 10) | 16);
    ConvertToGrey(Section(1, 1, 16, sixteen), target.data());
    EXPECT_EQ(target[0], (248 + 128) / 3);
    // 32 bits with 10-bit fields keep each channel's top 8 bits.
    std::vector<BYTE> wide(4);
    platform::WriteDword(wide.data(), (0x3FFu << 20) | (0x100u << 10) | 0x004u);
    ConvertToGrey(Section(1, 1, 32, wide, BI_BITFIELDS, {0x3FF00000, 0x000FFC00, 0x000003FF}), target.data());
    EXPECT_EQ(target[0], (255 + 64 + 1) / 3);

    std::vector<BYTE> eight(4, 9);
    target.assign(8, 7);
    ConvertToGrey(Section(1, 1, 8, eight), target.data());
    EXPECT_EQ(target[0], 7) << "other depths are left alone";
}

TEST(CreateIndexDib, AGreyRampOrTheTableOfTheSelectedBitmap) {
    IndexDibHeader* header = nullptr;
    BYTE* bits = nullptr;
    HBITMAP grey = CreateIndexDib(nullptr, TRUE, 5, 3, header, bits);
    ASSERT_NE(grey, nullptr);
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(header->bmiHeader.biClrUsed, 256u);
    EXPECT_EQ(header->bmiColors[77].rgbGreen, 77);
    header->UsePaletteIndices();
    WORD index = 0;
    std::memcpy(&index, reinterpret_cast<BYTE*>(header->bmiColors) + 2 * 200, 2);
    EXPECT_EQ(index, 200);
    delete header;

    // The table of the bitmap selected in the DC.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, grey);
    RGBQUAD red = {0, 0, 250, 0};
    SetDIBColorTable(dc, 9, 1, &red);
    HBITMAP copy = CreateIndexDib(dc, FALSE, 2, 2, header, bits);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(header->bmiColors[9].rgbRed, 250);
    EXPECT_EQ(header->bmiColors[10].rgbRed, 10);
    delete header;
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(grey);
    DeleteObject(copy);
    EXPECT_EQ(CreateIndexDib(nullptr, TRUE, 0, 3, header, bits), nullptr);
    EXPECT_EQ(header, nullptr);
}

}  // namespace
