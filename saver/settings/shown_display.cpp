#include "saver/settings/shown_display.h"

#include <cstdio>

#include "saver/framework/module_table.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/settings_store.h"

namespace {

DisplayLoaderProc StoreLoader = nullptr;
std::string ShownDisplay;
bool Missing = false;
bool Report = false;

void LoadShownDisplay() {
    if (StoreLoader) StoreLoader();
    Missing = !ValidDisplayName(ShownDisplay) || !KeyExists(DisplayKeyPath(ShownDisplay).c_str());
    if (!Missing) {
        LoadDisplay(ShownDisplay.c_str());
    } else if (Report) {
        std::fprintf(stderr, "lumora: there is no saved display named \"%s\"; showing the active display\n",
                     ShownDisplay.c_str());
        Report = false;
    }
}

}  // namespace

void ShowSavedDisplay(const std::string& name, bool reportOnFallBack) {
    if (DisplayLoader != LoadShownDisplay) StoreLoader = DisplayLoader;
    ShownDisplay = name;
    Missing = false;
    Report = reportOnFallBack;
    DisplayLoader = LoadShownDisplay;
}

bool ShownDisplayMissing() { return Missing; }
