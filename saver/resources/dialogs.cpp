// The dialog templates of the settings sheet, in dialog units.
#include <iterator>

#include "saver/resources/dialog_templates.h"
#include "saver/resources/resource_ids.h"

namespace {

constexpr DWORD PageStyle = DS_SETFONT | DS_CONTROL | WS_CHILD;
constexpr char Font[] = "MS Sans Serif";
constexpr WORD FontSize = 8;
constexpr short PageWidth = 330;
constexpr short PageHeight = 210;

constexpr DWORD Group = BS_GROUPBOX;
constexpr DWORD Check = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD Radio = BS_AUTORADIOBUTTON | WS_TABSTOP;
constexpr DWORD Push = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD Note = ES_MULTILINE | ES_READONLY | WS_VSCROLL;

template <std::size_t N>
constexpr DLGTEMPLATEA Page(const char* caption, const DLGITEMTEMPLATEA (&items)[N]) {
    return DLGTEMPLATEA{PageStyle, 0, 0, 0, PageWidth, PageHeight, caption, FontSize, Font, items,
                        static_cast<WORD>(N)};
}

// The module pages build one row of controls per defined slot at run time,
// from y = 20 (y = 47 on the Slide Show page) every 15 units, between x = 10
// and x = 324.  The group box's title takes its top line, so the source
// column's heading sits on that line.
constexpr DLGITEMTEMPLATEA ModuleItems[] = {
    {"BUTTON", " Current settings: ", IdSettingsGroup, Group, 0, 4, 2, 322, 180},
    {"STATIC", "Source", IDC_STATIC, SS_LEFT, 0, 278, 3, 46, 8},
    {"STATIC", "", IdPageLabel, SS_LEFT, 0, 10, 170, 40, 8},
    {UPDOWN_CLASSA, nullptr, IdPageUpDown, WS_TABSTOP, 0, 52, 168, 10, 12},
    {"BUTTON", "&Reset Controls", IdReset, Push, 0, 4, 190, 96, 14},
    {"BUTTON", "&Test Module Settings", IdTestModule, Push, 0, 104, 190, 96, 14},
    {"BUTTON", "Test &All Settings", IdTestAll, Push, 0, 204, 190, 72, 14},
    {"BUTTON", "Help", IdHelp, Push, 0, 280, 190, 46, 14},
};
constexpr DLGTEMPLATEA ModulePage = Page("Module", ModuleItems);

constexpr DLGITEMTEMPLATEA SlideShowItems[] = {
    {"STATIC", "Filename (or &mask):", IDC_STATIC, SS_LEFT, 0, 8, 5, 120, 8},
    {"EDIT", "", IdFileName, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 8, 15, 254, 12},
    {"BUTTON", "&Browse...", IdBrowse, Push, 0, 266, 14, 60, 14},
    {"BUTTON", " Current settings: ", IdSettingsGroup, Group, 0, 4, 31, 322, 143},
    {"STATIC", "Source", IDC_STATIC, SS_LEFT, 0, 278, 32, 46, 8},
    {"STATIC", "", IdPageLabel, SS_LEFT, 0, 10, 38, 40, 8},
    {UPDOWN_CLASSA, nullptr, IdPageUpDown, WS_TABSTOP, 0, 52, 36, 10, 12},
    {"STATIC", "File formats supported on this system include:", IDC_STATIC, SS_LEFT, 0, 8, 177, 166, 8},
    {"STATIC", "*.bmp", IdFormats, SS_LEFT, 0, 176, 177, 150, 8},
    {"BUTTON", "&Reset Controls", IdReset, Push, 0, 4, 190, 96, 14},
    {"BUTTON", "&Test Module Settings", IdTestModule, Push, 0, 104, 190, 96, 14},
    {"BUTTON", "Test &All Settings", IdTestAll, Push, 0, 204, 190, 72, 14},
    {"BUTTON", "Help", IdHelp, Push, 0, 280, 190, 46, 14},
};
constexpr DLGTEMPLATEA SlideShowPage = Page("Slide Show", SlideShowItems);

constexpr DLGITEMTEMPLATEA MainItems[] = {
    {"BUTTON", "Modules", IDC_STATIC, Group, 0, 4, 2, 150, 84},
    {"BUTTON", "Bezier", ModuleCheckIds[0], Check | WS_GROUP, 0, 12, 14, 64, 10},
    {"BUTTON", "Cyclic", ModuleCheckIds[1], Check, 0, 12, 25, 64, 10},
    {"BUTTON", "Pattern", ModuleCheckIds[2], Check, 0, 12, 36, 64, 10},
    {"BUTTON", "Plasma", ModuleCheckIds[3], Check, 0, 12, 47, 64, 10},
    {"BUTTON", "Polygon", ModuleCheckIds[4], Check, 0, 12, 58, 64, 10},
    {"BUTTON", "Sphere", ModuleCheckIds[5], Check, 0, 12, 69, 64, 10},
    {"BUTTON", "Stain", ModuleCheckIds[6], Check, 0, 82, 14, 66, 10},
    {"BUTTON", "Star", ModuleCheckIds[7], Check, 0, 82, 25, 66, 10},
    {"BUTTON", "Vortex", ModuleCheckIds[8], Check, 0, 82, 36, 66, 10},
    {"BUTTON", "Effect", ModuleCheckIds[9], Check, 0, 82, 47, 66, 10},
    {"BUTTON", "Slide Show", ModuleCheckIds[10], Check, 0, 82, 58, 66, 10},
    {"BUTTON", "Random", ModuleCheckIds[11], Check, 0, 82, 69, 66, 10},
    {"BUTTON", "CPU Usage", IDC_STATIC, Group, 0, 4, 90, 150, 48},
    {"BUTTON", "&High", IdPriorityHigh, Radio | WS_GROUP, 0, 12, 102, 64, 10},
    {"BUTTON", "&Normal", IdPriorityNormal, Radio, 0, 12, 113, 64, 10},
    {"BUTTON", "&Low", IdPriorityLow, Radio, 0, 12, 124, 64, 10},
    {"BUTTON", "&Clear screen at startup", IdClearFirst, Check | WS_GROUP, 0, 8, 144, 146, 10},
    {"STATIC", "Seconds to display &title:", IDC_STATIC, SS_LEFT, 0, 8, 160, 110, 8},
    {"EDIT", "", IdTitleSeconds, ES_READONLY | ES_RIGHT, WS_EX_CLIENTEDGE, 122, 158, 28, 12},
    {TRACKBAR_CLASSA, "", IdTitleTrack, TBS_AUTOTICKS | WS_TABSTOP, 0, 4, 172, 150, 18},
    {"BUTTON", "&Animate", IDC_STATIC, Group, 0, 160, 2, 50, 136},
    {TRACKBAR_CLASSA, "", IdAnimate, TBS_VERT | TBS_AUTOTICKS | WS_TABSTOP, 0, 166, 22, 20, 100},
    {"STATIC", "Fast", IDC_STATIC, SS_LEFT, 0, 188, 24, 20, 8},
    {"STATIC", "Slow", IDC_STATIC, SS_LEFT, 0, 188, 112, 20, 8},
    {"BUTTON", "Sa&ved Displays", IDC_STATIC, Group, 0, 216, 2, 110, 88},
    {"COMBOBOX", "", IdDisplayList, CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, 222, 14,
     98, 120},
    {"BUTTON", "&Save Selection", IdSaveSelection, Push, 0, 222, 32, 98, 14},
    {"BUTTON", "&Delete Selection", IdDeleteSelection, Push, 0, 222, 50, 98, 14},
    {"BUTTON", "E&xport...", IdExport, Push, 0, 222, 68, 47, 14},
    {"BUTTON", "&Import...", IdImport, Push, 0, 273, 68, 47, 14},
    {"BUTTON", "&Preview", IdTestAll, Push, 0, 216, 96, 54, 14},
    {"BUTTON", "Help", IdHelp, Push, 0, 274, 96, 52, 14},
    {"EDIT", "", IdColourNote, Note, WS_EX_CLIENTEDGE, 160, 144, 166, 46},
};
constexpr DLGTEMPLATEA MainPage = Page("Main Settings", MainItems);

constexpr DLGITEMTEMPLATEA SoundItems[] = {
    {"BUTTON", "Sound synchronization", IDC_STATIC, Group, 0, 4, 2, 322, 76},
    {"BUTTON", "T&urbo Mode", IdTurbo, Check | WS_GROUP, 0, 12, 16, 140, 10},
    {"BUTTON", "Display &CD Info", IdShowInfo, Check, 0, 12, 30, 140, 10},
    {"BUTTON", "Auto &run Tonalyx", IdAutoRun, Check, 0, 12, 44, 140, 10},
    {"BUTTON", "Auto Adjust &Gain", IdAutoGain, Check, 0, 12, 58, 140, 10},
    {"STATIC",
     "Which module and palette controls follow the sound is chosen on their own pages, with each control's "
     "source.",
     IDC_STATIC, SS_LEFT, 0, 160, 16, 158, 40},
    {"STATIC", "Status:", IDC_STATIC, SS_LEFT, 0, 6, 86, 60, 8},
    {"EDIT", "", IdSoundStatus, Note, WS_EX_CLIENTEDGE, 4, 96, 322, 36},
    {"BUTTON", "&Launch Tonalyx", IdLaunchAnalyser, Push, 0, 4, 190, 80, 14},
    {"BUTTON", "Test &All Settings", IdTestAll, Push, 0, 204, 190, 72, 14},
    {"BUTTON", "Help", IdHelp, Push, 0, 280, 190, 46, 14},
};
constexpr DLGTEMPLATEA SoundPage = Page("Sound", SoundItems);

// The Palette page builds its ten rows at run time from (111, 22), every 15
// units, beside the captions; the channel buttons stand above the trackbar
// column, the effects below the rows.
constexpr DWORD Caption = SS_RIGHT | SS_NOPREFIX;
constexpr DLGITEMTEMPLATEA PaletteItems[] = {
    {"BUTTON", "&Red", IdChannelRed, Radio | BS_PUSHLIKE | WS_GROUP, 0, 111, 3, 44, 14},
    {"BUTTON", "&Green", IdChannelGreen, Radio | BS_PUSHLIKE, 0, 157, 3, 44, 14},
    {"BUTTON", "&Blue", IdChannelBlue, Radio | BS_PUSHLIKE, 0, 203, 3, 44, 14},
    {"STATIC", "Source", IDC_STATIC, SS_LEFT, 0, 269, 10, 46, 8},
    {"STATIC", "Brightness", IDC_STATIC, Caption, 0, 4, 22, 103, 12},
    {"STATIC", "Color Frequency", IDC_STATIC, Caption, 0, 4, 37, 103, 12},
    {"STATIC", "Fade Frequency", IDC_STATIC, Caption, 0, 4, 52, 103, 12},
    {"STATIC", "Ramp Frequency", IDC_STATIC, Caption, 0, 4, 67, 103, 12},
    {"STATIC", "Duration", IDC_STATIC, Caption, 0, 4, 82, 103, 12},
    {"STATIC", "Cycle Rate", IDC_STATIC, Caption, 0, 4, 97, 103, 12},
    {"STATIC", "Event Rate", IDC_STATIC, Caption, 0, 4, 112, 103, 12},
    {"STATIC", "Direction", IDC_STATIC, Caption, 0, 4, 127, 103, 12},
    {"STATIC", "Morph Rate", IDC_STATIC, Caption, 0, 4, 142, 103, 12},
    {"STATIC", "Intensity", IDC_STATIC, Caption, 0, 4, 157, 103, 12},
    {"STATIC", "Effect:", IDC_STATIC, SS_RIGHT, 0, 4, 176, 29, 8},
    {"BUTTON", "Ramp", EffectIds[0], Radio | WS_GROUP, 0, 38, 175, 32, 10},
    {"BUTTON", "Fade", EffectIds[1], Radio, 0, 72, 175, 30, 10},
    {"BUTTON", "Smooth", EffectIds[2], Radio, 0, 104, 175, 38, 10},
    {"BUTTON", "Coarse", EffectIds[3], Radio, 0, 144, 175, 38, 10},
    {"BUTTON", "Blackout", EffectIds[4], Radio, 0, 184, 175, 44, 10},
    {"BUTTON", "Random", EffectIds[5], Radio, 0, 230, 175, 40, 10},
    {"BUTTON", "Custom", EffectIds[6], Radio, 0, 272, 175, 40, 10},
    {"STATIC", "Hold the CTRL key down to change red, green, and blue.", IDC_STATIC, SS_LEFT, 0, 4, 190, 196, 16},
    {"BUTTON", "&Test Palette Settings", IdTestAll, Push | WS_GROUP, 0, 204, 190, 72, 14},
    {"BUTTON", "Help", IdHelp, Push, 0, 280, 190, 46, 14},
};
// The palette grid on the left; on the right the colour sliders, the masks
// and the operations in pairs, in the order Tab visits them.
constexpr DLGITEMTEMPLATEA CustomItems[] = {
    {"BUTTON", "Palette", IDC_STATIC, Group, 0, 4, 2, 196, 184},
    {"BUTTON", "", IdPaletteGrid, BS_OWNERDRAW, 0, 10, 13, 184, 168},
    {"STATIC", "R", IDC_STATIC, SS_CENTER, 0, 206, 8, 8, 8},
    {TRACKBAR_CLASSA, nullptr, IdRedSlider, WS_TABSTOP | WS_GROUP, 0, 214, 4, 112, 15},
    {"STATIC", "G", IDC_STATIC, SS_CENTER, 0, 206, 24, 8, 8},
    {TRACKBAR_CLASSA, nullptr, IdGreenSlider, WS_TABSTOP, 0, 214, 20, 112, 15},
    {"STATIC", "B", IDC_STATIC, SS_CENTER, 0, 206, 40, 8, 8},
    {TRACKBAR_CLASSA, nullptr, IdBlueSlider, WS_TABSTOP, 0, 214, 36, 112, 15},
    {"STATIC", "Mask:", IDC_STATIC, SS_LEFT, 0, 206, 57, 24, 8},
    {"BUTTON", "Red", IdMaskRed, Check | WS_GROUP, 0, 230, 56, 30, 10},
    {"BUTTON", "Green", IdMaskGreen, Check, 0, 261, 56, 34, 10},
    {"BUTTON", "Blue", IdMaskBlue, Check, 0, 296, 56, 30, 10},
    {"BUTTON", "R&andom", IdRandomColours, Push | WS_GROUP, 0, 206, 72, 58, 14},
    {"BUTTON", "&Gradient", IdGradient, Push, 0, 268, 72, 58, 14},
    {"BUTTON", "&Smooth", IdSmooth, Push, 0, 206, 89, 58, 14},
    {"BUTTON", "R&ough", IdRough, Push, 0, 268, 89, 58, 14},
    {"BUTTON", "S&hift", IdShift, Push, 0, 206, 106, 58, 14},
    {"BUTTON", "&Negative", IdNegative, Push, 0, 268, 106, 58, 14},
    {"BUTTON", "&Reverse", IdReverse, Push, 0, 206, 123, 58, 14},
    {"BUTTON", "&Undo", IdUndo, Push, 0, 268, 123, 58, 14},
    {"BUTTON", "&Copy To", IdCopyTo, Push, 0, 206, 140, 58, 14},
    {"BUTTON", "&Merge To", IdMergeTo, Push, 0, 268, 140, 58, 14},
    {"BUTTON", "&Import", IdImportPalette, Push, 0, 206, 157, 58, 14},
    {"BUTTON", "&Export", IdExportPalette, Push, 0, 268, 157, 58, 14},
    {"BUTTON", "Test Palette Settings", IdTestPalette, Push, 0, 176, 190, 100, 14},
    {"BUTTON", "Help", IdHelp, Push, 0, 280, 190, 46, 14},
};
// The Display page: the modes on the left, the current and stored ones with
// the buttons on the right, and below them what choosing a mode does.
constexpr DWORD Shown = ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DLGITEMTEMPLATEA DisplayItems[] = {
    {"STATIC", "Available video &modes:", IDC_STATIC, SS_LEFT, 0, 4, 4, 170, 8},
    {"LISTBOX", "", IdModeList, LBS_SORT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 4, 14, 170, 132},
    {"STATIC", "C&urrent Display Mode:", IDC_STATIC, SS_LEFT, 0, 182, 4, 144, 8},
    {"EDIT", "", IdCurrentMode, Shown, WS_EX_CLIENTEDGE, 182, 14, 144, 12},
    {"STATIC", "&Run screen saver in:", IDC_STATIC, SS_LEFT, 0, 182, 32, 144, 8},
    {"EDIT", "", IdStoredMode, Shown, WS_EX_CLIENTEDGE, 182, 42, 144, 12},
    {"BUTTON", "&Set", IdSetMode, Push, 0, 182, 60, 70, 14},
    {"BUTTON", "&Clear", IdClearMode, Push, 0, 256, 60, 70, 14},
    {"BUTTON", "&Test Video Mode", IdTestMode, Push, 0, 182, 78, 144, 14},
    {"STATIC",
     "Set makes the screen saver draw in the selected mode; Clear lets it run in the mode of your desktop. The "
     "picture is drawn at the mode's size and scaled to fill the screen: your monitor's own mode never changes.",
     IdModeNote, SS_LEFT, 0, 4, 152, 322, 34},
    {"BUTTON", "Help", IdHelp, Push, 0, 280, 190, 46, 14},
};
constexpr DLGTEMPLATEA PalettePage = Page("Palette", PaletteItems);
constexpr DLGTEMPLATEA CustomPage = Page("Custom", CustomItems);
constexpr DLGTEMPLATEA DisplayPage = Page("Display", DisplayItems);

// The setup wizard's pages: the wizard frame around them carries the
// buttons, so each page is only its text and controls.
constexpr short WizardWidth = 300;
constexpr short WizardHeight = 160;

template <std::size_t N>
constexpr DLGTEMPLATEA WizardPage(const char* caption, const DLGITEMTEMPLATEA (&items)[N]) {
    return DLGTEMPLATEA{PageStyle, 0, 0, 0, WizardWidth, WizardHeight, caption, FontSize, Font, items,
                        static_cast<WORD>(N)};
}

constexpr DLGITEMTEMPLATEA DirectoryItems[] = {
    {"STATIC",
     "Welcome to the Lumoric Screen Saver.\n\nSetup installs the saver into the folder below. To install it "
     "somewhere else, type another folder or choose one with Browse.",
     IDC_STATIC, SS_LEFT, 0, 12, 8, 280, 56},
    {"STATIC", "&Destination folder:", IDC_STATIC, SS_LEFT, 0, 12, 60, 200, 8},
    {"EDIT", "", IdDestination, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 12, 72, 218, 12},
    {"BUTTON", "&Browse...", IdBrowseDestination, Push, 0, 236, 71, 56, 14},
    {"STATIC", "Press Next to choose the installation options.", IDC_STATIC, SS_LEFT, 0, 12, 128, 280, 8},
};
constexpr DLGTEMPLATEA DirectoryPage = WizardPage("Directory", DirectoryItems);

constexpr DLGITEMTEMPLATEA InstallItems[] = {
    {"STATIC", "Choose what Setup should do, then press Next to install.", IDC_STATIC, SS_LEFT, 0, 12, 8, 280,
     16},
    {"BUTTON", "Set as your &default screen saver", IdSetDefaultSaver, Check | WS_GROUP, 0, 12, 28, 280, 10},
    {"BUTTON", "Add saver &launcher to your task bar", IdAddLauncher, Check, 0, 12, 42, 280, 10},
    {"BUTTON", "Add &configuration utility to Desktop", IdAddConfigCopy, Check, 0, 12, 56, 280, 10},
    {"BUTTON", "Add &Saved Settings to Desktop", IdAddSavedSettings, Check, 0, 12, 70, 280, 10},
    {"BUTTON", "Install &Tonalyx", IdInstallAnalyser, Check, 0, 12, 84, 280, 10},
    {"STATIC", "Progress:", IDC_STATIC, SS_LEFT, 0, 12, 124, 280, 8},
    {PROGRESS_CLASSA, "", IdInstallProgress, 0, 0, 12, 136, 280, 12},
};
constexpr DLGTEMPLATEA InstallPage = WizardPage("Options", InstallItems);

constexpr DLGITEMTEMPLATEA ConfigureItems[] = {
    {"STATIC",
     "The Lumoric Screen Saver is installed.\n\nPress Configure to choose your screen saver, or Test Drive to "
     "try the saver's own settings and displays now. Press Finish to close Setup.",
     IDC_STATIC, SS_LEFT, 0, 12, 8, 280, 56},
    {"BUTTON", "&Configure", IdConfigure, Push, 0, 12, 84, 80, 14},
    {"BUTTON", "&Test Drive", IdTestDrive, Push, 0, 100, 84, 80, 14},
};
constexpr DLGTEMPLATEA ConfigurePage = WizardPage("Configure", ConfigureItems);

constexpr platform::DialogResource Dialogs[] = {
    {"DLGBEZIER", &ModulePage},    {"DLGCYCLIC", &ModulePage},         {"DLGPATTERN", &ModulePage},
    {"DLGPLASMA", &ModulePage},    {"DLGPOLY", &ModulePage},           {"DLGSPHERE", &ModulePage},
    {"DLGSTAIN", &ModulePage},     {"DLGSTAR", &ModulePage},           {"DLGVORTEX", &ModulePage},
    {"DLGEFFECT", &ModulePage},    {"DLGRANDOM", &ModulePage},         {"DLGBITMAP", &SlideShowPage},
    {"DLGPALETTE", &PalettePage},  {"DLGCUSTOMPALETTE", &CustomPage},  {"DLGSOUND", &SoundPage},
    {"DLGMAIN", &MainPage},        {"DLGVIDEO", &DisplayPage},
    {"DLGDIRECTORY", &DirectoryPage}, {"DLGINSTALL", &InstallPage}, {"DLGCONFIGURE", &ConfigurePage},
};

}  // namespace

const platform::DialogResource* SaverDialogs = Dialogs;
const int SaverDialogCount = static_cast<int>(std::size(Dialogs));
