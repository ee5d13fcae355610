#include "saver/modules/modules.h"

#include "saver/framework/controls.h"
#include "saver/framework/module_table.h"
#include "saver/modules/bezier.h"
#include "saver/modules/plasma.h"
#include "saver/modules/random_display.h"

void InstallDrawingModules() {
    ModuleOperationTable[ModuleBezier] = {BezierStep, BezierInit, BezierStart, BezierFree};
    ModuleOperationTable[ModulePlasma] = {PlasmaStep, ModuleNoOp, PlasmaStart, PlasmaFree};
    ModuleOperationTable[ModuleRandom] = {RandomStep, ModuleNoOp, RandomStart, ModuleNoOp};
}
