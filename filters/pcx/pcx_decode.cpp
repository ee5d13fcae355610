#include "filters/pcx/pcx_decode.h"

#include <new>

#include "platform/kernel/bytes.h"

namespace filter {
namespace {

using platform::ReadWord;

constexpr std::size_t kHeaderSize = 128;
constexpr BYTE kManufacturer = 0x0A;
constexpr BYTE kPaletteMarker = 0x0C;
constexpr std::size_t kPaletteBytes = 769;  // the marker and 256 colours
constexpr BYTE kVersionWithoutPalette = 3;
constexpr std::size_t kMaxLinePadding = 16;
constexpr std::size_t kLongestRun = 63;

// The sixteen colours of a picture that carries no palette of its own.
constexpr BYTE kDefaultColours[16][3] = {
    {0, 0, 0},     {0, 0, 170},   {0, 170, 0},   {0, 170, 170},  {170, 0, 0},    {170, 0, 170},
    {170, 85, 0},  {170, 170, 170}, {85, 85, 85}, {85, 85, 255}, {85, 255, 85},  {85, 255, 255},
    {255, 85, 85}, {255, 85, 255}, {255, 255, 85}, {255, 255, 255},
};

std::vector<RGBQUAD> ColoursFrom(const BYTE* rgb, int count) {
    std::vector<RGBQUAD> colours(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) colours[i] = {rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i], 0};
    return colours;
}

// The scan lines, planes side by side, from `count` bytes after the header.
// Runs may cross plane and line ends, as some writers let them.
bool Unpack(const BYTE* in, const BYTE* end, bool encoded, BYTE* out, std::size_t count) {
    std::size_t n = 0;
    while (n < count) {
        if (in == end) return false;
        BYTE value = *in++;
        std::size_t run = 1;
        if (encoded && value >= 0xC0) {
            run = value & 0x3F;
            if (in == end) return false;
            value = *in++;
        }
        for (; run > 0 && n < count; --run) out[n++] = value;
    }
    return true;
}

}  // namespace

bool DecodePcx(const BYTE* data, std::size_t size, PackedDib& picture) {
    if (!data || size < kHeaderSize || data[0] != kManufacturer || data[2] > 1) return false;
    const BYTE version = data[1];
    const bool encoded = data[2] == 1;
    const int bits = data[3];
    const long long width = static_cast<long long>(ReadWord(data + 8)) - ReadWord(data + 4) + 1;
    const long long height = static_cast<long long>(ReadWord(data + 10)) - ReadWord(data + 6) + 1;
    const int planes = data[65];
    const std::size_t lineBytes = ReadWord(data + 66);
    if (!WithinLimits(width, height)) return false;

    enum Kind { Mono, PlanarSixteen, PackedSixteen, Indexed, Rgb } kind;
    if (bits == 1 && planes == 1)
        kind = Mono;
    else if (bits == 1 && planes == 4)
        kind = PlanarSixteen;
    else if (bits == 4 && planes == 1)
        kind = PackedSixteen;
    else if (bits == 8 && planes == 1)
        kind = Indexed;
    else if (bits == 8 && planes == 3)
        kind = Rgb;
    else
        return false;
    // Lines are padded to an even length; more than a little padding is not
    // a picture but a way to make us allocate.
    const std::size_t minLineBytes = (static_cast<std::size_t>(width) * bits + 7) / 8;
    if (lineBytes < minLineBytes || lineBytes > minLineBytes + kMaxLinePadding) return false;

    const BYTE* body = data + kHeaderSize;
    const BYTE* bodyEnd = data + size;
    std::vector<RGBQUAD> colours;
    switch (kind) {
    case Mono: colours = {{0, 0, 0, 0}, {255, 255, 255, 0}}; break;
    case PlanarSixteen:
    case PackedSixteen:
        colours = version == kVersionWithoutPalette ? ColoursFrom(&kDefaultColours[0][0], 16)
                                                    : ColoursFrom(data + 16, 16);
        break;
    case Indexed:
        if (size < kHeaderSize + kPaletteBytes || data[size - kPaletteBytes] != kPaletteMarker) return false;
        colours = ColoursFrom(data + size - kPaletteBytes + 1, 256);
        bodyEnd = data + size - kPaletteBytes;
        break;
    case Rgb: break;
    }

    const std::size_t scanBytes = lineBytes * static_cast<std::size_t>(planes);
    std::vector<BYTE> scans;
    try {
        // A plain body must hold every line, an encoded one two bytes for
        // each run of at most 63: a small file cannot claim a large picture.
        const std::size_t needed = scanBytes * static_cast<std::size_t>(height);
        const std::size_t available = static_cast<std::size_t>(bodyEnd - body);
        if (encoded ? needed > (available / 2 + 1) * kLongestRun : needed > available) return false;
        scans.resize(needed);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!Unpack(body, bodyEnd, encoded, scans.data(), scans.size())) return false;
    if (!picture.Create(static_cast<int>(width), static_cast<int>(height), kind == Rgb ? 24 : 8, colours))
        return false;

    for (int y = 0; y < height; ++y) {
        const BYTE* line = scans.data() + scanBytes * static_cast<std::size_t>(y);
        BYTE* out = picture.row(y);
        for (int x = 0; x < width; ++x) {
            const std::size_t byte = static_cast<std::size_t>(x) >> 3;
            const int bit = 7 - (x & 7);
            switch (kind) {
            case Mono: out[x] = (line[byte] >> bit) & 1; break;
            case PlanarSixteen: {
                BYTE v = 0;
                for (int p = 0; p < 4; ++p) v |= static_cast<BYTE>(((line[lineBytes * p + byte] >> bit) & 1) << p);
                out[x] = v;
                break;
            }
            case PackedSixteen: out[x] = (x & 1) ? (line[x >> 1] & 0x0F) : (line[x >> 1] >> 4); break;
            case Indexed: out[x] = line[x]; break;
            case Rgb:
                out[3 * x] = line[2 * lineBytes + x];
                out[3 * x + 1] = line[lineBytes + x];
                out[3 * x + 2] = line[x];
                break;
            }
        }
    }
    return true;
}

}  // namespace filter
