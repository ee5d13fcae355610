#include "platform/gdi/present/gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/kernel/atomic_file.h"

namespace gdi {

namespace {

// GIF counts time in hundredths of a second, at most 65535 to a frame.
constexpr std::uint64_t MaxDelay = 65535;

std::uint64_t Centiseconds(std::uint64_t ms) { return (ms + 5) / 10; }

int Output(GifFileType* gif, const GifByteType* bytes, int length) {
    static_cast<platform::AtomicFile*>(gif->UserData)->write(bytes, static_cast<std::size_t>(length));
    return length;
}

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;  // exclusive
    int bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};

}  // namespace

struct GifWriter::Encoder {
    platform::AtomicFile file;
    GifFileType* gif = nullptr;
    int width = 0;
    int height = 0;
    int error = D_GIF_SUCCEEDED;
    // What the animation shows after the frames written so far; empty until
    // the first, which is always written whole.
    std::vector<std::uint32_t> shown;
    // The frame last added: written once its end is known.
    std::vector<std::uint8_t> pending;
    HardwareColours pendingColours{};
    std::uint64_t pendingAt = 0;
    bool hasPending = false;
    std::vector<GifPixelType> row;

    ~Encoder() {
        if (gif) EGifCloseFile(gif, nullptr);
    }

    bool ok(int result) {
        if (result == GIF_ERROR && error == D_GIF_SUCCEEDED) error = gif->Error;
        return error == D_GIF_SUCCEEDED;
    }

    void putLoopForever() {
        static const GifByteType name[] = "NETSCAPE2.0";
        static const GifByteType loop[] = {1, 0, 0};
        ok(EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE)) && ok(EGifPutExtensionBlock(gif, 11, name)) &&
            ok(EGifPutExtensionBlock(gif, 3, loop)) && ok(EGifPutExtensionTrailer(gif));
    }

    // The pixels whose colour differs from what is shown already.
    Box changedBox() const {
        if (shown.empty()) return {0, 0, width, height};
        Box box{width, height, 0, 0};
        for (int y = 0; y < height; ++y) {
            const std::size_t row0 = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
            for (int x = 0; x < width; ++x) {
                if (pendingColours[pending[row0 + x]] == shown[row0 + x]) continue;
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x + 1);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y + 1);
            }
        }
        return box;
    }

    // Writes the pending picture (or only its changed part) for `delay`.
    void putPending(Box box, std::uint64_t delay) {
        if (box.empty()) box = {0, 0, 1, 1};  // a frame needs a pixel; this one shows no change
        GraphicsControlBlock control{DISPOSE_DO_NOT, false, static_cast<int>(delay), NO_TRANSPARENT_COLOR};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        GifColorType colours[256];
        for (int i = 0; i < 256; ++i) {
            colours[i] = {static_cast<GifByteType>(pendingColours[i] >> 16),
                          static_cast<GifByteType>(pendingColours[i] >> 8),
                          static_cast<GifByteType>(pendingColours[i])};
        }
        ColorMapObject* map = GifMakeMapObject(256, colours);
        if (!map) {
            error = E_GIF_ERR_NOT_ENOUGH_MEM;
            return;
        }
        const int boxWidth = box.right - box.left;
        if (ok(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension)) &&
            ok(EGifPutImageDesc(gif, box.left, box.top, boxWidth, box.bottom - box.top, false, map))) {
            for (int y = box.top; y < box.bottom && error == D_GIF_SUCCEEDED; ++y) {
                const std::uint8_t* source = pending.data() + static_cast<std::size_t>(y) * width + box.left;
                row.assign(source, source + boxWidth);
                ok(EGifPutLine(gif, row.data(), boxWidth));
            }
        }
        GifFreeMapObject(map);
        if (shown.empty()) shown.resize(pending.size());
        for (std::size_t i = 0; i < pending.size(); ++i) shown[i] = pendingColours[pending[i]];
    }

    // The pending frame ends at `endMs`.  One that would show for no whole
    // hundredth is never seen and left out; one longer than a GIF frame can
    // last goes on in frames that change nothing.
    void flush(std::uint64_t endMs) {
        if (!hasPending) return;
        hasPending = false;
        std::uint64_t delay = Centiseconds(endMs) - Centiseconds(pendingAt);
        if (delay == 0) return;
        Box box = changedBox();
        while (error == D_GIF_SUCCEEDED) {
            const std::uint64_t part = std::min(delay, MaxDelay);
            putPending(box, part);
            delay -= part;
            if (delay == 0) break;
            box = {};
        }
    }
};

GifWriter::GifWriter() = default;
GifWriter::~GifWriter() = default;

bool GifWriter::open(const std::string& path, int width, int height, std::string* error) {
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) {
        *error = "no picture to write (" + std::to_string(width) + " x " + std::to_string(height) + ")";
        return false;
    }
    auto encoder = std::make_unique<Encoder>();
    if (!encoder->file.open(path, error)) return false;
    int code = D_GIF_SUCCEEDED;
    encoder->gif = EGifOpen(&encoder->file, Output, &code);
    if (!encoder->gif) {
        *error = std::string("cannot start the GIF encoder: ") + GifErrorString(code);
        return false;
    }
    encoder->width = width;
    encoder->height = height;
    EGifSetGifVersion(encoder->gif, true);
    if (encoder->ok(EGifPutScreenDesc(encoder->gif, width, height, 8, 0, nullptr))) encoder->putLoopForever();
    encoder_ = std::move(encoder);
    return true;
}

void GifWriter::addFrame(const std::uint8_t* indices, const HardwareColours& colours, std::uint64_t atMs) {
    Encoder* e = encoder_.get();
    if (!e || e->error != D_GIF_SUCCEEDED) return;
    const std::size_t size = static_cast<std::size_t>(e->width) * static_cast<std::size_t>(e->height);
    if (e->hasPending && colours == e->pendingColours && std::memcmp(indices, e->pending.data(), size) == 0) return;
    e->flush(atMs);
    e->pending.assign(indices, indices + size);
    e->pendingColours = colours;
    e->pendingAt = atMs;
    e->hasPending = true;
}

bool GifWriter::finish(std::uint64_t endMs, std::string* error) {
    std::unique_ptr<Encoder> e = std::move(encoder_);
    if (!e) {
        *error = "no GIF was started";
        return false;
    }
    e->flush(endMs);
    int code = D_GIF_SUCCEEDED;
    const int closed = EGifCloseFile(e->gif, &code);
    e->gif = nullptr;
    if (e->error == D_GIF_SUCCEEDED && closed == GIF_ERROR) e->error = code;
    if (e->error != D_GIF_SUCCEEDED) {
        *error = std::string("cannot encode GIF: ") + GifErrorString(e->error);
        return false;
    }
    return e->file.commit(error);
}

}  // namespace gdi
