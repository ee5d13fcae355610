// The module table: registered controls, the set-up sequence and the reset
// and clamp rules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "saver/framework/controls.h"
#include "saver/framework/module_table.h"
#include "saver/resources/strings.h"

namespace {

std::string StringFor(DWORD id) {
    char buffer[64];
    LoadSaverString(id, buffer, sizeof buffer);
    return buffer;
}

int DefinedSlots(const ModuleRecord& r) {
    int n = 0;
    for (DWORD d : r.defined) {
        n += d ? 1 : 0;
    }
    return n;
}

// The slots of a module that may follow oscillation and sound, as a bit mask.
unsigned SoundSlots(const ModuleRecord& r) {
    unsigned mask = 0;
    for (int s = 0; s < SlotCount; ++s) {
        mask |= r.soundAllowed[s] ? 1u << s : 0u;
    }
    return mask;
}

class ModuleTableTest : public testing::Test {
protected:
    void SetUp() override {
        std::memset(ModuleTable, 0, sizeof ModuleTable);
        std::memset(ActiveModules, 0, sizeof ActiveModules);
        DisplayLoader = nullptr;
    }
    void TearDown() override { DisplayLoader = nullptr; }
};

TEST_F(ModuleTableTest, EveryModuleHasItsTabledControls) {
    BuildModuleTable();
    // Defined slots and sound-allowed slots (bit n = slot n) per module.
    struct Expected {
        const char* name;
        int defined;
        unsigned sound;
    };
    const Expected expected[ModuleCount] = {
        {"Bezier", 10, 0b0000'1101'1010},
        {"Cyclic", 12, 0b0'1100'0011'1010},
        {"Pattern", 12, 0b0'1100'1000'0000},
        {"Plasma", 5, 0},
        {"Polygon", 8, 0b0011'0110},
        {"Sphere", 8, 0b0011'0011},
        {"Stain", 8, 0b0'1100'0000'0010},
        {"Star", 14, 0b10'1100'0111'1110},
        {"Vortex", 12, 0b0'1100'1110'0110},
        {"Effect", 5, 0},
        {"Bitmap", 7, 0},
        {"Random", 6, 0},
    };
    for (int m = 0; m < ModuleCount; ++m) {
        const ModuleRecord& r = ModuleTable[m];
        SCOPED_TRACE(expected[m].name);
        EXPECT_STREQ(r.name, expected[m].name);
        EXPECT_EQ(DefinedSlots(r), expected[m].defined);
        EXPECT_EQ(SoundSlots(r), expected[m].sound);
        // Slot 9 is Strength everywhere, fixed and never sound-driven.
        EXPECT_EQ(StringFor(r.stringId[StrengthSlot]), "Strength");
        EXPECT_EQ(r.value[StrengthSlot], 1);
        EXPECT_EQ(r.min[StrengthSlot], -10);
        EXPECT_EQ(r.max[StrengthSlot], 10);
        EXPECT_EQ(r.table, ModuleTable);
        ASSERT_NE(r.step, nullptr);
        EXPECT_EQ(r.step(&ModuleTable[m]), 0);
    }
}

TEST_F(ModuleTableTest, ControlsCarryTheirNamesDefaultsAndLimits) {
    BuildModuleTable();
    struct Spot {
        int module;
        int slot;
        const char* name;
        LONG def;
        LONG min;
        LONG max;
    };
    const Spot spots[] = {
        {ModuleBezier, 4, "Speed", 4, 1, 320},
        {ModuleCyclic, 5, "Object Rotation", 10, -100, 100},
        {ModuleCyclic, 12, "Tile Type", 0, 0, 3},
        {ModulePattern, 2, "Type", 21, 0, 21},
        {ModulePattern, 7, "Folding", 0, 0, 20},
        {ModulePlasma, 3, "Image Duration", 30, 1, 1000},
        {ModulePolygon, 4, "X Tiling", 1, 1, 20},
        {ModuleSphere, 0, "Size", 100, 15, 250},
        {ModuleStain, 1, "Folding", 0, 0, 20},
        {ModuleStar, 13, "Symmetry", 1, 1, 128},
        {ModuleVortex, 1, "Spasticity", 300, 1, 300},
        {ModuleEffect, 2, "Y Strength", 80, 2, 240},
        {ModuleBitmap, 5, "File or Screen", 0, 0, 1},
        {ModuleRandom, 0, "Actv/Svd/Snd", 2, 0, 2},
    };
    for (const Spot& spot : spots) {
        const ModuleRecord& r = ModuleTable[spot.module];
        SCOPED_TRACE(std::string(r.name) + " slot " + std::to_string(spot.slot));
        EXPECT_EQ(StringFor(r.stringId[spot.slot]), spot.name);
        EXPECT_EQ(r.value[spot.slot], spot.def);
        EXPECT_EQ(r.defaultValue[spot.slot], spot.def);
        EXPECT_EQ(r.rangeLo[spot.slot], spot.min);
        EXPECT_EQ(r.min[spot.slot], spot.min);
        EXPECT_EQ(r.rangeHi[spot.slot], spot.max);
        EXPECT_EQ(r.max[spot.slot], spot.max);
        EXPECT_EQ(r.sense[spot.slot], 10);
        EXPECT_EQ(r.phase[spot.slot], 0.5f);
        EXPECT_EQ(r.source[spot.slot], 0);
    }
}

TEST_F(ModuleTableTest, EveryControlNameIsInTheStringTable) {
    BuildModuleTable();
    EXPECT_EQ(StringFor(SaverDescriptionId), "Lumoric");
    bool used[117] = {};
    for (const ModuleRecord& r : ModuleTable) {
        for (int s = 0; s < SlotCount; ++s) {
            if (!r.defined[s]) {
                continue;
            }
            ASSERT_GE(r.stringId[s], 10u);
            ASSERT_LE(r.stringId[s], 116u);
            EXPECT_FALSE(used[r.stringId[s]]) << "string id " << r.stringId[s] << " used twice";
            used[r.stringId[s]] = true;
            EXPECT_FALSE(StringFor(r.stringId[s]).empty()) << r.name << " slot " << s;
        }
    }
    for (DWORD id = 10; id <= 116; ++id) {
        EXPECT_TRUE(used[id]) << "string id " << id << " names no control";
    }
}

TEST_F(ModuleTableTest, WithoutSavedDisplaysOnlyRandomRuns) {
    BuildModuleTable();
    for (int m = 0; m < ModuleCount; ++m) {
        EXPECT_EQ(ActiveModules[m] != 0, m == ModuleRandom) << ModuleNames[m];
    }
}

// The display loader runs after registration and before the clamp: what it
// loads replaces the defaults, and out-of-limit loaded values are repaired.
TEST_F(ModuleTableTest, TheDisplayLoaderFillsTheRegisteredTable) {
    static bool sawRegisteredControls = false;
    DisplayLoader = [] {
        sawRegisteredControls = ModuleTable[ModuleStar].defined[13] == 1;
        ActiveModules[ModuleStar] = 1;
        ModuleTable[ModuleStar].value[1] = 5000;  // beyond Star Size's 320
        ModuleTable[ModuleStar].value[2] = 33;
    };
    BuildModuleTable();
    EXPECT_TRUE(sawRegisteredControls);
    EXPECT_EQ(ActiveModules[ModuleStar], 1u);
    EXPECT_EQ(ActiveModules[ModuleRandom], 0u);
    EXPECT_EQ(ModuleTable[ModuleStar].value[1], 1);
    EXPECT_EQ(ModuleTable[ModuleStar].value[2], 33);
}

// Every record gets the operations its module installed, and the table
// pointer; modules that installed nothing run the shared no-op.
TEST_F(ModuleTableTest, RecordsGetTheInstalledOperations) {
    const ModuleOperations saved = ModuleOperationTable[ModuleStar];
    ModuleOperation step = [](ModuleRecord*) -> LONG { return 7; };
    ModuleOperationTable[ModuleStar].step = step;
    BuildModuleTable();
    ModuleOperationTable[ModuleStar] = saved;
    EXPECT_EQ(ModuleTable[ModuleStar].step, step);
    EXPECT_EQ(ModuleTable[ModuleStar].step(&ModuleTable[ModuleStar]), 7);
    EXPECT_EQ(ModuleTable[ModuleCyclic].step, &ModuleNoOp);
    EXPECT_EQ(ModuleTable[ModuleCyclic].table, &ModuleTable[0]);
}

TEST_F(ModuleTableTest, ClampRestoresTheDefaultRatherThanTheNearerLimit) {
    BuildModuleTable();
    ModuleRecord& r = ModuleTable[ModuleBezier];
    r.value[3] = 201;     // Width 1..200, default 12
    r.value[4] = 0;       // Speed 1..320, default 4
    r.rangeLo[3] = -5;    // below min: becomes min
    r.rangeHi[3] = 999;   // above max: becomes max
    r.rangeLo[4] = 300;   // inverted but inside the limits: kept
    r.rangeHi[4] = 2;
    r.value[15] = 7;      // an undefined slot is clamped too (its limits are 0..0)
    ClampControls(&r);
    EXPECT_EQ(r.value[3], 12);
    EXPECT_EQ(r.value[4], 4);
    EXPECT_EQ(r.rangeLo[3], 1);
    EXPECT_EQ(r.rangeHi[3], 200);
    EXPECT_EQ(r.rangeLo[4], 300);
    EXPECT_EQ(r.rangeHi[4], 2);
    EXPECT_EQ(r.value[15], 0);
}

TEST_F(ModuleTableTest, ResetRestoresDefinitionsAndEmptiesThePath) {
    BuildModuleTable();
    ModuleRecord& r = ModuleTable[ModuleBitmap];
    std::strcpy(r.path, "/pictures/*.bmp");
    for (int s = 0; s < SlotCount; ++s) {
        r.value[s] += 1;
        r.rangeLo[s] = 3;
        r.rangeHi[s] = 2;
        r.sense[s] = 4;
        r.phase[s] = 0.9f;
        r.source[s] = 2;
    }
    ResetControls(ModuleBitmap);
    EXPECT_STREQ(r.path, "");
    for (int s = 0; s < SlotCount; ++s) {
        SCOPED_TRACE(s);
        if (r.defined[s]) {
            EXPECT_EQ(r.value[s], r.defaultValue[s]);
            EXPECT_EQ(r.rangeLo[s], r.min[s]);
            EXPECT_EQ(r.rangeHi[s], r.max[s]);
            EXPECT_EQ(r.sense[s], 10);
            EXPECT_EQ(r.phase[s], 0.5f);
            EXPECT_EQ(r.source[s], 0);
        } else {
            EXPECT_EQ(r.source[s], 2) << "undefined slots are left alone";
        }
    }
}

TEST_F(ModuleTableTest, RegisteringAControlEmptiesThePath) {
    std::strcpy(ModuleTable[ModuleBitmap].path, "old.bmp");
    RegisterControl(ModuleBitmap, 36, 2, 12, 0, 1000);
    EXPECT_STREQ(ModuleTable[ModuleBitmap].path, "");
    // Out-of-table indices are refused rather than written anywhere.
    RegisterControl(ModuleCount, 10, 0, 1, 1, 1);
    RegisterControl(0, 10, SlotCount, 1, 1, 1);
    RegisterControl(-1, 10, 0, 1, 1, 1);
}

TEST(StringTable, LoadsLikeLoadString) {
    char small[5];
    EXPECT_EQ(LoadSaverString(116, small, sizeof small), 4);
    EXPECT_STREQ(small, "Fold");
    char buffer[32] = "unchanged";
    EXPECT_EQ(LoadSaverString(9, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(LoadSaverString(1, buffer, 0), 0);
    EXPECT_EQ(LoadSaverString(1, nullptr, 10), 0);
}

}  // namespace
