// The sheet as a whole: its pages, its caption, the entry's flag and help by
// topic.
#include "sheet_fixture.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

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
    SharedSpectrum->set(spectrum::analyserMajor, 0);
}

TEST_F(SettingsSheet, TheEntryReturnsAtOnceWhileTheSheetIsOpen) {
    SheetOpen = 1;
    EXPECT_EQ(ScreenSaverConfigureDialog(nullptr, WM_INITDIALOG, 0, 0), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "nothing was shown";
    SheetOpen = 0;
}

TEST_F(SettingsSheet, HelpOpensTheGuidesPageOfTheTopicOrItsContents) {
    namespace fs = std::filesystem;
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    fs::path guide = fs::path(windows) / "lumora-help";
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

// Every keyword of the index and every link of every page leads to a page of
// the guide, and each module has its page.
TEST(HelpGuide, IsWholeAndPutBackWhereItWasDamaged) {
    namespace fs = std::filesystem;
    InstallHelp();
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    fs::path guide = fs::path(windows) / "lumora-help";
    auto read = [](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    std::string index = read(fs::path(windows) / HelpFileName);
    for (const char* topic : {"contents", "Sound Settings", "Main Settings", "Palette Settings", "Display Settings",
                              "Custom Palette Settings"})
        EXPECT_NE(index.find(topic), std::string::npos) << topic;
    // The files a page's href="..." and src="..." name (web addresses aside).
    auto targets = [](const std::string& text) {
        std::vector<std::string> found;
        for (const char* attribute : {"href=\"", "src=\""})
            for (std::size_t at = text.find(attribute); at != std::string::npos; at = text.find(attribute, at + 1)) {
                std::size_t start = at + std::strlen(attribute);
                std::string target = text.substr(start, text.find('"', start) - start);
                if (target.find(':') == std::string::npos) found.push_back(target.substr(0, target.find('#')));
            }
        return found;
    };
    int pages = 0;
    int links = 0;
    for (const auto& entry : fs::directory_iterator(guide)) {
        if (entry.path().extension() != ".html") continue;
        ++pages;
        std::string text = read(entry.path());
        for (const std::string& target : targets(text)) {
            ++links;
            EXPECT_TRUE(fs::exists(guide / target)) << entry.path().filename() << " links to " << target;
        }
    }
    EXPECT_GE(pages, 19) << "a contents page, a page per topic and module, and how the rows work";
    EXPECT_GT(links, pages) << "every page links to its style and back to the contents";
    std::string contents = read(guide / "index.html");
    for (const char* module : {"bezier", "cyclic", "pattern", "plasma", "polygon", "sphere", "stain", "star",
                               "vortex", "effect", "random", "slideshow"})
        EXPECT_NE(contents.find(std::string("href=\"") + module + ".html\""), std::string::npos) << module;

    std::ofstream(guide / "main.html") << "damaged";
    fs::remove(guide / "star.png");
    InstallHelp();
    EXPECT_NE(read(guide / "main.html").find("Saved Displays"), std::string::npos);
    EXPECT_TRUE(fs::exists(guide / "star.png"));
}

}  // namespace
