#include "picture_files.h"

#include <jpeglib.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/kernel/bytes.h"

namespace imagetest {

using platform::WriteDword;
using platform::WriteWord;

void WriteFile(const std::string& path, const std::vector<BYTE>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

std::vector<BYTE> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<BYTE> Pcx(int width, int height, int bits, int planes, int lineBytes, const std::vector<BYTE>& scans,
                      const std::vector<BYTE>& palette) {
    std::vector<BYTE> file(128);
    file[0] = 0x0A;
    file[1] = 5;
    file[2] = 1;
    file[3] = static_cast<BYTE>(bits);
    WriteWord(&file[8], static_cast<WORD>(width - 1));
    WriteWord(&file[10], static_cast<WORD>(height - 1));
    for (int i = 0; i < 16; ++i) file[16 + 3 * i] = static_cast<BYTE>(i * 16);  // red ramp
    file[65] = static_cast<BYTE>(planes);
    WriteWord(&file[66], static_cast<WORD>(lineBytes));
    for (BYTE b : scans) {
        if (b >= 0xC0) file.push_back(0xC1);
        file.push_back(b);
    }
    if (!palette.empty()) {
        file.push_back(0x0C);
        file.insert(file.end(), palette.begin(), palette.end());
    }
    return file;
}

std::vector<BYTE> Jpeg(int width, int height, bool grey, const std::vector<BYTE>& pixels, int quality) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const int rowBytes = width * info.input_components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<BYTE*>(&pixels[static_cast<std::size_t>(info.next_scanline) * rowBytes]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<BYTE> bytes(out, out + size);
    std::free(out);
    return bytes;
}

std::vector<BYTE> Metafile(const std::vector<Record>& records) {
    std::vector<BYTE> file(18);
    WriteWord(&file[0], 1);
    WriteWord(&file[2], 9);
    WriteWord(&file[4], 0x300);
    for (const Record& r : records) {
        const std::size_t at = file.size();
        file.resize(at + 6);
        WriteDword(&file[at], static_cast<DWORD>((6 + r.body.size() + 1) / 2));
        WriteWord(&file[at + 4], r.function);
        file.insert(file.end(), r.body.begin(), r.body.end());
        if (file.size() & 1) file.push_back(0);
    }
    WriteDword(&file[6], static_cast<DWORD>(file.size() / 2));
    return file;
}

std::vector<BYTE> PackedDib8(int width, int height, int colours, const std::vector<BYTE>& rows) {
    std::vector<BYTE> dib(40 + 4 * static_cast<std::size_t>(colours));
    WriteDword(&dib[0], 40);
    WriteDword(&dib[4], static_cast<DWORD>(width));
    WriteDword(&dib[8], static_cast<DWORD>(height));
    WriteWord(&dib[12], 1);
    WriteWord(&dib[14], 8);
    WriteDword(&dib[32], static_cast<DWORD>(colours));
    for (int i = 0; i < colours; ++i) dib[40 + 4 * i] = dib[41 + 4 * i] = dib[42 + 4 * i] = static_cast<BYTE>(i);
    dib.insert(dib.end(), rows.begin(), rows.end());
    return dib;
}

}  // namespace imagetest
