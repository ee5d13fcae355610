#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "canvas.h"
#include "saver/modules/draw_helpers.h"

namespace {

TEST(RotatePoint, TruncatesTheExactRotationTowardZero) {
    // A quarter turn of the single-precision angle falls just short of 100:
    // computed in single precision it would round up to 100.
    POINT p{100, 0};
    RotatePoint(p, 1.5707964f);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, -99);

    // Half a turn: x = -5.00000026, y = -2.99999956.
    POINT q{5, 3};
    RotatePoint(q, 3.1415927f);
    EXPECT_EQ(q.x, -5);
    EXPECT_EQ(q.y, -2);

    POINT r{-17, 42};
    RotatePoint(r, 0.0f);
    EXPECT_EQ(r.x, -17);
    EXPECT_EQ(r.y, 42);
}

TEST(ViewCamera, ProjectsThroughTheViewportCentre) {
    modtest::Canvas canvas(640, 480);
    ViewCamera* camera = CreateViewCamera(canvas.window());
    ASSERT_NE(camera, nullptr);
    LONG sx = -1, sy = -1;
    EXPECT_EQ(ProjectPoint(camera, {0, 0, 0}, &sx, &sy), 0);
    EXPECT_EQ(sx, 320);
    EXPECT_EQ(sy, 240);
    // d = 200 equals the focal length: offsets pass unscaled, y points up.
    EXPECT_EQ(ProjectPoint(camera, {10, 10, 75}, &sx, &sy), 0);
    EXPECT_EQ(sx, 330);
    EXPECT_EQ(sy, 230);
    for (double z : {-125.0, -400.0}) {
        sx = sy = 7;
        EXPECT_EQ(ProjectPoint(camera, {1, 1, z}, &sx, &sy), 1);
        EXPECT_EQ(sx, 0);
        EXPECT_EQ(sy, 0);
    }
    // Right in front of the eye the projection leaves the 32-bit range.
    EXPECT_EQ(ProjectPoint(camera, {1e6, -1e6, -125.0 + 1e-9}, &sx, &sy), 0);
    EXPECT_EQ(sx, std::numeric_limits<LONG>::max());
    EXPECT_EQ(sy, std::numeric_limits<LONG>::max());
    GlobalFree(reinterpret_cast<HGLOBAL>(camera));
}

TEST(ViewCamera, WithoutWindowUsesTheClassicViewport) {
    ViewCamera* camera = CreateViewCamera(nullptr);
    ASSERT_NE(camera, nullptr);
    LONG sx = 0, sy = 0;
    ProjectPoint(camera, {0, 0, 0}, &sx, &sy);
    EXPECT_EQ(sx, 160);
    EXPECT_EQ(sy, 100);
    SetCameraViewport(camera, RECT{0, 0, 101, 51});
    ProjectPoint(camera, {0, 0, 0}, &sx, &sy);
    EXPECT_EQ(sx, 50);
    EXPECT_EQ(sy, 25);
    GlobalFree(reinterpret_cast<HGLOBAL>(camera));
}

TEST(RotatePoint3D, TurnsAboutZThenXThenY) {
    const double quarter = std::acos(0.0);
    Point3D p{1, 0, 0};
    RotatePoint3D(p, 0, 0, quarter);
    EXPECT_NEAR(p.x, 0, 1e-12);
    EXPECT_NEAR(p.y, -1, 1e-12);
    EXPECT_NEAR(p.z, 0, 1e-12);

    // About x first takes (0, 1, 0) to (0, 0, -1), which y then takes to
    // (1, 0, 0); the other order would end at (0, 0, -1).
    Point3D q{0, 1, 0};
    RotatePoint3D(q, quarter, quarter, 0);
    EXPECT_NEAR(q.x, 1, 1e-12);
    EXPECT_NEAR(q.y, 0, 1e-12);
    EXPECT_NEAR(q.z, 0, 1e-12);
}

}  // namespace
