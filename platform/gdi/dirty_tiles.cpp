#include "platform/gdi/dirty_tiles.h"

#include <algorithm>

namespace gdi {

void DirtyTiles::reset(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    // Columns of 64 pixels, wider where 64 of them would not span the picture.
    columnShift_ = 6;
    while ((static_cast<long long>(width_) + (1LL << columnShift_) - 1) >> columnShift_ > 64) ++columnShift_;
    bands_.assign(static_cast<std::size_t>((height_ + kBandRows - 1) / kBandRows), 0);
    any_ = false;
}

void DirtyTiles::clear() {
    if (!any_) return;
    std::fill(bands_.begin(), bands_.end(), 0);
    any_ = false;
}

void DirtyTiles::addAll() { add(0, 0, width_, height_); }

void DirtyTiles::add(int x0, int y0, int x1, int y1) {
    y0 = std::max(y0, 0);
    y1 = std::min(y1, height_);
    if (y0 >= y1) return;
    for (int band = y0 / kBandRows; band <= (y1 - 1) / kBandRows; ++band) addSpan(band * kBandRows, x0, x1);
}

void DirtyTiles::add(const DirtyTiles& other) {
    if (other.bands_.size() != bands_.size() || other.columnShift_ != columnShift_) {
        if (!other.empty()) addAll();
        return;
    }
    for (std::size_t i = 0; i < bands_.size(); ++i) bands_[i] |= other.bands_[i];
    any_ = any_ || other.any_;
}

}  // namespace gdi
