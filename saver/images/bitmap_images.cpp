#include "saver/images/bitmap_images.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/channel_mask.h"
#include "platform/kernel/bytes.h"
#include "saver/images/embedded_dib.h"
#include "saver/images/image_effects.h"
#include "saver/images/import_with_filter.h"

std::atomic<LONG> LastPickedFile{0};

namespace {

using platform::ReadDword;
using platform::ReadWord;

thread_local DWORD WorkerSeed = 1;

bool EndsWith(const std::string& text, const char* tail) {
    const std::size_t n = std::strlen(tail);
    return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

using Channel = gdi::ChannelMask;

}  // namespace

void SeedWorkerRandom(DWORD seed) { WorkerSeed = seed; }

LONG WorkerRandom() {
    WorkerSeed = WorkerSeed * 214013u + 2531011u;
    return static_cast<LONG>((WorkerSeed >> 16) & 0x7FFF);
}

LONG CountMatchingFiles(const char* mask) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(mask, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    LONG count = 1;
    while (FindNextFileA(search, &found)) ++count;
    FindClose(search);
    return count;
}

BOOL PickMatchingFile(const char* mask, char* path, BOOL random) {
    const LONG count = CountMatchingFiles(mask);
    if (count == 0) return 0;
    const LONG position = (random ? WorkerRandom() : LastPickedFile.load() + 1) % count;
    LastPickedFile = position;

    const std::string text = mask;
    const std::size_t separator = text.find_last_of("/\\");
    const std::string directory = separator == std::string::npos ? "" : text.substr(0, separator + 1);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(mask, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    // The listing may have changed since it was counted.
    bool there = true;
    for (LONG i = 0; i < position && there; ++i) there = FindNextFileA(search, &found) != 0;
    FindClose(search);
    const std::string picked = directory + found.cFileName;
    if (!there || picked.size() >= MAX_PATH) return 0;
    std::memcpy(path, picked.c_str(), picked.size() + 1);
    return 1;
}

HBITMAP LoadImageFile(const char* mask, BOOL random) {
    char path[MAX_PATH];
    if (!PickMatchingFile(mask, path, random)) return nullptr;
    // Only the extension is compared without case: on Linux the name itself
    // must stay as it is to be found.
    std::string lower = path;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (EndsWith(lower, ".bmp") || EndsWith(lower, ".dib") || EndsWith(lower, ".rle"))
        return reinterpret_cast<HBITMAP>(
            LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ImportedDib* imported = ImportWithFilter(path);
    if (!imported) return nullptr;
    HBITMAP bitmap = BitmapFromPackedDib(imported->dib, imported->size);
    FreeImportedDib(imported);
    return bitmap;
}

HBITMAP BitmapFromPackedDib(const BYTE* dib, SIZE_T size) {
    const auto layout = ReadPackedDib(dib, size);
    if (!layout) return nullptr;
    // The record need not be aligned for the header's fields.
    std::vector<BYTE> info(layout->headerSize + std::min<ULONGLONG>(layout->tableSize, 256 * sizeof(RGBQUAD)));
    std::memcpy(info.data(), dib, info.size());
    void* pixels = nullptr;
    HBITMAP bitmap =
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap) return nullptr;
    DIBSECTION section{};
    if (GetObjectA(bitmap, sizeof section, &section) != sizeof section ||
        static_cast<ULONGLONG>(section.dsBm.bmWidthBytes) != layout->rowSize) {
        DeleteObject(bitmap);
        return nullptr;
    }
    std::memcpy(pixels, dib + layout->headerSize + layout->tableSize, static_cast<std::size_t>(layout->bitsSize));
    return bitmap;
}

void IndexDibHeader::UsePaletteIndices() {
    for (WORD i = 0; i < 256; ++i) std::memcpy(reinterpret_cast<BYTE*>(bmiColors) + 2 * i, &i, sizeof i);
}

HBITMAP CreateIndexDib(HDC dc, BOOL grey, LONG w, LONG h, IndexDibHeader*& header, BYTE*& bits) {
    header = new IndexDibHeader{};
    BITMAPINFOHEADER& h0 = header->bmiHeader;
    h0.biSize = sizeof(BITMAPINFOHEADER);
    h0.biWidth = w;
    h0.biHeight = h;
    h0.biPlanes = 1;
    h0.biBitCount = 8;
    h0.biCompression = BI_RGB;
    h0.biClrUsed = 256;
    if (grey) {
        for (int i = 0; i < 256; ++i) header->bmiColors[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
    } else {
        GetDIBColorTable(dc, 0, 256, header->bmiColors);
    }
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, header->info(), DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap) {
        delete header;
        header = nullptr;
    }
    bits = static_cast<BYTE*>(pixels);
    return bitmap;
}

void ConvertToGrey(const DIBSECTION& source, BYTE* target) {
    const int depth = source.dsBm.bmBitsPixel;
    if (depth != 16 && depth != 24 && depth != 32) return;
    const LONG w = source.dsBm.bmWidth, h = source.dsBm.bmHeight;
    const bool sixteen = depth == 16;
    const bool fields = source.dsBmih.biCompression == BI_BITFIELDS;
    const Channel red(fields ? source.dsBitfields[0] : sixteen ? 0x7C00 : 0xFF0000);
    const Channel green(fields ? source.dsBitfields[1] : sixteen ? 0x03E0 : 0x00FF00);
    const Channel blue(fields ? source.dsBitfields[2] : sixteen ? 0x001F : 0x0000FF);
    // Stored rows go bottom-up in the target; a top-down source stores its
    // top row first.
    const bool topDown = source.dsBmih.biHeight < 0;
    const auto* bits = static_cast<const BYTE*>(source.dsBm.bmBits);
    const LONG_PTR stride = DibStride(w);
    for (LONG r = h - 1; r >= 0; --r) {
        const BYTE* in = bits + static_cast<LONG_PTR>(r) * source.dsBm.bmWidthBytes;
        BYTE* out = target + static_cast<LONG_PTR>(topDown ? h - 1 - r : r) * stride;
        for (LONG x = 0; x < w; ++x) {
            if (depth == 24) {
                out[x] = static_cast<BYTE>((in[3 * x] + in[3 * x + 1] + in[3 * x + 2]) / 3);
                continue;
            }
            const DWORD pixel = sixteen ? ReadWord(in + 2 * x) : ReadDword(in + 4 * x);
            out[x] = static_cast<BYTE>((red(pixel) + green(pixel) + blue(pixel)) / 3);
        }
    }
}
