// The Main Settings page: options, saved displays, test runs.
#include "sheet_fixture.h"

#include <QComboBox>

#include "saver/runtime/saver_proc.h"

namespace {

using namespace configtest;

class MainPageTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        WriteSaverValue("Active", SaverKeyWord, REG_SZ, "[D] Plasma", sizeof "[D] Plasma");
        LoadDisplay("[D] Plasma");
        open();
        main = PropSheet_GetCurrentPageHwnd(sheet);
    }
    HWND item(int id) { return GetDlgItem(main, id); }
    void typeName(const std::string& name) { SetDlgItemTextA(main, IdDisplayList, name.c_str()); }
    int listCount() { return static_cast<int>(SendDlgItemMessageA(main, IdDisplayList, CB_GETCOUNT, 0, 0)); }
    bool listed(const char* name) {
        return SendDlgItemMessageA(main, IdDisplayList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(name)) >= 0;
    }

    HWND main = nullptr;
};

TEST_F(MainPageTest, OpensAtTheActiveDisplayWithItsOptions) {
    EXPECT_STREQ(caption, "Lumora v3.6.465");
    EXPECT_EQ(main, MainSettingsPage);
    EXPECT_EQ(Text(item(IdDisplayList)), "[D] Plasma");
    EXPECT_EQ(IsDlgButtonChecked(main, ModuleCheckIds[ModulePlasma]), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(main, ModuleCheckIds[ModuleBezier]), BST_UNCHECKED);
    EXPECT_EQ(SendDlgItemMessageA(main, IdTitleTrack, TBM_GETRANGEMAX, 0, 0), 120);
    EXPECT_EQ(SendDlgItemMessageA(main, IdAnimate, TBM_GETRANGEMAX, 0, 0), 10);
    EXPECT_EQ(Text(item(IdColourNote)), "All screen saver features are fully functional in this video mode.");
}

TEST_F(MainPageTest, ApplyStoresScratchOnlyWhenTheSettingsWereChanged) {
    Drag(item(IdAnimate), 7);
    pressOk();
    DWORD speed = 0;
    DWORD size = sizeof speed;
    ReadSaverValue("Speed", SaverKeyWord, nullptr, &speed, &size);
    EXPECT_EQ(speed, 7u) << "the Animate trackbar changes the speed, not the display";
    EXPECT_FALSE(DisplayExists("Scratch"));
    EXPECT_EQ(ActiveValue(), "[D] Plasma");

    DestroyWindow(sheet);
    open();
    main = PropSheet_GetCurrentPageHwnd(sheet);
    Click(item(ModuleCheckIds[ModuleStar]));
    EXPECT_EQ(Text(item(IdDisplayList)), "Scratch");
    Drag(item(IdTitleTrack), 30);
    EXPECT_EQ(Text(item(IdTitleSeconds)), "30");
    pressOk();
    EXPECT_TRUE(DisplayExists("Scratch"));
    EXPECT_EQ(ActiveValue(), "Scratch");
    EXPECT_TRUE(DisplayHasModule("Scratch", "Star"));
    EXPECT_TRUE(DisplayHasModule("Scratch", "Plasma"));
    EXPECT_EQ(SaverOptions.ShowName, 30u);
}

TEST_F(MainPageTest, SaveSelectionAddsTheNameAndDeleteRemovesOnlyAListedOne) {
    int before = listCount();
    Click(item(ModuleCheckIds[ModuleVortex]));
    typeName("Night");
    Click(item(IdSaveSelection));
    EXPECT_TRUE(DisplayExists("Night"));
    EXPECT_TRUE(DisplayHasModule("Night", "Vortex"));
    EXPECT_EQ(listCount(), before + 1);
    EXPECT_EQ(SettingsModified, 0u);
    typeName("NIGHT");
    Click(item(IdSaveSelection));
    EXPECT_EQ(listCount(), before + 1) << "names are compared without regard to case";

    typeName("Nowhere");
    Click(item(IdDeleteSelection));
    EXPECT_EQ(listCount(), before + 1);
    EXPECT_TRUE(DisplayExists("Night"));
    typeName("night");
    Click(item(IdDeleteSelection));
    EXPECT_FALSE(DisplayExists("Night"));
    EXPECT_FALSE(listed("Night"));
}

TEST_F(MainPageTest, NamesTheStoreCannotKeepAreRefusedWithAMessage) {
    int before = listCount();
    for (const std::string& name : {std::string(), std::string(128, 'x'), std::string("Day\\Night")}) {
        ui->answerNextMessageBox(IDOK);
        typeName(name);
        Click(item(IdSaveSelection));
        ui->answerNextMessageBox(IDOK);
        Click(item(IdExport));
    }
    EXPECT_EQ(ui->messageBoxes().size(), 6u);
    EXPECT_EQ(ui->messageBoxes()[0].caption, "Invalid display name");
    EXPECT_TRUE(ui->fileDialogs().empty()) << "nothing was exported";
    EXPECT_EQ(listCount(), before);
    EXPECT_FALSE(DisplayExists(std::string(127, 'x')));
    EXPECT_FALSE(KeyExists((SavedKeyPath() + "\\Day").c_str()));
}

TEST_F(MainPageTest, ChoosingADisplayLoadsItAndClearsTheChange) {
    Click(item(ModuleCheckIds[ModuleBezier]));
    ASSERT_EQ(SettingsModified, 1u);
    auto* list = Widget<QComboBox>(item(IdDisplayList));
    Choose(item(IdDisplayList), list->findText("[D] Star"));
    EXPECT_EQ(ActiveValue(), "[D] Star");
    EXPECT_EQ(SettingsModified, 0u);
    EXPECT_EQ(IsDlgButtonChecked(main, ModuleCheckIds[ModuleStar]), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(main, ModuleCheckIds[ModulePlasma]), BST_UNCHECKED);
    EXPECT_EQ(ActiveModules[ModuleStar], 1u);
    EXPECT_EQ(ActiveModules[ModuleBezier], 0u);
}

TEST_F(MainPageTest, AnExportedDisplayComesBackByImportAsTheChosenOne) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    std::string file = std::string(windows) + "/Dawn.LUM";
    Click(item(ModuleCheckIds[ModuleSphere]));
    typeName("Dawn");
    ui->pickFiles({file});
    Click(item(IdExport));
    ASSERT_TRUE(DisplayExists("Dawn")) << "Export saves the settings under the name first";
    EXPECT_TRUE(listed("Dawn"));
    typeName("Dawn");
    Click(item(IdDeleteSelection));
    ASSERT_FALSE(DisplayExists("Dawn"));

    Click(item(ModuleCheckIds[ModuleBezier]));
    ASSERT_EQ(SettingsModified, 1u);
    ui->pickFiles({file});
    Click(item(IdImport));
    EXPECT_TRUE(DisplayHasModule("Dawn", "Sphere"));
    EXPECT_EQ(Text(item(IdDisplayList)), "Dawn");
    EXPECT_EQ(ActiveValue(), "Dawn");
    EXPECT_EQ(SettingsModified, 0u);
    EXPECT_EQ(IsDlgButtonChecked(main, ModuleCheckIds[ModuleSphere]), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(main, ModuleCheckIds[ModuleBezier]), BST_UNCHECKED) << "the display was loaded";
}

TEST_F(MainPageTest, APriorityClassNoButtonShowsIsKept) {
    SaverOptions.Priority = 16;
    DestroyWindow(sheet);
    open();
    main = PropSheet_GetCurrentPageHwnd(sheet);
    for (int id : {IdPriorityHigh, IdPriorityNormal, IdPriorityLow}) EXPECT_EQ(IsDlgButtonChecked(main, id), BST_UNCHECKED);
    pressOk();
    EXPECT_EQ(SaverOptions.Priority, 16u);
}

TEST_F(MainPageTest, APreviewShowsTheTestDisplayUntilTheSheetIsActiveAgain) {
    Click(item(ModuleCheckIds[ModuleCyclic]));
    Click(item(IdTestAll));
    ASSERT_EQ(startedCommands.size(), 1u);
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, sizeof program);
    EXPECT_EQ(startedCommands[0], "\"" + std::string(program) + "\" /S");
    EXPECT_EQ(ActiveValue(), TestDisplayName);
    EXPECT_TRUE(DisplayHasModule(TestDisplayName, "Cyclic"));

    SendMessageA(sheet, PSM_SETCURSEL, 0, 0);  // the test ends on whichever page shows
    reactivate();
    EXPECT_FALSE(DisplayExists(TestDisplayName));
    EXPECT_EQ(ActiveValue(), "[D] Plasma");
    EXPECT_FALSE(listed(TestDisplayName));
    EXPECT_EQ(Text(item(IdDisplayList)), "Scratch") << "the list prefers Scratch while the settings are changed";

    startResult = 2;
    SendMessageA(sheet, PSM_SETCURSEL, MainSettingsPageIndex, 0);
    Click(item(IdTestAll));
    EXPECT_EQ(ui->beeps().size(), 1u) << "a program that cannot start beeps";
    reactivate();
    EXPECT_FALSE(DisplayExists(TestDisplayName));
}

TEST_F(MainPageTest, ASheetGoneDuringATestGivesTheDisplayBackWhenTheNextOneOpens) {
    Click(item(ModuleCheckIds[ModuleCyclic]));
    Click(item(IdTestAll));
    ASSERT_EQ(ActiveValue(), TestDisplayName);
    // Killed with the test running: nothing of its end happens.
    DestroyWindow(sheet);
    CloseSettings();
    TestRunning = 0;
    ASSERT_TRUE(OpenSettings(nullptr));
    EXPECT_EQ(ActiveValue(), "[D] Plasma");
    EXPECT_FALSE(DisplayExists(TestDisplayName));
}

TEST(ColourDepthNote, NamesTheColoursOfAScreenThatIsNotOf256) {
    char note[320];
    ColourDepthNote(256, note, sizeof note);
    EXPECT_STREQ(note, "All screen saver features are fully functional in this video mode.");
    ColourDepthNote(65536, note, sizeof note);
    EXPECT_EQ(std::string(note).rfind("You are running in a 65536 color video mode.  Many animation features", 0), 0u);
    ColourDepthNote(16, note, sizeof note);
    EXPECT_NE(std::string(note).find("in a 16 color video mode"), std::string::npos);
}

}  // namespace
