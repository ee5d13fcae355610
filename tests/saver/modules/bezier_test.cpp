#include <algorithm>
#include <functional>
#include <set>
#include <vector>

#include "bezier_fixture.h"

namespace {

using modtest::Black;
using modtest::HardwareIndex;
using Picture = std::vector<std::uint8_t>;

class BezierModule : public modtest::BezierTest {
protected:
    // A picture from a fresh start with the given controls after `steps` frames.
    Picture Run(const std::function<void()>& controls, int steps, unsigned seed = 5) {
        Open(120, 90);
        controls();
        Start(seed);
        Steps(steps);
        return canvas->Indices();
    }
};

int Differences(const Picture& a, const Picture& b) {
    int n = 0;
    for (std::size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
    return n;
}

TEST_F(BezierModule, CurvesComeInPairsOfBeziers) {
    auto curves = [this](LONG n) {
        return Run([this, n] { Set(BezierCurvesSlot, n); Set(BezierSymmetrySlot, 3); }, 4);
    };
    const Picture one = curves(1), two = curves(2), three = curves(3);
    const Picture nineteen = curves(19), twenty = curves(20);
    // N = 2 adds points 4..7 but no curve; N = 3 adds the curve through 2..5.
    EXPECT_EQ(Differences(one, two), 0);
    EXPECT_EQ(Differences(nineteen, twenty), 0);
    int added = 0;
    for (std::size_t i = 0; i < two.size(); ++i) {
        if (two[i] != Black) {
            ASSERT_NE(three[i], Black) << i;
        }
        added += two[i] == Black && three[i] != Black;
    }
    EXPECT_GT(added, 0);
    EXPECT_GT(Differences(two, twenty), 0);
}

TEST_F(BezierModule, ControlsBeyondTheirLimitsAreHeldAtTheLimits) {
    // A loud sound source leaves values above the range; the module keeps
    // to the control limits, so counts never outgrow its arrays.
    Open(64, 48);
    Set(BezierCurvesSlot, 50);
    Set(BezierSymmetrySlot, 1000);
    Set(BezierTrailSlot, -4);
    Set(BezierXTilesSlot, 0);
    Start(1);
    EXPECT_EQ(::Bezier.curves, 20);
    EXPECT_EQ(::Bezier.pointCount, 44);
    EXPECT_EQ(::Bezier.frame.symmetry, 32);
    EXPECT_EQ(::Bezier.trail.delay, 3);
    EXPECT_EQ(::Bezier.frame.xTiles, 1);
    Steps(5);
}

TEST_F(BezierModule, ColoursRunAsATriangleWave) {
    Open(40, 30);
    Set(BezierSymmetrySlot, 1);
    Start(3);
    Steps(1);
    const Picture first = canvas->Indices();
    ASSERT_GT(canvas->CountNot(Black), 0);
    for (auto v : first) EXPECT_TRUE(v == Black || v == HardwareIndex(1));
    Steps(234);
    EXPECT_EQ(::Bezier.colour, 235);
    Steps(235);
    EXPECT_EQ(::Bezier.colour, 0);
    Steps(1);
    EXPECT_EQ(::Bezier.colour, 1);
}

TEST_F(BezierModule, TrailLength99ErasesEachFigure297FramesLater) {
    auto trail = [this](LONG length) { return [this, length] { Set(BezierTrailSlot, length); Set(BezierSymmetrySlot, 3); }; };
    const Picture firstFigure = Run(trail(99), 1);
    const Picture kept297 = Run(trail(100), 297);
    const Picture kept298 = Run(trail(100), 298);

    Open(120, 90);
    trail(99)();
    Start(5);
    Steps(297);
    EXPECT_EQ(Differences(canvas->Indices(), kept297), 0);
    Steps(1);
    const Picture erased = canvas->Indices();
    int firstPixels = 0;
    for (std::size_t i = 0; i < erased.size(); ++i) {
        if (firstFigure[i] != Black) {
            ++firstPixels;
            ASSERT_EQ(erased[i], Black) << "pixel " << i << " of the first figure remains";
        }
        if (erased[i] != kept298[i]) {
            ASSERT_EQ(erased[i], Black) << i;
        }
    }
    EXPECT_GT(firstPixels, 0);
}

TEST_F(BezierModule, TrailLength100NeverErasesAndTimeOutDrawsOverTheOldPicture) {
    Open(120, 90);
    Set(BezierSymmetrySlot, 2);
    Set(BezierDurationSlot, 3);
    Start(9);
    int black = canvas->width() * canvas->height();
    std::set<DWORD> ends{::Bezier.endTime};
    for (int i = 0; i < 700; ++i) {
        platform::AdvanceTestClock(16);
        Steps(1);
        const int now = canvas->width() * canvas->height() - canvas->CountNot(Black);
        ASSERT_LE(now, black) << "frame " << i;
        black = now;
        ends.insert(::Bezier.endTime);
    }
    EXPECT_GE(ends.size(), 3u);  // restarted at least twice
}

TEST_F(BezierModule, TimeOutFlushesAFiniteTrailAndStartsAgain) {
    Open(120, 90);
    Set(BezierTrailSlot, 20);
    Set(BezierDurationSlot, 1);
    Start(11);
    Steps(40);
    platform::AdvanceTestClock(1000);
    Steps(1);
    EXPECT_GT(canvas->CountNot(Black), 0) << "restarted when the end time was reached, not passed";
    platform::AdvanceTestClock(1);
    Steps(1);
    EXPECT_EQ(canvas->CountNot(Black), 0);
    Steps(1);
    EXPECT_GT(canvas->CountNot(Black), 0);
}

TEST_F(BezierModule, TimeOutSurvivesTheTickCountWrapping) {
    Open(120, 90, 0xFFFFFFFFu - 500);
    Set(BezierTrailSlot, 20);
    Set(BezierDurationSlot, 1);
    Start(12);
    Steps(10);
    EXPECT_GT(canvas->CountNot(Black), 0);
    platform::AdvanceTestClock(1001);
    Steps(1);
    EXPECT_EQ(canvas->CountNot(Black), 0);
}

TEST_F(BezierModule, EraserRetracesLiveControlsExactly) {
    Open(200, 150);
    struct Live {
        int slot;
        LONG high;
    } live[] = {{BezierSymmetrySlot, 3}, {BezierWidthSlot, 4}, {BezierSpeedSlot, 25}, {BezierXTilesSlot, 2},
                {BezierYTilesSlot, 2}};
    for (const Live& l : live) {
        record->source[l.slot] = 2;  // oscillate
        record->sense[l.slot] = 7;
        record->rangeHi[l.slot] = l.high;
    }
    Set(BezierTrailSlot, 10);
    Start(21);
    const int delay = 30;
    std::vector<BezierPoints> heads;
    std::set<LONG> speeds, widths;
    for (int i = 0; i < 150; ++i) {
        Steps(1);
        heads.push_back(::Bezier.head);
        speeds.insert(::Bezier.frame.speed);
        widths.insert(::Bezier.frame.width);
        if (i < delay) continue;
        for (int k = 0; k < ::Bezier.pointCount; ++k) {
            ASSERT_EQ(::Bezier.tail.position[k].x, heads[i - delay].position[k].x) << "frame " << i;
            ASSERT_EQ(::Bezier.tail.position[k].y, heads[i - delay].position[k].y) << "frame " << i;
        }
    }
    EXPECT_GT(speeds.size(), 5u);
    EXPECT_GT(widths.size(), 2u);
    ASSERT_GT(canvas->CountNot(Black), 0);

    // Freed after the run the picture stays; freed during it the trail goes.
    BezierFree(record);
    EXPECT_GT(canvas->CountNot(Black), 0);
    BezierInit(record);
    Start(21);
    canvas->Fill(BLACKNESS);
    Steps(150);
    Running = 1;
    BezierFree(record);
    EXPECT_EQ(canvas->CountNot(Black), 0);
    BezierInit(record);
}

TEST_F(BezierModule, NarrowCanvasesSeedPointsInRange) {
    struct Size {
        int w, h;
    };
    for (Size s : {Size{6, 3}, Size{1, 1}, Size{9, 40}}) {
        Open(s.w, s.h);
        Set(BezierCurvesSlot, 20);
        Start(31);
        const int xHigh = 5 + std::abs(s.w - 10), yHigh = 5 + std::abs(s.h - 10);
        for (int i = 0; i < ::Bezier.pointCount; ++i) {
            const POINT p = ::Bezier.head.position[i];
            EXPECT_GE(p.x, 5);
            EXPECT_LE(p.x, xHigh);
            EXPECT_GE(p.y, 5);
            EXPECT_LE(p.y, yHigh);
            EXPECT_LT(p.x, ::Bezier.box.right);
            EXPECT_LT(p.y, ::Bezier.box.bottom);
            EXPECT_EQ(p.x, ::Bezier.tail.position[i].x);
            EXPECT_EQ(std::abs(::Bezier.head.velocity[i].x), 1);
        }
    }
}

TEST_F(BezierModule, TinyCanvasesRunManyStepsWithTheHeaviestControls) {
    for (int size : {1, 5}) {
        Open(size, size);
        Set(BezierCurvesSlot, 20);
        Set(BezierSymmetrySlot, 32);
        Set(BezierWidthSlot, 200);
        Set(BezierSpeedSlot, 320);
        Set(BezierTrailSlot, 5);
        Set(BezierDurationSlot, 1);
        Set(BezierXTilesSlot, 3);
        Set(BezierYTilesSlot, 3);
        Start(41);
        for (int i = 0; i < 150; ++i) {
            platform::AdvanceTestClock(50);
            Steps(1);
            for (int k = 0; k < ::Bezier.pointCount; ++k) {
                ASSERT_GE(::Bezier.head.position[k].x, ::Bezier.box.left);
                ASSERT_LT(::Bezier.head.position[k].x, ::Bezier.box.right);
            }
        }
        Running = 1;
        BezierFree(record);
        EXPECT_EQ(canvas->CountNot(Black), 0) << size;
        BezierInit(record);
        Set(BezierSymmetrySlot, 2);
        Set(BezierXTilesSlot, 20);
        Set(BezierYTilesSlot, 20);
        Start(42);
        Steps(20);
        BezierFree(record);
        Running = 0;
        EXPECT_EQ(canvas->CountNot(Black), 0) << size;
        BezierInit(record);
    }
}

TEST_F(BezierModule, WithoutItsHistoryTheModuleDrawsNothing) {
    Open(40, 30);
    BezierFree(record);
    Start(2);
    Steps(10);
    EXPECT_EQ(canvas->CountNot(Black), 0);
    BezierInit(record);
}

}  // namespace
