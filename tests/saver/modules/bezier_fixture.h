#pragma once
// The Bezier module on an offscreen Canvas under the test clock, with its
// controls registered as at the start of a run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "canvas.h"
#include "platform/kernel/clock.h"
#include "saver/framework/control_table.h"
#include "saver/modules/bezier.h"
#include "saver/modules/draw_helpers.h"
#include "saver/framework/run_flag.h"

namespace modtest {

class BezierTest : public ::testing::Test {
protected:
    void TearDown() override {
        Running = 0;
        if (record) BezierFree(record);
        platform::UseRealClock();
    }

    // A fresh canvas, the registered Bezier controls and an initialised module.
    void Open(int width, int height, DWORD clockStart = 100000) {
        if (record) BezierFree(record);
        platform::UseTestClock(clockStart);
        canvas = std::make_unique<Canvas>(width, height);
        RegisterAllControls();
        AllowSoundSources();
        record = &ModuleTable[ModuleBezier];
        record->width = width;
        record->height = height;
        record->dc = canvas->dc();
        BezierInit(record);
    }
    void Set(int slot, LONG value) { record->value[slot] = value; }
    void Start(unsigned seed) {
        std::srand(seed);
        BezierStart(record);
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) BezierStep(record);
    }

    std::unique_ptr<Canvas> canvas;
    ModuleRecord* record = nullptr;
};

}  // namespace modtest
