#pragma once
// Puts an indexed Canvas frame into a window's RGB image: through the
// hardware colours, scaled to fit the window with its aspect ratio kept,
// nearest-neighbour pixels, black bars on the sides left over.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::saver {

// Where the Canvas lands inside the window.
struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The largest rectangle of the Canvas's aspect ratio that fits the window,
// centred (rounded to whole pixels); empty when either size is empty.
Placement FitCanvas(int canvasWidth, int canvasHeight, int windowWidth, int windowHeight);

class CanvasScaler {
public:
    // `src`: canvasWidth x canvasHeight indices, `srcStride` bytes between
    // rows; `colours`: 256 0x00RRGGBB words; `dst`: windowWidth x
    // windowHeight pixels, `dstStride` pixels between rows.  Only window
    // rows [rowBegin, rowEnd) are written; the bars get `black`.
    void render(const std::uint8_t* src, int canvasWidth, int canvasHeight, std::ptrdiff_t srcStride,
                const std::uint32_t* colours, std::uint32_t* dst, int windowWidth, int windowHeight,
                std::ptrdiff_t dstStride, int rowBegin = 0, int rowEnd = INT_MAX, std::uint32_t black = 0);

private:
    void buildColumnMap(int canvasWidth, int placedWidth);

    // Source column of each placed column, kept while the sizes stay.
    std::vector<int> columns_;
    int columnsFor_[2] = {-1, -1};
    std::vector<std::uint8_t> rowIndices_;
};

}  // namespace platform::saver
