// The Display page: the modes described as the list shows them, the stored
// mode set and cleared, and a video-mode test that leaves the stored mode as
// it found it.
#include "sheet_fixture.h"

#include <vector>

#include "saver/runtime/display_mode.h"

namespace {

using namespace configtest;

constexpr int DisplayPage = 16;

std::string Described(DWORD bits, DWORD width, DWORD height, DWORD frequency) {
    DisplayMode mode;
    SetModeField(mode, ModeBitsPerPixel, bits);
    SetModeField(mode, ModeWidth, width);
    SetModeField(mode, ModeHeight, height);
    SetModeField(mode, ModeRefreshRate, frequency);
    char text[96];
    DescribeDisplayMode(mode, text, sizeof text);
    return text;
}

TEST(DisplayModeDescription, PadsTheColoursByDepthAndNamesTheRefresh) {
    EXPECT_EQ(Described(8, 640, 480, 0), "     256 colors at 640x480 (default refresh)");
    EXPECT_EQ(Described(32, 1024, 768, 60), " 4294967295 colors at 1024x768 60Hz");
    EXPECT_EQ(Described(16, 800, 600, 1), "   65536 colors at 800x600 (default refresh)");
    EXPECT_EQ(Described(15, 320, 200, 72), "    32768 colors at 320x200 72Hz");
    EXPECT_EQ(Described(24, 1600, 1200, 85), "  16777216 colors at 1600x1200 85Hz");
    EXPECT_EQ(Described(4, 640, 480, 0), "16 colors at 640x480 (default refresh)") << "any other depth: no padding";
    EXPECT_EQ(Described(64, 640, 480, 0), "4294967295 colors at 640x480 (default refresh)") << "no shift past 32";
}

// The stored value exactly: type and bytes, or nothing.
struct RawValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> bytes;
    bool operator==(const RawValue&) const = default;
};

RawValue StoredMode() {
    RawValue value;
    BYTE buffer[512];
    DWORD size = sizeof buffer;
    value.present = ReadSaverValue(DisplayModeValue, SaverKeyWord, &value.type, buffer, &size) != FALSE;
    if (value.present) value.bytes.assign(buffer, buffer + size);
    return value;
}

class DisplayPageTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        open();
        display = page(DisplayPage);
    }
    std::string entry(int index) {
        char text[128] = {};
        SendDlgItemMessageA(display, IdModeList, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }
    int count() { return static_cast<int>(SendDlgItemMessageA(display, IdModeList, LB_GETCOUNT, 0, 0)); }
    void select(int index) { SendDlgItemMessageA(display, IdModeList, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

    HWND display = nullptr;
};

TEST_F(DisplayPageTest, ListsTheOfferedModesSortedAndSetsAndClearsTheStoredOne) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_GE(count(), 4);
    for (int i = 1; i < count(); ++i) EXPECT_LE(entry(i - 1), entry(i)) << "sorted by text";
    EXPECT_EQ(entry(0).rfind("     256 colors at ", 0), 0u) << "the 256-colour modes come first: " << entry(0);
    EXPECT_EQ(SendDlgItemMessageA(display, IdModeList, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Text(GetDlgItem(display, IdStoredMode)), "Default");
    EXPECT_EQ(Text(GetDlgItem(display, IdCurrentMode)),
              "     256 colors at " + std::to_string(width) + "x" + std::to_string(height) + " 60Hz");

    int chosen = count() - 1;  // a 32-bit mode
    select(chosen);
    Click(GetDlgItem(display, IdSetMode));
    EXPECT_EQ(Text(GetDlgItem(display, IdStoredMode)), entry(chosen));
    RawValue stored = StoredMode();
    ASSERT_TRUE(stored.present);
    EXPECT_EQ(stored.type, REG_BINARY);
    ASSERT_EQ(stored.bytes.size(), DisplayModeSize);
    DisplayMode mode;
    ReadDisplayMode(&mode);
    EXPECT_EQ(GetModeField(mode, ModeBitsPerPixel), 32u);
    char text[96];
    DescribeDisplayMode(mode, text, sizeof text);
    EXPECT_EQ(entry(chosen), text) << "the entry's record is what is stored";

    // The page shows the stored mode when it is made again.
    DestroyWindow(sheet);
    open();
    display = page(DisplayPage);
    EXPECT_EQ(Text(GetDlgItem(display, IdStoredMode)), text);
    Click(GetDlgItem(display, IdClearMode));
    EXPECT_EQ(Text(GetDlgItem(display, IdStoredMode)), "Default");
    EXPECT_FALSE(StoredMode().present);
}

TEST_F(DisplayPageTest, AVideoModeTestLeavesTheStoredModeAsItFoundIt) {
    // Nothing stored: the test stores the chosen mode, its end removes it.
    select(2);
    Click(GetDlgItem(display, IdTestMode));
    ASSERT_EQ(startedCommands.size(), 1u);
    EXPECT_TRUE(StoredMode().present) << "the saver started for the test reads the mode";
    EXPECT_EQ(ActiveValue(), TestDisplayName);
    reactivate();
    EXPECT_FALSE(StoredMode().present);
    EXPECT_FALSE(DisplayExists(TestDisplayName));

    // Something stored, even of an odd length: it comes back byte for byte.
    const BYTE odd[] = {1, 2, 3, 4, 5, 6, 7};
    WriteSaverValue(DisplayModeValue, SaverKeyWord, REG_BINARY, odd, sizeof odd);
    RawValue before = StoredMode();
    Click(GetDlgItem(display, IdTestMode));
    Click(GetDlgItem(display, IdTestMode));
    EXPECT_EQ(StoredMode().bytes.size(), DisplayModeSize);
    reactivate();
    EXPECT_EQ(StoredMode(), before) << "a second test before the end keeps the first one's memory";

    // A sheet closed during a test puts it back too.
    Click(GetDlgItem(display, IdTestMode));
    DestroyWindow(sheet);
    EXPECT_EQ(StoredMode(), before);
}

TEST_F(DisplayPageTest, ANewScreenModeIsShownAsTheCurrentOne) {
    SendMessageA(sheet, WM_DISPLAYCHANGE, 16, MAKELPARAM(1024, 768));
    EXPECT_EQ(Text(GetDlgItem(display, IdCurrentMode)), "65536 colors at 1024x768");
}

}  // namespace
