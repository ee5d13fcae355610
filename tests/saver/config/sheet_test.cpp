// The sheet as a whole: its pages, its caption, the entry's flag and help by
// topic.
#include "sheet_fixture.h"

#include <filesystem>
#include <fstream>

#include <QListWidget>

#include "saver/sound/spectrum_block.h"

namespace {

using namespace configtest;

class SettingsSheet : public SheetTest {};

TEST_F(SettingsSheet, SeventeenPagesInOrderStartingAtMainSettings) {
    SharedSpectrum->set(spectrum::analyserMajor, 3);
    SharedSpectrum->set(spectrum::analyserMinor, 2);
    open();
    EXPECT_STREQ(caption, "Lumora v3.6.465 w/Tonalyx v3.2");
    auto* list = platform::widgetForWindow(sheet)->findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    QStringList titles;
    for (int i = 0; i < list->count(); ++i) titles << list->item(i)->text();
    EXPECT_EQ(titles, (QStringList{"Bezier", "Cyclic", "Pattern", "Plasma", "Polygon", "Sphere", "Stain", "Star",
                                   "Vortex", "Effect", "Random", "Slide Show", "Palette", "Custom", "Sound",
                                   "Main Settings", "Display"}));
    EXPECT_EQ(list->currentRow(), 15);
    EXPECT_FALSE(list->item(0)->icon().isNull());
    for (int index : {12, 13, 16}) {
        HWND placeholder = page(index);
        ASSERT_NE(placeholder, nullptr);
        EXPECT_NE(Text(GetDlgItem(placeholder, IDC_STATIC)).find("not available yet"), std::string::npos);
    }
    SharedSpectrum->set(spectrum::analyserMajor, 0);
}

TEST_F(SettingsSheet, TheEntryReturnsAtOnceWhileTheSheetIsOpen) {
    SheetOpen = 1;
    EXPECT_EQ(ScreenSaverConfigureDialog(nullptr, WM_INITDIALOG, 0, 0), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "nothing was shown";
    SheetOpen = 0;
}

TEST_F(SettingsSheet, HelpOpensTheTopicOrTheContents) {
    namespace fs = std::filesystem;
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    fs::path guide = fs::path(windows) / "guide";
    fs::create_directories(guide);
    std::ofstream(fs::path(windows) / HelpFileName) << "contents\tguide/index.html\n"
                                                       "The Lumoric Screen Saver - Main Settings\tguide/main.html\n"
                                                       "The Lumoric Screen Saver - Sound Settings\tguide/sound.html\n";
    for (const char* name : {"index.html", "main.html", "sound.html"}) std::ofstream(guide / name) << "<html>";
    open();
    Click(GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet), IdHelp));
    Click(GetDlgItem(page(14), IdHelp));
    Click(GetDlgItem(page(3), IdHelp));
    QTest::keyClick(platform::widgetForWindow(sheet), Qt::Key_F1);
    std::vector<std::string> expected = {(guide / "main.html").string(), (guide / "sound.html").string(),
                                         (guide / "index.html").string(), (guide / "index.html").string()};
    EXPECT_EQ(ui->openedDocuments(), expected);

    fs::remove(fs::path(windows) / HelpFileName);
    ui->answerNextMessageBox(IDOK);
    Click(GetDlgItem(page(3), IdHelp));
    ASSERT_EQ(ui->messageBoxes().size(), 1u) << "a missing guide is reported";
}

}  // namespace
