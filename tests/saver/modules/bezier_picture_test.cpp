// Writes a picture of the Bezier module for people to look at:
// bezier-preview.png in the build folder.
#include <cstdlib>
#include <string>

#include "bezier_fixture.h"
#include "platform/gdi/present/png.h"

namespace {

class BezierPicture : public modtest::BezierTest {};

TEST_F(BezierPicture, WritesAPreviewOfRibbonsWithAFiniteTrail) {
    Open(640, 480);
    Set(BezierCurvesSlot, 4);
    Set(BezierSymmetrySlot, 6);
    Set(BezierTrailSlot, 40);
    Start(2024);
    Steps(400);
    ASSERT_GT(canvas->CountNot(modtest::Black), 0);  // flushes the Canvas to the presenter
    const auto pixels = canvas->presenter().rgb();
    ASSERT_EQ(pixels.size(), 640u * 480u);

    const char* dir = std::getenv("LUMORA_BUILD_DIR");
    const std::string path = std::string(dir ? dir : ".") + "/bezier-preview.png";
    std::string error;
    EXPECT_TRUE(gdi::WritePng(path, pixels.data(), 640, 480, &error)) << error;
}

}  // namespace
