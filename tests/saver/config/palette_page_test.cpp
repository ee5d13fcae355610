// The Palette page: one channel shown at a time, CTRL for all three, and the
// rows of the module pages over the palette engine's parameters.
#include "sheet_fixture.h"

#include <QAbstractItemView>

#include "saver/framework/module_record.h"
#include "saver/framework/sources.h"
#include "saver/palette/palette_settings.h"

namespace {

using namespace configtest;

constexpr int PalettePage = 12;
constexpr int SoundPage = 14;

class PalettePageTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        PaletteChannel = ChannelRed;
        open();
        palette = page(PalettePage);
    }
    void TearDown() override {
        holdControl(false);
        SheetTest::TearDown();
    }
    // CTRL goes down (or up) as the user's key press does.
    void holdControl(bool down) {
        QWidget* target = platform::widgetForWindow(palette);
        if (down)
            QTest::keyPress(target, Qt::Key_Control, Qt::ControlModifier);
        else
            QTest::keyRelease(target, Qt::Key_Control, Qt::NoModifier);
    }
    LRESULT position(int id) { return SendDlgItemMessageA(palette, id, TBM_GETPOS, 0, 0); }
    bool visible(int id) { return IsWindowVisible(GetDlgItem(palette, id)) != FALSE; }
    PaletteSettings& settings() { return *CurrentPalette; }

    HWND palette = nullptr;
};

TEST_F(PalettePageTest, CtrlHeldChangesAllThreeChannelsAndTypingOnlyTheShownOne) {
    PaletteSettings& s = settings();
    s.rangeLo[ParamDirection][ChannelGreen] = -40;
    s.sense[ParamDirection][ChannelBlue] = 2;
    ASSERT_EQ(s.value[ParamDirection][ChannelGreen], 1);

    Drag(GetDlgItem(palette, RowValueTrack + ParamDirection), 20);
    EXPECT_EQ(s.value[ParamDirection][ChannelRed], 20);
    EXPECT_EQ(s.value[ParamDirection][ChannelGreen], 1) << "without CTRL only the shown channel changes";
    EXPECT_EQ(Text(GetDlgItem(palette, RowValueEdit + ParamDirection)), "20");
    EXPECT_EQ(SettingsModified, 1u);

    holdControl(true);
    Drag(GetDlgItem(palette, RowValueTrack + ParamDirection), -12);
    for (int channel : {ChannelRed, ChannelGreen, ChannelBlue}) {
        EXPECT_EQ(s.value[ParamDirection][channel], -12) << channel;
        EXPECT_EQ(s.rangeLo[ParamDirection][channel], -3) << "the shown range goes with it, " << channel;
        EXPECT_EQ(s.rangeHi[ParamDirection][channel], 3) << channel;
    }
    Click(GetDlgItem(palette, EffectIds[EffectCoarse]));
    for (int channel : {ChannelRed, ChannelGreen, ChannelBlue}) EXPECT_EQ(s.effect[channel], EffectCoarse) << channel;
    Choose(GetDlgItem(palette, RowSource + ParamDirection), SourceOscillate);
    for (int channel : {ChannelRed, ChannelGreen, ChannelBlue})
        EXPECT_EQ(s.source[ParamDirection][channel], SourceOscillate) << channel;
    EXPECT_TRUE(visible(RowSenseEdit + ParamDirection)) << "the row shows the range layout now";
    EXPECT_FALSE(visible(RowValueTrack + ParamDirection));
    HWND arrows = GetDlgItem(palette, RowSenseUpDown + ParamDirection);
    for (int i = 0; i < 5; ++i) Arrow(arrows, true);
    for (int channel : {ChannelRed, ChannelGreen, ChannelBlue})
        EXPECT_EQ(s.sense[ParamDirection][channel], 10) << "red's sense, held to 10, copied to " << channel;

    // A number typed is held to the parameter's limits and stays on the
    // shown channel, though CTRL is down as the edit loses the focus.
    auto* low = Widget<QLineEdit>(GetDlgItem(palette, RowLowEdit + ParamDirection));
    low->window()->activateWindow();
    low->setFocus(Qt::MouseFocusReason);
    low->setText("-80");
    holdControl(true);
    ASSERT_LT(GetKeyState(VK_CONTROL), 0);
    low->clearFocus();
    Settle();
    EXPECT_EQ(s.rangeLo[ParamDirection][ChannelRed], -50);
    EXPECT_EQ(s.rangeLo[ParamDirection][ChannelGreen], -3);
    EXPECT_EQ(position(RowLowTrack + ParamDirection), -50);
    EXPECT_EQ(Text(GetDlgItem(palette, RowLowEdit + ParamDirection)), "-50");
}

TEST_F(PalettePageTest, EachChannelShowsItsOwnSettingsInItsColour) {
    PaletteSettings& s = settings();
    s.value[ParamScale][ChannelBlue] = 42;
    s.source[ParamDensity][ChannelBlue] = SourceRandom;
    s.rangeLo[ParamDensity][ChannelBlue] = 5;
    s.rangeHi[ParamDensity][ChannelBlue] = 70;
    s.effect[ChannelBlue] = EffectBlackout;
    s.effect[ChannelRed] = EffectFade;

    // Parameters that may not follow the sound offer only "Set" and "Random".
    EXPECT_EQ(SendDlgItemMessageA(palette, RowSource + ParamSeconds, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendDlgItemMessageA(palette, RowSource + ParamDirection, CB_GETCOUNT, 0, 0), 22);
    EXPECT_EQ(SendDlgItemMessageA(palette, RowValueTrack + ParamEvent, TBM_GETRANGEMAX, 0, 0), 3000);

    SettingsModified = 0;
    Click(GetDlgItem(palette, IdChannelBlue));
    EXPECT_EQ(SettingsModified, 1u);
    EXPECT_EQ(IsDlgButtonChecked(palette, IdChannelBlue), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(palette, IdChannelRed), BST_UNCHECKED);
    EXPECT_EQ(position(RowValueTrack + ParamScale), 42);
    EXPECT_EQ(Text(GetDlgItem(palette, RowValueEdit + ParamScale)), "42");
    EXPECT_FALSE(visible(RowValueTrack + ParamDensity));
    EXPECT_EQ(position(RowLowTrack + ParamDensity), 5);
    EXPECT_EQ(position(RowHighTrack + ParamDensity), 70);
    EXPECT_EQ(IsDlgButtonChecked(palette, EffectIds[EffectBlackout]), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(palette, EffectIds[EffectFade]), BST_UNCHECKED);

    // The numbers and lists are written in the channel's colour on white.
    QWidget* edit = platform::widgetForWindow(GetDlgItem(palette, RowValueEdit + ParamScale));
    QWidget* list = platform::widgetForWindow(GetDlgItem(palette, RowSource + ParamScale));
    edit->grab();
    list->grab();
    EXPECT_EQ(edit->palette().color(QPalette::Text), QColor(0, 0, 128));
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(list->palette().color(QPalette::ButtonText), QColor(0, 0, 128));
    QComboBox* combo = Widget<QComboBox>(GetDlgItem(palette, RowSource + ParamScale));
    combo->showPopup();
    Settle();
    combo->view()->viewport()->grab();
    EXPECT_EQ(combo->view()->palette().color(QPalette::Text), QColor(0, 0, 128)) << "the dropped-down list too";
    combo->hidePopup();

    // The channel stays while other pages are visited.
    page(SoundPage);
    palette = page(PalettePage);
    EXPECT_EQ(IsDlgButtonChecked(palette, IdChannelBlue), BST_CHECKED);
    Click(GetDlgItem(palette, IdChannelRed));
    EXPECT_EQ(position(RowValueTrack + ParamScale), 100);
    EXPECT_TRUE(visible(RowValueTrack + ParamDensity) == (s.source[ParamDensity][ChannelRed] == SourceSet));
    EXPECT_EQ(IsDlgButtonChecked(palette, EffectIds[EffectFade]), BST_CHECKED);
    edit->grab();
    EXPECT_EQ(edit->palette().color(QPalette::Text), QColor(128, 0, 0));
}

TEST_F(PalettePageTest, ATestShowsThePagesSettingsAndEndsWhenTheUserComesBack) {
    Drag(GetDlgItem(palette, RowValueTrack + ParamScale), 77);
    Click(GetDlgItem(palette, IdTestAll));
    ASSERT_EQ(startedCommands.size(), 1u);
    EXPECT_EQ(ActiveValue(), TestDisplayName);
    settings().value[ParamScale][ChannelRed] = 100;
    LoadDisplay(TestDisplayName);
    EXPECT_EQ(settings().value[ParamScale][ChannelRed], 77) << "the saver started for the test gets the change";
    reactivate();
    EXPECT_FALSE(DisplayExists(TestDisplayName));
}

}  // namespace
