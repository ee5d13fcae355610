#pragma once
// What the drawing-module benchmarks draw on: the benchmark Screen with a
// module's record on it, its controls registered as at the start of a run.
#include "bench/support/screen.h"
#include "saver/framework/control_table.h"
#include "saver/framework/module_record.h"

namespace bench {

constexpr int ScreenWidth = 1920;
constexpr int ScreenHeight = 1080;

struct ModuleScreen : Screen {
    explicit ModuleScreen(int module, int width = ScreenWidth, int height = ScreenHeight) : Screen(width, height) {
        RegisterAllControls();
        AllowSoundSources();
        record = &ModuleTable[module];
        record->width = width;
        record->height = height;
        record->dc = dc;
    }

    ModuleRecord* record;
};

}  // namespace bench
