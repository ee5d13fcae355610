#include "platform/gdi/surface.h"

#include <cstring>
#include <new>

namespace gdi {

std::shared_ptr<Surface> Surface::Create(int width, int height, int bitsPerPixel, bool bottomUp,
                                         bool device) {
    if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) return nullptr;
    if (bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) return nullptr;
    std::size_t stride = (static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32 * 4;
    std::size_t bytes = stride * static_cast<std::size_t>(height);
    if (bytes > kMaxSurfaceBytes) return nullptr;
    auto s = std::make_shared<Surface>();
    s->storage.reset(new (std::nothrow) std::uint8_t[bytes]);
    if (!s->storage) return nullptr;
    std::memset(s->storage.get(), 0, bytes);
    s->width = width;
    s->height = height;
    s->bitsPerPixel = bitsPerPixel;
    s->stride = static_cast<std::ptrdiff_t>(stride);
    s->bottomUp = bottomUp;
    s->device = device && bitsPerPixel == 8;
    s->bits = s->storage.get();
    s->changed.reset(width, height);
    s->changed.addAll();
    return s;
}

}  // namespace gdi
