#pragma once
// One period of a sine wave in 2048 integer samples, the shared base of the
// oscillating sources, the palette waves and the Pattern module:
// sample i = 16382 x sin(2 pi (i + 1) / 2048), rounded to the nearest integer.
#include <array>

#include "platform/types.h"

constexpr int SineTableSize = 2048;
constexpr LONG SineAmplitude = 16382;

namespace sine_detail {

// Built at compile time so that every user sees the finished table, whatever
// the order of static initialisation.  The angle is reduced exactly in whole
// table steps to at most an eighth of a period, where a short Taylor series in
// extended precision is far more accurate than the rounding needs.
constexpr long double Pi = 3.141592653589793238462643383279502884L;
constexpr long double Step = 2 * Pi / SineTableSize;

constexpr long double SinSeries(long double x) {
    long double term = x;
    long double sum = x;
    for (int n = 1; n < 12; ++n) {
        term *= -x * x / ((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

constexpr long double CosSeries(long double x) {
    long double term = 1;
    long double sum = 1;
    for (int n = 1; n < 12; ++n) {
        term *= -x * x / ((2 * n - 1) * (2 * n));
        sum += term;
    }
    return sum;
}

// sin(k x 2 pi / 2048) for 0 <= k < 2048.
constexpr long double SinOfSteps(int k) {
    constexpr int quarter = SineTableSize / 4;
    const int quadrant = k / quarter;
    const int r = k % quarter;
    // sin and cos of r steps, from the series of the nearer end of the quadrant.
    const bool low = r <= quarter / 2;
    const long double sinR = low ? SinSeries(r * Step) : CosSeries((quarter - r) * Step);
    const long double cosR = low ? CosSeries(r * Step) : SinSeries((quarter - r) * Step);
    switch (quadrant) {
        case 0: return sinR;
        case 1: return cosR;
        case 2: return -sinR;
        default: return -cosR;
    }
}

constexpr LONG RoundHalfAway(long double x) {
    return x < 0 ? -static_cast<LONG>(-x + 0.5L) : static_cast<LONG>(x + 0.5L);
}

constexpr std::array<LONG, SineTableSize> MakeSineTable() {
    std::array<LONG, SineTableSize> table{};
    for (int i = 0; i < SineTableSize; ++i) {
        table[i] = RoundHalfAway(SineAmplitude * SinOfSteps((i + 1) % SineTableSize));
    }
    return table;
}

}  // namespace sine_detail

inline constexpr std::array<LONG, SineTableSize> SineTable = sine_detail::MakeSineTable();
