#include "platform/gdi/load_image.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gdi/bmp_reader.h"
#include "platform/kernel/kernel.h"

namespace {

// Far beyond any bitmap within the limits, so a huge file is refused unread.
constexpr long kMaxFileBytes = 1L << 30;

bool ReadWholeFile(const char* path, std::vector<BYTE>& data) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "rb"), std::fclose);
    if (!file) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return false;
    const long size = std::ftell(file.get());
    if (size < 0 || size > kMaxFileBytes || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    data.resize(static_cast<std::size_t>(size));
    if (size > 0 && std::fread(data.data(), 1, data.size(), file.get()) != data.size()) {
        SetLastError(ERROR_READ_FAULT);
        return false;
    }
    return true;
}

}  // namespace

HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    if (!name || type != IMAGE_BITMAP || !(flags & LR_LOADFROMFILE) || cx != 0 || cy != 0) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    std::vector<BYTE> data;
    if (!ReadWholeFile(name, data)) return nullptr;
    const auto image = gdi::ReadBmpHeader(data.data(), data.size());
    if (!image) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    // The header and a full colour table, as CreateDIBSection reads them.
    std::vector<BYTE> infoBlock(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(infoBlock.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = image->width;
    info->bmiHeader.biHeight = image->height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = static_cast<WORD>(image->bitsPerPixel);
    info->bmiHeader.biCompression = BI_RGB;
    if (image->bitsPerPixel == 8) {
        info->bmiHeader.biClrUsed = static_cast<DWORD>(image->colours.size());
        std::memcpy(info->bmiColors, image->colours.data(), image->colours.size() * sizeof(RGBQUAD));
    }
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (!gdi::ReadBmpPixels(data.data(), data.size(), *image, static_cast<BYTE*>(bits))) {
        DeleteObject(bitmap);
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return reinterpret_cast<HANDLE>(bitmap);
}
