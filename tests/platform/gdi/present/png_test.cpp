// PNG files must be valid (signature, chunk checksums, decodable to the same
// pixels), the same bytes for the same pixels, and never left half-written.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/gdi/present/png.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t BigEndian32(const Bytes& b, std::size_t at) {
    return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 | std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}

// The CRC-32 that PNG chunks carry, computed bit by bit here so the check
// does not trust the library that wrote the file.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t length) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

struct Chunk {
    std::string type;
    Bytes data;
};

// Splits a PNG file into chunks, checking the signature and every CRC.
std::vector<Chunk> Chunks(const Bytes& file) {
    static const Bytes kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<Chunk> chunks;
    EXPECT_TRUE(file.size() >= 8 && Bytes(file.begin(), file.begin() + 8) == kSignature) << "PNG signature";
    std::size_t at = 8;
    while (at + 12 <= file.size()) {
        const std::uint32_t length = BigEndian32(file, at);
        if (at + 12 + length > file.size()) {
            ADD_FAILURE() << "chunk at " << at << " runs past the end of the file";
            return chunks;
        }
        const std::uint8_t* typeAndData = file.data() + at + 4;
        EXPECT_EQ(BigEndian32(file, at + 8 + length), Crc32(typeAndData, 4 + length)) << "CRC of chunk at " << at;
        chunks.push_back({std::string(typeAndData, typeAndData + 4), Bytes(typeAndData + 4, typeAndData + 4 + length)});
        at += 12 + length;
    }
    EXPECT_EQ(at, file.size()) << "trailing bytes after the last chunk";
    return chunks;
}

std::vector<std::uint32_t> TestPicture(int width, int height) {
    std::mt19937 random(11);
    std::vector<std::uint32_t> rgb(static_cast<std::size_t>(width) * height);
    for (auto& p : rgb) {
        p = random() & 0xFFFFFF;
    }
    // A few flat runs too, so the compressor's matching is exercised.
    for (int x = 0; x < width; ++x) {
        rgb[x] = 0x336699;
    }
    return rgb;
}

Bytes AsRgbBytes(const std::vector<std::uint32_t>& rgb) {
    Bytes out;
    for (std::uint32_t p : rgb) {
        out.push_back(static_cast<std::uint8_t>(p >> 16));
        out.push_back(static_cast<std::uint8_t>(p >> 8));
        out.push_back(static_cast<std::uint8_t>(p));
    }
    return out;
}

std::vector<std::string> DirectoryNames(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

constexpr int kWidth = 37;
constexpr int kHeight = 23;

TEST(WritePng, WritesAValidRgbFileThatDecodesToThePixels) {
    testsupport::TempDir dir;
    const fs::path path = dir.path() / "picture.png";
    const std::vector<std::uint32_t> rgb = TestPicture(kWidth, kHeight);
    std::string error;
    ASSERT_TRUE(gdi::WritePng(path.string(), rgb.data(), kWidth, kHeight, &error)) << error;

    const std::vector<Chunk> chunks = Chunks(ReadFile(path));
    ASSERT_GE(chunks.size(), 3u);
    EXPECT_EQ(chunks.front().type, "IHDR");
    EXPECT_EQ(chunks.back().type, "IEND");
    const Bytes& header = chunks.front().data;
    ASSERT_EQ(header.size(), 13u);
    EXPECT_EQ(BigEndian32(header, 0), static_cast<std::uint32_t>(kWidth));
    EXPECT_EQ(BigEndian32(header, 4), static_cast<std::uint32_t>(kHeight));
    EXPECT_EQ(header[8], 8) << "bit depth";
    EXPECT_EQ(header[9], 2) << "colour type RGB";
    EXPECT_EQ(header[12], 0) << "not interlaced";
    for (const Chunk& chunk : chunks) {
        EXPECT_NE(chunk.type, "tIME") << "a time stamp would make the bytes differ between runs";
    }

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
    image.format = PNG_FORMAT_RGB;
    Bytes decoded(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, decoded.data(), 0, nullptr)) << image.message;
    EXPECT_EQ(image.width, static_cast<png_uint_32>(kWidth));
    EXPECT_EQ(image.height, static_cast<png_uint_32>(kHeight));
    EXPECT_EQ(decoded, AsRgbBytes(rgb));
}

TEST(WritePng, SamePixelsGiveSameBytesAndNoTemporaryFileRemains) {
    testsupport::TempDir dir;
    const std::vector<std::uint32_t> rgb = TestPicture(kWidth, kHeight);
    ASSERT_TRUE(gdi::WritePng((dir.path() / "a.png").string(), rgb.data(), kWidth, kHeight, nullptr));
    ASSERT_TRUE(gdi::WritePng((dir.path() / "b.png").string(), rgb.data(), kWidth, kHeight, nullptr));
    // Replacing an existing file goes through the same rename.
    ASSERT_TRUE(gdi::WritePng((dir.path() / "b.png").string(), rgb.data(), kWidth, kHeight, nullptr));
    EXPECT_EQ(ReadFile(dir.path() / "a.png"), ReadFile(dir.path() / "b.png"));
    EXPECT_EQ(DirectoryNames(dir.path()), (std::vector<std::string>{"a.png", "b.png"}));
}

TEST(WritePng, FailuresSayWhyAndLeaveNothingBehind) {
    testsupport::TempDir dir;
    const std::vector<std::uint32_t> rgb = TestPicture(kWidth, kHeight);
    std::string error;

    EXPECT_FALSE(gdi::WritePng((dir.path() / "missing" / "x.png").string(), rgb.data(), kWidth, kHeight, &error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;

    // The target is a directory: the rename fails after the temporary file
    // was written, and the temporary file must go.
    fs::create_directory(dir.path() / "taken.png");
    error.clear();
    EXPECT_FALSE(gdi::WritePng((dir.path() / "taken.png").string(), rgb.data(), kWidth, kHeight, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(DirectoryNames(dir.path()), (std::vector<std::string>{"taken.png"}));

    for (auto [pixels, width, height] : {std::tuple{rgb.data(), 0, kHeight}, std::tuple{rgb.data(), kWidth, -1},
                                         std::tuple<const std::uint32_t*, int, int>{nullptr, kWidth, kHeight}}) {
        error.clear();
        EXPECT_FALSE(gdi::WritePng((dir.path() / "bad.png").string(), pixels, width, height, &error));
        EXPECT_FALSE(error.empty());
    }
    EXPECT_EQ(DirectoryNames(dir.path()), (std::vector<std::string>{"taken.png"}));
}

// An independent decoder: ImageMagick's, when the machine has it.
TEST(WritePng, ImageMagickReadsTheSamePixels) {
    std::string convert;
    std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
    for (std::string dir; std::getline(path, dir, ':') && convert.empty();) {
        const std::string candidate = dir + "/convert";
        if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            convert = candidate;
        }
    }
    if (convert.empty()) {
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    testsupport::TempDir dir;
    const fs::path png = dir.path() / "picture.png";
    const fs::path raw = dir.path() / "picture.rgb";
    const std::vector<std::uint32_t> rgb = TestPicture(kWidth, kHeight);
    ASSERT_TRUE(gdi::WritePng(png.string(), rgb.data(), kWidth, kHeight, nullptr));
    const std::string command = "'" + convert + "' '" + png.string() + "' -depth 8 'rgb:" + raw.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_EQ(ReadFile(raw), AsRgbBytes(rgb));
}

}  // namespace
