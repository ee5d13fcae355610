// The configuration entry: the shared state, the seventeen-page sheet, and
// what goes when it closes.
#include <cstdio>
#include <iterator>

#include "saver/config/settings_sheet.h"
#include "saver/framework/module_table.h"
#include "saver/framework/sound_sources.h"
#include "saver/palette/palette_engine.h"
#include "saver/resources/resource_ids.h"
#include "saver/resources/resources.h"
#include "saver/runtime/overlays.h"
#include "saver/settings/settings_store.h"
#include "saver/settings/test_display.h"
#include "saver/setup/setup.h"
#include "saver/sound/spectrum_link.h"
#include "saver/sound/versions.h"

namespace {

// The role that keeps one settings sheet per platform root across processes.
constexpr char SettingsRole[] = "settings";

struct PageEntry {
    const char* title;
    const char* dialogTemplate;
    WORD icon;
    DLGPROC proc;
    LPARAM parameter;
};

// The pages in order; a module page's parameter is its module's index (the
// Random page carries 11, the Slide Show page 10).
constexpr PageEntry Pages[SettingsPageCount] = {
    {"Bezier", "DLGBEZIER", IconModulePage, ModulePageProc, ModuleBezier},
    {"Cyclic", "DLGCYCLIC", IconModulePage, ModulePageProc, ModuleCyclic},
    {"Pattern", "DLGPATTERN", IconModulePage, ModulePageProc, ModulePattern},
    {"Plasma", "DLGPLASMA", IconModulePage, ModulePageProc, ModulePlasma},
    {"Polygon", "DLGPOLY", IconModulePage, ModulePageProc, ModulePolygon},
    {"Sphere", "DLGSPHERE", IconModulePage, ModulePageProc, ModuleSphere},
    {"Stain", "DLGSTAIN", IconModulePage, ModulePageProc, ModuleStain},
    {"Star", "DLGSTAR", IconModulePage, ModulePageProc, ModuleStar},
    {"Vortex", "DLGVORTEX", IconModulePage, ModulePageProc, ModuleVortex},
    {"Effect", "DLGEFFECT", IconModulePage, ModulePageProc, ModuleEffect},
    {"Random", "DLGRANDOM", IconModulePage, ModulePageProc, ModuleRandom},
    {"Slide Show", "DLGBITMAP", IconModulePage, ModulePageProc, ModuleBitmap},
    {"Palette", "DLGPALETTE", IconPalettePage, PalettePageProc, 0},
    {"Custom", "DLGCUSTOMPALETTE", IconCustomPage, CustomPageProc, 0},
    {"Sound", "DLGSOUND", IconSoundPage, SoundPageProc, 0},
    {"Main Settings", "DLGMAIN", IconMainPage, MainPageProc, 0},
    {"Display", "DLGVIDEO", IconDisplayPage, DisplayPageProc, 0},
};

HWND SettingsDialog = nullptr;
HDC SettingsDC = nullptr;
PaletteSettings* SettingsPalette = nullptr;

}  // namespace

BOOL OpenSettings(HWND dialog) {
    InitCommonControls();
    SettingsDialog = dialog;
    SettingsDC = GetDC(dialog);
    SettingsPalette = CreatePaletteEngine(SettingsDC);
    LoadSlogan();
    SharedSpectrum = OpenSpectrumBlock();
    if (!SharedSpectrum) {
        OutputDebugStringA("Lumora settings: the sound link could not be opened\n");
        CloseSettings();
        return FALSE;
    }
    WriteSaverVersion(SaverMajorVersion, SaverMinorVersion, SaverBuildNumber);
    // The sheet edits sound sources as they are saved, analyser or not.
    ConfigProgramRunning = 1;
    InstallSettingsStore();
    // A test run that never ended (its saver killed) gives the user's display back.
    RecoverInterruptedTest();
    BuildModuleTable();
    SettingsModified = 0;
    platform::SetProgramResources(&SaverResources());
    InstallHelp();
    return TRUE;
}

void DescribeSettingsSheet(PROPSHEETHEADERA* header, PROPSHEETPAGEA* pages, char* caption) {
    int written = std::snprintf(caption, 64, "Lumora v%d.%d.%d", SaverMajorVersion, SaverMinorVersion, SaverBuildNumber);
    WORD major = SharedSpectrum ? SharedSpectrum->get(spectrum::analyserMajor) : 0;
    if (major != 0 && written > 0 && written < 64)
        std::snprintf(caption + written, static_cast<std::size_t>(64 - written), " w/Tonalyx v%d.%d", major,
                      SharedSpectrum->get(spectrum::analyserMinor));
    for (int i = 0; i < SettingsPageCount; ++i) {
        pages[i] = PROPSHEETPAGEA{};
        pages[i].dwSize = sizeof(PROPSHEETPAGEA);
        pages[i].dwFlags = PSP_USETITLE | PSP_USEICONID;
        pages[i].pszTemplate = Pages[i].dialogTemplate;
        pages[i].pszIcon = MAKEINTRESOURCEA(Pages[i].icon);
        pages[i].pszTitle = Pages[i].title;
        pages[i].pfnDlgProc = Pages[i].proc;
        pages[i].lParam = Pages[i].parameter;
    }
    *header = PROPSHEETHEADERA{};
    header->dwSize = sizeof(PROPSHEETHEADERA);
    header->dwFlags = PSH_PROPSHEETPAGE | PSH_USEICONID | PSH_NOAPPLYNOW;
    header->hwndParent = SettingsDialog;
    header->pszIcon = MAKEINTRESOURCEA(IconSheet);
    header->pszCaption = caption;
    header->nPages = SettingsPageCount;
    header->nStartPage = MainSettingsPageIndex;
    header->ppsp = pages;
}

void CloseSettings() {
    if (SettingsPalette) DestroyPaletteEngine(SettingsPalette);
    SettingsPalette = nullptr;
    if (SettingsDC) ReleaseDC(SettingsDialog, SettingsDC);
    SettingsDC = nullptr;
    if (SpectrumBlock* block = SharedSpectrum) {
        SharedSpectrum = nullptr;
        CloseSpectrumBlock(block);
    }
    SettingsDialog = nullptr;
    ConfigProgramRunning = 0;
}

BOOL ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    // Started as SETUP.EXE, the program installs itself instead.
    if (SetupRequested()) {
        RunSetupWizard();
        return 0;
    }
    if (SheetOpen) return 1;
    SheetOpen = 1;
    // Another process showing the sheet for the same settings has been asked
    // to come to the front instead.
    if (!platform::ClaimWindowRole(SettingsRole)) {
        SheetOpen = 0;
        return 1;
    }
    if (OpenSettings(dialog)) {
        char caption[64];
        PROPSHEETPAGEA pages[SettingsPageCount];
        PROPSHEETHEADERA header;
        DescribeSettingsSheet(&header, pages, caption);
        SharedSpectrum->add(spectrum::instanceCount, 1);
        if (PropertySheetA(&header) < 0)
            MessageBoxA(nullptr, "The settings cannot be shown: there is no display to show them on.", "Lumora",
                        MB_OK | MB_ICONSTOP);
        if (SharedSpectrum) SharedSpectrum->add(spectrum::instanceCount, -1);
        CloseSettings();
    }
    platform::ReleaseWindowRole(SettingsRole);
    SheetOpen = 0;
    return 0;
}
