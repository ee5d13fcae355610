#include "saver/framework/control_table.h"

#include <iterator>

#include "saver/framework/controls.h"

namespace {

constexpr bool Yes = true;
constexpr bool No = false;

}  // namespace

// Registration order: Bezier, Cyclic, Pattern, Plasma, Stain, Star, Polygon,
// Sphere, Vortex, Effect, Bitmap, Random.
const ControlDefinition ControlDefinitions[] = {
    // module, string id, slot, default, min, max, sound-allowed
    {ModuleBezier, 10, 0, 1, 1, 20, No},
    {ModuleBezier, 11, 1, 10, 1, 32, Yes},
    {ModuleBezier, 12, 2, 100, 1, 100, No},
    {ModuleBezier, 13, 3, 12, 1, 200, Yes},
    {ModuleBezier, 14, 4, 4, 1, 320, Yes},
    {ModuleBezier, 15, 5, 30, 1, 1000, No},
    {ModuleBezier, 16, 6, 1, 1, 20, Yes},
    {ModuleBezier, 17, 7, 1, 1, 20, Yes},
    {ModuleBezier, 18, 8, 0, 0, 3, No},
    {ModuleBezier, 19, 9, 1, -10, 10, No},

    {ModuleCyclic, 20, 0, 4, 1, 99, No},
    {ModuleCyclic, 21, 1, 25, 1, 50, Yes},
    {ModuleCyclic, 22, 2, 100, 1, 100, No},
    {ModuleCyclic, 23, 3, 100, 0, 320, Yes},
    {ModuleCyclic, 24, 4, 1, 1, 32, Yes},
    {ModuleCyclic, 25, 5, 10, -100, 100, Yes},
    {ModuleCyclic, 26, 6, 1, 1, 10, No},
    {ModuleCyclic, 27, 7, 0, 0, 8, No},
    {ModuleCyclic, 28, 9, 1, -10, 10, No},
    {ModuleCyclic, 103, 10, 1, 1, 20, Yes},
    {ModuleCyclic, 104, 11, 1, 1, 20, Yes},
    {ModuleCyclic, 105, 12, 0, 0, 3, No},

    {ModulePattern, 41, 0, 2, 2, 30, No},
    {ModulePattern, 42, 1, 0, 0, 100, No},
    {ModulePattern, 43, 2, 21, 0, 21, No},
    {ModulePattern, 44, 3, 30, 0, 1000, No},
    {ModulePattern, 45, 4, 1, 0, 5, No},
    {ModulePattern, 46, 5, 50, 0, 100, No},
    {ModulePattern, 47, 6, 0, 0, 6, No},
    {ModulePattern, 115, 7, 0, 0, 20, Yes},
    {ModulePattern, 48, 9, 1, -10, 10, No},
    {ModulePattern, 109, 10, 1, 1, 20, Yes},
    {ModulePattern, 110, 11, 1, 1, 20, Yes},
    {ModulePattern, 111, 12, 0, 0, 3, No},

    {ModulePlasma, 49, 0, 10, 1, 100, No},
    {ModulePlasma, 50, 1, 5, 1, 30, No},
    {ModulePlasma, 51, 2, 0, 0, 20, No},
    {ModulePlasma, 52, 3, 30, 1, 1000, No},
    {ModulePlasma, 53, 9, 1, -10, 10, No},

    {ModuleStain, 68, 0, 2, 2, 4, No},
    {ModuleStain, 116, 1, 0, 0, 20, Yes},
    {ModuleStain, 69, 2, 4, 0, 10, No},
    {ModuleStain, 70, 3, 20, 1, 1000, No},
    {ModuleStain, 71, 9, 1, -10, 10, No},
    {ModuleStain, 112, 10, 1, 1, 20, Yes},
    {ModuleStain, 113, 11, 1, 1, 20, Yes},
    {ModuleStain, 114, 12, 0, 0, 3, No},

    {ModuleStar, 72, 0, 20, 0, 99, No},
    {ModuleStar, 73, 1, 1, 1, 320, Yes},
    {ModuleStar, 74, 2, 4, 1, 60, Yes},
    {ModuleStar, 75, 3, 0, -99, 99, Yes},
    {ModuleStar, 76, 4, 0, -99, 99, Yes},
    {ModuleStar, 77, 5, 0, -99, 99, Yes},
    {ModuleStar, 78, 6, 10, -100, 100, Yes},
    {ModuleStar, 79, 7, 1, 1, 10, No},
    {ModuleStar, 80, 8, 0, 0, 8, No},
    {ModuleStar, 81, 9, 1, -10, 10, No},
    {ModuleStar, 99, 10, 1, 1, 20, Yes},
    {ModuleStar, 100, 11, 1, 1, 20, Yes},
    {ModuleStar, 101, 12, 0, 0, 3, No},
    {ModuleStar, 102, 13, 1, 1, 128, Yes},

    {ModulePolygon, 91, 0, 3, 2, 20, No},
    {ModulePolygon, 92, 1, 10, 1, 50, Yes},
    {ModulePolygon, 93, 2, 4, 1, 320, Yes},
    {ModulePolygon, 94, 3, 0, 0, 1, No},
    {ModulePolygon, 95, 4, 1, 1, 20, Yes},
    {ModulePolygon, 96, 5, 1, 1, 20, Yes},
    {ModulePolygon, 97, 6, 0, 0, 3, No},
    {ModulePolygon, 98, 9, 1, -10, 10, No},

    {ModuleSphere, 60, 0, 100, 15, 250, Yes},
    {ModuleSphere, 61, 1, 8, 2, 128, Yes},
    {ModuleSphere, 62, 2, 0, 0, 63, No},
    {ModuleSphere, 63, 3, 20, 1, 1000, No},
    {ModuleSphere, 64, 4, 1, 1, 20, Yes},
    {ModuleSphere, 65, 5, 1, 1, 20, Yes},
    {ModuleSphere, 66, 6, 0, 0, 3, No},
    {ModuleSphere, 67, 9, 1, -10, 10, No},

    {ModuleVortex, 82, 0, 60, 2, 199, No},
    {ModuleVortex, 83, 1, 300, 1, 300, Yes},
    {ModuleVortex, 84, 2, 20, 1, 200, Yes},
    {ModuleVortex, 85, 3, 20, 0, 1000, No},
    {ModuleVortex, 86, 4, 1, 0, 5, No},
    {ModuleVortex, 87, 5, 5, 1, 50, Yes},
    {ModuleVortex, 88, 6, 34, 0, 100, Yes},
    {ModuleVortex, 89, 7, 0, 0, 400, Yes},
    {ModuleVortex, 90, 9, 1, -10, 10, No},
    {ModuleVortex, 106, 10, 1, 1, 20, Yes},
    {ModuleVortex, 107, 11, 1, 1, 20, Yes},
    {ModuleVortex, 108, 12, 0, 0, 3, No},

    {ModuleEffect, 29, 0, 0, 0, 25, No},
    {ModuleEffect, 30, 1, 100, 2, 320, No},
    {ModuleEffect, 31, 2, 80, 2, 240, No},
    {ModuleEffect, 32, 3, 20, 0, 1000, No},
    {ModuleEffect, 33, 9, 1, -10, 10, No},

    {ModuleBitmap, 34, 0, 1, 0, 3, No},
    {ModuleBitmap, 35, 1, 0, 0, 1, No},
    {ModuleBitmap, 36, 2, 12, 0, 1000, No},
    {ModuleBitmap, 37, 3, 2, 0, 10, No},
    {ModuleBitmap, 38, 4, 0, 0, 1, No},
    {ModuleBitmap, 39, 5, 0, 0, 1, No},
    {ModuleBitmap, 40, 9, 1, -10, 10, No},

    {ModuleRandom, 54, 0, 2, 0, 2, No},
    {ModuleRandom, 55, 1, 1, 1, 11, No},
    {ModuleRandom, 56, 2, 16, 1, 1000, No},
    {ModuleRandom, 57, 3, 0, 0, 1, No},
    {ModuleRandom, 58, 4, 1, 0, 1, No},
    {ModuleRandom, 59, 9, 1, -10, 10, No},
};

const int ControlDefinitionCount = static_cast<int>(std::size(ControlDefinitions));

void RegisterAllControls() {
    for (const ControlDefinition& c : ControlDefinitions) {
        RegisterControl(c.module, c.stringId, c.slot, c.def, c.min, c.max);
    }
}

void AllowSoundSources() {
    for (const ControlDefinition& c : ControlDefinitions) {
        if (c.soundAllowed) {
            ModuleTable[c.module].soundAllowed[c.slot] = 1;
        }
    }
}
