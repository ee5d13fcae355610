#include "saver/modules/modules.h"

#include "saver/framework/controls.h"
#include "saver/framework/module_table.h"
#include "saver/modules/bezier.h"
#include "saver/modules/bitmap.h"
#include "saver/modules/cyclic.h"
#include "saver/modules/effect.h"
#include "saver/modules/pattern.h"
#include "saver/modules/plasma.h"
#include "saver/modules/polygon.h"
#include "saver/modules/random_display.h"
#include "saver/modules/sphere.h"
#include "saver/modules/stain.h"
#include "saver/modules/star.h"
#include "saver/modules/vortex.h"

void InstallDrawingModules() {
    ModuleOperationTable[ModuleBezier] = {BezierStep, BezierInit, BezierStart, BezierFree};
    ModuleOperationTable[ModuleCyclic] = {CyclicStep, CyclicInit, CyclicStart, CyclicFree};
    ModuleOperationTable[ModulePattern] = {PatternStep, PatternInit, PatternStart, PatternFree};
    ModuleOperationTable[ModulePlasma] = {PlasmaStep, ModuleNoOp, PlasmaStart, PlasmaFree};
    ModuleOperationTable[ModulePolygon] = {PolygonStep, ModuleNoOp, PolygonStart, ModuleNoOp};
    ModuleOperationTable[ModuleSphere] = {SphereStep, SphereInit, SphereStart, SphereFree};
    ModuleOperationTable[ModuleStain] = {StainStep, StainInit, StainStart, StainFree};
    ModuleOperationTable[ModuleStar] = {StarStep, StarInit, StarStart, StarFree};
    ModuleOperationTable[ModuleVortex] = {VortexStep, ModuleNoOp, VortexStart, ModuleNoOp};
    ModuleOperationTable[ModuleEffect] = {EffectStep, EffectInit, EffectStart, ModuleNoOp};
    ModuleOperationTable[ModuleBitmap] = {BitmapStep, BitmapInit, BitmapStart, BitmapFree};
    ModuleOperationTable[ModuleRandom] = {RandomStep, ModuleNoOp, RandomStart, ModuleNoOp};
}
