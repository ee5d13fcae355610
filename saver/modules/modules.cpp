#include "saver/modules/modules.h"

#include "saver/framework/controls.h"
#include "saver/framework/module_table.h"
#include "saver/modules/bezier.h"
#include "saver/modules/effect.h"
#include "saver/modules/random_display.h"
#include "saver/modules/sphere.h"

void InstallDrawingModules() {
    ModuleOperationTable[ModuleBezier] = {BezierStep, BezierInit, BezierStart, BezierFree};
    ModuleOperationTable[ModuleSphere] = {SphereStep, SphereInit, SphereStart, SphereFree};
    ModuleOperationTable[ModuleEffect] = {EffectStep, EffectInit, EffectStart, ModuleNoOp};
    ModuleOperationTable[ModuleRandom] = {RandomStep, ModuleNoOp, RandomStart, ModuleNoOp};
}
