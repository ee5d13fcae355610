#include "saver/modules/pattern.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "saver/framework/sine_table.h"
#include "saver/framework/sources.h"
#include "saver/modules/draw_helpers.h"
#include "saver/palette/palette_settings.h"
#include "saver/palette/waves.h"

PatternState Pattern;

namespace {

constexpr float RandScale = 3.0518509e-05f;    // 1 / 32767
constexpr float SineScale = 3.051944e-05f;     // 1 / 32766
constexpr LONG WaveMask = WaveTableSize - 1;  // 2047
constexpr int RingsPerStep = 3;
constexpr DWORD LineColourRoom = 512;

float RandomFraction() { return static_cast<float>(std::rand()) * RandScale; }

// ---------------------------------------------------------------------------
// Reading the tables
// ---------------------------------------------------------------------------

LONG Wave(LONG k) { return Pattern.wave[k & WaveMask]; }

// P(a, b) and A(a, b): a column profile entry plus a row profile entry.
LONG Sum(LONG a, LONG b) { return Pattern.columnProfile[a] + Pattern.rowProfile[b]; }
LONG Magnitude(LONG a, LONG b) { return std::abs(Sum(a, b)); }

LONG FlipX(LONG x) { return Pattern.xMax - x; }
LONG FlipY(LONG y) { return Pattern.yMax - y; }

// D(j): wave j of each axis read straight at the coordinates.
LONG Detail(LONG x, LONG y, int j) {
    const auto kx = static_cast<LONG>(static_cast<float>(x) / Pattern.xLength[j]);
    const auto ky = static_cast<LONG>(static_cast<float>(y) / Pattern.yLength[j]);
    return std::abs(Wave(kx) + Wave(ky));
}

LONG DetailMean(LONG x, LONG y) {
    LONG sum = 0;
    for (int j = 0; j < Pattern.waves; ++j) sum += Detail(x, y, j);
    return sum / Pattern.waves;
}

// Q(v): v itself or one of the three mirror images, chosen by the band v / B
// falls in.
LONG Quadrant(LONG v, LONG x, LONG y) {
    const BYTE s = Pattern.shift;
    switch ((v / Pattern.band) % 4) {
    case 0:
        return v >> s;
    case 1:
        return Magnitude(FlipX(x), FlipY(y)) >> s;
    case 2:
        return Magnitude(x, FlipY(y)) >> s;
    default:
        return Magnitude(FlipX(x), y) >> s;
    }
}

// A coordinate multiple taken modulo the canvas side; a one-pixel side has
// only coordinate 0.
LONG Around(LONG v, LONG side) { return side > 0 ? v % side : 0; }

LONG ScaledMod(LONG v, float factor) {
    return static_cast<LONG>(static_cast<float>(v) * factor) % PatternColours;
}

bool Odd(LONG x, LONG y) { return ((x ^ y) & 1) != 0; }

// ---------------------------------------------------------------------------
// Turbulence
// ---------------------------------------------------------------------------

// A 32-bit sum of squares; it could only wrap on canvases far beyond
// PatternLargestSide, and would then wrap as two's complement does.
LONG SquaredDistance(LONG x, LONG y) {
    const auto dx = static_cast<DWORD>(x - (Pattern.xMax >> 1));
    const auto dy = static_cast<DWORD>(y - (Pattern.yMax >> 1));
    return static_cast<LONG>(dy * dy + dx * dx);
}

// trunc(v) AND 2047 on the two's-complement integer, for every float: beyond
// 2^62 every float is a multiple of 2048, and a value that is no number (a
// zero turbulence scale) reads sample 0.
LONG SineIndex(float v) {
    if (!(std::fabs(v) < 4.6e18f)) return 0;
    return static_cast<LONG>(static_cast<long long>(v) & WaveMask);
}

float SineFactor(float v) { return static_cast<float>(SineTable[SineIndex(v)]) * SineScale; }

void Displace(LONG& x, LONG& y, float f) {
    y = std::abs(static_cast<LONG>(static_cast<float>(y) * f));
    x = std::abs(static_cast<LONG>(static_cast<float>(x) * f));
}

// |trunc(v)| mod side, exact for every finite v however large; a value that
// is no number or infinite (a zero turbulence scale) gives 0.
LONG WrapCoordinate(float v, LONG side) {
    if (!std::isfinite(v)) return 0;
    const double t = std::fabs(std::trunc(static_cast<double>(v)));
    if (t < 2147483648.0) return static_cast<LONG>(static_cast<long long>(t) % side);
    return static_cast<LONG>(std::fmod(t, static_cast<double>(side)));
}

float Scaled(LONG v) { return static_cast<float>(v) / Pattern.turbulenceScale * 2048.0f; }

void RadialTurbulence(ModuleRecord*, LONG& x, LONG& y) {
    Displace(x, y, SineFactor(Scaled(SquaredDistance(x, y))));
}

void ProfileTurbulence(ModuleRecord*, LONG& x, LONG& y) {
    Displace(x, y, SineFactor(Scaled(Pattern.rowProfile[y] + Pattern.columnProfile[x])));
}

void SplitProfileTurbulence(ModuleRecord*, LONG& x, LONG& y) {
    const float f = SineFactor(Scaled(Pattern.rowProfile[y])) + SineFactor(Scaled(Pattern.columnProfile[x]));
    Displace(x, y, f);
}

void StretchTurbulence(ModuleRecord*, LONG& x, LONG& y) {
    const float f = static_cast<float>(SquaredDistance(x, y)) / Pattern.turbulenceScale;
    const float fy = static_cast<float>(y) * f;
    const float fx = static_cast<float>(x) * f;
    y = WrapCoordinate(fy, Pattern.yMax + 1);
    x = WrapCoordinate(fx, Pattern.xMax + 1);
}

void DoubleProfileTurbulence(ModuleRecord* record, LONG& x, LONG& y) {
    ProfileTurbulence(record, x, y);
    ProfileTurbulence(record, x, y);
}

void Turbulate(ModuleRecord* record, LONG& x, LONG& y) {
    if (Pattern.turbulent) TurbulenceFunctions[Pattern.turbulenceType](record, x, y);
}

// ---------------------------------------------------------------------------
// Pattern types
// ---------------------------------------------------------------------------

LONG Type0(ModuleRecord* record, LONG x, LONG y) {
    Turbulate(record, x, y);
    return Sum(x, y) >> Pattern.shift;
}

LONG Type1(ModuleRecord* record, LONG x, LONG y) {
    Turbulate(record, x, y);
    return Quadrant(Sum(x, y), x, y);
}

LONG Type2(ModuleRecord* record, LONG x, LONG y) {
    const LONG a = ScaledMod(y, Pattern.yFactor);
    Turbulate(record, x, y);
    return ((Sum(x, y) >> Pattern.shift) % 32) + (ScaledMod(x, Pattern.xFactor) ^ a) / Pattern.divisor;
}

LONG Type3(ModuleRecord* record, LONG x, LONG y) {
    Turbulate(record, x, y);
    return Magnitude(x, y) >> Pattern.shift;
}

LONG Type4(ModuleRecord* record, LONG x, LONG y) {
    Turbulate(record, x, y);
    return Quadrant(Magnitude(x, y), x, y);
}

LONG Type5(ModuleRecord* record, LONG x, LONG y) {
    const LONG a = ScaledMod(y, Pattern.yFactor);
    Turbulate(record, x, y);
    return (ScaledMod(x, Pattern.xFactor) ^ a) / Pattern.divisor + ((Magnitude(x, y) >> Pattern.shift) % 32);
}

LONG Type6(ModuleRecord* record, LONG x, LONG y) {
    Turbulate(record, x, y);
    return DetailMean(x, y) >> Pattern.shift;
}

LONG Type7(ModuleRecord* record, LONG x, LONG y) {
    Turbulate(record, x, y);
    return Quadrant(DetailMean(x, y), x, y);
}

LONG Type8(ModuleRecord* record, LONG x, LONG y) {
    Turbulate(record, x, y);
    const LONG u = DetailMean(x, y);
    const BYTE s = Pattern.shift;
    switch ((u / Pattern.band) % 3) {
    case 0:
        return u >> s;
    case 1:
        return Magnitude(FlipX(x), FlipY(y)) >> s;
    default:
        return Magnitude(Around(2 * x, Pattern.xMax), Around(2 * y, Pattern.yMax)) >> s;
    }
}

LONG Type9(ModuleRecord* record, LONG x, LONG y) {
    Turbulate(record, x, y);
    const BYTE s = Pattern.shift;
    switch ((x + y) % 4) {
    case 0:
        return Sum(x, y) >> s;
    case 1:
        return Sum(FlipX(x), FlipY(y)) >> s;
    case 2:
        return Sum(x, FlipY(y)) >> s;
    default:
        return Sum(FlipX(x), y) >> s;
    }
}

LONG Type10(ModuleRecord* record, LONG x, LONG y) {
    const bool odd = Odd(x, y);
    Turbulate(record, x, y);
    return (odd ? Magnitude(x, y) : Magnitude(FlipX(x), FlipY(y))) >> Pattern.shift;
}

LONG Type11(ModuleRecord* record, LONG x, LONG y) {
    Turbulate(record, x, y);
    return (Magnitude(x, y) & Magnitude(FlipX(x), FlipY(y))) >> Pattern.shift;
}

LONG Type12(ModuleRecord* record, LONG x, LONG y) {
    Turbulate(record, x, y);
    const BYTE s = Pattern.shift;
    return (Magnitude(x, y) >> s) + ((Magnitude(FlipX(x), FlipY(y)) >> s) % 16);
}

LONG Type13(ModuleRecord* record, LONG x, LONG y) {
    Turbulate(record, x, y);
    return (Magnitude(x, y) + Magnitude(FlipX(x), FlipY(y))) >> (Pattern.shift + 1);
}

LONG Type14(ModuleRecord* record, LONG x, LONG y) {
    Turbulate(record, x, y);
    const LONG t = Sum(x, y) >> (Pattern.shift + 6);
    return Magnitude(Around(100 * t + x, Pattern.xMax), Around(100 * t + y, Pattern.yMax)) >> Pattern.shift;
}

LONG Type15(ModuleRecord* record, LONG x, LONG y) {
    const LONG u = Odd(x, y) ? Magnitude(x, y) : Magnitude(FlipX(x), FlipY(y));
    Turbulate(record, x, y);
    return Quadrant(u, x, y);
}

LONG Type16(ModuleRecord* record, LONG x, LONG y) {
    const int j = Odd(x, y) ? 0 : 1;
    Turbulate(record, x, y);
    return Detail(x, y, j) >> (Pattern.shift + 1);
}

LONG Type17(ModuleRecord* record, LONG x, LONG y) {
    const LONG a = ScaledMod(y, Pattern.yFactor);
    const bool odd = Odd(x, y);
    Turbulate(record, x, y);
    return odd ? Sum(x, y) >> Pattern.shift : ScaledMod(x, Pattern.xFactor) ^ a;
}

LONG Type18(ModuleRecord* record, LONG x, LONG y) {
    const bool odd = Odd(x, y);
    Turbulate(record, x, y);
    return odd ? Magnitude(x, y) >> 7 : Magnitude(FlipX(x), FlipY(y)) >> 5;
}

LONG Type19(ModuleRecord* record, LONG x, LONG y) {
    const bool odd = Odd(x, y);
    Turbulate(record, x, y);
    const BYTE s = Pattern.shift;
    if (odd) {
        // The column profile at the row number: see columnProfile.
        const LONG cross = std::abs(Pattern.columnProfile[y] + Pattern.rowProfile[FlipY(y)]);
        return (Magnitude(x, y) >> s) + ((Magnitude(FlipX(x), FlipY(y)) >> s) % 8) + ((cross >> s) % 8);
    }
    return (Magnitude(FlipX(x), FlipY(y)) >> s) + ((Magnitude(FlipX(x), y) >> s) % 8) +
           ((Magnitude(x, y) >> s) % 8);
}

LONG Type20(ModuleRecord* record, LONG x, LONG y) {
    if (Odd(x, y)) Turbulate(record, x, y);
    return Detail(x, y, 0) >> (Pattern.shift + 1);
}

// ---------------------------------------------------------------------------
// Buffers
// ---------------------------------------------------------------------------

template <typename T>
T* Allocate(HGLOBAL& memory, SIZE_T bytes) {
    memory = GlobalAlloc(GHND, bytes);
    return static_cast<T*>(GlobalLock(memory));
}

template <typename T>
void Release(HGLOBAL& memory, T*& pointer) {
    if (memory != nullptr) {
        GlobalUnlock(memory);
        GlobalFree(memory);
    }
    memory = nullptr;
    pointer = nullptr;
}

bool Ready() {
    return Pattern.columnProfile != nullptr && Pattern.rowProfile != nullptr && Pattern.line != nullptr &&
           Pattern.lineInfo != nullptr && Pattern.wave != nullptr;
}

bool CanvasFits(const ModuleRecord* record) {
    return record->width >= 0 && record->width <= PatternLargestSide && record->height >= 0 &&
           record->height <= PatternLargestSide;
}

void DescribeLine() {
    BITMAPINFOHEADER& h = Pattern.lineInfo->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = Pattern.xMax + 1;
    h.biHeight = 1;
    h.biPlanes = 1;
    h.biBitCount = 8;
    h.biCompression = BI_RGB;
    h.biSizeImage = 0;
    h.biClrUsed = PatternColours;
    h.biClrImportant = 0;
    auto* indices = reinterpret_cast<WORD*>(reinterpret_cast<BYTE*>(Pattern.lineInfo) + sizeof(BITMAPINFOHEADER));
    for (LONG i = 0; i < PatternColours; ++i) indices[i] = static_cast<WORD>(i);
}

// ---------------------------------------------------------------------------
// Picture set-up
// ---------------------------------------------------------------------------

float FillWaveTable(LONG waveType) {
    if (waveType == 0 || waveType > 6) waveType = std::rand() % 6 + 1;
    float base = 0.02f;
    switch (waveType) {
    case 1:
    case 4:
        FillTriangleWave(Pattern.wave, TrianglePeriodStep);
        break;
    case 2:
    case 5:
        FillSineWave(Pattern.wave);
        break;
    default:
        FillNoisyWave(Pattern.wave);
        base = 0.2f;
        break;
    }
    if (waveType >= 4) {
        RoughenWave(Pattern.wave);
        base += 0.2f;
    }
    return base;
}

void ChooseWavelengths(ModuleRecord* record, float base) {
    auto density = [record] { return static_cast<float>(ControlValue(record, PatternDensitySlot)); };
    for (int i = 0; i < PatternWavelengths; ++i) {
        // Drawn afresh for every wave, so a random Pattern Density varies.
        RandomizeControls(record);
        const float r = RandomFraction();
        Pattern.xLength[i] = r * 0.1f + density() * 0.01f + base;
        RandomizeControls(record);
        const float q = RandomFraction();
        Pattern.yLength[i] = q * 0.8f + density() * 0.01f * 0.8f + base;
    }
}

// Pattern types 3 to 8 read the waves signed; the others read magnitudes, so
// their profiles are never negative.
bool SignedProfiles() { return Pattern.type >= 3 && Pattern.type <= 8; }

void FillProfile(LONG* profile, LONG last, LONG offset, const float* lengths) {
    const bool signedWaves = SignedProfiles();
    for (LONG i = 0; i <= last; ++i) {
        const float position = static_cast<float>(i + offset);
        LONG sum = 0;
        for (int n = 0; n < Pattern.waves; ++n) {
            const LONG w = Wave(static_cast<LONG>(position / lengths[n]));
            sum += signedWaves ? w : std::abs(w);
        }
        profile[i] = sum / Pattern.waves;
    }
}

// ---------------------------------------------------------------------------
// Painting
// ---------------------------------------------------------------------------

BYTE IndexAt(ModuleRecord* record, LONG x, LONG y) {
    return static_cast<BYTE>(static_cast<DWORD>(Pattern.function(record, x, y)) % PatternColours);
}

// The line holds palette indices at their canvas columns.
void PutRow(HDC dc, LONG left, LONG y, LONG width) {
    Pattern.lineInfo->bmiHeader.biWidth = Pattern.xMax + 1;
    Pattern.lineInfo->bmiHeader.biHeight = 1;
    SetDIBitsToDevice(dc, left, y, static_cast<DWORD>(width), 1, left, 0, 0, 1, Pattern.line, Pattern.lineInfo,
                      DIB_PAL_COLORS);
}

// The line holds a bottom-up column, one 4-byte DIB row per pixel: entry j
// lands at top + height - 1 - j.
void PutColumn(HDC dc, LONG x, LONG top, LONG height) {
    Pattern.lineInfo->bmiHeader.biWidth = 1;
    Pattern.lineInfo->bmiHeader.biHeight = Pattern.yMax + 1;
    SetDIBitsToDevice(dc, x, top, 1, static_cast<DWORD>(height), 0, 0, 0, static_cast<UINT>(height), Pattern.line,
                      Pattern.lineInfo, DIB_PAL_COLORS);
}

void PaintRow(ModuleRecord* record, const RECT& r, LONG from, LONG to) {
    for (LONG x = r.left; x <= r.right; ++x) Pattern.line[x] = IndexAt(record, x, from);
    PutRow(record->dc, r.left, to, r.right - r.left + 1);
}

void PaintColumn(ModuleRecord* record, const RECT& r, LONG x) {
    for (LONG j = 0; j <= r.bottom - r.top; ++j) Pattern.line[4 * j] = IndexAt(record, x, r.top + j);
    PutColumn(record->dc, x, r.top, r.bottom - r.top + 1);
}

// Every row lands at the mirrored row, so the tile shows the pattern upside
// down (all rings share the same top + bottom).
void PaintPlainRing(ModuleRecord* record, const RECT& r) {
    PaintRow(record, r, r.top, r.bottom);
    PaintRow(record, r, r.bottom, r.top);
    PaintColumn(record, r, r.left);
    PaintColumn(record, r, r.right);
}

// Back and forth through samples 0..period: s[k], then s[period - k].
BYTE Folded(const BYTE* samples, LONG i, LONG period) {
    const LONG k = i % period;
    return (i / period) % 2 == 0 ? samples[k] : samples[period - k];
}

void PaintFoldedRing(ModuleRecord* record, const RECT& r, LONG fold) {
    const LONG w = r.right - r.left + 1;
    const LONG h = r.bottom - r.top + 1;
    const LONG a = (r.right - r.left) / fold + 1;
    const LONG b = (r.bottom - r.top) / fold + 1;
    const LONG m = std::max(a, b);
    HGLOBAL memory = nullptr;
    BYTE* samples = Allocate<BYTE>(memory, static_cast<SIZE_T>(m) + 10);
    if (samples == nullptr) {
        Release(memory, samples);
        return;
    }
    LONG n = 0;
    for (LONG x = r.left; x < r.right && n <= m; ++x) samples[n++] = IndexAt(record, x, r.top);
    for (LONG y = r.top; y < r.bottom && n <= m; ++y) samples[n++] = IndexAt(record, r.right, y);

    HDC dc = record->dc;
    for (LONG i = 0; i < w; ++i) Pattern.line[r.left + i] = Folded(samples, i, a);
    PutRow(dc, r.left, r.bottom, w);
    BitBlt(dc, r.left, r.top, w, 1, dc, r.left, r.bottom, SRCCOPY);
    for (LONG j = 0; j < h; ++j) Pattern.line[4 * j] = Folded(samples, j, b);
    PutColumn(dc, r.left, r.top, h);
    BitBlt(dc, r.right, r.top, 1, h, dc, r.left, r.top, SRCCOPY);
    Release(memory, samples);
}

void Shrink(RECT& r, LONG by) {
    r.left += by;
    r.top += by;
    r.right -= by;
    r.bottom -= by;
}

}  // namespace

const PatternFunction PatternFunctions[PatternTypeCount] = {
    Type0,  Type1,  Type2,  Type3,  Type4,  Type5,  Type6,  Type7,  Type8,  Type9,  Type10,
    Type11, Type12, Type13, Type14, Type15, Type16, Type17, Type18, Type19, Type20,
};

const TurbulenceFunction TurbulenceFunctions[TurbulenceTypeCount] = {
    RadialTurbulence, ProfileTurbulence, SplitProfileTurbulence, StretchTurbulence, DoubleProfileTurbulence,
};

LONG PatternInit(ModuleRecord* record) {
    PatternFree(record);
    if (CanvasFits(record)) {
        Pattern.xMax = record->width - 1;
        Pattern.yMax = record->height - 1;
        const auto longest = static_cast<SIZE_T>(std::max(Pattern.xMax, Pattern.yMax) + 2);
        Pattern.columnProfile = Allocate<LONG>(Pattern.columnMemory, longest * sizeof(LONG));
        const auto rows = static_cast<SIZE_T>(Pattern.yMax + 2);
        Pattern.rowProfile = Allocate<LONG>(Pattern.rowMemory, rows * sizeof(LONG));
        Pattern.line = Allocate<BYTE>(Pattern.lineMemory, longest * 4);
        Pattern.lineInfo =
            Allocate<BITMAPINFO>(Pattern.infoMemory, sizeof(BITMAPINFOHEADER) + LineColourRoom * sizeof(RGBQUAD));
        Pattern.wave = Allocate<LONG>(Pattern.waveMemory, WaveTableSize * sizeof(LONG));
    }
    if (!Ready()) {
        PatternFree(record);
        OutputDebugStringA("Could not allocate buffers");
        return 0;
    }
    DescribeLine();
    Pattern.nextFrame = GetTickCount();
    return 0;
}

LONG PatternStart(ModuleRecord* record) {
    if (!Ready()) return 0;
    RandomizeControls(record);
    AdvanceControls(record);

    Pattern.waves = ControlValue(record, PatternWavesSlot);
    float turbulence = static_cast<float>(ControlValue(record, PatternTurbulenceSlot)) * 0.01f;
    LONG type = ControlValue(record, PatternTypeSlot);
    Pattern.durationMs = static_cast<DWORD>(ControlValue(record, PatternDurationSlot)) * 1000u;
    Pattern.turbulenceType = ControlValue(record, PatternTurbulenceTypeSlot);
    const LONG waveType = ControlValue(record, PatternWaveTypeSlot);
    Pattern.foldWidth = 2 * ControlValue(record, PatternFoldingSlot);
    Pattern.xTiles = ControlValue(record, PatternXTilesSlot);
    Pattern.yTiles = ControlValue(record, PatternYTilesSlot);
    Pattern.tileType = ControlValue(record, PatternTileTypeSlot);

    if (type >= PatternTypeCount) {
        Pattern.waves = std::rand() % Pattern.waves + 1;
        type = std::rand() % PatternTypeCount;
    }
    Pattern.type = type;
    Pattern.function = PatternFunctions[type];

    Pattern.ring = {0, 0, Pattern.xMax, Pattern.yMax};
    SetStretchBltMode(record->dc, COLORONCOLOR);

    Pattern.xOffset = std::rand() % PatternColours;
    Pattern.yOffset = std::rand() % PatternColours;
    Pattern.xFactor = RandomFraction() + 0.05f;
    Pattern.yFactor = RandomFraction() + 0.05f;

    // 100 asks for chance: turbulence one time in three, at a random scale.
    Pattern.turbulent = turbulence > 0.009f;
    if (turbulence > 0.99f) {
        Pattern.turbulent = std::rand() % 3 == 0;
        turbulence = RandomFraction();
    }
    if (Pattern.turbulenceType >= TurbulenceTypeCount) Pattern.turbulenceType = std::rand() % TurbulenceTypeCount;
    static constexpr float TurbulenceReach[TurbulenceTypeCount] = {1100000.125f, 30000.0f, 50000.0f, 1100000.0f,
                                                                   30000.0f};
    Pattern.turbulenceScale = (1.0f - turbulence) * TurbulenceReach[Pattern.turbulenceType];

    Pattern.band = std::rand() % 12000 + 1 + 2048;
    Pattern.divisor = std::rand() % 12 + 1;
    Pattern.shift = static_cast<BYTE>(6 + std::rand() % 2);

    const float base = FillWaveTable(waveType);
    ChooseWavelengths(record, base);
    FillProfile(Pattern.rowProfile, Pattern.yMax, Pattern.yOffset, Pattern.yLength);
    FillProfile(Pattern.columnProfile, std::max(Pattern.xMax, Pattern.yMax), Pattern.xOffset, Pattern.xLength);
    return 0;
}

LONG PatternStep(ModuleRecord* record) {
    // Without buffers, or before a start, there is nothing to draw.
    if (!Ready() || Pattern.function == nullptr) return StepIdle;
    // A signed difference, so the hold survives the tick count wrapping.
    if (static_cast<LONG>(GetTickCount() - Pattern.nextFrame) < 0) return StepIdle;

    ReadLiveControl(record, PatternXTilesSlot, Pattern.xTiles);
    ReadLiveControl(record, PatternYTilesSlot, Pattern.yTiles);
    ReadLiveControl(record, PatternFoldingSlot, Pattern.foldWidth);

    const LONG columns = Pattern.xTiles;
    const LONG rows = Pattern.yTiles;
    const LONG tileWidth = record->width / columns;
    const LONG tileHeight = record->height / rows;
    const RECT& ring = Pattern.ring;
    RECT r{ring.left / columns, ring.top / rows, ring.right / columns, ring.bottom / rows};
    RECT d = r;

    if (!TileVisible(0, 0, Pattern.tileType)) {
        if (columns > 1) {
            r.left += tileWidth;
            r.right += tileWidth;
        } else if (rows < 2) {
            r.left = r.right + 1;
        } else {
            r.top += tileHeight;
            r.bottom += tileHeight;
        }
    }

    Pattern.ring.left += RingsPerStep * columns;
    Pattern.ring.top += RingsPerStep * rows;
    Pattern.ring.right -= RingsPerStep * columns;
    Pattern.ring.bottom -= RingsPerStep * rows;

    for (int n = 0; n < RingsPerStep; ++n) {
        if (r.left > r.right || r.bottom < r.top) {
            Pattern.nextFrame = GetTickCount() + Pattern.durationMs;
            PatternStart(record);
            return 0;
        }
        if (Pattern.foldWidth > 0) {
            PaintFoldedRing(record, r, Pattern.foldWidth);
        } else {
            PaintPlainRing(record, r);
        }
        if (columns + rows > 1) {
            MirrorTileEdges(record->dc, columns, rows, tileWidth, tileHeight, Pattern.tileType,
                            r.right - r.left + 1, r.bottom - r.top + 1, r.left, r.top, r.right, r.bottom, d.left,
                            d.top, d.right, d.bottom);
        }
        Shrink(r, 1);
        Shrink(d, 1);
    }
    return 0;
}

LONG PatternFree(ModuleRecord*) {
    Release(Pattern.columnMemory, Pattern.columnProfile);
    Release(Pattern.rowMemory, Pattern.rowProfile);
    Release(Pattern.infoMemory, Pattern.lineInfo);
    Release(Pattern.lineMemory, Pattern.line);
    Release(Pattern.waveMemory, Pattern.wave);
    Pattern.function = nullptr;
    return 0;
}
