// The display mode stored with the settings: the record's layout, and the
// switch at window creation with its restore at the end.
#include "runtime_fixture.h"
#include "saver/runtime/display_mode.h"
#include "saver/settings/key_paths.h"

namespace {

class DisplayModeTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        BOOL previous = FALSE;
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, &previous, 0);
    }
    void TearDown() override {
        ReleaseDirectDraw();
        RuntimeTest::TearDown();
    }

    // The record as the Display page stores it, built byte by byte.
    void storeMode(DWORD bits, DWORD width, DWORD height) {
        BYTE record[DisplayModeSize] = {};
        auto put = [&](int offset, DWORD value) {
            for (int i = 0; i < 4; ++i) record[offset + i] = static_cast<BYTE>(value >> (8 * i));
        };
        put(104, bits);
        put(108, width);
        put(112, height);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, SaverKeyPath().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, DisplayModeValue, 0, REG_BINARY, record, sizeof record);
        RegCloseKey(key);
    }

    BOOL saverRunningFlag() {
        BOOL flag = FALSE;
        SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &flag, 0);
        return flag;
    }

    RECT client(HWND window) {
        RECT rect{};
        GetClientRect(window, &rect);
        return rect;
    }
};

TEST_F(DisplayModeTest, TheRecordKeepsItsFieldsLittleEndianAtTheirOffsets) {
    DisplayMode mode;
    SetModeField(mode, ModeWidth, 0x01020304);
    SetModeField(mode, ModeRefreshRate, 75);
    EXPECT_EQ(mode.bytes[108], 0x04);
    EXPECT_EQ(mode.bytes[111], 0x01);
    EXPECT_EQ(mode.bytes[120], 75);
    EXPECT_EQ(GetModeField(mode, ModeWidth), 0x01020304u);
    EXPECT_EQ(GetModeField(mode, ModeHeight), 0u);

    storeMode(8, 640, 480);
    DisplayMode stored;
    ASSERT_TRUE(ReadDisplayMode(&stored));
    EXPECT_EQ(GetModeField(stored, ModeBitsPerPixel), 8u);
    EXPECT_EQ(GetModeField(stored, ModeWidth), 640u);
    EXPECT_EQ(GetModeField(stored, ModeHeight), 480u);
}

TEST_F(DisplayModeTest, AFullScreenWindowTakesTheStoredModeUntilTheEnd) {
    HWND window = makeWindow(1024, 768);
    storeMode(8, 640, 480);
    EXPECT_EQ(SwitchDisplayMode(window), 1);
    EXPECT_EQ(client(window).right, 640);
    EXPECT_EQ(client(window).bottom, 480);
    ASSERT_TRUE(platform::VirtualModeActive());
    EXPECT_EQ(platform::CurrentVirtualMode().width, 640);
    EXPECT_EQ(platform::CurrentVirtualMode().bitsPerPixel, 8);
    EXPECT_EQ(saverRunningFlag(), TRUE);

    RestoreDisplayMode(window);
    EXPECT_FALSE(platform::VirtualModeActive());
    EXPECT_EQ(saverRunningFlag(), FALSE);
}

TEST_F(DisplayModeTest, APreviewNeverSwitches) {
    HWND preview = makeWindow(152, 112);
    storeMode(8, 640, 480);
    EXPECT_EQ(SwitchDisplayMode(preview), 0);
    EXPECT_EQ(client(preview).right, 152);
    EXPECT_FALSE(platform::VirtualModeActive());
    EXPECT_EQ(saverRunningFlag(), FALSE);
}

TEST_F(DisplayModeTest, WithoutAStoredModeNothingIsSwitchedOrRestored) {
    HWND window = makeWindow(1024, 768);
    EXPECT_EQ(SwitchDisplayMode(window), 0);
    EXPECT_EQ(client(window).right, 1024);
    BOOL previous = FALSE;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 1, &previous, 0);
    RestoreDisplayMode(window);
    EXPECT_EQ(saverRunningFlag(), TRUE);  // untouched
}

TEST_F(DisplayModeTest, AModeTheDriverRefusesStillCountsAsASwitch) {
    HWND window = makeWindow(1024, 768);
    storeMode(8, 333, 222);
    EXPECT_EQ(SwitchDisplayMode(window), 1);
    EXPECT_FALSE(platform::VirtualModeActive());
    RestoreDisplayMode(window);
}

TEST_F(DisplayModeTest, EnumerationReportsZeroedRecordsOfTheOfferedModes) {
    HWND window = makeWindow(1024, 768);
    ASSERT_EQ(InitDirectDraw(window, DDSCL_NORMAL), 1);
    std::vector<DisplayMode> modes;
    EnumerateModes([](const DisplayMode& mode, LPVOID context) {
        static_cast<std::vector<DisplayMode>*>(context)->push_back(mode);
    }, &modes);
    bool found = false;
    for (const DisplayMode& mode : modes) {
        if (GetModeField(mode, ModeWidth) == 640 && GetModeField(mode, ModeHeight) == 480 &&
            GetModeField(mode, ModeBitsPerPixel) == 8) {
            found = true;
            EXPECT_EQ(GetModeField(mode, ModeRefreshRate), 60u);
            DisplayMode expected;
            SetModeField(expected, ModeBitsPerPixel, 8);
            SetModeField(expected, ModeWidth, 640);
            SetModeField(expected, ModeHeight, 480);
            SetModeField(expected, ModeRefreshRate, 60);
            EXPECT_EQ(mode.bytes, expected.bytes);
        }
        EXPECT_LE(GetModeField(mode, ModeWidth), 1024u);
    }
    EXPECT_TRUE(found);
}

}  // namespace
