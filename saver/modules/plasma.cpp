#include "saver/modules/plasma.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "saver/framework/sources.h"
#include "saver/images/image_effects.h"

PlasmaState Plasma;

namespace {

constexpr LONG Colours = 236;
constexpr LONG LastColour = Colours - 1;
constexpr LONG ColourTableRoom = 512;
constexpr float RandomScale = 3.0518509e-05f;  // 1 / 32767
constexpr LONG PreviewStep = 30;

LONG Width() { return Plasma.xMax + 1; }
LONG Height() { return Plasma.yMax + 1; }

BYTE& Pixel(LONG x, LONG y) { return Plasma.bits[y * Plasma.stride + x]; }

void FreeBuffers() {
    for (HGLOBAL* memory : {&Plasma.bufferMemory, &Plasma.infoMemory}) {
        if (*memory != nullptr) {
            GlobalUnlock(*memory);
            GlobalFree(*memory);
        }
        *memory = nullptr;
    }
    Plasma.bits = nullptr;
    Plasma.info = nullptr;
}

void DescribeBuffer() {
    BITMAPINFOHEADER& header = Plasma.info->bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = Width();
    header.biHeight = Height();
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biCompression = BI_RGB;
    header.biSizeImage = 0;
    header.biClrUsed = Colours;
    header.biClrImportant = 0;
    // Pixel value i shows entry i of the Canvas's palette.
    BYTE* table = reinterpret_cast<BYTE*>(Plasma.info) + sizeof(BITMAPINFOHEADER);
    for (WORD i = 0; i < Colours; ++i) std::memcpy(table + i * sizeof(WORD), &i, sizeof(WORD));
}

bool AllocateBuffers(const ModuleRecord* record) {
    if (record->width > 0 && record->height > 0) {
        Plasma.xMax = record->width - 1;
        Plasma.yMax = record->height - 1;
        Plasma.halfWidth = record->width >> 1;
        Plasma.halfHeight = record->height >> 1;
        Plasma.stride = DibStride(record->width);
        const SIZE_T rows = static_cast<SIZE_T>(record->height) + 3;
        Plasma.bufferMemory = GlobalAlloc(GHND, static_cast<SIZE_T>(Plasma.stride) * rows);
        Plasma.bits = static_cast<BYTE*>(GlobalLock(Plasma.bufferMemory));
        Plasma.infoMemory = GlobalAlloc(GPTR, sizeof(BITMAPINFOHEADER) + ColourTableRoom * sizeof(WORD));
        Plasma.info = static_cast<BITMAPINFO*>(GlobalLock(Plasma.infoMemory));
    }
    if (Plasma.bits == nullptr || Plasma.info == nullptr) {
        OutputDebugStringA("Could not allocate buffers");
        FreeBuffers();
        return false;
    }
    DescribeBuffer();
    return true;
}

void Push(LONG x0, LONG y0, LONG x1, LONG y1) {
    // Canvases are far below the sides the stack is sized for; a rectangle
    // that would not fit is left out rather than written past the stack.
    if (Plasma.stackCount < PlasmaStackCapacity) Plasma.stack[Plasma.stackCount++] = {x0, y0, x1, y1};
}

// Displaced values fold back to 5 and 231 instead of sticking to the ends
// of the palette.
void EdgeMidpoint(LONG xa, LONG ya, LONG xb, LONG yb, LONG x, LONG y) {
    BYTE& target = Pixel(x, y);
    if (target != 0) return;
    const float distance = static_cast<float>(LONGLONG{std::abs(ya - yb)} + std::abs(xa - xb));
    const float r = static_cast<float>(std::rand()) * RandomScale;
    const LONG mean = (Pixel(xa, ya) + Pixel(xb, yb)) >> 1;
    LONG v = TruncateToLong((r - 0.5f) * distance * Plasma.factor + static_cast<float>(mean));
    if (v < 0) v = 5;
    if (v > LastColour) v = 231;
    target = static_cast<BYTE>(v);
}

void Subdivide(const PlasmaRect& rect) {
    const auto [x0, y0, x1, y1] = rect;
    if (x1 - x0 < 2 && y1 - y0 < 2) return;
    // The mean of two coordinates without overflowing their sum.
    const LONG mx = x0 + ((x1 - x0) >> 1);
    const LONG my = y0 + ((y1 - y0) >> 1);
    EdgeMidpoint(x0, y0, x1, y0, mx, y0);
    EdgeMidpoint(x1, y0, x1, y1, x1, my);
    EdgeMidpoint(x0, y1, x1, y1, mx, y1);
    EdgeMidpoint(x0, y0, x0, y1, x0, my);
    Pixel(mx, my) = static_cast<BYTE>((Pixel(x0, y0) + Pixel(x1, y0) + Pixel(x0, y1) + Pixel(x1, y1)) >> 2);
    // The last pushed goes first: depth-first into the top-left quarter on
    // screen, which the previews show.
    Push(mx, y0, x1, my);
    Push(x0, y0, mx, my);
    Push(mx, my, x1, y1);
    Push(x0, my, mx, y1);
}

void Work() {
    for (int i = 0; i < PlasmaSubdivisionsPerStep && Plasma.stackCount > 0; ++i) {
        Subdivide(Plasma.stack[--Plasma.stackCount]);
    }
}

// The side of the finished square at the top left on screen, measured along
// its diagonal from the top-left pixel (buffer row yMax).
LONG Progress() {
    const LONG limit = std::min(Plasma.yMax, Plasma.xMax + 1);
    LONG k = 0;
    while (k < limit && Pixel(k, Plasma.yMax - k) != 0) ++k;
    return k;
}

void DrawBuffer(HDC dc, int x, int y, int width, int height, int xSource, int ySource, int widthSource,
                int heightSource) {
    StretchDIBits(dc, x, y, width, height, xSource, ySource, widthSource, heightSource, Plasma.bits, Plasma.info,
                  DIB_PAL_COLORS, SRCCOPY);
}

// The finished square stretched over the top-left quarter, mirrored into
// the other three.
void ShowPreview(HDC dc, LONG progress) {
    const LONG w = Plasma.halfWidth;
    const LONG h = Plasma.halfHeight;
    DrawBuffer(dc, 0, 0, w, h, 0, Height() - progress, progress, progress);
    StretchBlt(dc, Plasma.xMax, Plasma.yMax, -w, -h, dc, 0, 0, w, h, SRCCOPY);
    StretchBlt(dc, Plasma.xMax, 0, -w, h, dc, 0, 0, w, h, SRCCOPY);
    StretchBlt(dc, 0, Plasma.yMax, w, -h, dc, 0, 0, w, h, SRCCOPY);
}

void Show(HDC dc, LONG progress, DWORD now) {
    if (Plasma.stackCount == 0) {
        ApplyImageEffect(Plasma.bits, Plasma.xMax, Plasma.yMax, Plasma.stride, Plasma.effect);
        DrawBuffer(dc, 0, 0, Width(), Height(), 0, 0, Width(), Height());
        Plasma.finished = true;
    } else {
        if (progress > std::min(Plasma.xMax, Plasma.yMax) / 2 && std::rand() % 4 == 0) Plasma.finished = true;
        ShowPreview(dc, progress);
    }
    Plasma.shownProgress = progress;
    if (Plasma.finished) {
        Plasma.endTime = now + Plasma.imageDuration;
    } else {
        Plasma.nextUpdate = now + Plasma.updateInterval;
    }
}

// A held picture times out by a signed difference, so a hold that spans the
// tick count's wrap still ends after the Image Duration.
bool HoldOver(DWORD now) { return Plasma.finished && static_cast<LONG>(now - Plasma.endTime) > 0; }

}  // namespace

LONG PlasmaStart(ModuleRecord* record) {
    RandomizeControls(record);
    AdvanceControls(record);

    LONG roughness = ControlValue(record, PlasmaRoughnessSlot);
    if (roughness == 100) roughness = std::rand() % 60 + 20;
    Plasma.factor = static_cast<float>(roughness * 0.05);
    Plasma.updateInterval = static_cast<DWORD>(ControlValue(record, PlasmaUpdateIntervalSlot)) * 1000u;
    Plasma.effect = ControlValue(record, PlasmaEffectSlot);
    Plasma.imageDuration = static_cast<DWORD>(ControlValue(record, PlasmaDurationSlot)) * 1000u;

    if (Plasma.bits == nullptr && !AllocateBuffers(record)) return 0;

    SetStretchBltMode(record->dc, COLORONCOLOR);
    Plasma.stackCount = 0;
    Push(0, 0, Plasma.xMax, Plasma.yMax);
    std::memset(Plasma.bits, 0, static_cast<SIZE_T>(Height()) * static_cast<SIZE_T>(Plasma.stride));
    // A corner that draws 0 counts as not computed and may be filled by an
    // edge later.
    const LONG right = Plasma.xMax;
    const LONG top = Plasma.yMax;
    for (const POINT corner : {POINT{0, 0}, POINT{0, top}, POINT{right, 0}, POINT{right, top}}) {
        Pixel(corner.x, corner.y) = static_cast<BYTE>(std::rand() % Colours);
    }
    Plasma.endTime = PlasmaNever;
    return 0;
}

LONG PlasmaStep(ModuleRecord* record) {
    const DWORD now = GetTickCount();
    // Without buffers every step tries again to start a cloud.
    if (Plasma.bits == nullptr || HoldOver(now)) {
        Plasma.finished = false;
        Plasma.shownProgress = PlasmaFirstProgress;
        Plasma.endTime = PlasmaNever;
        PlasmaStart(record);
        if (Plasma.bits == nullptr) return StepIdle;
    }
    if (Plasma.finished) return StepIdle;

    const LONG progress = Progress();
    const bool complete = Plasma.stackCount == 0;
    // The update time is compared plainly: 0, as after ModuleFree, is due at
    // once.
    if ((progress > Plasma.shownProgress + PreviewStep || complete) && now > Plasma.nextUpdate) {
        Show(record->dc, progress, now);
        if (Plasma.finished) return 0;
    } else if (complete) {
        return StepIdle;
    }
    Work();
    return 0;
}

LONG PlasmaFree(ModuleRecord*) {
    FreeBuffers();
    Plasma.shownProgress = PlasmaFirstProgress;
    Plasma.nextUpdate = 0;
    Plasma.finished = false;
    return 0;
}
