// The module pages: rows made from the defined slots, what typing, choosing
// and pressing does to the module's record.
#include "sheet_fixture.h"

#include "saver/framework/controls.h"
#include "saver/framework/sources.h"
#include "saver/runtime/saver_proc.h"
#include "saver/sound/spectrum_block.h"

namespace {

using namespace configtest;

constexpr int BezierPage = 0;
constexpr int CyclicPage = 1;
constexpr int RandomPage = 10;
constexpr int SlideShowPage = 11;

class ModulePageTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        open();
    }
    bool visible(HWND page, int id) { return IsWindowVisible(GetDlgItem(page, id)) != FALSE; }
    LRESULT position(HWND page, int id) { return SendDlgItemMessageA(page, id, TBM_GETPOS, 0, 0); }
};

TEST_F(ModulePageTest, RowsFollowTheDefinedSlotsWithTheirNamesAndSources) {
    HWND bezier = page(BezierPage);
    EXPECT_EQ(Text(GetDlgItem(bezier, IdSettingsGroup)), " Current settings for the Bezier module: ");
    EXPECT_EQ(Text(GetDlgItem(bezier, IdTestModule)), "&Test Bezier Settings");
    EXPECT_EQ(Text(GetDlgItem(bezier, RowLabel + 1)), "Symmetry");
    // Slot 0 may not follow the sound, slot 1 may.
    EXPECT_EQ(SendDlgItemMessageA(bezier, RowSource + 0, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendDlgItemMessageA(bezier, RowSource + 1, CB_GETCOUNT, 0, 0), 22);
    char entry[32] = {};
    SendDlgItemMessageA(bezier, RowSource + 1, CB_GETLBTEXT, 21, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, "18KHz");
    EXPECT_FALSE(visible(bezier, IdPageLabel)) << "no slot from 10 on: no second page";

    HWND random = page(RandomPage);
    EXPECT_EQ(Text(GetDlgItem(random, IdSettingsGroup)), " Current settings for the Random module: ");
    EXPECT_EQ(GetDlgItem(random, RowLabel + 5), nullptr) << "slot 5 of the Random module is not defined";
    HWND slides = page(SlideShowPage);
    RECT strength{}, smoothing{};
    GetWindowRect(GetDlgItem(slides, RowValueTrack + 9), &strength);
    GetWindowRect(GetDlgItem(slides, RowValueTrack + 3), &smoothing);
    RECT rows{0, 0, 0, 15 * 6 - 27};
    MapDialogRect(slides, &rows);
    EXPECT_NEAR(strength.top - smoothing.top, rows.bottom, 1) << "the Strength row moves up into the empty rows";
}

TEST_F(ModulePageTest, ANumberTypedIsHeldToTheSlotsLimitsAndMovesTheTrackbar) {
    HWND bezier = page(BezierPage);
    ASSERT_EQ(ModuleTable[ModuleBezier].max[4], 320);
    Type(GetDlgItem(bezier, RowValueEdit + 4), "500");
    EXPECT_EQ(ModuleTable[ModuleBezier].value[4], 320);
    EXPECT_EQ(position(bezier, RowValueTrack + 4), 320);
    EXPECT_EQ(SendDlgItemMessageA(bezier, RowValueTrack + 4, TBM_GETRANGEMAX, 0, 0), 320);
    EXPECT_EQ(Text(GetDlgItem(bezier, RowValueEdit + 4)), "320");
    EXPECT_EQ(SettingsModified, 1u);

    Type(GetDlgItem(bezier, RowValueEdit + 4), "fast");
    EXPECT_EQ(ModuleTable[ModuleBezier].value[4], 320) << "no number: the stored value stays";
    EXPECT_EQ(Text(GetDlgItem(bezier, RowValueEdit + 4)), "320");
    Type(GetDlgItem(bezier, RowValueEdit + 4), "-99999999999999999999");
    EXPECT_EQ(ModuleTable[ModuleBezier].value[4], 1);

    Drag(GetDlgItem(bezier, RowValueTrack + 3), 50);
    EXPECT_EQ(ModuleTable[ModuleBezier].value[3], 50);
    EXPECT_EQ(Text(GetDlgItem(bezier, RowValueEdit + 3)), "50");
}

TEST_F(ModulePageTest, ASourceOtherThanSetShowsTheStoredRangeAndTheSense) {
    ModuleRecord& bezier = ModuleTable[ModuleBezier];
    bezier.rangeLo[1] = 3;
    bezier.rangeHi[1] = 20;
    bezier.value[1] = 10;
    HWND page0 = page(BezierPage);
    Choose(GetDlgItem(page0, RowSource + 1), SourceRandom);
    EXPECT_EQ(bezier.source[1], SourceRandom);
    EXPECT_FALSE(visible(page0, RowValueTrack + 1));
    EXPECT_FALSE(visible(page0, RowValueEdit + 1));
    for (int id : {RowLowTrack, RowHighTrack, RowLowEdit, RowHighEdit, RowSenseEdit, RowSenseUpDown})
        EXPECT_TRUE(visible(page0, id + 1)) << id;
    EXPECT_EQ(position(page0, RowLowTrack + 1), 3);
    EXPECT_EQ(position(page0, RowHighTrack + 1), 20);
    EXPECT_TRUE(visible(page0, RowValueTrack + 2)) << "the other rows keep their layout";

    HWND arrows = GetDlgItem(page0, RowSenseUpDown + 1);
    Arrow(arrows, true);
    EXPECT_EQ(bezier.sense[1], 10) << "the sense never passes 10";
    for (int i = 0; i < 12; ++i) Arrow(arrows, false);
    EXPECT_EQ(bezier.sense[1], 1) << "nor falls below 1";
    EXPECT_EQ(Text(GetDlgItem(page0, RowSenseEdit + 1)), "1");
}

TEST_F(ModulePageTest, TheRangeEndsAreHeldToTheLimitsAndMayStandReversed) {
    ModuleRecord& vortex = ModuleTable[ModuleVortex];
    vortex.source[2] = SourceOscillate;  // Amplitude, 1 to 200
    HWND page8 = page(8);
    Type(GetDlgItem(page8, RowLowEdit + 2), "-5");
    Type(GetDlgItem(page8, RowHighEdit + 2), "9999");
    EXPECT_EQ(vortex.rangeLo[2], 1);
    EXPECT_EQ(vortex.rangeHi[2], 200);
    EXPECT_EQ(position(page8, RowHighTrack + 2), 200);
    Drag(GetDlgItem(page8, RowLowTrack + 2), 150);
    Drag(GetDlgItem(page8, RowHighTrack + 2), 20);
    EXPECT_EQ(vortex.rangeLo[2], 150);
    EXPECT_EQ(vortex.rangeHi[2], 20) << "a low end above the high one turns the direction round";
    EXPECT_EQ(Text(GetDlgItem(page8, RowHighEdit + 2)), "20");
    EXPECT_EQ(vortex.value[2], vortex.defaultValue[2]) << "the hidden value trackbar keeps the value";
}

TEST_F(ModulePageTest, ASoundSourceStaysAsSavedWithoutTheAnalyser) {
    ModuleTable[ModuleBezier].source[1] = SourceVolume;
    ActiveModules[ModuleBezier] = 1;
    SaveDisplay("Loud");
    ModuleTable[ModuleBezier].source[1] = SourceSet;
    ASSERT_EQ(SharedSpectrum->get(spectrum::running), 0u);
    LoadDisplay("Loud");
    EXPECT_EQ(ModuleTable[ModuleBezier].source[1], SourceVolume) << "the saver would oscillate it; the sheet keeps it";
    HWND bezier = page(BezierPage);
    EXPECT_EQ(SendDlgItemMessageA(bezier, RowSource + 1, CB_GETCURSEL, 0, 0), SourceVolume);
}

TEST_F(ModulePageTest, ASourceItsListDoesNotOfferIsLeftAloneWhenAnotherRowChanges) {
    ModuleTable[ModuleBezier].source[0] = SourceRight;  // slot 0 offers only Set and Random
    HWND page0 = page(BezierPage);
    Choose(GetDlgItem(page0, RowSource + 2), SourceRandom);
    EXPECT_EQ(ModuleTable[ModuleBezier].source[0], SourceRight);
    EXPECT_EQ(ModuleTable[ModuleBezier].source[2], SourceRandom);
}

TEST_F(ModulePageTest, AModuleWithSlotsFromTenOnSwitchesBetweenTwoSubPages) {
    HWND cyclic = page(CyclicPage);
    EXPECT_TRUE(visible(cyclic, IdPageLabel));
    EXPECT_EQ(Text(GetDlgItem(cyclic, IdPageLabel)), "Page 1 of 2");
    EXPECT_TRUE(visible(cyclic, RowLabel + 0));
    EXPECT_FALSE(visible(cyclic, RowLabel + 10));
    HWND arrows = GetDlgItem(cyclic, IdPageUpDown);
    Arrow(arrows, false);
    EXPECT_EQ(ModuleTable[ModuleCyclic].page, 1u);
    EXPECT_EQ(Text(GetDlgItem(cyclic, IdPageLabel)), "Page 2 of 2");
    EXPECT_FALSE(visible(cyclic, RowLabel + 0));
    EXPECT_TRUE(visible(cyclic, RowLabel + 10));
    Arrow(arrows, false);
    EXPECT_EQ(ModuleTable[ModuleCyclic].page, 1u) << "there is no third page";
    page(BezierPage);
    cyclic = page(CyclicPage);
    EXPECT_TRUE(visible(cyclic, RowLabel + 10)) << "the module remembers its sub-page";
    Arrow(arrows, true);
    EXPECT_EQ(ModuleTable[ModuleCyclic].page, 0u);
}

TEST_F(ModulePageTest, TabVisitsTheRowsInTheirOrderThenTheSwitcherAndTheButtons) {
    ModuleTable[ModuleCyclic].source[1] = SourceRandom;
    HWND cyclic = page(CyclicPage);
    SetFocus(GetDlgItem(cyclic, RowValueTrack + 0));
    std::vector<int> visited;
    for (int i = 0; i < 40 && (visited.empty() || visited.back() != IdReset); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(GetDlgCtrlID(GetFocus()));
    }
    std::vector<int> expected = {RowValueEdit + 0, RowSource + 0,
                                 RowLowTrack + 1, RowLowEdit + 1, RowHighTrack + 1, RowHighEdit + 1, RowSenseEdit + 1,
                                 RowSource + 1};
    for (int slot : {2, 3, 4, 5, 6, 7, 9})
        expected.insert(expected.end(), {RowValueTrack + slot, RowValueEdit + slot, RowSource + slot});
    expected.insert(expected.end(), {IdPageUpDown, IdReset});
    EXPECT_EQ(visited, expected) << "the hidden rows of the second sub-page are passed over";

    // The sub-page switcher answers the arrow keys.
    SetFocus(GetDlgItem(cyclic, IdPageUpDown));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(ModuleTable[ModuleCyclic].page, 1u);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(cyclic, RowLabel + 10)));
}

TEST_F(ModulePageTest, ResetRestoresTheDefaultsAndATestRunsOnlyThisModule) {
    ModuleRecord& star = ModuleTable[ModuleStar];
    HWND page7 = page(7);
    Type(GetDlgItem(page7, RowValueEdit + 0), "77");
    Choose(GetDlgItem(page7, RowSource + 1), SourceOscillate);
    SettingsModified = 0;
    Click(GetDlgItem(page7, IdReset));
    EXPECT_EQ(star.value[0], star.defaultValue[0]);
    EXPECT_EQ(star.source[1], SourceSet);
    EXPECT_EQ(SettingsModified, 1u);
    EXPECT_TRUE(visible(page7, RowValueTrack + 1));

    DWORD before[ModuleCount];
    std::memcpy(before, ActiveModules, sizeof before);
    Click(GetDlgItem(page7, IdTestModule));
    ASSERT_EQ(startedCommands.size(), 1u);
    for (int module = 0; module < ModuleCount; ++module)
        EXPECT_EQ(DisplayHasModule(TestDisplayName, ModuleNames[module]) != FALSE, module == ModuleStar)
            << ModuleNames[module];
    EXPECT_EQ(std::memcmp(before, ActiveModules, sizeof before), 0) << "the module flags are put back";
    reactivate();
    EXPECT_FALSE(DisplayExists(TestDisplayName));
}

TEST_F(ModulePageTest, TheSlideShowsFileNameAndFormats) {
    HKEY filter = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\Graphics Filters\\Import\\JPEG", 0,
                    nullptr, 0, KEY_ALL_ACCESS, nullptr, &filter, nullptr);
    RegSetValueExA(filter, "Extensions", 0, REG_SZ, reinterpret_cast<const BYTE*>("jpg"), 4);
    RegCloseKey(filter);
    DestroyWindow(sheet);
    open();
    HWND slides = page(SlideShowPage);
    // Bitmaps first, then the shipped filters' types and ours, each once.
    std::string formats = Text(GetDlgItem(slides, IdFormats));
    EXPECT_EQ(formats.rfind("*.bmp, ", 0), 0u) << formats;
    EXPECT_NE(formats.find("*.pcx"), std::string::npos) << formats;
    std::size_t jpg = formats.find("*.jpg");
    ASSERT_NE(jpg, std::string::npos) << formats;
    EXPECT_EQ(formats.find("*.jpg", jpg + 1), std::string::npos) << formats;
    SettingsModified = 1;
    Type(GetDlgItem(slides, IdFileName), "");
    EXPECT_EQ(SettingsModified, 1u) << "an unchanged name keeps the settings changed";
    SettingsModified = 0;
    Type(GetDlgItem(slides, IdFileName), "/pictures/*.bmp");
    EXPECT_STREQ(ModuleTable[ModuleBitmap].path, "/pictures/*.bmp");
    EXPECT_EQ(SettingsModified, 1u);

    ui->pickFiles({"/pictures/sea.bmp"});
    Click(GetDlgItem(slides, IdBrowse));
    EXPECT_STREQ(ModuleTable[ModuleBitmap].path, "/pictures/sea.bmp");
    EXPECT_EQ(Text(GetDlgItem(slides, IdFileName)), "/pictures/sea.bmp");
}

}  // namespace
