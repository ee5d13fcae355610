#include "saver/modules/effect.h"

#include <cstdlib>

#include "saver/framework/sources.h"
#include "saver/modules/ring_sprite.h"

EffectState Effect;

namespace {

constexpr int FoldDepths = 6;
constexpr LONG BlobCountModulus = 20;
constexpr LONG BlobSizeModulus = 30;
constexpr int BlobTypes = 30;
constexpr int BlobTypeForKind[] = {1, 9, 17, 25};

LONG PictureWidth() { return Effect.w1 + 1; }
LONG PictureHeight() { return Effect.h1 + 1; }

// rand() % n, except that a range of no values (a picture one pixel wide or
// high) gives 0 instead of dividing by zero.  The number is drawn either
// way, so the sequence of draws does not depend on the picture's size.
LONG RandomBelow(LONG n) {
    const LONG r = std::rand();
    return n > 0 ? r % n : 0;
}

// Each frame is inverted once; the nested frames leave concentric bands of
// inverted and restored colour indices.
void InvertFrames(HDC dc, LONG x, LONG y, LONG w, LONG h, LONG dx, LONG dy) {
    while (w > 0 && h >= 1) {
        PatBlt(dc, x, y, w, h, DSTINVERT);
        x += dx;
        y += dy;
        w -= 2 * dx;
        h -= 2 * dy;
    }
}

void XorEllipses(HDC dc, LONG x, LONG y, LONG w, LONG h, LONG dx, LONG dy) {
    const int previousRop = SetROP2(dc, R2_NOT);
    HPEN pen = CreatePen(PS_SOLID, (dx + dy) / 3, RGB(255, 255, 255));
    HGDIOBJ previousPen = SelectObject(dc, pen);
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    LONG left = x, top = y, right = x + w, bottom = y + h;
    while (left < right && top < bottom) {
        Ellipse(dc, left, top, right, bottom);
        left += dx;
        right -= dx;
        top += dy;
        bottom -= dy;
    }
    SelectObject(dc, previousPen);
    SelectObject(dc, previousBrush);
    SetROP2(dc, previousRop);
    DeleteObject(pen);
}

using QuarterProc = void (*)(HDC, LONG, LONG, LONG, LONG, LONG, LONG);

void InQuadrants(HDC dc, QuarterProc draw, LONG dx, LONG dy) {
    const LONG w2 = Effect.w2, h2 = Effect.h2;
    draw(dc, 0, 0, w2, h2, dx, dy);
    draw(dc, w2, h2, w2, h2, dx, dy);
    draw(dc, w2, 0, w2, h2, dx, dy);
    draw(dc, 0, h2, w2, h2, dx, dy);
}

// At depth d the picture becomes 2^d x 2^d mirrored copies of its top-left
// corner.  With a patch, the innermost corner is first replaced by a
// randomly placed, slightly rescaled piece of the picture.
void MirrorFold(HDC dc, LONG w, LONG h, int depth, bool patch) {
    const LONG hw = w / 2;
    const LONG hh = h / 2;
    if (depth > 1) {
        MirrorFold(dc, hw, hh, depth - 1, patch);
    }
    if (patch && depth == 1) {
        LONG dx = RandomBelow(hw / 2 + 1);
        if (std::rand() & 1) dx = -dx;
        LONG dy = RandomBelow(hh / 2 + 1);
        if (std::rand() & 1) dy = -dy;
        const LONG sw = hw + dx;
        const LONG sh = hh + dy;
        const LONG sy = RandomBelow(PictureHeight() - sh);
        const LONG sx = RandomBelow(PictureWidth() - sw);
        StretchBlt(dc, 0, 0, hw + 1, hh + 1, dc, sx, sy, sw, sh, SRCCOPY);
    }
    StretchBlt(dc, w, 0, -(hw + 1), hh + 1, dc, 0, 0, hw, hh, SRCCOPY);
    StretchBlt(dc, 0, h, w + 1, -(hh + 1), dc, 0, 0, w, hh, SRCCOPY);
}

// Every other column band and every other row band are inverted; the flag
// runs on from the columns into the rows, so the crossings come back.
void Stripes(HDC dc, LONG xs, LONG ys) {
    const LONG width = PictureWidth(), height = PictureHeight();
    bool flag = false;
    for (LONG x = 0; x < width - xs; x += xs) {
        flag = !flag;
        if (flag) PatBlt(dc, x, 0, xs, height, DSTINVERT);
    }
    if (height - ys < 1) {
        return;
    }
    for (LONG y = 0; y < height - ys; y += ys) {
        flag = !flag;
        if (flag) PatBlt(dc, 0, y, width, ys, DSTINVERT);
    }
}

// Ring sprites in the palette entries nearest to the colours found where
// they land.  The Canvas draws through the palette engine's palette, so
// that is the palette selected in its DC.
void SampleBlobs(HDC dc, LONG xs, LONG ys, int type) {
    const LONG count = xs % BlobCountModulus;
    const LONG size = ys % BlobSizeModulus;
    HPALETTE palette = static_cast<HPALETTE>(GetCurrentObject(dc, OBJ_PAL));
    for (LONG i = 0; i < count; ++i) {
        const LONG x = RandomBelow(Effect.w1);
        const LONG y = RandomBelow(Effect.h1);
        const UINT index = GetNearestPaletteIndex(palette, GetPixel(dc, x, y));
        DrawRingSprite(dc, x, y, index, size, type);
    }
}

}  // namespace

void DoEffect(HDC dc) {
    const LONG xs = Effect.xStrength + (std::rand() & 7);
    const LONG ys = Effect.yStrength + (std::rand() & 7);
    const LONG hx = xs / 2;
    const LONG hy = ys / 2;
    const LONG w1 = Effect.w1, h1 = Effect.h1;
    LONG kind = Effect.kind;
    if (kind == EffectRandomFold) {
        kind = std::rand() % FoldDepths + EffectFirstFold;
    } else if (kind == EffectRandomPatchedFold) {
        kind = std::rand() % FoldDepths + EffectFirstPatchedFold;
    }
    switch (kind) {
    case EffectInvertFrames:
        InvertFrames(dc, 0, 0, w1, h1, xs, ys);
        break;
    case EffectXorEllipses:
        XorEllipses(dc, 0, 0, w1, h1, xs, ys);
        break;
    case EffectInvertFramesTwice:
        InvertFrames(dc, 0, 0, w1, h1, xs, ys);
        InvertFrames(dc, 0, 0, w1, h1, ys, xs);
        break;
    case EffectXorEllipsesTwice:
        XorEllipses(dc, 0, 0, w1, h1, xs, ys);
        XorEllipses(dc, 0, 0, w1, h1, ys, xs);
        break;
    case EffectInvertQuadrants:
        InQuadrants(dc, InvertFrames, hx, hy);
        break;
    case EffectXorQuadrants:
        InQuadrants(dc, XorEllipses, hx, hy);
        break;
    case EffectStripes:
        Stripes(dc, xs, ys);
        break;
    case EffectRandomBlobs:
        SampleBlobs(dc, xs, ys, std::rand() % BlobTypes);
        break;
    default:
        if (kind >= EffectFirstFold && kind < EffectFirstPatchedFold) {
            MirrorFold(dc, PictureWidth(), PictureHeight(), static_cast<int>(kind - EffectFirstFold + 1), false);
        } else if (kind >= EffectFirstPatchedFold && kind < EffectStripes) {
            MirrorFold(dc, PictureWidth(), PictureHeight(), static_cast<int>(kind - EffectFirstPatchedFold + 1), true);
        } else if (kind >= EffectFirstBlobs && kind < EffectRandomBlobs) {
            SampleBlobs(dc, xs, ys, BlobTypeForKind[kind - EffectFirstBlobs]);
        }
        break;
    }
}

LONG EffectInit(ModuleRecord* record) {
    Effect.w1 = record->width - 1;
    Effect.h1 = record->height - 1;
    Effect.w2 = record->width / 2;
    Effect.h2 = record->height / 2;
    return 0;
}

LONG EffectStart(ModuleRecord* record) {
    RandomizeControls(record);
    AdvanceControls(record);
    Effect.kind = ControlValue(record, EffectKindSlot);
    Effect.xStrength = ControlValue(record, EffectXStrengthSlot);
    Effect.yStrength = ControlValue(record, EffectYStrengthSlot);
    Effect.intervalMs = static_cast<DWORD>(ControlValue(record, EffectIntervalSlot)) * 1000u;
    Effect.dueTime = GetTickCount() + Effect.intervalMs;
    SetStretchBltMode(record->dc, COLORONCOLOR);
    return 0;
}

LONG EffectStep(ModuleRecord* record) {
    // A signed difference, so a due time past the tick count's wrap is
    // still in the future.
    if (static_cast<LONG>(GetTickCount() - Effect.dueTime) < 0) {
        return 0;
    }
    DoEffect(record->dc);
    EffectStart(record);
    return 0;
}
