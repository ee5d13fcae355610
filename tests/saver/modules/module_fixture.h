#pragma once
// A drawing module with the operations InstallDrawingModules gives it, on an
// offscreen Canvas under the test clock, its controls registered as at the
// start of a run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "canvas.h"
#include "platform/kernel/clock.h"
#include "saver/framework/control_table.h"
#include "saver/framework/module_table.h"
#include "saver/modules/modules.h"

namespace modtest {

class ModuleTest : public ::testing::Test {
protected:
    explicit ModuleTest(int module) : module_(module) {}
    void TearDown() override { platform::UseRealClock(); }

    void Open(int width, int height) {
        platform::UseTestClock(100000);
        canvas = std::make_unique<Canvas>(width, height);
        RegisterAllControls();
        AllowSoundSources();
        InstallDrawingModules();
        record = &ModuleTable[module_];
        record->step = ModuleOperationTable[module_].step;
        record->start = ModuleOperationTable[module_].start;
        record->width = width;
        record->height = height;
        record->dc = canvas->dc();
    }
    void Set(int slot, LONG value) { record->value[slot] = value; }
    // Oscillating over lo..hi; hi beyond the control's maximum stands for a
    // sound level above its full scale.
    void Oscillate(int slot, LONG lo, LONG hi) {
        record->source[slot] = 2;
        record->rangeLo[slot] = lo;
        record->rangeHi[slot] = hi;
    }
    void Start(unsigned seed) {
        std::srand(seed);
        record->start(record);
    }
    LONG Steps(int n) {  // the last step's result
        LONG result = 0;
        for (int i = 0; i < n; ++i) result = record->step(record);
        return result;
    }

    std::unique_ptr<Canvas> canvas;
    ModuleRecord* record = nullptr;

private:
    int module_;
};

}  // namespace modtest
