#include "filters/jpeg/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace filter {
namespace {

// Progressive pictures have about ten scans; thousands only make a hostile
// file slow.
constexpr int kMaxScans = 256;
constexpr long kMaxDecoderMemory = 512L << 20;

struct Failure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void Fail(j_common_ptr info) { std::longjmp(reinterpret_cast<Failure*>(info->err)->jump, 1); }

// Warnings are not printed; running out of data means a truncated file.
void Warn(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) Fail(info);
}

void CountScans(j_common_ptr info) {
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans)
        Fail(info);
}

// Adobe writes CMYK inverted: each channel times black is the colour.
void CmykToBgr(const JSAMPLE* in, BYTE* out, JDIMENSION width) {
    for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
        out[0] = static_cast<BYTE>(in[2] * in[3] / 255);
        out[1] = static_cast<BYTE>(in[1] * in[3] / 255);
        out[2] = static_cast<BYTE>(in[0] * in[3] / 255);
    }
}

// Everything that may jump back lives here; nothing in this frame needs a
// destructor.
bool Decode(jpeg_decompress_struct& info, const BYTE* data, std::size_t size, PackedDib& picture) {
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    if (!WithinLimits(info.image_width, info.image_height)) return false;
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    if (!picture.Create(static_cast<int>(info.output_width), static_cast<int>(info.output_height), grey ? 8 : 24,
                        grey ? GreyColours() : std::vector<RGBQUAD>{}))
        return false;
    JSAMPARRAY cmykRow =
        cmyk ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, info.output_width * 4, 1)
             : nullptr;
    while (info.output_scanline < info.output_height) {
        BYTE* row = picture.row(static_cast<int>(info.output_scanline));
        if (cmyk) {
            jpeg_read_scanlines(&info, cmykRow, 1);
            CmykToBgr(cmykRow[0], row, info.output_width);
        } else {
            JSAMPROW rows[1] = {row};
            jpeg_read_scanlines(&info, rows, 1);
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

bool DecodeJpeg(const BYTE* data, std::size_t size, PackedDib& picture) {
    if (!data || size == 0) return false;
    jpeg_decompress_struct info{};
    Failure failure{};
    jpeg_progress_mgr progress{};
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = Fail;
    failure.manager.emit_message = Warn;
    progress.progress_monitor = CountScans;
    if (setjmp(failure.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    const bool ok = Decode(info, data, size, picture);
    jpeg_destroy_decompress(&info);
    return ok;
}

}  // namespace filter
