#include "filters/common/packed_dib.h"

#include <new>

#include "platform/kernel/bytes.h"

namespace filter {

bool WithinLimits(long long width, long long height) {
    return width > 0 && height > 0 && width <= MaxSide && height <= MaxSide &&
           static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height) <= MaxPixels;
}

bool PackedDib::Create(int width, int height, int bitsPerPixel, const std::vector<RGBQUAD>& colours) {
    if (!WithinLimits(width, height) || (bitsPerPixel != 8 && bitsPerPixel != 24) || colours.size() > 256)
        return false;
    width_ = width;
    height_ = height;
    stride_ = (static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32 * 4;
    bitsAt_ = sizeof(BITMAPINFOHEADER) + 4 * colours.size();
    try {
        bytes_.assign(bitsAt_ + stride_ * static_cast<std::size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    BYTE* h = bytes_.data();
    platform::WriteDword(h, sizeof(BITMAPINFOHEADER));
    platform::WriteDword(h + 4, static_cast<DWORD>(width));
    platform::WriteDword(h + 8, static_cast<DWORD>(height));
    platform::WriteWord(h + 12, 1);
    platform::WriteWord(h + 14, static_cast<WORD>(bitsPerPixel));
    platform::WriteDword(h + 16, BI_RGB);
    platform::WriteDword(h + 20, static_cast<DWORD>(stride_ * static_cast<std::size_t>(height)));
    platform::WriteDword(h + 32, static_cast<DWORD>(colours.size()));
    for (std::size_t i = 0; i < colours.size(); ++i) {
        BYTE* e = h + sizeof(BITMAPINFOHEADER) + 4 * i;
        e[0] = colours[i].rgbBlue;
        e[1] = colours[i].rgbGreen;
        e[2] = colours[i].rgbRed;
    }
    return true;
}

std::vector<RGBQUAD> GreyColours(int count) {
    std::vector<RGBQUAD> colours(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const BYTE v = static_cast<BYTE>(count > 1 ? i * 255 / (count - 1) : 0);
        colours[static_cast<std::size_t>(i)] = {v, v, v, 0};
    }
    return colours;
}

}  // namespace filter
