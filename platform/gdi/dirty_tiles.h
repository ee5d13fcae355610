#pragma once
// The parts of a picture that changed, kept as tiles: bands of kBandRows
// rows, each band a mask of at most 64 columns.  Curves and sprites drawn
// across the screen touch every row but few tiles, so a presenter that
// copies and converts only the changed tiles does a fraction of the work a
// range of rows would give it.
#include <cstdint>
#include <vector>

namespace gdi {

class DirtyTiles {
public:
    static constexpr int kBandRows = 16;

    // Sized for a picture of width x height, nothing changed.
    void reset(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return !any_; }

    void clear();
    void addAll();
    // Notes [x0, x1) x [y0, y1), clipped to the picture.
    void add(int x0, int y0, int x1, int y1);
    void addSpan(int y, int x0, int x1);
    // Adds what `other`, of the same size, holds.
    void add(const DirtyTiles& other);

    // Calls visit(x0, y0, x1, y1) for each run of changed columns of each
    // band, clipped to the picture, band by band from the top.
    template <typename Visit>
    void forEachRun(Visit&& visit) const;

private:
    int width_ = 0;
    int height_ = 0;
    int columnShift_ = 6;  // a column is 1 << columnShift_ pixels wide
    bool any_ = false;
    std::vector<std::uint64_t> bands_;
};

inline void DirtyTiles::addSpan(int y, int x0, int x1) {
    if (y < 0 || y >= height_) return;
    if (x0 < 0) x0 = 0;
    if (x1 > width_) x1 = width_;
    if (x0 >= x1) return;
    const int first = x0 >> columnShift_;
    const int last = (x1 - 1) >> columnShift_;
    bands_[static_cast<std::size_t>(y / kBandRows)] |= (~std::uint64_t{0} >> (63 - (last - first))) << first;
    any_ = true;
}

template <typename Visit>
void DirtyTiles::forEachRun(Visit&& visit) const {
    if (!any_) return;
    for (std::size_t band = 0; band < bands_.size(); ++band) {
        std::uint64_t mask = bands_[band];
        const int y0 = static_cast<int>(band) * kBandRows;
        const int y1 = y0 + kBandRows < height_ ? y0 + kBandRows : height_;
        while (mask) {
            const int first = __builtin_ctzll(mask);
            const std::uint64_t rest = ~(mask >> first);
            const int length = rest ? __builtin_ctzll(rest) : 64 - first;
            const int x0 = first << columnShift_;
            const int x1 = (first + length) << columnShift_;
            visit(x0, y0, x1 < width_ ? x1 : width_, y1);
            mask = length + first >= 64 ? 0 : mask & (~std::uint64_t{0} << (first + length));
        }
    }
}

}  // namespace gdi
