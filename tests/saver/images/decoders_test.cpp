// The decoders behind the shipped import filters: what each kind of picture
// becomes, and hostile data refused.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "filters/jpeg/jpeg_decode.h"
#include "filters/pcx/pcx_decode.h"
#include "filters/qt/qt_decode.h"
#include "picture_files.h"
#include "platform/kernel/bytes.h"

namespace {

using filter::PackedDib;

std::vector<BYTE> Row(PackedDib& dib, int y, int bytes) { return {dib.row(y), dib.row(y) + bytes}; }
BYTE ColourByte(const PackedDib& dib, int entry, int channel) { return dib.bytes()[40 + 4 * entry + channel]; }

TEST(PcxDecoder, EveryKindBecomesIndicesOrBlueGreenRed) {
    PackedDib dib;
    // 1 bit: 10 pixels in 2 bytes a line.
    auto file = imagetest::Pcx(10, 1, 1, 1, 2, {0xA5, 0xC0});
    ASSERT_TRUE(filter::DecodePcx(file.data(), file.size(), dib));
    EXPECT_EQ(Row(dib, 0, 10), (std::vector<BYTE>{1, 0, 1, 0, 0, 1, 0, 1, 1, 1}));
    EXPECT_EQ(ColourByte(dib, 1, 0), 255);
    // Four planes of one bit: plane p gives bit p of the index; the header's
    // sixteen colours (a red ramp here).
    file = imagetest::Pcx(2, 1, 1, 4, 1, {0x80, 0xC0, 0x00, 0x40});
    ASSERT_TRUE(filter::DecodePcx(file.data(), file.size(), dib));
    EXPECT_EQ(Row(dib, 0, 2), (std::vector<BYTE>{3, 10}));
    EXPECT_EQ(ColourByte(dib, 3, 2), 48);
    // Three planes of eight bits: red, green, blue lines.
    file = imagetest::Pcx(2, 2, 8, 3, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    ASSERT_TRUE(filter::DecodePcx(file.data(), file.size(), dib));
    EXPECT_EQ(Row(dib, 0, 6), (std::vector<BYTE>{5, 3, 1, 6, 4, 2}));
    EXPECT_EQ(Row(dib, 1, 6), (std::vector<BYTE>{11, 9, 7, 12, 10, 8}));
    // A run may go on past the end of a line.
    file = imagetest::Pcx(2, 2, 8, 1, 2, {}, std::vector<BYTE>(768));
    file.insert(file.begin() + 128, {0xC3, 9, 4});
    ASSERT_TRUE(filter::DecodePcx(file.data(), file.size(), dib));
    EXPECT_EQ(Row(dib, 0, 2), (std::vector<BYTE>{9, 9}));
    EXPECT_EQ(Row(dib, 1, 2), (std::vector<BYTE>{9, 4}));
}

TEST(PcxDecoder, HostileFilesAreRefused) {
    PackedDib dib;
    auto refused = [&](std::vector<BYTE> file) { return !filter::DecodePcx(file.data(), file.size(), dib); };
    auto good = imagetest::Pcx(4, 2, 8, 1, 4, std::vector<BYTE>(8, 1), std::vector<BYTE>(768));
    ASSERT_FALSE(refused(good));
    EXPECT_TRUE(refused({good.begin(), good.begin() + 100}));
    auto file = good;
    file.erase(file.begin() + 130, file.begin() + 136);  // lines cut short
    EXPECT_TRUE(refused(file));
    file = good;
    file[file.size() - 769] = 0;  // no palette marker
    EXPECT_TRUE(refused(file));
    file = good;
    platform::WriteWord(&file[8], 0xFFFF);
    platform::WriteWord(&file[10], 0xFFFF);  // 65536 x 65536 from a few bytes
    EXPECT_TRUE(refused(file));
    file = good;
    platform::WriteWord(&file[66], 2);  // lines shorter than the picture
    EXPECT_TRUE(refused(file));
    platform::WriteWord(&file[66], 60000);  // lines far longer
    EXPECT_TRUE(refused(file));
    file = good;
    file[65] = 2;  // two planes of eight bits
    EXPECT_TRUE(refused(file));
}

TEST(JpegDecoder, ColourAndGreyPicturesAndBrokenData) {
    PackedDib dib;
    auto grey = imagetest::Jpeg(8, 8, true, std::vector<BYTE>(64, 77));
    ASSERT_TRUE(filter::DecodeJpeg(grey.data(), grey.size(), dib));
    EXPECT_EQ(dib.bytes()[14], 8) << "bits per pixel";
    EXPECT_EQ(ColourByte(dib, 200, 1), 200) << "a grey ramp";
    EXPECT_NEAR(dib.row(3)[3], 77, 2);

    auto colour = imagetest::Jpeg(8, 8, false, std::vector<BYTE>(192, 120));
    ASSERT_TRUE(filter::DecodeJpeg(colour.data(), colour.size(), dib));
    EXPECT_EQ(dib.bytes()[14], 24);

    EXPECT_FALSE(filter::DecodeJpeg(colour.data(), colour.size() / 2, dib)) << "truncated";
    std::vector<BYTE> junk(colour.begin(), colour.begin() + 20);
    junk.resize(400, 0x55);
    EXPECT_FALSE(filter::DecodeJpeg(junk.data(), junk.size(), dib));
}

std::vector<BYTE> Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {bytes.begin(), bytes.end()};
}

TEST(QtDecoder, TablesKeepTheirIndicesAndTransparencyIsBlack) {
    QImage indexed(3, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0, 0, 0), qRgb(10, 20, 30), qRgb(200, 100, 50)});
    indexed.setPixel(0, 0, 2);
    indexed.setPixel(1, 0, 0);
    indexed.setPixel(2, 0, 1);
    PackedDib dib;
    auto png = Png(indexed);
    ASSERT_TRUE(filter::DecodeWithQt(png.data(), png.size(), dib));
    EXPECT_EQ(Row(dib, 0, 3), (std::vector<BYTE>{2, 0, 1}));
    EXPECT_EQ(ColourByte(dib, 2, 2), 200);

    QImage argb(2, 1, QImage::Format_ARGB32);
    argb.setPixel(0, 0, qRgba(255, 255, 255, 0));
    argb.setPixel(1, 0, qRgba(10, 20, 30, 255));
    png = Png(argb);
    ASSERT_TRUE(filter::DecodeWithQt(png.data(), png.size(), dib));
    EXPECT_EQ(Row(dib, 0, 6), (std::vector<BYTE>{0, 0, 0, 30, 20, 10}));

    std::vector<BYTE> junk(100, 0x42);
    EXPECT_FALSE(filter::DecodeWithQt(junk.data(), junk.size(), dib));
}

}  // namespace
