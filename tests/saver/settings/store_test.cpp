// Saved displays in the registry: the first run, saving and loading, the
// fallbacks of a load, captures and the display list.
#include <gtest/gtest.h>

#include <cstring>

#include "saver/framework/controls.h"
#include "saver/framework/sources.h"
#include "saver/settings/little_endian.h"
#include "saver/settings/registry_access.h"
#include "settings_fixture.h"

namespace {

using namespace settings_test;

LONG StoredLong(const std::string& path, const char* name) {
    std::vector<BYTE> raw = RawValue(path, name);
    EXPECT_EQ(raw.size(), 4u) << path << " " << name;
    return raw.size() == 4 ? static_cast<LONG>(LoadLittleEndian(raw.data())) : -12345;
}

void SetLong(const std::string& path, const char* name, LONG value) {
    settings::RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, path), ERROR_SUCCESS);
    ASSERT_EQ(settings::WriteLong(key.get(), name, value), ERROR_SUCCESS);
}

void DeleteValue(const std::string& path, const char* name) {
    settings::RegKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteValueA(key.get(), name), ERROR_SUCCESS) << name;
}

using SettingsStore = SettingsStoreTest;

TEST_F(SettingsStore, FirstRunCreatesTheDefaultDisplaysAndTheFallback) {
    const char* const firstRun[] = {"Bezier", "Cyclic", "Pattern", "Plasma", "Polygon",
                                    "Sphere", "Stain",  "Star",    "Vortex"};
    std::vector<std::string> expected;
    for (const char* module : firstRun) expected.push_back(std::string("[D] ") + module);
    expected.push_back("[R] Saved Sound Settings");
    EXPECT_EQ(SubkeyNames(SavedKeyPath()), expected);

    for (int m = 0; m <= ModuleVortex; ++m) {
        const std::string display = std::string("[D] ") + firstRun[m];
        SCOPED_TRACE(display);
        EXPECT_EQ(SubkeyNames(ModulesKeyPath(display)), std::vector<std::string>{firstRun[m]});
        const std::string module = ModuleKeyPath(display, firstRun[m]);
        int defined = 0;
        for (int s = 0; s < SlotCount; ++s) {
            const ModuleRecord& r = ModuleTable[m];
            if (!r.defined[s]) {
                EXPECT_TRUE(RawValue(module, ("Control" + std::to_string(s)).c_str()).empty());
                continue;
            }
            ++defined;
            EXPECT_EQ(StoredLong(module, ("Control" + std::to_string(s)).c_str()), r.defaultValue[s]);
            EXPECT_EQ(StoredLong(module, ("RangeLo" + std::to_string(s)).c_str()), r.min[s]);
            EXPECT_EQ(StoredLong(module, ("RangeHi" + std::to_string(s)).c_str()), r.max[s]);
            EXPECT_EQ(StoredLong(module, ("Check" + std::to_string(s)).c_str()), 0);
            EXPECT_EQ(StoredLong(module, ("Sense" + std::to_string(s)).c_str()), 10);
        }
        EXPECT_EQ(Snapshot(module).size(), 5u * defined) << "no Path, nothing else";
        const LONG effect = m == ModuleStar ? 0 : 5;
        for (const char* name : {"RedEffect", "GreenEffect", "BlueEffect"}) {
            EXPECT_EQ(StoredLong(PaletteKeyPath(display), name), effect);
        }
        EXPECT_EQ(StoredLong(PaletteKeyPath(display), "AllEffect"), 0);
        EXPECT_TRUE(RawValue(PaletteKeyPath(display), "Custom").empty());
        EXPECT_EQ(StoredLong(PaletteKeyPath(display), "GreenMorphRate"), 9);
        EXPECT_EQ(StoredLong(PaletteKeyPath(display), "BlueDensitySource"), 1);
        EXPECT_EQ(StoredLong(DisplayKeyPath(display), "Priority"), 64);
    }
    // Spot checks against the registered table: Vortex's Spasticity, Star's
    // Symmetry.
    EXPECT_EQ(StoredLong(ModuleKeyPath("[D] Vortex", "Vortex"), "Control1"), 300);
    EXPECT_EQ(StoredLong(ModuleKeyPath("[D] Star", "Star"), "RangeHi13"), 128);

    EXPECT_EQ(SubkeyNames(ModulesKeyPath(FallbackDisplayName)), std::vector<std::string>{"Random"});
    EXPECT_EQ(StoredLong(DisplayKeyPath(FallbackDisplayName), "ShowInfo"), 1);
    EXPECT_TRUE(DisplayHasModule(FallbackDisplayName, "Random"));
    EXPECT_FALSE(DisplayHasModule(FallbackDisplayName, "Bezier"));
    EXPECT_EQ(ActiveValue(), FallbackDisplayName);
    for (int m = 0; m < ModuleCount; ++m) EXPECT_EQ(ActiveModules[m], m == ModuleRandom ? 1u : 0u) << m;

    // Later runs leave the user's choices alone, but the fallback returns.
    DeleteDisplay("[D] Plasma");
    DeleteDisplay(FallbackDisplayName);
    BuildModuleTable();
    EXPECT_FALSE(KeyExists(DisplayKeyPath("[D] Plasma").c_str()));
    EXPECT_TRUE(DisplayHasModule(FallbackDisplayName, "Random"));
}

// Fills every saved field with values a load could not produce by chance.
void FillRunningSettings(PaletteSettings& p) {
    for (int m = 0; m < ModuleCount; ++m) {
        ActiveModules[m] = 1;
        ModuleRecord& r = ModuleTable[m];
        for (int s = 0; s < SlotCount; ++s) {
            if (!r.defined[s]) continue;
            const LONG span = r.max[s] - r.min[s] + 1;
            r.value[s] = r.min[s] + (m * 7 + s * 3 + 1) % span;
            r.rangeLo[s] = r.max[s];  // inverted ranges are kept
            r.rangeHi[s] = r.min[s] + (s % span);
            r.source[s] = (m + s) % SourceCount;
            r.sense[s] = 1 + (m + 2 * s) % 10;
        }
    }
    std::memset(ModuleTable[ModuleBitmap].path, 'x', MAX_PATH);
    std::strcpy(ModuleTable[ModuleBitmap].path, "pictures/*.bmp");
    for (int param = 0; param < PaletteParameterCount; ++param) {
        for (int c = 0; c < ChannelCount; ++c) {
            const LONG base = 1000 * (param + 1) + 100 * c;
            p.value[param][c] = base + 1;
            p.rangeLo[param][c] = base + 2;
            p.rangeHi[param][c] = base + 3;
            p.sense[param][c] = 1 + (param + c) % 10;
            p.source[param][c] = (param + 2 * c) % SourceCount;
        }
    }
    p.effect[ChannelRed] = EffectCustom;
    p.effect[ChannelGreen] = EffectSmooth;
    p.effect[ChannelBlue] = EffectCoarse;
    p.allEffect = EffectBlackout;
    SaverOptions = {128, 0, 1, 1, 42};
    SharedSpectrum->set(spectrum::turbo, 0);
    SharedSpectrum->set(spectrum::autoGain, 0);
    Speed = 7;
}

TEST_F(SettingsStore, SaveAndLoadRestoreEverySavedField) {
    FillRunningSettings(palette());
    ModuleRecord saved[ModuleCount];
    std::memcpy(saved, ModuleTable, sizeof saved);
    PaletteSettings& p = palette();
    auto before = std::make_unique<PaletteSettings>(p);
    SaveDisplay("Round Trip");
    EXPECT_EQ(ActiveValue(), "Round Trip");

    for (int m = 0; m < ModuleCount; ++m) ResetControls(m);
    std::memset(ActiveModules, 0, sizeof ActiveModules);
    ResetPaletteDefaults(&p);
    std::memset(p.customColours, 0, sizeof p.customColours);
    p.effect[0] = p.effect[1] = p.effect[2] = p.allEffect = 0;
    SaverOptions = {32, 1, 0, 0, 0};
    SharedSpectrum->set(spectrum::turbo, 1);
    SharedSpectrum->set(spectrum::autoGain, 1);
    Speed = 0;

    ASSERT_EQ(LoadDisplay("Round Trip"), 1);
    for (int m = 0; m < ModuleCount; ++m) {
        EXPECT_EQ(ActiveModules[m], 1u);
        const ModuleRecord& r = ModuleTable[m];
        for (int s = 0; s < SlotCount; ++s) {
            if (!r.defined[s]) continue;
            SCOPED_TRACE(std::string(ModuleNames[m]) + " slot " + std::to_string(s));
            EXPECT_EQ(r.value[s], saved[m].value[s]);
            EXPECT_EQ(r.rangeLo[s], saved[m].rangeLo[s]);
            EXPECT_EQ(r.rangeHi[s], saved[m].rangeHi[s]);
            EXPECT_EQ(r.source[s], saved[m].source[s]);
            EXPECT_EQ(r.sense[s], saved[m].sense[s]);
        }
    }
    EXPECT_STREQ(ModuleTable[ModuleBitmap].path, "pictures/*.bmp");
    DWORD type = 0;
    std::vector<BYTE> path = RawValue(ModuleKeyPath("Round Trip", "Bitmap"), "Path", &type);
    EXPECT_EQ(type, REG_SZ);
    ASSERT_EQ(path.size(), MAX_PATH) << "the whole buffer is stored";
    EXPECT_EQ(0, std::memcmp(path.data(), saved[ModuleBitmap].path, MAX_PATH));
    EXPECT_TRUE(RawValue(ModuleKeyPath("Round Trip", "Bezier"), "Path").empty());

    for (int param = 0; param < PaletteParameterCount; ++param) {
        for (int c = 0; c < ChannelCount; ++c) {
            SCOPED_TRACE("parameter " + std::to_string(param) + " channel " + std::to_string(c));
            // CycleRate keeps one set of values, the blue channel's; the red
            // and green Seconds senses share the green one.
            const int from = param == ParamCycleRate ? ChannelBlue : c;
            const int senseFrom = param == ParamSeconds && c == ChannelRed ? ChannelGreen : from;
            EXPECT_EQ(p.value[param][c], before->value[param][from]);
            EXPECT_EQ(p.rangeLo[param][c], before->rangeLo[param][from]);
            EXPECT_EQ(p.rangeHi[param][c], before->rangeHi[param][from]);
            EXPECT_EQ(p.sense[param][c], before->sense[param][senseFrom]);
            EXPECT_EQ(p.source[param][c], before->source[param][from]);
        }
    }
    EXPECT_EQ(p.effect[ChannelRed], EffectCustom);
    EXPECT_EQ(p.effect[ChannelGreen], EffectSmooth);
    EXPECT_EQ(p.effect[ChannelBlue], EffectCoarse);
    EXPECT_EQ(p.allEffect, EffectBlackout);
    for (int i = 0; i < PaletteEntryCount; ++i) {
        EXPECT_EQ(p.customColours[i].peRed, before->customColours[i].peRed);
        EXPECT_EQ(p.customColours[i].peGreen, before->customColours[i].peGreen);
        EXPECT_EQ(p.customColours[i].peBlue, before->customColours[i].peBlue);
        EXPECT_EQ(p.customColours[i].peFlags, 1);
    }
    EXPECT_EQ(RawValue(PaletteKeyPath("Round Trip"), "Custom", &type).size(), 708u);
    EXPECT_EQ(type, REG_BINARY);

    EXPECT_EQ(SaverOptions.Priority, 128u);
    EXPECT_EQ(SaverOptions.ClearFirst, 0u);
    EXPECT_EQ(SaverOptions.ShowInfo, 1u);
    EXPECT_EQ(SaverOptions.AutoRun, 1u);
    EXPECT_EQ(SaverOptions.ShowName, 42u);
    EXPECT_EQ(SharedSpectrum->get(spectrum::turbo), 0u);
    EXPECT_EQ(SharedSpectrum->get(spectrum::autoGain), 0u);
    EXPECT_EQ(Speed, 7u);
    EXPECT_EQ(RawValue(SaverKeyPath(), "Speed", &type), (std::vector<BYTE>{7, 0, 0, 0}));
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_STREQ(CurrentDisplayName, "Round Trip");
    EXPECT_EQ(SharedSpectrum->get(spectrum::displayName), "Round Trip");
}

TEST_F(SettingsStore, SavingReplacesTheWholeDisplay) {
    FillRunningSettings(palette());
    SaveDisplay("Show");
    SetLong(DisplayKeyPath("Show") + "\\Extra\\Deeper", "Left", 1);  // as an imported file may leave

    std::memset(ActiveModules, 0, sizeof ActiveModules);
    ActiveModules[ModulePlasma] = 1;
    palette().effect[ChannelRed] = EffectRamp;
    SaveDisplay("Show");
    EXPECT_EQ(SubkeyNames(DisplayKeyPath("Show")), (std::vector<std::string>{"Modules", "Palette"}));
    EXPECT_EQ(SubkeyNames(ModulesKeyPath("Show")), std::vector<std::string>{"Plasma"});
    EXPECT_TRUE(RawValue(PaletteKeyPath("Show"), "Custom").empty());

    // An empty name stores nothing and keeps "Active".
    const auto whole = Snapshot(SaverKeyPath());
    SaveDisplay("");
    EXPECT_EQ(Snapshot(SaverKeyPath()), whole);
    EXPECT_EQ(ActiveValue(), "Show");
}

TEST_F(SettingsStore, MissingValuesTakeTheirDefaults) {
    std::memset(ActiveModules, 0, sizeof ActiveModules);
    ActiveModules[ModuleBezier] = 1;
    ModuleRecord& bezier = ModuleTable[ModuleBezier];
    bezier.source[3] = 2;
    bezier.sense[3] = 3;
    bezier.rangeHi[3] = 100;
    SaveDisplay("Sparse");
    const std::string module = ModuleKeyPath("Sparse", "Bezier");
    DeleteValue(module, "Check3");
    DeleteValue(module, "Sense3");
    DeleteValue(module, "RangeHi3");
    DeleteValue(module, "Control2");
    SetLong(module, "Control1", 999);  // beyond the limit: the default, not the limit
    SetLong(module, "RangeLo4", 0);    // below min
    DeleteValue(DisplayKeyPath("Sparse"), "Priority");

    SaverOptions.Priority = 128;
    std::memset(palette().customColours, 0x5A, sizeof palette().customColours);
    bezier.value[2] = 77;
    ASSERT_EQ(LoadDisplay("Sparse"), 1);
    EXPECT_EQ(bezier.source[3], 0);
    EXPECT_EQ(bezier.sense[3], 10);
    EXPECT_EQ(bezier.rangeHi[3], 200);
    EXPECT_EQ(bezier.value[2], 100) << "missing Control: the default";
    EXPECT_EQ(bezier.value[1], 10);
    EXPECT_EQ(bezier.rangeLo[4], 1);
    EXPECT_EQ(SaverOptions.Priority, 128u) << "a missing Priority keeps the previous setting";
    EXPECT_EQ(palette().customColours[17].peRed, 0x5A) << "no Custom value: custom colours stay";

    EXPECT_EQ(LoadDisplay("No Such Display"), 0);
    for (DWORD active : ActiveModules) EXPECT_EQ(active, 0u);
}

TEST_F(SettingsStore, ADisplayWithoutModulesEndsWithOnlyRandom) {
    settings::RegKey modules;
    ASSERT_EQ(modules.Create(HKEY_CURRENT_USER, ModulesKeyPath("Empty")), ERROR_SUCCESS);
    ActiveModules[ModuleCyclic] = 1;
    EXPECT_EQ(LoadDisplay("Empty"), 0);
    for (DWORD active : ActiveModules) EXPECT_EQ(active, 0u);

    // Named by Active it does not load, so the fallback takes over.
    WriteSaverValue("Active", SaverKeyWord, REG_SZ, "Empty", 6);
    BuildModuleTable();
    for (int m = 0; m < ModuleCount; ++m) EXPECT_EQ(ActiveModules[m], m == ModuleRandom ? 1u : 0u) << m;
    EXPECT_EQ(ActiveValue(), FallbackDisplayName);
}

TEST_F(SettingsStore, AnExistingFallbackDisplayIsNeverRewritten) {
    // The user emptied the fallback display of modules and changed its
    // options; loading it fails, but it exists and stays as it is.
    std::memset(ActiveModules, 0, sizeof ActiveModules);
    SaverOptions.ShowInfo = 0;
    SaveDisplay(FallbackDisplayName);
    settings::DeleteKeyTree(HKEY_CURRENT_USER, ModulesKeyPath(FallbackDisplayName));
    const auto before = DisplaySnapshot(FallbackDisplayName);
    ASSERT_EQ(StoredLong(DisplayKeyPath(FallbackDisplayName), "ShowInfo"), 0);

    BuildModuleTable();
    EXPECT_EQ(DisplaySnapshot(FallbackDisplayName), before);
}

TEST_F(SettingsStore, AnActiveDisplayThatIsGoneFallsBackAndRewritesActive) {
    std::memset(ActiveModules, 0, sizeof ActiveModules);
    ActiveModules[ModuleStain] = 1;
    SaveDisplay("Stains");
    BuildModuleTable();
    EXPECT_STREQ(CurrentDisplayName, "Stains");
    EXPECT_EQ(ActiveModules[ModuleStain], 1u);

    DeleteDisplay("Stains");
    BuildModuleTable();
    EXPECT_EQ(ActiveValue(), FallbackDisplayName);
    EXPECT_STREQ(CurrentDisplayName, FallbackDisplayName);
    EXPECT_EQ(ActiveModules[ModuleStain], 0u);
    EXPECT_EQ(ActiveModules[ModuleRandom], 1u);
}

TEST_F(SettingsStore, OldDisplaysAreConverted) {
    const std::string pal = PaletteKeyPath("Old");
    SaveDisplay("Old");
    SetLong(pal, "Shifted", 1);
    SetLong(pal, "Together", 1);
    SetLong(pal, "AllEffect", EffectFade);
    SetLong(pal, "RedSource", 2);
    SetLong(pal, "RedScale", 55);
    SetLong(pal, "RedScaleLo", 5);
    SetLong(pal, "RedScaleHi", 60);
    SetLong(pal, "RedSense", 3);
    SetLong(pal, "GreenSource", 1);  // below 2: the green scale stays as saved
    SetLong(pal, "RedDensitySource", 4);
    SetLong(pal, "GreenRampDecayRangeLo", 7);
    SetLong(pal, "BlueEffect", EffectCoarse);

    ASSERT_EQ(LoadDisplay("Old"), 1);
    PaletteSettings& p = palette();
    EXPECT_EQ(p.source[ParamScale][ChannelRed], 2);
    EXPECT_EQ(p.value[ParamScale][ChannelRed], 55);
    EXPECT_EQ(p.rangeLo[ParamScale][ChannelRed], 5);
    EXPECT_EQ(p.rangeHi[ParamScale][ChannelRed], 60);
    EXPECT_EQ(p.sense[ParamScale][ChannelRed], 3);
    EXPECT_EQ(p.source[ParamScale][ChannelGreen], 0);
    EXPECT_EQ(p.rangeLo[ParamDensity][ChannelRed], 4);
    EXPECT_EQ(p.rangeHi[ParamDensity][ChannelRed], 8);
    EXPECT_EQ(p.source[ParamDensity][ChannelRed], 1);
    EXPECT_EQ(p.rangeLo[ParamRampDecay][ChannelGreen], 21);
    for (int c = 0; c < ChannelCount; ++c) {
        const LONG direction = p.rangeLo[ParamDirection][c];
        EXPECT_TRUE(direction != 0 && direction >= -3 && direction <= 3) << direction;
        EXPECT_EQ(p.effect[c], EffectFade) << "Together: every channel takes AllEffect";
    }
}

TEST_F(SettingsStore, CapturesStoreFixedValuesUnderTheSmallestFreeNumber) {
    std::memset(ActiveModules, 0, sizeof ActiveModules);
    ActiveModules[ModuleBezier] = 1;
    ActiveModules[ModuleRandom] = 1;
    ModuleRecord& bezier = ModuleTable[ModuleBezier];
    bezier.source[1] = 2;
    bezier.value[1] = 7;
    for (LONG& effect : palette().effect) effect = EffectCustom;
    for (int i = 0; i < PaletteEntryCount; ++i) palette().block->palPalEntry[i] = PALETTEENTRY{9, BYTE(i), 3, 0};
    KeepScreenColours = 1;
    SharedSpectrum->set(spectrum::captureRequest, 1);

    CaptureDisplay();
    EXPECT_EQ(ActiveValue(), "Capture #1");
    EXPECT_EQ(SubkeyNames(ModulesKeyPath("Capture #1")), std::vector<std::string>{"Bezier"});
    EXPECT_EQ(StoredLong(ModuleKeyPath("Capture #1", "Bezier"), "Check1"), 0);
    EXPECT_EQ(StoredLong(ModuleKeyPath("Capture #1", "Bezier"), "Control1"), 7);
    std::vector<BYTE> custom = RawValue(PaletteKeyPath("Capture #1"), "Custom");
    ASSERT_EQ(custom.size(), 708u);
    EXPECT_EQ(custom[3 * 100 + 1], 100) << "the colours on screen";
    EXPECT_EQ(bezier.source[1], 2);
    EXPECT_EQ(ActiveModules[ModuleRandom], 1u);
    EXPECT_EQ(SharedSpectrum->get(spectrum::captureRequest), 0u);
    EXPECT_EQ(KeepScreenColours, 0u);

    CaptureDisplay();
    EXPECT_EQ(ActiveValue(), "Capture #2");
    custom = RawValue(PaletteKeyPath("Capture #2"), "Custom");
    ASSERT_EQ(custom.size(), 708u);
    EXPECT_EQ(custom[3 * 100 + 1], palette().customColours[100].peGreen) << "the custom colours again";

    DeleteDisplay("Capture #1");
    CaptureDisplay();
    EXPECT_EQ(ActiveValue(), "Capture #1");
    EXPECT_TRUE(KeyExists(DisplayKeyPath("Capture #2").c_str()));
}

TEST_F(SettingsStore, ListsTheDisplaysAndTheOneToSelect) {
    SaveDisplay("apple");
    DisplayList list;
    list.names = {"stale"};
    ListDisplays(&list, FALSE);
    ASSERT_EQ(list.names.size(), 11u);
    // Sorted as upper case: letters come before '['.
    EXPECT_EQ(list.names.front(), "apple");
    EXPECT_EQ(list.names[1], "[D] Bezier");
    EXPECT_EQ(list.names.back(), FallbackDisplayName);
    EXPECT_EQ(list.selection, "apple");
    ListDisplays(&list, TRUE);
    EXPECT_EQ(list.selection, "Scratch");
}

TEST_F(SettingsStore, NamesThatAreNoDisplayTouchNothing) {
    const auto whole = Snapshot(SaverKeyPath());
    EXPECT_EQ(DeleteDisplay(""), 1);
    EXPECT_EQ(DeleteDisplay("a\\b"), 1);
    SaveDisplay(std::string(128, 'n').c_str());
    EXPECT_EQ(Snapshot(SaverKeyPath()), whole) << "the saved key itself must never be taken for a display";
    EXPECT_EQ(LoadDisplay(""), 0);
}

}  // namespace
