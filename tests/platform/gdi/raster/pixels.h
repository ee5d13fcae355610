#pragma once
// A SpanSink that records pixels into a bitmap and counts pixels delivered
// more than once, for checking coverage exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/gdi/raster/span_sink.h"
#include "platform/types.h"

namespace gdi::test {

class Pixels final : public SpanSink {
public:
    Pixels(int width, int height, int originX = 0, int originY = 0)
        : w_(width), h_(height), ox_(originX), oy_(originY), bits_(static_cast<std::size_t>(width * height)) {}

    RECT area() const { return {ox_, oy_, ox_ + w_, oy_ + h_}; }

    void span(int y, int x0, int x1) override {
        if (x0 >= x1) ++bad_;
        for (int x = x0; x < x1; ++x) {
            if (x < ox_ || x >= ox_ + w_ || y < oy_ || y >= oy_ + h_) {
                ++outside_;
                continue;
            }
            unsigned char& b = bits_[static_cast<std::size_t>((y - oy_) * w_ + (x - ox_))];
            if (b) ++repeats_;
            b = 1;
        }
    }

    bool at(int x, int y) const {
        if (x < ox_ || x >= ox_ + w_ || y < oy_ || y >= oy_ + h_) return false;
        return bits_[static_cast<std::size_t>((y - oy_) * w_ + (x - ox_))] != 0;
    }
    int count() const {
        int n = 0;
        for (unsigned char b : bits_) n += b;
        return n;
    }
    RECT inkBounds() const {
        RECT r{ox_ + w_, oy_ + h_, ox_, oy_};
        for (int y = oy_; y < oy_ + h_; ++y)
            for (int x = ox_; x < ox_ + w_; ++x)
                if (at(x, y)) {
                    r.left = std::min(r.left, x), r.right = std::max(r.right, x + 1);
                    r.top = std::min(r.top, y), r.bottom = std::max(r.bottom, y + 1);
                }
        return r;
    }
    int repeats() const { return repeats_; }
    int outside() const { return outside_; }

    // The delivery was clean: no pixel twice, nothing outside, no empty run.
    void expectClean() const {
        EXPECT_EQ(repeats_, 0);
        EXPECT_EQ(outside_, 0);
        EXPECT_EQ(bad_, 0);
    }

private:
    int w_, h_, ox_, oy_;
    std::vector<unsigned char> bits_;
    int repeats_ = 0, outside_ = 0, bad_ = 0;
};

}  // namespace gdi::test
