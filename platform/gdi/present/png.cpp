#include "platform/gdi/present/png.h"

#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

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

std::string Describe(const std::string& what, const std::string& path, int err) {
    return what + " " + path + ": " + std::strerror(err);
}

bool WriteAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes `bytes` to a fresh file beside `path` and renames it into place.
bool ReplaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    static std::atomic<unsigned> sequence{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = path + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(sequence.fetch_add(1));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            error = Describe("cannot create", temp, errno);
            return false;
        }
    }
    if (fd < 0) {
        error = "cannot find a free temporary name beside " + path;
        return false;
    }
    const bool written = WriteAll(fd, bytes);
    const int writeErrno = errno;
    if (!written || ::close(fd) != 0) {
        error = Describe("cannot write", temp, written ? errno : writeErrno);
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        error = Describe("cannot rename to", path, errno);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool WritePng(const std::string& path, const std::uint32_t* rgb, int width, int height, std::string* error) {
    std::string why;
    if (rgb == nullptr || width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension) {
        why = "no picture to write (" + std::to_string(width) + " x " + std::to_string(height) + ")";
    } else if (path.empty()) {
        why = "no file name";
    } else {
        Encoder encoder;
        std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
        if (!EncodeRows(encoder, rgb, width, height, row.data())) {
            why = std::string("cannot encode PNG: ") + encoder.message;
        } else if (ReplaceFile(path, encoder.bytes, why)) {
            return true;
        }
    }
    if (error != nullptr) {
        *error = why;
    }
    return false;
}

}  // namespace gdi
