// The Custom page: the grid as the mouse and the eye meet it, the sliders,
// Copy To, Undo, masks, palette files and the test run.
#include "sheet_fixture.h"

#include <QImage>
#include <QMouseEvent>

#include <fstream>
#include <iterator>

#include "saver/framework/module_record.h"
#include "support/temp_dir.h"

namespace {

using namespace configtest;

constexpr int CustomPage = 13;

class CustomPageTest : public SheetTest {
protected:
    void showPage() {
        open();
        custom = page(CustomPage);
        grid = GetDlgItem(custom, IdPaletteGrid);
        ASSERT_NE(grid, nullptr);
        Settle();
    }

    PALETTEENTRY* colours() { return CurrentPalette->customColours; }

    // The span of cell i in the grid's client area.
    RECT span(int i) {
        RECT client{};
        GetClientRect(grid, &client);
        const float width = static_cast<float>(client.right - 5 - 3) / 16;
        const float height = static_cast<float>(client.bottom - 5 - 3) / 15;
        const int c = i % 16;
        const int r = i / 16;
        return RECT{2 + static_cast<LONG>(c * width), 2 + static_cast<LONG>(r * height),
                    2 + static_cast<LONG>((c + 1) * width), 2 + static_cast<LONG>((r + 1) * height)};
    }
    QPoint centre(int i) {
        const RECT s = span(i);
        return QPoint((s.left + s.right) / 2, (s.top + s.bottom) / 2);
    }

    void mouse(QEvent::Type type, QPoint at) {
        QWidget* widget = platform::widgetForWindow(grid);
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    // Presses on one cell, moves over others and lets go on the last.
    void drag(std::initializer_list<QPoint> path) {
        const QPoint* point = path.begin();
        mouse(QEvent::MouseButtonPress, *point);
        for (++point; point != path.end(); ++point) mouse(QEvent::MouseMove, *point);
        mouse(QEvent::MouseButtonRelease, *(path.end() - 1));
        Settle();
    }
    void select(int from, int to) { drag({centre(from), centre(to)}); }

    // The grid as it shows now.
    QImage picture() { return platform::widgetForWindow(grid)->grab().toImage(); }
    // A pixel's colour without its alpha.
    static QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
    static bool Framed(const QImage& image, const RECT& s, QRgb colour) {
        return At(image, s.left + 1, (s.top + s.bottom) / 2) == (colour & 0xFFFFFF);
    }
    std::vector<int> framedWhite() {
        const QImage image = picture();
        std::vector<int> cells;
        for (int i = 0; i < PaletteEntryCount; ++i)
            if (Framed(image, span(i), qRgb(255, 255, 255))) cells.push_back(i);
        return cells;
    }
    int slider(int id) { return static_cast<int>(SendDlgItemMessageA(custom, id, TBM_GETPOS, 0, 0)); }

    HWND custom = nullptr;
    HWND grid = nullptr;
};

std::vector<int> Range(int from, int to) {
    std::vector<int> cells;
    for (int i = from; i <= to; ++i) cells.push_back(i);
    return cells;
}

TEST_F(CustomPageTest, TheGridShowsTheColoursAndSelectsByPressAndDrag) {
    showPage();
    for (int i = 0; i < PaletteEntryCount; ++i) colours()[i] = PALETTEENTRY{BYTE(i), 40, BYTE(255 - i), PC_RESERVED};
    reactivate();  // the page shows the new colours when it is active again
    SendMessageA(sheet, PSM_SETCURSEL, MainSettingsPageIndex, 0);
    page(CustomPage);
    EXPECT_EQ(framedWhite(), (std::vector<int>{0}));
    const QImage image = picture();
    for (int i : {0, 17, 235}) {
        const QPoint inside = centre(i);
        EXPECT_EQ(At(image, inside.x(), inside.y()), qRgb(i, 40, 255 - i) & 0xFFFFFF) << i;
    }
    EXPECT_TRUE(Framed(image, span(17), qRgb(0, 0, 0)));

    // The margin holds no cell.
    drag({QPoint(1, 1)});
    EXPECT_EQ(framedWhite(), (std::vector<int>{235}));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(custom, IdReverse)));
    EXPECT_EQ(slider(IdRedSlider), 235);
    EXPECT_EQ(slider(IdBlueSlider), 20);

    drag({centre(40), centre(25), centre(10)});
    EXPECT_EQ(framedWhite(), Range(10, 40));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(custom, IdReverse)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(custom, IdGradient)));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(CustomPageTest, SlidersScaleSeveralEntriesAndSetOne) {
    showPage();
    select(10, 40);
    for (int id : {IdRedSlider, IdGreenSlider, IdBlueSlider}) EXPECT_EQ(slider(id), 128);
    PALETTEENTRY backup[PaletteEntryCount];
    std::memcpy(backup, colours(), sizeof backup);
    SettingsModified = 0;
    Drag(GetDlgItem(custom, IdRedSlider), 64);
    for (int i = 10; i <= 40; ++i) {
        EXPECT_EQ(colours()[i].peRed, backup[i].peRed / 2) << i;
        EXPECT_EQ(colours()[i].peGreen, backup[i].peGreen) << i;
    }
    EXPECT_EQ(colours()[41].peRed, backup[41].peRed);
    EXPECT_EQ(SettingsModified, 1u);

    select(5, 5);
    EXPECT_EQ(slider(IdGreenSlider), colours()[5].peGreen);
    const PALETTEENTRY before = colours()[5];
    Drag(GetDlgItem(custom, IdGreenSlider), 77);
    EXPECT_EQ(colours()[5].peGreen, 77);
    EXPECT_EQ(colours()[5].peRed, before.peRed);
    EXPECT_EQ(colours()[5].peBlue, before.peBlue);
}

TEST_F(CustomPageTest, CopyToWaitsForTheNextSelectionAndUndoSwaps) {
    showPage();
    PALETTEENTRY original[PaletteEntryCount];
    std::memcpy(original, colours(), sizeof original);
    select(0, 9);
    Click(GetDlgItem(custom, IdCopyTo));
    EXPECT_EQ(std::memcmp(colours(), original, sizeof original), 0);
    select(100, 104);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(std::memcmp(&colours()[100 + k], &original[2 * k], sizeof(PALETTEENTRY)), 0) << k;
    }
    PALETTEENTRY copied[PaletteEntryCount];
    std::memcpy(copied, colours(), sizeof copied);
    Click(GetDlgItem(custom, IdUndo));
    EXPECT_EQ(std::memcmp(colours(), original, sizeof original), 0);
    Click(GetDlgItem(custom, IdUndo));
    EXPECT_EQ(std::memcmp(colours(), copied, sizeof copied), 0);

    // The red mask: its slider rests, Negative leaves red alone.
    Click(GetDlgItem(custom, IdMaskRed));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(custom, IdRedSlider)));
    Click(GetDlgItem(custom, IdNegative));
    for (int i = 100; i <= 104; ++i) {
        EXPECT_EQ(colours()[i].peRed, copied[i].peRed) << i;
        EXPECT_EQ(colours()[i].peGreen, 255 - copied[i].peGreen) << i;
    }
    Click(GetDlgItem(custom, IdMaskRed));
}

TEST_F(CustomPageTest, PaletteFilesGoOutAndComeBackAndBadOnesAreRefused) {
    testsupport::TempDir dir;
    const std::string path = (dir.path() / "Scratch.PAL").string();
    showPage();
    PALETTEENTRY exported[PaletteEntryCount];
    std::memcpy(exported, colours(), sizeof exported);
    ui->pickFiles({path});
    Click(GetDlgItem(custom, IdExportPalette));
    ASSERT_EQ(ui->fileDialogs().size(), 1u);
    EXPECT_TRUE(ui->fileDialogs()[0].save);
    EXPECT_EQ(ui->fileDialogs()[0].initialFile, "Scratch.PAL");
    EXPECT_NE(ui->fileDialogs()[0].filters.at(0).patterns.find("*.PAL"), std::string::npos);

    select(0, 235);
    Click(GetDlgItem(custom, IdNegative));
    ui->pickFiles({path});
    Click(GetDlgItem(custom, IdImportPalette));
    EXPECT_EQ(std::memcmp(colours(), exported, sizeof exported), 0);

    // Not a palette file: the colours stay, the user hears and reads why.
    const std::string bad = (dir.path() / "notes.PAL").string();
    std::ofstream(bad) << "no colours here";
    ui->pickFiles({bad});
    ui->answerNextMessageBox(IDOK);
    Click(GetDlgItem(custom, IdImportPalette));
    EXPECT_EQ(std::memcmp(colours(), exported, sizeof exported), 0);
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    EXPECT_NE(ui->messageBoxes()[0].text.find(bad), std::string::npos);
    EXPECT_EQ(ui->beeps().size(), 1u);
}

TEST_F(CustomPageTest, TestPaletteSettingsShowsTheNewColours) {
    showPage();
    CurrentPalette->effect[ChannelGreen] = EffectCustom;
    select(0, 235);
    Click(GetDlgItem(custom, IdShift));
    Click(GetDlgItem(custom, IdTestPalette));
    ASSERT_EQ(startedCommands.size(), 1u);
    settings::RegKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, PaletteKeyPath(TestDisplayName), KEY_READ), ERROR_SUCCESS);
    BYTE stored[PaletteEntryCount * 3] = {};
    DWORD size = sizeof stored;
    ASSERT_EQ(RegQueryValueExA(key.get(), "Custom", nullptr, nullptr, stored, &size), ERROR_SUCCESS);
    for (int i = 0; i < PaletteEntryCount; ++i) {
        EXPECT_EQ(stored[3 * i], colours()[i].peRed) << i;
        EXPECT_EQ(stored[3 * i + 2], colours()[i].peBlue) << i;
    }
    CurrentPalette->effect[ChannelGreen] = EffectSmooth;
    reactivate();
}

}  // namespace
