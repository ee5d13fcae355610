#include "platform/screensaver/canvas_scaler.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/presenter.h"

namespace platform::saver {

namespace {

// Pixel centre sampling: placed pixel i shows source pixel
// floor((i + 0.5) * source / placed), so an exact multiple repeats every
// source pixel the same number of times.
int sourceOf(int placed, int source, int placedSize) {
    return static_cast<int>((2 * static_cast<long long>(placed) + 1) * source / (2 * static_cast<long long>(placedSize)));
}

void fillBlack(std::uint32_t* row, int count, std::uint32_t black) {
    if (count > 0) std::fill_n(row, count, black);
}

}  // namespace

Placement FitCanvas(int canvasWidth, int canvasHeight, int windowWidth, int windowHeight) {
    if (canvasWidth <= 0 || canvasHeight <= 0 || windowWidth <= 0 || windowHeight <= 0) return {};
    long long cw = canvasWidth;
    long long ch = canvasHeight;
    long long ww = windowWidth;
    long long wh = windowHeight;
    Placement p;
    if (ww * ch <= wh * cw) {  // the width decides
        p.width = windowWidth;
        p.height = static_cast<int>(std::max(1LL, (ch * ww + cw / 2) / cw));
    } else {
        p.height = windowHeight;
        p.width = static_cast<int>(std::max(1LL, (cw * wh + ch / 2) / ch));
    }
    p.width = std::min(p.width, windowWidth);
    p.height = std::min(p.height, windowHeight);
    p.x = (windowWidth - p.width) / 2;
    p.y = (windowHeight - p.height) / 2;
    return p;
}

void CanvasScaler::buildColumnMap(int canvasWidth, int placedWidth) {
    if (columnsFor_[0] == canvasWidth && columnsFor_[1] == placedWidth) return;
    columns_.resize(static_cast<std::size_t>(placedWidth));
    for (int i = 0; i < placedWidth; ++i) columns_[static_cast<std::size_t>(i)] = sourceOf(i, canvasWidth, placedWidth);
    columnsFor_[0] = canvasWidth;
    columnsFor_[1] = placedWidth;
    rowIndices_.resize(static_cast<std::size_t>(placedWidth));
}

void CanvasScaler::render(const std::uint8_t* src, int canvasWidth, int canvasHeight, std::ptrdiff_t srcStride,
                          const std::uint32_t* colours, std::uint32_t* dst, int windowWidth, int windowHeight,
                          std::ptrdiff_t dstStride, int rowBegin, int rowEnd, std::uint32_t black) {
    if (!dst || windowWidth <= 0 || windowHeight <= 0) return;
    rowBegin = std::max(rowBegin, 0);
    rowEnd = std::min(rowEnd, windowHeight);
    Placement p = src ? FitCanvas(canvasWidth, canvasHeight, windowWidth, windowHeight) : Placement{};
    if (p.width == 0 || p.height == 0) {
        for (int y = rowBegin; y < rowEnd; ++y) fillBlack(dst + y * dstStride, windowWidth, black);
        return;
    }
    for (int y = rowBegin; y < std::min(p.y, rowEnd); ++y) fillBlack(dst + y * dstStride, windowWidth, black);
    for (int y = std::max(p.y + p.height, rowBegin); y < rowEnd; ++y) fillBlack(dst + y * dstStride, windowWidth, black);

    bool sameWidth = p.width == canvasWidth;
    if (!sameWidth) buildColumnMap(canvasWidth, p.width);
    int previousSource = -1;
    for (int y = std::max(rowBegin - p.y, 0); y < std::min(rowEnd - p.y, p.height); ++y) {
        std::uint32_t* row = dst + (p.y + y) * dstStride;
        fillBlack(row, p.x, black);
        fillBlack(row + p.x + p.width, windowWidth - p.x - p.width, black);
        int sy = p.height == canvasHeight ? y : sourceOf(y, canvasHeight, p.height);
        if (sy == previousSource) {
            std::memcpy(row + p.x, row - dstStride + p.x, static_cast<std::size_t>(p.width) * sizeof *row);
            continue;
        }
        previousSource = sy;
        const std::uint8_t* line = src + sy * srcStride;
        if (sameWidth) {
            gdi::ConvertIndexedToRgb32(line, static_cast<std::size_t>(p.width), colours, row + p.x);
        } else {
            for (int x = 0; x < p.width; ++x) rowIndices_[static_cast<std::size_t>(x)] = line[columns_[static_cast<std::size_t>(x)]];
            gdi::ConvertIndexedToRgb32(rowIndices_.data(), static_cast<std::size_t>(p.width), colours, row + p.x);
        }
    }
}

}  // namespace platform::saver
