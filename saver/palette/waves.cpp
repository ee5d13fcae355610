#include "saver/palette/waves.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "saver/framework/sine_table.h"
#include "saver/palette/palette_settings.h"

namespace {

constexpr LONG WavePeak = 16383;

// One component of the walk: moves when the move stays inside 0..255,
// otherwise turns the step around for the next entry.
void Walk(LONG& component, LONG& step) {
    const long long next = static_cast<long long>(component) + step;
    if (next >= 0 && next <= 255) {
        component = static_cast<LONG>(next);
    } else {
        step = static_cast<LONG>(0 - static_cast<DWORD>(step));
    }
}

}  // namespace

void FillSineWave(LONG* table) { std::copy(SineTable.begin(), SineTable.end(), table); }

void FillTriangleWave(LONG* table, float step) {
    long double x = 0.0L;
    // A step that is not a number would leave nothing sensible to truncate.
    long double delta = std::isfinite(step) ? step : 0.0f;
    for (int i = 0; i < WaveTableSize; ++i) {
        table[i] = static_cast<LONG>(x);
        x += delta;
        if (x > WavePeak) {
            x = WavePeak;
            delta = -delta;
        } else if (x < -WavePeak) {
            x = -WavePeak;
            delta = -delta;
        }
    }
}

void FillNoisyWave(LONG* table) {
    std::rand();
    const float step = static_cast<float>(std::rand()) / 32767.0f * 60.0f + 35.0f;
    FillTriangleWave(table, step);
    for (int i = 0; i < WaveTableSize; ++i) {
        const LONG pull = std::rand() % 19659;
        table[i] = table[i] > 0 ? table[i] - pull : table[i] + pull;
    }
    for (int pass = 0; pass < 30; ++pass) {
        SmoothWave(table);
    }
}

void RoughenWave(LONG* table) {
    const int spikes = std::rand() % 85 + 32;
    const int passes = std::rand() % 48 + 48;
    for (int n = 0; n < spikes; ++n) {
        const int p = std::rand() % 1984 + 32;
        const LONG sign = (std::rand() & 1) ? -1 : 1;
        const LONG magnitude = std::rand() % 16383;
        table[p - 1] = table[p] = table[p + 1] = sign * magnitude;
    }
    for (int pass = 0; pass < passes; ++pass) {
        SmoothWave(table);
    }
}

void SmoothWave(LONG* table) {
    for (int i = 1; i < WaveTableSize - 1; ++i) {
        table[i] = (table[i - 1] + table[i] + table[i + 1]) / 3;
    }
}

void RandomWalkPalette(PALETTEENTRY* table, LONG redStep, LONG greenStep, LONG blueStep) {
    LONG r = std::rand() & 255;
    LONG g = std::rand() & 255;
    LONG b = std::rand() & 255;
    for (int i = 0; i < PaletteEntryCount; ++i) {
        Walk(r, redStep);
        Walk(g, greenStep);
        Walk(b, blueStep);
        table[i] = {static_cast<BYTE>(r), static_cast<BYTE>(g), static_cast<BYTE>(b), 1};
    }
}
