#include "saver/modules/modules.h"

#include "saver/framework/controls.h"
#include "saver/framework/module_table.h"
#include "saver/modules/bezier.h"
#include "saver/modules/random_display.h"
#include "saver/modules/star.h"

void InstallDrawingModules() {
    ModuleOperationTable[ModuleBezier] = {BezierStep, BezierInit, BezierStart, BezierFree};
    ModuleOperationTable[ModuleStar] = {StarStep, StarInit, StarStart, StarFree};
    ModuleOperationTable[ModuleRandom] = {RandomStep, ModuleNoOp, RandomStart, ModuleNoOp};
}
