#include "saver/modules/stain.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "saver/framework/sources.h"
#include "saver/modules/draw_helpers.h"

StainState Stain;

namespace {

constexpr LONG Colours = 236;
constexpr LONG ColourBand = 59;  // odd nodes take 0..58, even ones 177..235
constexpr float RandScale = 3.0518509e-05f;  // 1 / 32767
constexpr float FoldScaleStep = 0.02f;
constexpr LONG NodeMargin = 4;
constexpr int RingsPerStep = 4;
// A DIB row of one 8-bit pixel is padded to 4 bytes, so a column of edge
// values is stored one value every 4 bytes.
constexpr std::size_t ColumnStride = 4;

// Signed 32-bit arithmetic that wraps as the machine's does instead of
// overflowing: the dipole field and the weighted colour outgrow 32 bits on
// ordinary screens, and their pictures are made of the wrapped values.
LONG Add(LONG a, LONG b) { return static_cast<LONG>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b)); }
LONG Sub(LONG a, LONG b) { return static_cast<LONG>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b)); }
LONG Mul(LONG a, LONG b) { return static_cast<LONG>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b)); }
// The divisor is never 0 here; the most negative value divided by -1 wraps
// back to itself.
LONG Div(LONG a, LONG b) { return b == -1 ? Sub(0, a) : a / b; }

// Truncation toward zero, held to the 32-bit range; the root of a sum that
// wrapped negative (NaN) counts as 0.
LONG Truncate(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<LONG>(v);
}

float RandomFraction() { return static_cast<float>(std::rand()) * RandScale; }

// The low byte of the signed remainder: a negative one lands on 21..255,
// where entries beyond 235 of the colour table show palette entry 0.
BYTE Index(LONG v) { return static_cast<BYTE>(v % Colours); }

LONG Distance2(LONG x, LONG y, int i) { return Add(Stain.xTable[x][i], Stain.yTable[y][i]); }

LONG Band(LONG x, LONG y, int i) {
    const double d = std::sqrt(static_cast<double>(Distance2(x, y, i)));
    return Truncate(d / static_cast<double>(Stain.maxDistance) * static_cast<double>(Colours));
}

// ---------------------------------------------------------------------------
// The ten patterns
// ---------------------------------------------------------------------------

LONG Xor(LONG a, LONG b) { return a ^ b; }
LONG Or(LONG a, LONG b) { return a | b; }

// The bands of all nodes, combined one after another.
template <LONG (*Combine)(LONG, LONG)>
BYTE Bands(LONG x, LONG y) {
    LONG v = 0;
    for (int i = 0; i < Stain.nodeCount; ++i) v = Combine(v, Band(x, y, i));
    return Index(v);
}

constexpr StainPattern BandXor = Bands<Xor>;
constexpr StainPattern BandSum = Bands<Add>;
constexpr StainPattern BandOr = Bands<Or>;

BYTE WeightedColour(LONG x, LONG y) {
    LONG weighted = 0;
    LONG sum = 0;
    for (int i = 0; i < Stain.nodeCount; ++i) {
        const LONG d2 = Distance2(x, y, i);
        weighted = Add(weighted, Mul(d2, Stain.nodes[i].colour));
        sum = Add(sum, d2);
    }
    const LONG divisor = sum >> 2;
    return divisor == 0 ? 0 : Index(Div(weighted, divisor));
}

BYTE FoldedGrid(LONG x, LONG y) {
    const LONG u = TruncateToLong(std::floor(static_cast<float>(x) * Stain.kx)) % Colours;
    const LONG v = TruncateToLong(std::floor(static_cast<float>(y) * Stain.ky)) % Colours;
    return Index(u ^ v);
}

// Each node is a dipole whose strength is the x of the next node record.
BYTE Dipole(LONG x, LONG y) {
    LONG a = 0;
    LONG b = 0;
    for (int i = 0; i < Stain.nodeCount; ++i) {
        const LONG d2 = Distance2(x, y, i);
        if (d2 == 0) return 0;
        const LONG dx = Sub(Stain.nodes[i].x, x);
        const LONG dy = Sub(Stain.nodes[i].y, y);
        const LONG w = Stain.nodes[i + 1].x;
        a = Add(a, Div(Mul(Mul(Mul(Mul(dx, dx), dy), w), 16), d2));
        b = Add(b, Div(Mul(Mul(Mul(Mul(dx, dy), dy), w), 16), d2));
    }
    a >>= 4;
    b >>= 4;
    const LONG strength = Add(Mul(a, a), Mul(b, b));
    return Index(Truncate(std::sqrt(static_cast<double>(strength))) >> 7);
}

BYTE Checker(LONG x, LONG y) { return ((x + y) & 1) == 0 ? WeightedColour(x, y) : BandSum(x, y); }

// Patterns 7 to 9 let the weighted colour choose, in bands 20 wide, between
// three other patterns or mirror images.
int Choice(LONG x, LONG y) { return WeightedColour(x, y) / 20 % 3; }

BYTE ChosenBands(LONG x, LONG y) {
    switch (Choice(x, y)) {
    case 0:
        return BandXor(x, y);
    case 1:
        return WeightedColour(x, y);
    default:
        return BandOr(x, y);
    }
}

BYTE MirroredXor(LONG x, LONG y) {
    switch (Choice(x, y)) {
    case 0:
        return BandXor(x, y);
    case 1:
        return BandXor(Stain.wm - x, y);
    default:
        return BandXor(x, Stain.hm - y);
    }
}

BYTE MirroredWeights(LONG x, LONG y) {
    switch (Choice(x, y)) {
    case 0:
        return WeightedColour(Stain.wm - x, y);
    case 1:
        return WeightedColour(x, Stain.hm - y);
    default:
        return WeightedColour(Stain.wm - x, Stain.hm - y);
    }
}

// ---------------------------------------------------------------------------
// Buffers
// ---------------------------------------------------------------------------

template <typename T>
T* Allocate(HGLOBAL& memory, std::size_t bytes) {
    memory = GlobalAlloc(GHND, bytes);
    return static_cast<T*>(GlobalLock(memory));
}

void Release(HGLOBAL& memory) {
    if (memory != nullptr) {
        GlobalUnlock(memory);
        GlobalFree(memory);
    }
    memory = nullptr;
}

void FreeBuffers() {
    Release(Stain.xMemory);
    Release(Stain.yMemory);
    Release(Stain.lineMemory);
    Release(Stain.headerMemory);
    Release(Stain.runMemory);
    Stain.xTable = nullptr;
    Stain.yTable = nullptr;
    Stain.line = nullptr;
    Stain.header = nullptr;
    Stain.run = nullptr;
}

bool Allocated() {
    return Stain.xTable != nullptr && Stain.yTable != nullptr && Stain.line != nullptr && Stain.header != nullptr &&
           Stain.run != nullptr;
}

// Colour table entry v holds v, a palette-relative colour, so pixel value v
// shows entry v of the Canvas palette.
void FillHeader() {
    BITMAPINFOHEADER& h = Stain.header->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biPlanes = 1;
    h.biBitCount = 8;
    h.biCompression = BI_RGB;
    h.biClrUsed = Colours;
    auto* table = reinterpret_cast<BYTE*>(Stain.header) + sizeof(BITMAPINFOHEADER);
    for (WORD i = 0; i < Colours; ++i) std::memcpy(table + i * sizeof(WORD), &i, sizeof(WORD));
}

// ---------------------------------------------------------------------------
// Picture start
// ---------------------------------------------------------------------------

// Canvases of 8 pixels or fewer leave no margin: a negative divisor keeps the
// remainder it always gave, and the divisor 0 of a 9-pixel side becomes 1.
LONG NodeRange(LONG last) {
    const LONG range = last - 2 * NodeMargin;
    return range == 0 ? 1 : range;
}

void PlaceNodes() {
    const LONG xRange = NodeRange(Stain.wm);
    const LONG yRange = NodeRange(Stain.hm);
    for (int i = 0; i < Stain.nodeCount; ++i) {
        StainNode& node = Stain.nodes[i];
        node.x = std::rand() % xRange + NodeMargin;
        node.y = std::rand() % yRange + NodeMargin;
        node.colour = i % 2 == 0 ? Colours - 1 - std::rand() % ColourBand : std::rand() % ColourBand;
    }
}

void FillTables() {
    for (LONG y = 0; y <= Stain.hm; ++y) {
        for (int i = 0; i < Stain.nodeCount; ++i) {
            const LONG d = Sub(y, Stain.nodes[i].y);
            Stain.yTable[y][i] = Mul(d, d);
        }
    }
    for (LONG x = 0; x <= Stain.wm; ++x) {
        for (int i = 0; i < Stain.nodeCount; ++i) {
            const LONG d = Sub(x, Stain.nodes[i].x);
            Stain.xTable[x][i] = Mul(d, d);
        }
    }
}

// ---------------------------------------------------------------------------
// Rings
// ---------------------------------------------------------------------------

// Ring k grows a segment along the middle of the tile's longer side by k on
// every side, so that its last ring is the tile border.
RECT RingRect(LONG k, LONG tileWidth, LONG tileHeight) {
    if (tileWidth <= tileHeight) {
        const LONG h = tileWidth >> 1;
        return {h - k, h - k, h + k, tileHeight - h + k};
    }
    const LONG h = tileHeight >> 1;
    return {h - k, h - k, tileWidth - h + k, h + k};
}

void Grow(RECT& r) {
    --r.left;
    --r.top;
    ++r.right;
    ++r.bottom;
}

void TransferRow(HDC dc, LONG x, LONG y, LONG width) {
    Stain.header->bmiHeader.biWidth = width;
    Stain.header->bmiHeader.biHeight = 1;
    StretchDIBits(dc, x, y, width, 1, 0, 0, width, 1, Stain.line, Stain.header, DIB_PAL_COLORS, SRCCOPY);
}

// The buffer is bottom-up: its first value lands on the column's last row.
void TransferColumn(HDC dc, LONG x, LONG y, LONG height) {
    Stain.header->bmiHeader.biWidth = 1;
    Stain.header->bmiHeader.biHeight = height;
    StretchDIBits(dc, x, y, 1, height, 0, 0, 1, height, Stain.line, Stain.header, DIB_PAL_COLORS, SRCCOPY);
}

void PatternRow(LONG left, LONG right, LONG y) {
    const StainPattern pattern = Stain.pattern;
    for (LONG x = left; x <= right; ++x) Stain.line[x - left] = pattern(x, y);
}

void PatternColumn(LONG x, LONG top, LONG bottom) {
    const StainPattern pattern = Stain.pattern;
    for (LONG y = top; y <= bottom; ++y) Stain.line[static_cast<std::size_t>(y - top) * ColumnStride] = pattern(x, y);
}

// Every ring pixel (x, y) shows the pattern at (x, top + bottom - y): the
// rows swap and the bottom-up columns turn over.
void DrawFullRing(HDC dc, const RECT& r) {
    const LONG width = r.right - r.left + 1;
    const LONG height = r.bottom - r.top + 1;
    PatternRow(r.left, r.right, r.bottom);
    TransferRow(dc, r.left, r.top, width);
    PatternRow(r.left, r.right, r.top);
    TransferRow(dc, r.left, r.bottom, width);
    PatternColumn(r.left, r.top, r.bottom);
    TransferColumn(dc, r.left, r.top, height);
    PatternColumn(r.right, r.top, r.bottom);
    TransferColumn(dc, r.right, r.top, height);
}

// Forward through the run, then back, and so on.
BYTE Folded(const BYTE* run, LONG j, LONG period) {
    const LONG phase = j % period;
    return (j / period) % 2 == 0 ? run[phase] : run[period - phase];
}

// The edges are zig-zag copies of one short run of pattern values taken
// along the top and right of the ring.
void DrawFoldedRing(HDC dc, const RECT& r) {
    const LONG w = r.right - r.left;
    const LONG h = r.bottom - r.top;
    const LONG pw = w / Stain.folding + 1;
    const LONG ph = h / Stain.folding + 1;
    const LONG m = std::max(pw, ph);
    BYTE* run = Stain.run;
    std::memset(run, 0, static_cast<std::size_t>(m) + 10);
    const StainPattern pattern = Stain.pattern;
    LONG n = 0;
    for (LONG x = r.left; x < r.right && n <= m; ++x) run[n++] = pattern(x, r.top);
    for (LONG y = r.top; y < r.bottom && n <= m; ++y) run[n++] = pattern(r.right, y);

    for (LONG j = 0; j <= w; ++j) Stain.line[j] = Folded(run, j, pw);
    TransferRow(dc, r.left, r.bottom, w + 1);
    BitBlt(dc, r.left, r.top, w + 1, 1, dc, ph > pw ? r.left - 1 : r.left, r.bottom, SRCCOPY);

    for (LONG j = 0; j <= h; ++j) Stain.line[static_cast<std::size_t>(j) * ColumnStride] = Folded(run, j, ph);
    TransferColumn(dc, r.left, r.top, h + 1);
    BitBlt(dc, r.right, r.top, 1, h + 1, dc, pw > ph ? r.left + 1 : r.left, r.top, SRCCOPY);
}

}  // namespace

const StainPattern StainPatterns[StainPatternCount] = {
    BandXor, WeightedColour, BandSum, FoldedGrid, BandOr, Dipole, Checker, ChosenBands, MirroredXor, MirroredWeights,
};

LONG StainInit(ModuleRecord* record) {
    FreeBuffers();
    const LONG width = std::max<LONG>(record->width, 0);
    const LONG height = std::max<LONG>(record->height, 0);
    Stain.wm = width - 1;
    Stain.hm = height - 1;
    // The longest edge a ring can have: a row of Wm + 1 bytes or a column of
    // Hm + 1 values 4 bytes apart, and a folded run of up to that plus one.
    const auto longest = static_cast<std::size_t>(std::max({Stain.wm, Stain.hm, LONG{0}}));
    Stain.xTable = Allocate<StainTableRow>(Stain.xMemory, (static_cast<std::size_t>(width) + 2) * sizeof(StainTableRow));
    Stain.yTable = Allocate<StainTableRow>(Stain.yMemory, (static_cast<std::size_t>(height) + 2) * sizeof(StainTableRow));
    Stain.line = Allocate<BYTE>(Stain.lineMemory, longest * ColumnStride + 16);
    Stain.header = Allocate<BITMAPINFO>(Stain.headerMemory, sizeof(BITMAPINFOHEADER) + 256 * sizeof(WORD));
    Stain.run = Allocate<BYTE>(Stain.runMemory, longest + 11);
    if (!Allocated()) {
        OutputDebugStringA("Could not allocate buffers");
        FreeBuffers();
        return 0;
    }
    FillHeader();
    Stain.resumeTime = GetTickCount();
    return 0;
}

LONG StainStart(ModuleRecord* record) {
    if (!Allocated()) return 0;
    RandomizeControls(record);
    AdvanceControls(record);

    Stain.nodeCount = std::clamp<LONG>(ControlValue(record, StainNodesSlot), 2, StainNodeRecords - 1);
    Stain.folding = ControlValue(record, StainFoldingSlot) * 2;
    Stain.type = std::clamp<LONG>(ControlValue(record, StainTypeSlot), 0, StainPatternCount);
    Stain.holdTime = static_cast<DWORD>(ControlValue(record, StainDurationSlot)) * 1000u;
    Stain.xTiles = ControlValue(record, StainXTilesSlot);
    Stain.yTiles = ControlValue(record, StainYTilesSlot);
    Stain.tileType = ControlValue(record, StainTileTypeSlot);

    if (Stain.type >= StainPatternCount) {
        Stain.nodeCount = std::rand() % (Stain.nodeCount - 1) + 2;
        Stain.type = std::rand() % StainPatternCount;
    }
    Stain.pattern = StainPatterns[Stain.type];
    Stain.ring = 0;
    SetStretchBltMode(record->dc, COLORONCOLOR);

    Stain.kx = RandomFraction() * static_cast<float>(4 * Stain.nodeCount) * FoldScaleStep;
    Stain.ky = RandomFraction() * static_cast<float>(4 * Stain.nodeCount) * FoldScaleStep;
    const double wm = Stain.wm;
    const double hm = Stain.hm;
    Stain.maxDistance = Truncate(std::sqrt(wm * wm + hm * hm));

    PlaceNodes();
    FillTables();
    return 0;
}

LONG StainStep(ModuleRecord* record) {
    if (!Allocated()) return 0;
    // Compared as a signed difference, so the hold survives the tick count
    // wrapping after 49.7 days.
    if (static_cast<LONG>(GetTickCount() - Stain.resumeTime) < 0) return StepIdle;

    ReadLiveControl(record, StainXTilesSlot, Stain.xTiles);
    ReadLiveControl(record, StainYTilesSlot, Stain.yTiles);
    ReadLiveControl(record, StainFoldingSlot, Stain.folding);
    const LONG xTiles = std::max<LONG>(Stain.xTiles, 1);
    const LONG yTiles = std::max<LONG>(Stain.yTiles, 1);
    const LONG tileWidth = Stain.wm / xTiles;
    const LONG tileHeight = Stain.hm / yTiles;

    // The ring is drawn in the first visible tile; the destination origin
    // for the copies stays in the first tile, where MirrorTileEdges counts
    // its tiles from.
    RECT destination = RingRect(Stain.ring, tileWidth, tileHeight);
    RECT ring = destination;
    if (!TileVisible(0, 0, Stain.tileType)) {
        if (xTiles > 1) {
            ring.left += tileWidth;
            ring.right += tileWidth;
        } else if (yTiles > 1) {
            ring.top += tileHeight;
            ring.bottom += tileHeight;
        } else {
            destination.left = -1;  // nothing to draw in: the picture is done at once
        }
    }

    for (int i = 0; i < RingsPerStep; ++i) {
        if (destination.left < 0 || destination.top < 0) {
            Stain.resumeTime = GetTickCount() + Stain.holdTime;
            StainStart(record);
            return 0;
        }
        if (Stain.folding > 0) {
            DrawFoldedRing(record->dc, ring);
        } else {
            DrawFullRing(record->dc, ring);
        }
        // A single tile is its own source.
        if (xTiles > 1 || yTiles > 1) {
            MirrorTileEdges(record->dc, xTiles, yTiles, tileWidth, tileHeight, Stain.tileType,
                            ring.right - ring.left + 1, ring.bottom - ring.top + 1, ring.left, ring.top, ring.right,
                            ring.bottom, destination.left, destination.top, destination.right, destination.bottom);
        }
        Grow(ring);
        Grow(destination);
        ++Stain.ring;
    }
    return 0;
}

LONG StainFree(ModuleRecord*) {
    FreeBuffers();
    return 0;
}
