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

bool Saved(const std::string& name) { return ValidDisplayName(name) && KeyExists(DisplayKeyPath(name).c_str()); }

// xscreensaver's settings program wraps a long command line inside its
// quotes and reads the break back as blanks ("[D]\t\t  Plasma"): a name not
// saved as given is looked for with every run of blanks as one space.
std::string OneSpaced(const std::string& name) {
    std::string spaced;
    for (char c : name) {
        const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (!blank) spaced += c;
        else if (!spaced.empty() && spaced.back() != ' ') spaced += ' ';
    }
    if (!spaced.empty() && spaced.back() == ' ') spaced.pop_back();
    return spaced;
}

void LoadShownDisplay() {
    if (StoreLoader) StoreLoader();
    std::string name = ShownDisplay;
    if (!Saved(name)) name = OneSpaced(name);
    Missing = !Saved(name);
    if (!Missing) {
        LoadDisplay(name.c_str());
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
