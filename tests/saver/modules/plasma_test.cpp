#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "canvas.h"
#include "platform/kernel/clock.h"
#include "saver/framework/control_table.h"
#include "saver/images/image_effects.h"
#include "saver/modules/plasma.h"

namespace {

using modtest::Black;
using modtest::HardwareIndex;

class PlasmaModule : public ::testing::Test {
protected:
    void TearDown() override {
        if (record) PlasmaFree(record);
        platform::UseRealClock();
    }

    void Open(int width, int height) {
        platform::UseTestClock(100000);
        canvas = std::make_unique<modtest::Canvas>(width, height);
        RegisterAllControls();
        record = &ModuleTable[ModulePlasma];
        record->width = width;
        record->height = height;
        record->dc = canvas->dc();
        Set(PlasmaEffectSlot, 20);  // leaves the cloud as it is
    }
    void Set(int slot, LONG value) { record->value[slot] = value; }
    void Start(unsigned seed) {
        std::srand(seed);
        PlasmaStart(record);
    }
    // Steps without letting time pass until the cloud is fully computed;
    // with the clock standing still at most the first preview is shown.
    void Compute() {
        while (Plasma.stackCount > 0 && !Plasma.finished) PlasmaStep(record);
    }
    BYTE Pixel(LONG x, LONG y) const { return Plasma.bits[y * Plasma.stride + x]; }
    std::vector<BYTE> Buffer() const { return {Plasma.bits, Plasma.bits + Plasma.stride * (Plasma.yMax + 1)}; }

    std::unique_ptr<modtest::Canvas> canvas;
    ModuleRecord* record = nullptr;
};

TEST_F(PlasmaModule, DisplacedValuesFoldTo5And231) {
    // The upper of two long rows keeps its edge midpoints, displaced by
    // hundreds at the first levels (in the lower one the centres overwrite
    // them).  Values past the ends of the palette pile up at 5 and 231.
    std::vector<int> count(256);
    for (unsigned seed : {3u, 1234u, 31337u, 65535u, 777777u, 2024u}) {
        Open(1001, 2);
        Set(PlasmaRoughnessSlot, 100);
        Start(seed);
        Compute();
        for (LONG x = 0; x <= Plasma.xMax; ++x) ++count[Pixel(x, 1)];
        PlasmaFree(record);
    }
    EXPECT_GT(count[5], count[4] + count[6]);
    EXPECT_GT(count[231], count[230] + count[232]);
    EXPECT_LT(count[0] + count[235], (count[5] + count[231]) / 4);
}

TEST_F(PlasmaModule, ThinRectanglesAreSubdivided) {
    // The whole canvas is one rectangle 1 wide and 5 high.
    Open(2, 6);
    Start(1);
    Compute();
    for (LONG y = 0; y <= 5; ++y)
        for (LONG x = 0; x <= 1; ++x) EXPECT_NE(Pixel(x, y), 0) << x << ", " << y;
}

TEST_F(PlasmaModule, CompleteCloudIsShownWithItsEffectAndHeld) {
    // 9 pixels a row are stored in 12 bytes; the effect must use those rows.
    Open(9, 7);
    Set(PlasmaEffectSlot, 5);
    Set(PlasmaDurationSlot, 3);
    Start(8);
    Compute();
    std::vector<BYTE> expected = Buffer();
    ApplyImageEffect(expected.data(), 8, 6, 12, 5);
    ASSERT_NE(expected, Buffer());

    EXPECT_EQ(PlasmaStep(record), 0);
    EXPECT_TRUE(Plasma.finished);
    EXPECT_EQ(Buffer(), expected);
    const std::vector<std::uint8_t> shown = canvas->Indices();
    for (LONG row = 0; row < 7; ++row)
        for (LONG x = 0; x < 9; ++x)
            EXPECT_EQ(shown[row * 9 + x], HardwareIndex(expected[(6 - row) * 12 + x])) << x << ", " << row;

    for (int i = 0; i < 10; ++i) {
        platform::AdvanceTestClock(300);
        EXPECT_EQ(PlasmaStep(record), StepIdle);
    }
    EXPECT_EQ(canvas->Indices(), shown);
    platform::AdvanceTestClock(1);
    PlasmaStep(record);
    EXPECT_FALSE(Plasma.finished);
    EXPECT_EQ(Plasma.shownProgress, PlasmaFirstProgress);
    EXPECT_EQ(Plasma.endTime, PlasmaNever);
}

TEST_F(PlasmaModule, PreviewsMirrorTheFinishedSquare) {
    int early = 0, growing = 0;
    for (unsigned seed : {1u, 77u, 1234u, 4242u, 9001u, 31337u, 65535u, 123456u, 777777u, 2024u}) {
        Open(160, 120);
        Start(seed);
        while (canvas->CountNot(Black) == 0) PlasmaStep(record);
        // The first preview waits for a square side above 62; past half the
        // smaller side it may end the cloud.
        ASSERT_GT(Plasma.shownProgress, PlasmaFirstProgress + 30);
        const std::vector<std::uint8_t> px = canvas->Indices();
        auto at = [&px](int x, int y) { return px[y * 160 + x]; };
        EXPECT_EQ(at(0, 0), HardwareIndex(Pixel(0, Plasma.yMax)));
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x)
                ASSERT_TRUE(at(159 - x, y) == at(x, y) && at(x, 119 - y) == at(x, y) &&
                            at(159 - x, 119 - y) == at(x, y))
                    << x << ", " << y;

        if (Plasma.finished) {
            ++early;
            EXPECT_GT(Plasma.stackCount, 0);
            EXPECT_EQ(PlasmaStep(record), StepIdle);
        } else {
            ++growing;
            // No new preview before the Update Interval, however far the
            // cloud grows meanwhile.
            const LONG shown = Plasma.shownProgress;
            Compute();
            EXPECT_EQ(Plasma.shownProgress, shown);
            EXPECT_EQ(canvas->Indices(), px);
            platform::AdvanceTestClock(5001);
            PlasmaStep(record);
            EXPECT_NE(Plasma.shownProgress, shown);
        }
        PlasmaFree(record);
    }
    EXPECT_GT(early, 0);
    EXPECT_GT(growing, 0);
}

TEST_F(PlasmaModule, TinyCanvasesShowWhatFits) {
    for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {1, 5}, {5, 1}, {9, 7}}) {
        Open(w, h);
        Set(PlasmaEffectSlot, 0);
        Start(static_cast<unsigned>(w * 10 + h));
        for (int i = 0; i < 200 && !Plasma.finished; ++i) {
            PlasmaStep(record);
            platform::AdvanceTestClock(16);
        }
        EXPECT_TRUE(Plasma.finished) << w << " x " << h;
        EXPECT_EQ(canvas->CountNot(Black), w * h) << w << " x " << h;
        PlasmaFree(record);
    }
}

TEST_F(PlasmaModule, WithoutBuffersNothingIsDrawnAndEveryStepTriesAgain) {
    setenv("LUMORA_DEBUG", "1", 1);
    Open(8, 8);
    record->width = 0;  // no buffer for an empty canvas
    testing::internal::CaptureStderr();
    Start(1);
    EXPECT_EQ(PlasmaStep(record), StepIdle);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Could not allocate buffers"), std::string::npos);
    unsetenv("LUMORA_DEBUG");
    EXPECT_EQ(canvas->CountNot(Black), 0);

    record->width = 8;
    PlasmaStep(record);
    PlasmaStep(record);
    EXPECT_EQ(canvas->CountNot(Black), 64);
}

}  // namespace
