#include "saver/modules/modules.h"

#include "saver/framework/module_table.h"
#include "saver/modules/bezier.h"

void InstallDrawingModules() {
    ModuleOperationTable[ModuleBezier] = {BezierStep, BezierInit, BezierStart, BezierFree};
}
