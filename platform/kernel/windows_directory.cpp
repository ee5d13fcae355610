// The Windows directory and the pictures it comes with: smooth patterns of
// our own, made from sums of sines, so the palette animation flows through
// them when the saver shows them as palette indices.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>

#include <sys/stat.h>

#include "platform/kernel/bitmap_file.h"
#include "platform/kernel/root.h"
#include "platform/kernel/windows_directory.h"

namespace platform {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
// Indices of the animated palette's entries only.
constexpr int kIndices = 236;

std::size_t Stride(int bitsPerPixel) { return (static_cast<std::size_t>(kWidth) * bitsPerPixel + 31) / 32 * 4; }

// A value 0..1 per pixel, as the picture's brightness or palette position.
using Pattern = std::function<double(double x, double y)>;

double Ripples(double x, double y) {
    const double a = std::hypot(x - 90, y - 80), b = std::hypot(x - 240, y - 170);
    return 0.5 + 0.25 * std::sin(a / 7.0) + 0.25 * std::sin(b / 11.0);
}

double Weave(double x, double y) {
    return 0.5 + 0.125 * (std::sin(x / 17.0) + std::sin(y / 13.0) + std::sin((x + y) / 23.0) +
                          std::sin(std::hypot(x - 160, y - 120) / 9.0));
}

double Dunes(double x, double y) {
    const double ridge = std::sin(x / 31.0 + 3.0 * std::sin(y / 47.0)) * std::sin(y / 19.0 + x / 97.0);
    return 0.5 + 0.3 * ridge + 0.2 * (y / kHeight - 0.5);
}

double Marble(double x, double y) {
    const double swirl = std::sin(x / 53.0) * std::cos(y / 41.0) + 0.5 * std::sin((x - y) / 29.0);
    return 0.5 + 0.5 * std::sin(x / 23.0 + y / 61.0 + 3.0 * swirl);
}

// An 8-bit picture whose table is a colour wheel, so it also looks like
// something in an ordinary viewer.
std::vector<BYTE> IndexedPicture(const Pattern& pattern) {
    std::vector<BYTE> table(4 * kIndices);
    for (int i = 0; i < kIndices; ++i) {
        const double t = 6.283185307179586 * i / kIndices;
        table[4 * i] = static_cast<BYTE>(127.5 + 127.5 * std::cos(t + 4.18879));
        table[4 * i + 1] = static_cast<BYTE>(127.5 + 127.5 * std::cos(t + 2.09440));
        table[4 * i + 2] = static_cast<BYTE>(127.5 + 127.5 * std::cos(t));
    }
    std::vector<BYTE> rows(Stride(8) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double v = std::clamp(pattern(x, kHeight - 1 - y), 0.0, 1.0);
            rows[Stride(8) * y + x] = static_cast<BYTE>(v * (kIndices - 1));
        }
    }
    return EncodeBitmapFile(kWidth, kHeight, 8, table, rows);
}

// A 24-bit picture tinted from a base colour by the pattern's brightness.
std::vector<BYTE> ColourPicture(const Pattern& pattern, double red, double green, double blue) {
    std::vector<BYTE> rows(Stride(24) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double v = std::clamp(pattern(x, kHeight - 1 - y), 0.0, 1.0);
            BYTE* p = &rows[Stride(24) * y + 3 * x];
            p[0] = static_cast<BYTE>(255 * v * blue);
            p[1] = static_cast<BYTE>(255 * v * green);
            p[2] = static_cast<BYTE>(255 * v * red);
        }
    }
    return EncodeBitmapFile(kWidth, kHeight, 24, {}, rows);
}

void WriteIfMissing(const std::string& path, const std::vector<BYTE>& bytes) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec) || ec) return;
    const std::string temporary = path + ".new";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) == 0 && written)
        std::filesystem::rename(temporary, path, ec);
    else
        std::filesystem::remove(temporary, ec);
}

}  // namespace

std::string EnsureWindowsDirectory() {
    const std::string root = PlatformRoot();
    const std::string dir = root + "/windows";
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    // Whoever makes the directory first gives it its pictures, once.
    if (mkdir(dir.c_str(), 0777) != 0) return dir;
    WriteIfMissing(dir + "/Ripples.bmp", IndexedPicture(Ripples));
    WriteIfMissing(dir + "/Weave.bmp", IndexedPicture(Weave));
    WriteIfMissing(dir + "/Dunes.bmp", ColourPicture(Dunes, 1.0, 0.8, 0.55));
    WriteIfMissing(dir + "/Marble.bmp", ColourPicture(Marble, 0.75, 0.85, 1.0));
    return dir;
}

}  // namespace platform
