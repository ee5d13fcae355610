#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <vector>

#include "canvas.h"
#include "platform/kernel/clock.h"
#include "saver/framework/control_table.h"
#include "saver/framework/run_flag.h"
#include "saver/modules/cyclic.h"

namespace {

using modtest::Black;
using Picture = std::vector<std::uint8_t>;

class CyclicModule : public ::testing::Test {
protected:
    void TearDown() override {
        Running = 0;
        if (record) CyclicFree(record);
        platform::UseRealClock();
    }

    // A fresh canvas, the registered Cyclic controls and an initialised module.
    void Open(int width, int height) {
        if (record) CyclicFree(record);
        platform::UseTestClock(100000);
        canvas = std::make_unique<modtest::Canvas>(width, height);
        RegisterAllControls();
        AllowSoundSources();
        record = &ModuleTable[ModuleCyclic];
        record->width = width;
        record->height = height;
        record->dc = canvas->dc();
        CyclicInit(record);
    }
    void Set(int slot, LONG value) { record->value[slot] = value; }
    void Oscillate(int slot, LONG lo, LONG hi) {
        record->source[slot] = 2;
        record->sense[slot] = 7;
        record->rangeLo[slot] = lo;
        record->rangeHi[slot] = hi;
    }
    void Start(unsigned seed) {
        std::srand(seed);
        CyclicStart(record);
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) CyclicStep(record);
    }
    // Frees the module while the run goes on, which erases a finite trail.
    void FreeWhileRunning() {
        Running = 1;
        CyclicFree(record);
        Running = 0;
        CyclicInit(record);
    }

    std::unique_ptr<modtest::Canvas> canvas;
    ModuleRecord* record = nullptr;
};

TEST_F(CyclicModule, TheEraserRemovesTheFirstFrameOnceTheTrailHasCaughtUp) {
    auto run = [this](LONG trail, int steps) {
        Open(160, 120);
        Set(CyclicObjectsSlot, 6);
        Set(CyclicSpasticitySlot, 50);
        Set(CyclicSymmetrySlot, 3);
        Set(CyclicSidesSlot, 5);
        Set(CyclicTypeSlot, 3);  // polygons of filled polygons with a black outline
        Set(CyclicDiameterSlot, 12);
        Set(CyclicTrailSlot, trail);
        Start(7);
        Steps(steps);
        return canvas->Indices();
    };
    const Picture first = run(10, 1);
    const Picture kept = run(100, 31);
    const Picture erased = run(10, 31);
    int firstPixels = 0, removed = 0;
    for (std::size_t i = 0; i < erased.size(); ++i) {
        if (first[i] != Black) {
            ++firstPixels;
            ASSERT_EQ(erased[i], Black) << "pixel " << i << " of the first frame remains";
        }
        if (erased[i] != kept[i]) {
            ASSERT_EQ(erased[i], Black) << i;
            ++removed;
        }
    }
    EXPECT_GT(firstPixels, 0);
    EXPECT_GT(removed, firstPixels / 2);
}

TEST_F(CyclicModule, TheTailReplaysLiveControlsAndAFlushLeavesTheCanvasBlack) {
    Open(200, 150);
    Oscillate(CyclicSpasticitySlot, 30, 50);
    Oscillate(CyclicDiameterSlot, 4, 30);
    Oscillate(CyclicSymmetrySlot, 1, 4);
    Oscillate(CyclicRotationSlot, -100, 100);
    Oscillate(CyclicXTilesSlot, 1, 2);
    Oscillate(CyclicYTilesSlot, 1, 3);
    Set(CyclicSidesSlot, 4);
    Set(CyclicTypeSlot, 2);
    Set(CyclicTrailSlot, 10);
    Start(21);
    const int delay = 30;
    std::vector<CyclicTable> heads;
    std::set<float> speeds, sizes;
    for (int i = 0; i < 120; ++i) {
        Steps(1);
        heads.push_back(::Cyclic.head);
        speeds.insert(::Cyclic.frame.speed[0]);
        sizes.insert(::Cyclic.frame.stamp.size);
        if (i < delay) continue;
        for (int k = 0; k < ::Cyclic.objects; ++k) {
            ASSERT_EQ(::Cyclic.tail.object[k].x, heads[i - delay].object[k].x) << "frame " << i;
            ASSERT_EQ(::Cyclic.tail.object[k].y, heads[i - delay].object[k].y) << "frame " << i;
        }
    }
    EXPECT_GT(speeds.size(), 50u) << "live Spasticity draws new speeds every frame";
    EXPECT_GT(sizes.size(), 5u);
    for (float size : sizes) {
        EXPECT_GE(size, 4.0f);
        EXPECT_LE(size, 30.0f);
    }
    ASSERT_GT(canvas->CountNot(Black), 0);
    FreeWhileRunning();
    EXPECT_EQ(canvas->CountNot(Black), 0);
}

TEST_F(CyclicModule, DiameterZeroPulsatesBetween70And140) {
    Open(100, 80);
    Set(CyclicDiameterSlot, 0);
    // The pulse speed is random and can be close to 0: take one that swings
    // within the run.
    for (unsigned seed = 1; seed < 100 && !(::Cyclic.pulseSpeed > 0.05f); ++seed) Start(seed);
    float low = 1000.0f, high = 0.0f;
    for (int i = 0; i < 300; ++i) {
        Steps(1);
        low = std::min(low, ::Cyclic.frame.stamp.size);
        high = std::max(high, ::Cyclic.frame.stamp.size);
    }
    EXPECT_GE(low, 70.0f);
    EXPECT_LE(high, 140.0f);
    EXPECT_GT(high - low, 20.0f);
}

TEST_F(CyclicModule, ATimeOutErasesAFiniteTrailWithinTheSpasticityDuration) {
    Open(120, 90);
    Set(CyclicSpasticitySlot, 50);  // images of 20 to 29 seconds
    Set(CyclicTrailSlot, 20);
    Start(11);
    const DWORD end = ::Cyclic.endTime;
    EXPECT_GE(end - 100000u, 20000u);
    EXPECT_LE(end - 100000u, 29000u);
    Steps(30);
    platform::AdvanceTestClock(end - 100000u);
    Steps(1);
    EXPECT_EQ(::Cyclic.endTime, end) << "restarted when the end time was reached, not passed";
    EXPECT_GT(canvas->CountNot(Black), 0);
    platform::AdvanceTestClock(1);
    Steps(1);
    EXPECT_NE(::Cyclic.endTime, end);
    EXPECT_EQ(canvas->CountNot(Black), 0);
}

TEST_F(CyclicModule, ExtremeSettingsOnTinyCanvasesAreHeldAndErasedCleanly) {
    struct Size {
        int w, h;
    };
    for (Size s : {Size{1, 1}, Size{3, 2}, Size{20, 20}}) {
        Open(s.w, s.h);
        // Values beyond the limits, as a loud sound source leaves them.
        Set(CyclicObjectsSlot, 500);
        Set(CyclicSpasticitySlot, 0);
        Set(CyclicSymmetrySlot, 1000);
        Set(CyclicSidesSlot, 300);
        Set(CyclicTypeSlot, 50);
        Set(CyclicDiameterSlot, 320);
        Set(CyclicTrailSlot, 1);
        Set(CyclicXTilesSlot, 20);
        Set(CyclicYTilesSlot, 20);
        Oscillate(CyclicSymmetrySlot, 1, 32);
        record->rangeHi[CyclicSymmetrySlot] = 5000;
        Start(41);
        EXPECT_EQ(::Cyclic.objects, CyclicMaxObjects);
        EXPECT_EQ(::Cyclic.calmness, 50);
        EXPECT_EQ(::Cyclic.frame.stamp.sides, 10);
        EXPECT_EQ(::Cyclic.frame.stamp.style, 8);
        for (int i = 0; i < 6; ++i) {
            platform::AdvanceTestClock(120000);  // a new image every step
            Steps(1);
            ASSERT_LE(::Cyclic.frame.symmetry, 32);
        }
        FreeWhileRunning();
        EXPECT_EQ(canvas->CountNot(Black), 0) << s.w << "x" << s.h;
    }
}

}  // namespace
