// The Sound page: its options and what it says about the analyser.
#include "sheet_fixture.h"

#include "saver/sound/spectrum_block.h"
#include "saver/sound/versions.h"

namespace {

using namespace configtest;

constexpr int SoundPage = 14;

std::string Status(DWORD version, bool running) {
    char text[320];
    SoundStatusText(version, running, text, sizeof text);
    return text;
}

TEST(SoundStatus, SaysWhetherTheAnalyserCanDeliverSound) {
    EXPECT_EQ(Status(0, true), "Tonalyx has not been installed -- sound synchronization is unavaliable!");
    EXPECT_EQ(Status(3 * 65536 + 2, false), "Tonalyx must be running in order for sound synchronization to function.");
    EXPECT_EQ(Status(3 * 65536 + 2, true),
              "The present versions of The Lumoric Screen Saver and Tonalyx will function together to provide sound "
              "synchronization.");
    EXPECT_EQ(Status(3 * 65536 + 3, true),
              "You are running version 3.3 of Tonalyx.  This version is not fully compatible with version 3.6 of The "
              "Lumoric Screen Saver.  Please download the latest versions of both packages.");
}

class SoundPageTest : public SheetTest {};

TEST_F(SoundPageTest, OptionsComeFromTheirPlacesAndGoBackOnApply) {
    SharedSpectrum->set(spectrum::turbo, 1);
    SharedSpectrum->set(spectrum::autoGain, 0);
    SaverOptions.ShowInfo = 0;
    SaverOptions.AutoRun = 1;
    open();
    HWND sound = page(SoundPage);
    EXPECT_EQ(IsDlgButtonChecked(sound, IdTurbo), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(sound, IdAutoGain), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(sound, IdShowInfo), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(sound, IdAutoRun), BST_CHECKED);
    EXPECT_EQ(Text(GetDlgItem(sound, IdSoundStatus)), Status(0, false));

    SettingsModified = 0;
    Click(GetDlgItem(sound, IdTurbo));
    Click(GetDlgItem(sound, IdAutoGain));
    Click(GetDlgItem(sound, IdShowInfo));
    EXPECT_EQ(SettingsModified, 1u);
    pressOk();
    EXPECT_EQ(SharedSpectrum->get(spectrum::turbo), 0u);
    EXPECT_EQ(SharedSpectrum->get(spectrum::autoGain), 1u);
    EXPECT_EQ(SaverOptions.ShowInfo, 1u);
    EXPECT_EQ(SaverOptions.AutoRun, 1u);
}

TEST_F(SoundPageTest, TheStatusFollowsTheAnalyserWhenTheSheetIsActiveAgain) {
    WriteUserDword(AnalyserVersionKey, CurrentVersionValue, CompatibleAnalyserVersion);
    open();
    HWND sound = page(SoundPage);
    EXPECT_EQ(Text(GetDlgItem(sound, IdSoundStatus)), Status(3 * 65536 + 2, false));
    SharedSpectrum->set(spectrum::running, 1);
    reactivate();
    EXPECT_EQ(Text(GetDlgItem(sound, IdSoundStatus)), Status(3 * 65536 + 2, true));
    SharedSpectrum->set(spectrum::running, 0);
    settings::DeleteKeyTree(HKEY_CURRENT_USER, AnalyserVersionKey);
}

}  // namespace
