#include "saver/config/palette_grid.h"

#include "saver/palette/palette_settings.h"

namespace {

constexpr int Columns = 16;
constexpr int Rows = 15;

struct GridGeometry {
    float cellWidth;
    float cellHeight;

    // The span of a cell: from its left (top) edge to the next cell's.
    RECT span(int index) const {
        const int column = index % Columns;
        const int row = index / Columns;
        return RECT{2 + static_cast<LONG>(static_cast<float>(column) * cellWidth),
                    2 + static_cast<LONG>(static_cast<float>(row) * cellHeight),
                    2 + static_cast<LONG>(static_cast<float>(column + 1) * cellWidth),
                    2 + static_cast<LONG>(static_cast<float>(row + 1) * cellHeight)};
    }
};

// The drawing area is the client area less 2 pixels at the left and top and
// 3 at the right and bottom.
GridGeometry Geometry(HWND grid) {
    RECT client{};
    GetClientRect(grid, &client);
    const LONG width = client.right - client.left - 5;
    const LONG height = client.bottom - client.top - 5;
    return GridGeometry{static_cast<float>(width - 3) / Columns, static_cast<float>(height - 3) / Rows};
}

RECT Inset(RECT r, LONG by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

}  // namespace

int DrawPaletteGrid(HWND grid, HPALETTE palette, const POINT* screenPoint, const DWORD* selection) {
    const GridGeometry geometry = Geometry(grid);
    POINT point{};
    const bool hasPoint = screenPoint != nullptr;
    if (hasPoint) {
        point = *screenPoint;
        ScreenToClient(grid, &point);
    }
    int hit = PaletteEntryCount - 1;
    bool found = false;
    HDC dc = GetDC(grid);
    if (dc == nullptr) return hit;
    SelectPalette(dc, palette, TRUE);
    auto* white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    auto* black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    for (int i = 0; i < PaletteEntryCount; ++i) {
        const RECT span = geometry.span(i);
        if (hasPoint && !found && PtInRect(&span, point)) {
            hit = i;
            found = true;
        }
        const RECT frame = Inset(span, 1);
        FillRect(dc, &frame, selection != nullptr && selection[i] ? white : black);
        const RECT inside = Inset(span, 2);
        HBRUSH colour = CreateSolidBrush(PALETTEINDEX(static_cast<WORD>(i)));
        FillRect(dc, &inside, colour);
        DeleteObject(colour);
    }
    SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    ReleaseDC(grid, dc);
    return hit;
}
