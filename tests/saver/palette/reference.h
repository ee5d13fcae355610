#pragma once
// Independent models of what the palette engine is built on, for tests that
// work a column out by hand.
#include <cmath>

#include "platform/types.h"

// The process's random generator, as documented: the same seed gives the
// same draws.
class ReferenceRandom {
public:
    explicit ReferenceRandom(unsigned seed) : state_(seed) {}
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

private:
    unsigned state_;
};

// The triangle of one period over 2048 samples (step 32 - 1/512): up to the
// peak at sample 512, held for one sample, down to the trough at 1537, held,
// and up again.
inline LONG ReferenceTriangle(int k) {
    const long double h = 31.998046875L;
    long double x;
    if (k <= 512) {
        x = k * h;
    } else if (k <= 1537) {
        x = 16383 - (k - 513) * h;
    } else {
        x = -16383 + (k - 1538) * h;
    }
    return static_cast<LONG>(std::trunc(x));
}
