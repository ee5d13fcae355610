// The Bitmap slide show on an offscreen Canvas: which file comes when, how a
// picture becomes palette indices, where it lands, the screen snapshot, and
// a worker that survives bad files and being abandoned.
#include <sys/stat.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <set>
#include <thread>

#include "module_fixture.h"
#include "platform/kernel/bitmap_file.h"
#include "saver/images/bitmap_images.h"
#include "saver/modules/bitmap.h"
#include "support/temp_dir.h"

namespace modtest {
namespace {

// A w x h 8-bit file of one value whose table colour is `colour` (B, G, R).
std::vector<BYTE> Flat8(int w, int h, BYTE value, std::vector<BYTE> colour = {0, 0, 0}) {
    std::vector<BYTE> table(1024);
    std::copy(colour.begin(), colour.end(), table.begin() + 4 * value);
    return platform::EncodeBitmapFile(w, h, 8, table, std::vector<BYTE>(((w + 3) & ~3) * h, value));
}

std::vector<BYTE> Flat24(int w, int h, BYTE b, BYTE g, BYTE r) {
    const int stride = (w * 3 + 3) & ~3;
    std::vector<BYTE> rows(stride * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) std::copy_n(std::initializer_list<BYTE>{b, g, r}.begin(), 3, &rows[y * stride + 3 * x]);
    return platform::EncodeBitmapFile(w, h, 24, {}, rows);
}

class BitmapTest : public ModuleTest {
protected:
    BitmapTest() : ModuleTest(ModuleBitmap) {}
    void TearDown() override {
        if (opened_) BitmapFree(record);
        ModuleTest::TearDown();
    }
    void Show(const std::string& mask, LONG type, LONG force, LONG duration, int w = 8, int h = 8) {
        Open(w, h);
        Set(BitmapDisplayTypeSlot, type);
        Set(BitmapForceGradientSlot, force);
        Set(BitmapDurationSlot, duration);
        Set(BitmapSmoothingSlot, 0);
        Set(BitmapRandomOrderSlot, 0);
        Set(BitmapFromScreenSlot, 0);
        std::strcpy(record->path, mask.c_str());
        Bitmap.dueTimeSet = false;
        LastPickedFile = 0;
        BitmapInit(record);
        opened_ = true;
        BitmapStart(record);
    }
    void File(const std::string& name, const std::vector<BYTE>& bytes) {
        std::ofstream(dir_.path() / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // The hardware index of every pixel when all are one, else -1.
    int Uniform() {
        auto px = canvas->Indices();
        for (auto v : px)
            if (v != px[0]) return -1;
        return px[0];
    }
    std::string Mask(const char* pattern = "*.*") { return dir_.str() + "/" + pattern; }

    testsupport::TempDir dir_;
    bool opened_ = false;
};

TEST_F(BitmapTest, NextOrderShowsSecondThirdFirstSecondWithTheirOwnIndices) {
    File("a.bmp", Flat8(4, 4, 20));
    File("b.bmp", Flat8(4, 4, 40));
    File("c.bmp", Flat8(4, 4, 60));
    std::vector<int> listed;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(Mask().c_str(), &found);
    do listed.push_back(20 * (found.cFileName[0] - 'a' + 1));
    while (FindNextFileA(search, &found));
    FindClose(search);

    Show(Mask(), BitmapStretched, 0, 1);
    for (int i : {1, 2, 0, 1}) {
        Steps(1);
        EXPECT_EQ(Uniform(), HardwareIndex(listed[i])) << "picture of file " << i;
        platform::AdvanceTestClock(500);
        Steps(1);
        EXPECT_EQ(Uniform(), HardwareIndex(listed[i])) << "held for the duration";
        platform::AdvanceTestClock(501);
    }
}

TEST_F(BitmapTest, AnEmptyPathShowsTheBitmapsAFreshWindowsDirectoryComesWith) {
    testsupport::ScopedPlatformRoot fresh;
    char windows[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    std::set<int> depths;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(windows) + "/*.BMP").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
        const std::string path = std::string(windows) + "/" + found.cFileName;
        auto* bitmap = reinterpret_cast<HBITMAP>(
            LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr) << path;
        DIBSECTION section{};
        GetObjectA(bitmap, sizeof section, &section);
        depths.insert(section.dsBm.bmBitsPixel);
        DeleteObject(bitmap);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_EQ(depths, (std::set<int>{8, 24}));

    Show("", BitmapStretched, 0, 1, 32, 24);
    Steps(1);
    EXPECT_EQ(Uniform(), -1) << "a picture, not an empty Canvas";
}

TEST_F(BitmapTest, DeepPicturesAndForcedGradientsShowBrightness) {
    File("deep.bmp", Flat24(4, 4, 30, 60, 90));
    Show(Mask(), BitmapStretched, 0, 1);
    Steps(1);
    EXPECT_EQ(Uniform(), HardwareIndex(60)) << "24 bits by brightness without Force Gradient";
    BitmapFree(record);
    opened_ = false;

    // Force Gradient: an 8-bit picture's colour goes to its nearest grey.
    std::filesystem::remove(dir_.path() / "deep.bmp");
    File("grey.bmp", Flat8(4, 4, 5, {100, 100, 100}));
    Show(Mask(), BitmapStretched, 1, 1);
    Steps(1);
    EXPECT_EQ(Uniform(), HardwareIndex(100));
}

TEST_F(BitmapTest, CentredAndOverlappingTilesLandWhereTheyShould) {
    // A 3 x 2 picture: column values 1, 2, 3.
    std::vector<BYTE> rows = {1, 2, 3, 0, 1, 2, 3, 0};
    File("p.bmp", platform::EncodeBitmapFile(3, 2, 8, std::vector<BYTE>(1024), rows));
    Show(Mask(), BitmapCentred, 0, 1, 9, 4);
    Steps(1);
    auto px = canvas->Indices();
    EXPECT_EQ(px[1 * 9 + 3], HardwareIndex(1));  // (9/2 - 3/2, 4/2 - 2/2) = (3, 1)
    EXPECT_EQ(px[2 * 9 + 5], HardwareIndex(3));
    EXPECT_EQ(px[0], Black);
    EXPECT_EQ(px[3 * 9 + 6], Black);
    BitmapFree(record);
    opened_ = false;

    // Tiles at x = 0, 2, 4, 6, 8 and y = 0, 1, 2, 3, overlapping by one.
    Show(Mask(), BitmapTiles, 0, 1, 9, 4);
    Steps(1);
    px = canvas->Indices();
    const std::vector<BYTE> expected = {1, 2, 1, 2, 1, 2, 1, 2, 1};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(px[y * 9 + x], HardwareIndex(expected[x])) << x << "," << y;
}

TEST_F(BitmapTest, SnapshotShowsTheScreenHalfADurationAndASecondAfterTheStart) {
    Show(Mask(), BitmapStretched, 0, 4);
    Set(BitmapFromScreenSlot, 1);
    BitmapStart(record);
    HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
    HGDIOBJ previous = SelectObject(canvas->dc(), grey);
    PatBlt(canvas->dc(), 0, 0, 8, 8, PATCOPY);
    SelectObject(canvas->dc(), previous);
    DeleteObject(grey);
    const int staticGrey = Uniform();
    ASSERT_NE(staticGrey, -1);

    platform::AdvanceTestClock(2999);
    Steps(1);
    EXPECT_EQ(Uniform(), staticGrey) << "not yet";
    platform::AdvanceTestClock(1);
    Steps(1);
    EXPECT_EQ(Uniform(), HardwareIndex(128)) << "the grey level as a palette index";
}

TEST_F(BitmapTest, BadFilesKeepThePreviousPicture) {
    File("a.bmp", Flat8(4, 4, 50));
    std::vector<BYTE> truncated = Flat8(40, 40, 9);
    truncated.resize(600);
    File("b.bmp", truncated);
    File("c.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3});
    File("d.pcx", {0x0A, 5, 1, 8});
    File("e.png", {0x89, 'P', 'N', 'G', 0, 0});
    File("f.rle", {'B', 'M', 0xFF, 0xFF});
    Show(Mask(), BitmapStretched, 0, 1);
    bool seen = false;
    for (int i = 0; i < 12; ++i) {
        Steps(1);
        const int shown = Uniform();
        if (seen) {
            EXPECT_EQ(shown, HardwareIndex(50));
        }
        seen = seen || shown == HardwareIndex(50);
        platform::AdvanceTestClock(1001);
    }
    EXPECT_TRUE(seen);
}

TEST_F(BitmapTest, WithoutVirtualTimeTheWorkerPaintsInAStep) {
    File("a.bmp", Flat8(4, 4, 70));
    Show(Mask(), BitmapStretched, 0, 1);
    platform::UseRealClock();
    BitmapStart(record);
    for (int i = 0; i < 1000 && Uniform() != HardwareIndex(70); ++i) {
        Steps(1);
        Sleep(5);
    }
    EXPECT_EQ(Uniform(), HardwareIndex(70));
}

TEST_F(BitmapTest, AnAbandonedWorkerEndsOnItsOwnState) {
    // A pipe that nobody writes: the worker blocks opening it.
    const std::string pipe = (dir_.path() / "stuck.bmp").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    Show(Mask(), BitmapStretched, 0, 1);
    platform::UseRealClock();
    BitmapStart(record);
    Sleep(50);
    BitmapFree(record);  // gives up after 2 s and abandons the worker
    opened_ = false;
    EXPECT_EQ(Bitmap.worker, nullptr);

    // Let the worker go on now: it reads nonsense and ends, touching only
    // what it owns.  It may close the pipe before anything is written, which
    // must not end the test with SIGPIPE.
    void (*previous)(int) = std::signal(SIGPIPE, SIG_IGN);
    { std::ofstream(pipe, std::ios::binary) << "not a bitmap"; }
    std::signal(SIGPIPE, previous);
    Sleep(200);
    File("a.bmp", Flat8(4, 4, 30));
    std::filesystem::remove(pipe);
    Show(Mask(), BitmapStretched, 0, 1);
    Steps(1);
    EXPECT_EQ(Uniform(), HardwareIndex(30)) << "a new run works";
}

}  // namespace
}  // namespace modtest
