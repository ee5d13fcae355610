// The Sound page: the options of sound synchronisation with the analyser,
// whether synchronisation can work, and starting the analyser.
#include <cstdio>

#include "saver/config/settings_sheet.h"
#include "saver/resources/resource_ids.h"
#include "saver/settings/settings_store.h"
#include "saver/sound/analyser.h"
#include "saver/sound/spectrum_block.h"
#include "saver/sound/versions.h"

namespace {

UINT Checked(DWORD on) { return on ? BST_CHECKED : BST_UNCHECKED; }
DWORD IsChecked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0; }

void ShowOptions(HWND page) {
    CheckDlgButton(page, IdTurbo, Checked(SharedSpectrum ? SharedSpectrum->get(spectrum::turbo) : 0));
    CheckDlgButton(page, IdShowInfo, Checked(SaverOptions.ShowInfo));
    CheckDlgButton(page, IdAutoRun, Checked(SaverOptions.AutoRun));
    CheckDlgButton(page, IdAutoGain, Checked(SharedSpectrum ? SharedSpectrum->get(spectrum::autoGain) : 0));
}

void ReadOptions(HWND page) {
    if (SharedSpectrum) {
        SharedSpectrum->set(spectrum::turbo, IsChecked(page, IdTurbo));
        SharedSpectrum->set(spectrum::autoGain, IsChecked(page, IdAutoGain));
    }
    SaverOptions.ShowInfo = IsChecked(page, IdShowInfo);
    SaverOptions.AutoRun = IsChecked(page, IdAutoRun);
}

void ShowStatus(HWND page) {
    char status[320];
    SoundStatusText(ReadAnalyserVersion(nullptr), SharedSpectrum && SharedSpectrum->get(spectrum::running) != 0,
                    status, sizeof status);
    SetDlgItemTextA(page, IdSoundStatus, status);
}

BOOL Command(HWND page, WORD id, WORD code) {
    if (code != BN_CLICKED) return FALSE;
    switch (id) {
    case IdTurbo:
    case IdShowInfo:
    case IdAutoRun:
    case IdAutoGain: SettingsModified = 1; return TRUE;
    case IdTestAll:
        ReadOptions(page);
        TestAllSettings();
        return TRUE;
    case IdLaunchAnalyser: StartAnalyser(page, FALSE); return TRUE;
    case IdHelp: ShowHelp(page, HelpSound); return TRUE;
    default: return FALSE;
    }
}

BOOL Notify(HWND page, const NMHDR* header) {
    switch (header->code) {
    case PSN_SETACTIVE:
        ShowOptions(page);
        ShowStatus(page);
        return TRUE;
    case PSN_KILLACTIVE:
    case PSN_APPLY: ReadOptions(page); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

void SoundStatusText(DWORD analyserVersion, bool analyserRunning, char* text, std::size_t size) {
    WORD major = HIWORD(analyserVersion);
    WORD minor = LOWORD(analyserVersion);
    if (analyserVersion == 0) {
        std::snprintf(text, size, "Tonalyx has not been installed -- sound synchronization is unavaliable!");
    } else if (analyserVersion == CompatibleAnalyserVersion) {
        std::snprintf(text, size, "%s",
                      analyserRunning ? "The present versions of The Lumoric Screen Saver and Tonalyx will function "
                                        "together to provide sound synchronization."
                                      : "Tonalyx must be running in order for sound synchronization to function.");
    } else {
        std::snprintf(text, size,
                      "You are running version %d.%d of Tonalyx.  This version is not fully compatible with version "
                      "%d.%d of The Lumoric Screen Saver.  Please download the latest versions of both packages.",
                      major, minor, SaverMajorVersion, SaverMinorVersion);
    }
}

INT_PTR SoundPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        ShowOptions(page);
        return TRUE;
    case WM_COMMAND:
        return Command(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
        return Notify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_HELP:
        ShowHelp(page, HelpSound);
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            EndTest();
            ShowStatus(page);
        }
        return TRUE;
    default:
        return FALSE;
    }
}
