#include "platform/gdi/present/png.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/kernel/atomic_file.h"

namespace gdi {

namespace {

// A bound far above any Canvas that keeps the row arithmetic well inside int
// and libpng's own limits.
constexpr int kMaxDimension = 1 << 16;

struct Encoder {
    std::vector<std::uint8_t> bytes;
    char message[256] = {};
};

void OnError(png_structp png, png_const_charp message) {
    auto* encoder = static_cast<Encoder*>(png_get_error_ptr(png));
    std::snprintf(encoder->message, sizeof encoder->message, "%s", message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* encoder = static_cast<Encoder*>(png_get_io_ptr(png));
    bool stored = true;
    try {
        encoder->bytes.insert(encoder->bytes.end(), data, data + length);
    } catch (const std::bad_alloc&) {
        stored = false;
    }
    if (!stored) {
        png_error(png, "out of memory");  // leaves by longjmp: not from inside the handler
    }
}

void OnFlush(png_structp) {}

// Only plain data lives in this frame: libpng leaves it by longjmp.
bool EncodeRows(Encoder& encoder, const std::uint32_t* rgb, int width, int height, std::uint8_t* row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &encoder, OnError, OnWarning);
    if (png == nullptr) {
        std::snprintf(encoder.message, sizeof encoder.message, "cannot start the PNG encoder");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(encoder.message, sizeof encoder.message, "cannot start the PNG encoder");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &encoder, OnWrite, OnFlush);
    // Fixed settings (and no time chunk) keep the bytes a function of the
    // pixels alone.
    png_set_compression_level(png, 6);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* in = rgb + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(in[x] >> 16);
            row[3 * x + 1] = static_cast<std::uint8_t>(in[x] >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(in[x]);
        }
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const std::string& path, const std::uint32_t* rgb, int width, int height, std::string* error) {
    std::string why;
    if (rgb == nullptr || width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension) {
        why = "no picture to write (" + std::to_string(width) + " x " + std::to_string(height) + ")";
    } else {
        Encoder encoder;
        std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
        if (!EncodeRows(encoder, rgb, width, height, row.data())) {
            why = std::string("cannot encode PNG: ") + encoder.message;
        } else {
            platform::AtomicFile file;
            if (file.open(path, &why)) {
                file.write(encoder.bytes.data(), encoder.bytes.size());
                if (file.commit(&why)) return true;
            }
        }
    }
    if (error != nullptr) {
        *error = why;
    }
    return false;
}

}  // namespace gdi
