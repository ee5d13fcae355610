// The CD, name and slogan boxes over the picture.
#include <cstring>
#include <string>

#include "runtime_fixture.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"

namespace {

class OverlayTest : public RuntimeTest {
protected:
    // A run of only the (idle) Random module on a black Canvas, with a
    // slogan, a name box for five seconds and CD information from a running
    // analyser.
    void start(int width, int height) {
        window = makeWindow(width, height);
        openBlock();
        BuildModuleTable();  // the saver key and its first-run displays
        const char slogan[] = "Dream in colour";
        WriteSaverValue("Slogan", SaverKeyWord, REG_SZ, slogan, sizeof slogan);
        LoadSlogan();
        beginRun(window);
        StartModules();
        SaverOptions.ShowName = 5;
        SaverOptions.ShowInfo = 1;
        setCd(1, "Title of the track", "The Artist", "Third line");
    }
    void TearDown() override {
        if (window) endRun(window);
        RuntimeTest::TearDown();
    }

    void setCd(DWORD serial, const char* title, const char* artist, const char* third) {
        SharedSpectrum->set(spectrum::running, 1);
        SharedSpectrum->set(spectrum::cdText2, title);
        SharedSpectrum->set(spectrum::cdText1, artist);
        SharedSpectrum->set(spectrum::cdText3, third);
        SharedSpectrum->set(spectrum::cdSerial, serial);
    }

    // Whether anything but black lies inside the rectangle.
    bool drawnIn(const RECT& rect) {
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                if (GetPixel(Canvas, x, y) != 0) return true;
        return false;
    }
    bool anythingDrawn() {
        RECT client{};
        GetClientRect(window, &client);
        return drawnIn(client);
    }

    HWND window = nullptr;
};

TEST_F(OverlayTest, AFullScreenRunShowsAllThreeBoxesInTheirCorners) {
    start(1024, 768);
    RunFrame();
    EXPECT_EQ(FullScreen, 1u);
    EXPECT_EQ(SharedSpectrum->get(spectrum::fullScreen), 1u);
    for (const OverlayBox* box : {&CdBox, &NameBox, &SloganBox}) {
        ASSERT_NE(box->hideTime, BoxHidden);
        EXPECT_TRUE(drawnIn(box->rect));
    }
    EXPECT_EQ(CdBox.rect.left, 0);
    EXPECT_EQ(CdBox.rect.bottom, 768);
    EXPECT_EQ(NameBox.rect.top, 0);
    EXPECT_EQ(NameBox.rect.left + NameBox.rect.right, 1024);
    EXPECT_EQ(SloganBox.rect.right, 1024);
    EXPECT_EQ(SloganBox.rect.bottom, 768);
    EXPECT_EQ(CdBox.hideTime, GetTickCount() + CdBoxMs);
    EXPECT_EQ(NameBox.hideTime, GetTickCount() + 5000);
    EXPECT_EQ(SloganBox.hideTime, GetTickCount() + SloganBoxMs);

    // The layout: the widest line and three line heights plus the frame.
    SIZE title{};
    GetTextExtentPoint32A(Canvas, "Title of the track", 18, &title);
    EXPECT_EQ(CdBox.rect.right, title.cx + 58);
    EXPECT_EQ(CdBox.rect.top, 768 - (3 * title.cy + 44));
}

TEST_F(OverlayTest, APreviewWindowShowsNoBoxAtAll) {
    start(152, 112);
    EXPECT_EQ(FullScreen, 0u);
    for (int frame = 0; frame < 5; ++frame) {
        RunFrame();
        setCd(2 + frame, "Another title", "", "");
        platform::AdvanceTestClock(3000);
    }
    EXPECT_FALSE(anythingDrawn());
}

TEST_F(OverlayTest, TheNameBoxStaysShowNameSecondsAndComesBackForANewName) {
    start(800, 600);
    SharedSpectrum->set(spectrum::running, 0);
    RunFrame();
    RECT box = NameBox.rect;
    ASSERT_TRUE(drawnIn(box));
    platform::AdvanceTestClock(5000);
    RunFrame();
    EXPECT_TRUE(drawnIn(box));  // not yet past
    platform::AdvanceTestClock(1);
    RunFrame();
    EXPECT_FALSE(drawnIn(box));
    EXPECT_EQ(NameBox.hideTime, BoxHidden);

    // Loading the same display again shows nothing; another one does.
    ASSERT_TRUE(LoadDisplay(CurrentDisplayName));
    RunFrame();
    EXPECT_FALSE(drawnIn(box));
    ASSERT_TRUE(LoadDisplay("[D] Star"));
    SaverOptions.ShowName = 5;  // as the Random module keeps the first display's options
    RunFrame();
    EXPECT_NE(NameBox.hideTime, BoxHidden);
    EXPECT_TRUE(drawnIn(NameBox.rect));
}

TEST_F(OverlayTest, ANewCdSerialReplacesTheBoxAtOnce) {
    start(800, 600);
    RunFrame();
    RECT wide = CdBox.rect;
    platform::AdvanceTestClock(1000);
    setCd(2, "Short", "", "");
    RunFrame();
    EXPECT_EQ(CdBox.hideTime, GetTickCount() + CdBoxMs);
    EXPECT_LT(CdBox.rect.right, wide.right);
    RECT uncovered{CdBox.rect.right + 1, wide.top, wide.right, wide.bottom};
    EXPECT_FALSE(drawnIn(uncovered));
    EXPECT_TRUE(drawnIn(CdBox.rect));

    // CD information without a first line is not shown.
    platform::AdvanceTestClock(1000);
    setCd(3, "", "Only an artist", "");
    RunFrame();
    EXPECT_EQ(CdBox.hideTime, BoxHidden);
    EXPECT_FALSE(drawnIn(CdBox.rect));
}

TEST_F(OverlayTest, ShownBoxesAreProtectedFromDrawing) {
    start(800, 600);
    RunFrame();
    auto fillCanvas = [&] {
        HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
        RECT all{0, 0, 800, 600};
        FillRect(Canvas, &all, brush);
        DeleteObject(brush);
    };
    COLORREF inside = GetPixel(Canvas, NameBox.rect.left + 3, NameBox.rect.top + 3);
    fillCanvas();
    EXPECT_EQ(GetPixel(Canvas, NameBox.rect.left + 3, NameBox.rect.top + 3), inside);
    EXPECT_EQ(GetPixel(Canvas, 400, 300), RGB(255, 0, 0));

    // A module that selects a clipping region of its own protects the boxes
    // again with ExcludeShownBoxes.
    HRGN everything = CreateRectRgn(0, 0, 800, 600);
    SelectClipRgn(Canvas, everything);
    DeleteObject(everything);
    ExcludeShownBoxes();
    fillCanvas();
    EXPECT_EQ(GetPixel(Canvas, NameBox.rect.left + 3, NameBox.rect.top + 3), inside);
    EXPECT_EQ(GetPixel(Canvas, SloganBox.rect.left + 3, SloganBox.rect.top + 3),
              GetPixel(Canvas, SloganBox.rect.left + 4, SloganBox.rect.top + 3));
}

TEST_F(OverlayTest, TheSloganShowsOnceAndWithoutASloganValueNothingShows) {
    start(800, 600);
    RunFrame();
    RECT box = SloganBox.rect;
    ASSERT_TRUE(drawnIn(box));
    platform::AdvanceTestClock(SloganBoxMs + 1);
    RunFrame();
    EXPECT_FALSE(drawnIn(box));
    EXPECT_EQ(SloganEnabled, 0u);
    platform::AdvanceTestClock(60000);
    RunFrame();
    EXPECT_FALSE(drawnIn(box));

    WriteSaverValue("Slogan", SaverKeyWord, REG_SZ, nullptr, 0);
    LoadSlogan();
    EXPECT_EQ(SloganEnabled, 0u);
    EXPECT_EQ(SloganText[0], 0);
}

TEST_F(OverlayTest, ALongSloganIsCutTo79Characters) {
    window = nullptr;
    BuildModuleTable();
    // Exactly the buffer, and setup's longest slogan with its terminator.
    for (int length : {80, 256}) {
        std::string full(static_cast<std::size_t>(length - 1), 'x');
        full[0] = 'A';
        WriteSaverValue("Slogan", SaverKeyWord, REG_SZ, full.c_str(), static_cast<DWORD>(length));
        LoadSlogan();
        EXPECT_EQ(SloganEnabled, 1u) << length;
        EXPECT_EQ(std::string(SloganText), full.substr(0, 79)) << length;
    }
}

}  // namespace
