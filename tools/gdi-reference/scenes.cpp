// Draws fixed scenes on 8-bit DIB sections and prints their bytes, one scene
// a line.  The same source builds against our Canvas and, with a MinGW
// compiler, against Win32, so run.sh can compare the two outputs line by
// line.  Only memory DCs are used: no window, no display.
#ifdef _WIN32
#include <windows.h>
#else
#include "platform/win32.h"
#endif

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kLogicalSize = 236;

// The colour of logical entry i: distinct and spread over the cube.
RGBQUAD LogicalColour(int i) {
    return {static_cast<BYTE>(i / 2), static_cast<BYTE>(255 - i), static_cast<BYTE>(i), 0};
}

HPALETTE CreateLogicalPalette() {
    std::vector<unsigned char> block(sizeof(LOGPALETTE) + (kLogicalSize - 1) * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = kLogicalSize;
    for (int i = 0; i < kLogicalSize; ++i) {
        const RGBQUAD c = LogicalColour(i);
        lp->palPalEntry[i] = {c.rgbRed, c.rgbGreen, c.rgbBlue, PC_RESERVED};
    }
    return CreatePalette(lp);
}

// The twenty static colours of an 8-bit display, in static order.
constexpr BYTE kStatic[20][3] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

struct Info8 {
    BITMAPINFOHEADER header{};
    RGBQUAD colours[256]{};

    Info8(int width, int height) {
        header.biSize = sizeof(BITMAPINFOHEADER);
        header.biWidth = width;
        header.biHeight = height;
        header.biPlanes = 1;
        header.biBitCount = 8;
        header.biCompression = BI_RGB;
    }
    const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};

// Static colours at 0..9 and 246..255, the logical palette in between.
void DisplayTable(RGBQUAD* t) {
    for (int k = 0; k < 20; ++k) t[k < 10 ? k : k + 236] = {kStatic[k][2], kStatic[k][1], kStatic[k][0], 0};
    for (int i = 0; i < kLogicalSize; ++i) t[10 + i] = LogicalColour(i);
}

void GreyTable(RGBQUAD* t) {
    for (int i = 0; i < 256; ++i) t[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
}

// 256 colours far enough apart that any colour matching returns the index.
void DistinctTable(RGBQUAD* t) {
    for (int i = 0; i < 256; ++i) t[i] = {static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 37), static_cast<BYTE>(i), 0};
}

// A top-down 8-bit DIB section in its own memory DC.
struct Dib {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    unsigned char* bits = nullptr;
    int width = 0, height = 0, stride = 0;

    Dib(int w, int h, const Info8& layout) : width(w), height(h), stride((w + 3) & ~3) {
        Info8 info = layout;
        info.header.biWidth = w;
        info.header.biHeight = -h;
        dc = CreateCompatibleDC(nullptr);
        void* p = nullptr;
        bitmap = CreateDIBSection(dc, info.info(), DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<unsigned char*>(p);
        previous = SelectObject(dc, bitmap);
        std::memset(bits, 0, static_cast<std::size_t>(stride) * h);
    }
    ~Dib() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    unsigned char at(int x, int y) const { return bits[y * stride + x]; }
    void fill(unsigned char v) { std::memset(bits, v, static_cast<std::size_t>(stride) * height); }
};

void PrintBytes(const char* name, const Dib& d, int x0, int y0, int x1, int y1) {
    GdiFlush();
    std::string line = name;
    line += ':';
    char hex[4];
    for (int y = y0; y < y1; ++y) {
        line += ' ';
        for (int x = x0; x < x1; ++x) {
            std::snprintf(hex, sizeof hex, "%02x", d.at(x, y));
            line += hex;
        }
    }
    std::puts(line.c_str());
}

// The distinct values of an area, for drawings whose shape depends on the
// font but whose colours must not.
void PrintValues(const char* name, const Dib& d, int x0, int y0, int x1, int y1) {
    GdiFlush();
    std::set<int> values;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) values.insert(d.at(x, y));
    std::printf("%s:", name);
    for (int v : values) std::printf(" %d", v);
    std::printf("\n");
}

template <class T>
void Use(HDC dc, T object, void (*draw)(HDC)) {
    HGDIOBJ old = SelectObject(dc, object);
    draw(dc);
    SelectObject(dc, old);
    DeleteObject(object);
}

// Pens, brushes, text and SetPixel in a DIB section whose table is `table`,
// the logical palette selected (`realise`: and realised) in its DC.
void ColourScene(const char* name, void (*table)(RGBQUAD*), bool realise) {
    Info8 layout(0, 0);
    table(layout.colours);
    Dib d(64, 40, layout);
    HPALETTE palette = CreateLogicalPalette();
    HPALETTE oldPalette = SelectPalette(d.dc, palette, FALSE);
    if (realise) RealizePalette(d.dc);

    const COLORREF colours[] = {
        PALETTEINDEX(0),         PALETTEINDEX(5),          PALETTEINDEX(100),        PALETTEINDEX(235),
        PALETTEINDEX(236),       PALETTEINDEX(1000),       RGB(50, 155, 100),        RGB(61, 150, 101),
        RGB(250, 5, 5),          RGB(192, 192, 192),       RGB(13, 77, 200),         RGB(0, 0, 0),
        PALETTERGB(50, 155, 100), PALETTERGB(13, 77, 200), PALETTERGB(250, 5, 5),    PALETTERGB(255, 255, 255),
    };
    const int count = static_cast<int>(sizeof colours / sizeof colours[0]);
    std::string set = std::string(name) + " setpixel-returns:", get = std::string(name) + " getpixel:";
    char text[16];
    for (int i = 0; i < count; ++i) {
        std::snprintf(text, sizeof text, " %06lx", static_cast<unsigned long>(SetPixel(d.dc, i, 0, colours[i])));
        set += text;
        std::snprintf(text, sizeof text, " %06lx", static_cast<unsigned long>(GetPixel(d.dc, i, 0)));
        get += text;
    }
    std::string row = std::string(name) + " setpixel";
    PrintBytes(row.c_str(), d, 0, 0, count, 1);
    std::puts(set.c_str());
    std::puts(get.c_str());

    Use(d.dc, CreatePen(PS_SOLID, 1, PALETTEINDEX(50)), [](HDC dc) {
        MoveToEx(dc, 0, 2, nullptr);
        LineTo(dc, 8, 2);
    });
    Use(d.dc, CreatePen(PS_SOLID, 1, RGB(13, 77, 200)), [](HDC dc) {
        MoveToEx(dc, 8, 2, nullptr);
        LineTo(dc, 16, 2);
    });
    Use(d.dc, CreatePen(PS_SOLID, 1, PALETTERGB(250, 5, 5)), [](HDC dc) {
        MoveToEx(dc, 20, 3, nullptr);
        LineTo(dc, 30, 5);
    });
    row = std::string(name) + " pens";
    PrintBytes(row.c_str(), d, 0, 1, 32, 6);

    HBRUSH index100 = CreateSolidBrush(PALETTEINDEX(100));
    const RECT fill = {0, 6, 8, 8};
    FillRect(d.dc, &fill, index100);
    DeleteObject(index100);
    Use(d.dc, CreateSolidBrush(RGB(61, 150, 101)), [](HDC dc) { PatBlt(dc, 8, 6, 8, 2, PATCOPY); });
    Use(d.dc, CreateSolidBrush(PALETTERGB(13, 77, 200)), [](HDC dc) { PatBlt(dc, 16, 6, 9, 3, PATCOPY); });
    Use(d.dc, CreateSolidBrush(PALETTEINDEX(7)), [](HDC dc) {
        HPEN pen = CreatePen(PS_SOLID, 1, PALETTEINDEX(200));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        Rectangle(dc, 26, 6, 32, 10);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    });
    row = std::string(name) + " brushes";
    PrintBytes(row.c_str(), d, 0, 6, 32, 10);

    SetBkMode(d.dc, OPAQUE);
    SetTextColor(d.dc, PALETTEINDEX(150));
    SetBkColor(d.dc, PALETTEINDEX(60));
    RECT box = {0, 12, 32, 40};
    DrawTextA(d.dc, "Hg", -1, &box, DT_LEFT | DT_TOP | DT_SINGLELINE);
    SetTextColor(d.dc, RGB(250, 5, 5));
    SetBkColor(d.dc, PALETTERGB(13, 77, 200));
    box = {32, 12, 64, 40};
    DrawTextA(d.dc, "Hg", -1, &box, DT_LEFT | DT_TOP | DT_SINGLELINE);
    row = std::string(name) + " text-index";
    PrintValues(row.c_str(), d, 0, 12, 32, 40);
    row = std::string(name) + " text-rgb";
    PrintValues(row.c_str(), d, 32, 12, 64, 40);

    SelectPalette(d.dc, oldPalette, FALSE);
    DeleteObject(palette);
}

// Colour tables given as logical palette indices, in a new DIB section and in
// StretchDIBits onto a DIB section.
void PaletteIndexTableScene() {
    HDC dc = CreateCompatibleDC(nullptr);
    HPALETTE palette = CreateLogicalPalette();
    HPALETTE oldPalette = SelectPalette(dc, palette, FALSE);
    struct {
        BITMAPINFOHEADER header;
        WORD indices[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = 8;
    info.header.biHeight = -1;
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    for (int i = 0; i < 256; ++i) info.indices[i] = static_cast<WORD>((i * 7) % kLogicalSize);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(&info), DIB_PAL_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, dib);
    RGBQUAD table[256];
    const UINT n = GetDIBColorTable(dc, 0, 256, table);
    std::printf("pal-colors table:");
    for (UINT i = 0; i < n; ++i) std::printf(" %02x%02x%02x", table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
    std::printf("\n");
    SelectObject(dc, oldBitmap);
    DeleteObject(dib);
    SelectPalette(dc, oldPalette, FALSE);

    Info8 layout(0, 0);
    DisplayTable(layout.colours);
    Dib d(16, 1, layout);
    oldPalette = SelectPalette(d.dc, palette, FALSE);
    const unsigned char source[16] = {0, 1, 2, 3, 10, 20, 50, 100, 200, 233, 234, 235, 250, 251, 252, 253};
    info.header.biWidth = 16;
    StretchDIBits(d.dc, 0, 0, 16, 1, 0, 0, 16, 1, source, reinterpret_cast<const BITMAPINFO*>(&info), DIB_PAL_COLORS,
                  SRCCOPY);
    PrintBytes("pal-colors stretchdibits", d, 0, 0, 16, 1);
    SelectPalette(d.dc, oldPalette, FALSE);
    DeleteObject(palette);
    DeleteDC(dc);
}

std::string Visited;

void Visit(int x, int y, LPARAM) {
    char text[32];
    std::snprintf(text, sizeof text, " %d,%d", x, y);
    Visited += text;
}

std::vector<RECT> Lines() {
    std::vector<RECT> lines;
    for (int dy = -7; dy <= 7; ++dy)
        for (int dx = -7; dx <= 7; ++dx) lines.push_back({0, 0, dx, dy});
    const int longer[][2] = {{10, 3},  {3, 10},  {-10, 3}, {10, -3},  {-10, -3},  {3, -10},  {-3, 10},
                             {-3, -10}, {17, 5}, {5, 17},  {25, -9},  {-31, 12},  {100, 37}, {37, -100},
                             {12, 8},  {-12, -8}, {9, 6},  {-6, 9},   {30, 10},   {10, 30},  {-30, -10}};
    for (const auto& l : longer) lines.push_back({0, 0, l[0], l[1]});
    lines.push_back({7, -4, -12, 9});
    lines.push_back({-12, 9, 7, -4});
    return lines;
}

void LineDdaScene() {
    for (const RECT& l : Lines()) {
        Visited.clear();
        LineDDA(l.left, l.top, l.right, l.bottom, Visit, 0);
        std::printf("linedda %d,%d %d,%d:%s\n", static_cast<int>(l.left), static_cast<int>(l.top),
                    static_cast<int>(l.right), static_cast<int>(l.bottom), Visited.c_str());
    }
}

// Cosmetic lines from LineTo, for comparison with the LineDDA walk.
void LineToScene() {
    Info8 layout(0, 0);
    DistinctTable(layout.colours);
    Dib d(80, 80, layout);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255 - 1, 37, 1));  // table entry 1
    HGDIOBJ oldPen = SelectObject(d.dc, pen);
    for (const RECT& l : Lines()) {
        if (l.right < -30 || l.right > 30 || l.bottom < -30 || l.bottom > 30) continue;
        d.fill(0);
        MoveToEx(d.dc, 40 + l.left, 40 + l.top, nullptr);
        LineTo(d.dc, 40 + l.right, 40 + l.bottom);
        GdiFlush();
        std::printf("lineto %d,%d %d,%d:", static_cast<int>(l.left), static_cast<int>(l.top), static_cast<int>(l.right),
                    static_cast<int>(l.bottom));
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 80; ++x)
                if (d.at(x, y)) std::printf(" %d,%d", x - 40, y - 40);
        std::printf("\n");
    }
    SelectObject(d.dc, oldPen);
    DeleteObject(pen);
}

struct Stretch {
    int dx, dy, dw, dh, sx, sy, sw, sh;
};

constexpr Stretch kStretches[] = {
    {0, 0, 20, 15, 0, 0, 32, 24},   {0, 0, 50, 27, 0, 0, 32, 24},   {19, 14, -20, -15, 0, 0, 32, 24},
    {0, 0, 50, 27, 31, 23, -32, -24}, {49, 0, -50, 27, 0, 0, 32, 24}, {0, 0, 7, 5, 0, 0, 32, 24},
    {0, 0, 33, 25, 0, 0, 32, 24},   {0, 0, 79, 55, 0, 0, 32, 24},   {2, 3, 30, 20, 3, 2, 17, 11},
    {-5, -3, 40, 30, 0, 0, 32, 24}, {60, 40, 40, 30, 0, 0, 32, 24}, {0, 0, 64, 48, 0, 0, 32, 24},
    {0, 0, 16, 12, 0, 0, 32, 24},   {0, 0, 3, 2, 0, 0, 32, 24},     {0, 0, 32, 24, 5, 5, 1, 1},
    {0, 0, 11, 13, 0, 0, 32, 24},   {0, 0, 45, 17, 0, 0, 32, 24},   {0, 0, 31, 23, 0, 0, 32, 24},
    {0, 0, 77, 3, 30, 20, 2, 4},    {40, 30, -37, -29, 31, 2, -29, 21}, {-3, -2, 20, 15, 0, 0, 32, 24},
    {70, 50, 20, 15, 0, 0, 32, 24}, {1, 1, 9, 6, 4, 3, 25, 17},     {30, 20, -13, -9, 27, 20, -25, -17},
    {0, 0, 1, 1, 0, 0, 32, 24},
};

// Nearest-neighbour StretchBlt and StretchDIBits: the source values name
// their own column (and, in a second pass, their row), so the destination
// shows which source pixel each pixel sampled.
void StretchScene() {
    Info8 layout(0, 0);
    DistinctTable(layout.colours);
    Dib columns(32, 24, layout), rows(32, 24, layout);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x) {
            columns.bits[y * columns.stride + x] = static_cast<unsigned char>(x);
            rows.bits[y * rows.stride + x] = static_cast<unsigned char>(y);
        }
    Dib d(80, 56, layout);
    SetStretchBltMode(d.dc, COLORONCOLOR);
    Info8 bottomUp = layout;
    bottomUp.header.biWidth = 32;
    bottomUp.header.biHeight = 24;
    std::vector<unsigned char> flipped(32 * 24);
    char name[96];
    for (const Stretch& s : kStretches) {
        for (const Dib* source : {&columns, &rows}) {
            const char* which = source == &columns ? "columns" : "rows";
            d.fill(255);
            StretchBlt(d.dc, s.dx, s.dy, s.dw, s.dh, source->dc, s.sx, s.sy, s.sw, s.sh, SRCCOPY);
            std::snprintf(name, sizeof name, "stretchblt %s %d,%d,%d,%d <- %d,%d,%d,%d", which, s.dx, s.dy, s.dw, s.dh,
                          s.sx, s.sy, s.sw, s.sh);
            PrintBytes(name, d, 0, 0, 80, 56);
            // The same rows as a bottom-up DIB in memory.
            for (int y = 0; y < 24; ++y) std::memcpy(&flipped[(23 - y) * 32], source->bits + y * source->stride, 32);
            d.fill(255);
            StretchDIBits(d.dc, s.dx, s.dy, s.dw, s.dh, s.sx, s.sy, s.sw, s.sh, flipped.data(), bottomUp.info(),
                          DIB_RGB_COLORS, SRCCOPY);
            std::snprintf(name, sizeof name, "stretchdibits %s %d,%d,%d,%d <- %d,%d,%d,%d", which, s.dx, s.dy, s.dw,
                          s.dh, s.sx, s.sy, s.sw, s.sh);
            PrintBytes(name, d, 0, 0, 80, 56);
        }
    }
}

}  // namespace

int main() {
    ColourScene("display-table", DisplayTable, false);
    ColourScene("display-table-realised", DisplayTable, true);
    ColourScene("grey-table", GreyTable, false);
    PaletteIndexTableScene();
    LineDdaScene();
    LineToScene();
    StretchScene();
    return 0;
}
