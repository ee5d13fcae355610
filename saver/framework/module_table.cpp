#include "saver/framework/module_table.h"

#include "saver/framework/control_table.h"
#include "saver/framework/controls.h"

ModuleRecord ModuleTable[ModuleCount];
DWORD ActiveModules[ModuleCount];
PaletteSettings* CurrentPalette = nullptr;
DisplayLoaderProc DisplayLoader = nullptr;

const char* const ModuleNames[ModuleCount] = {
    "Bezier", "Cyclic", "Pattern", "Plasma", "Polygon", "Sphere",
    "Stain",  "Star",   "Vortex",  "Effect", "Bitmap",  "Random",
};

namespace {

// The modules' own operations join this list as the modules are built; until
// then a module registers the shared no-op.
void RegisterModuleOperations() {
    for (int m = 0; m < ModuleCount; ++m) {
        RegisterOperations(m, ModuleNoOp, ModuleNoOp, ModuleNoOp, ModuleNoOp);
    }
}

bool AnyModuleActive() {
    for (DWORD active : ActiveModules) {
        if (active) {
            return true;
        }
    }
    return false;
}

}  // namespace

void BuildModuleTable() {
    for (int m = 0; m < ModuleCount; ++m) {
        ModuleTable[m].name = ModuleNames[m];
        ModuleTable[m].palette = CurrentPalette;
    }
    RegisterAllControls();
    if (DisplayLoader != nullptr) {
        DisplayLoader();
    }
    if (!AnyModuleActive()) {
        ActiveModules[ModuleRandom] = 1;
    }
    AllowSoundSources();
    RegisterModuleOperations();
    for (ModuleRecord& record : ModuleTable) {
        ClampControls(&record);
    }
}
