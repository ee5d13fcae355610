#include "saver/modules/modules.h"

#include "saver/framework/controls.h"
#include "saver/framework/module_table.h"
#include "saver/modules/bezier.h"
#include "saver/modules/cyclic.h"
#include "saver/modules/random_display.h"

void InstallDrawingModules() {
    ModuleOperationTable[ModuleBezier] = {BezierStep, BezierInit, BezierStart, BezierFree};
    ModuleOperationTable[ModuleCyclic] = {CyclicStep, CyclicInit, CyclicStart, CyclicFree};
    ModuleOperationTable[ModuleRandom] = {RandomStep, ModuleNoOp, RandomStart, ModuleNoOp};
}
