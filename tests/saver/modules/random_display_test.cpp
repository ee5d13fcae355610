// The Random module: switching the running modules at every image start.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "canvas.h"
#include "platform/kernel/clock.h"
#include "saver/framework/controls.h"
#include "saver/framework/module_table.h"
#include "saver/framework/sound_sources.h"
#include "saver/framework/sources.h"
#include "saver/modules/random_display.h"
#include "saver/palette/palette_engine.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_key.h"
#include "saver/sound/spectrum_link.h"

namespace {

constexpr DWORD ClockStart = 100000;

// Stands in for every drawing module and logs what the Random module does to it.
std::vector<std::string> Calls;
int IndexOf(ModuleRecord* record) { return static_cast<int>(record - ModuleTable); }
LONG LogInit(ModuleRecord* record) {
    Calls.push_back("init " + std::to_string(IndexOf(record)));
    return 0;
}
LONG LogStart(ModuleRecord* record) {
    Calls.push_back("start " + std::to_string(IndexOf(record)));
    return 0;
}
LONG LogFree(ModuleRecord* record) {
    Calls.push_back("free " + std::to_string(IndexOf(record)));
    return 0;
}

class RandomModule : public testing::Test {
protected:
    void SetUp() override {
        platform::UseTestClock(ClockStart);
        settings::DeleteKeyTree(HKEY_CURRENT_USER, SaverKeyPath());
        std::memset(ModuleTable, 0, sizeof ModuleTable);
        std::memset(ActiveModules, 0, sizeof ActiveModules);
        RandomDisplay = RandomDisplayState{};
        palette_ = std::make_unique<PaletteSettings>();
        paletteBlock_ = std::make_unique<PaletteBlock>();
        palette_->block = paletteBlock_.get();
        ResetPaletteDefaults(palette_.get());
        CurrentPalette = palette_.get();
        SaverOptions = {64, 1, 1, 0, 0};
        ConfigProgramRunning = 0;
        SharedSpectrum = OpenSpectrumBlock();
        ASSERT_NE(SharedSpectrum, nullptr);
        canvas = std::make_unique<modtest::Canvas>(64, 48);
        InstallSettingsStore();
        BuildModuleTable();  // the first-run displays, "[R] Saved Sound Settings" active
        for (int m = 0; m < ModuleCount; ++m) {
            ModuleTable[m].dc = canvas->dc();
            ModuleTable[m].width = canvas->width();
            ModuleTable[m].height = canvas->height();
            if (m != ModuleRandom) RegisterOperations(m, ModuleNoOp, LogInit, LogStart, LogFree);
        }
        RegisterOperations(ModuleRandom, RandomStep, ModuleNoOp, RandomStart, ModuleNoOp);
        record = &ModuleTable[ModuleRandom];
        Calls.clear();
    }

    void TearDown() override {
        CurrentPalette = nullptr;
        CloseSpectrumBlock(SharedSpectrum);
        SharedSpectrum = nullptr;
        platform::UseRealClock();
    }

    void Controls(LONG mode, LONG maxAtOnce = 1, LONG randomControls = 0, LONG clear = 1) {
        record->value[RandomModeSlot] = mode;
        record->value[RandomMaxAtOnceSlot] = maxAtOnce;
        record->value[RandomControlsSlot] = randomControls;
        record->value[RandomClearSlot] = clear;
    }
    void StartWith(std::initializer_list<int> modules) {
        std::memset(ActiveModules, 0, sizeof ActiveModules);
        for (int m : modules) ActiveModules[m] = 1;
    }
    std::set<int> Active() const {
        std::set<int> active;
        for (int m = 0; m < ModuleCount; ++m)
            if (ActiveModules[m]) active.insert(m);
        return active;
    }
    // The one drawing module a switch left running.
    int OnlyDrawingModule() const {
        std::set<int> active = Active();
        EXPECT_EQ(active.count(ModuleRandom), 1u);
        active.erase(ModuleRandom);
        EXPECT_EQ(active.size(), 1u);
        return active.empty() ? -1 : *active.begin();
    }

    std::unique_ptr<modtest::Canvas> canvas;
    ModuleRecord* record = nullptr;
    std::unique_ptr<PaletteSettings> palette_;
    std::unique_ptr<PaletteBlock> paletteBlock_;
};

TEST_F(RandomModule, SelectionTakesOnlyModulesOfTheStartingDisplay) {
    Controls(RandomFromStartSelection, 3);
    StartWith({ModulePattern, ModuleRandom});
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::srand(seed);
        Calls.clear();
        RandomStart(record);
        EXPECT_EQ(Active(), (std::set<int>{ModulePattern, ModuleRandom})) << seed;
        EXPECT_EQ(Calls, (std::vector<std::string>{"free 2", "init 2", "start 2"})) << seed;
    }
    // Later switches keep choosing from the display the saver started with.
    StartWith({ModuleStar});
    std::srand(3);
    RandomStart(record);
    EXPECT_EQ(OnlyDrawingModule(), ModulePattern);
}

TEST_F(RandomModule, SelectionWithoutDrawingModulesGivesUpAfter202DrawsWithOneRandomModule) {
    Controls(RandomFromStartSelection, 11);
    StartWith({ModuleRandom});
    std::set<int> chosen;
    for (unsigned seed = 1; seed <= 30; ++seed) {
        std::srand(seed);
        for (int draw = 0; draw < 202; ++draw) std::rand();
        const int expected = std::rand() % 11;
        std::srand(seed);
        RandomStart(record);
        EXPECT_EQ(OnlyDrawingModule(), expected) << seed;
        chosen.insert(expected);
    }
    EXPECT_GT(chosen.size(), 3u);
}

TEST_F(RandomModule, SoundModeWithoutAnalyserTakesOnlyDisplaysWithoutTheRandomModule) {
    Controls(RandomSoundDisplay);
    SharedSpectrum->set(spectrum::running, 0);
    std::set<std::string> names;
    for (int i = 0; i < 40; ++i) {
        RandomStart(record);
        const std::string name = CurrentDisplayName;
        ASSERT_EQ(name.rfind("[D] ", 0), 0u) << name;
        EXPECT_EQ(name.substr(4), ModuleNames[OnlyDrawingModule()]);
        // The palette changes to the loaded display's patterns at once.
        for (DWORD next : palette_->nextChange) EXPECT_EQ(next, GetTickCount() + 500);
        names.insert(name);
        platform::AdvanceTestClock(1000);
    }
    EXPECT_GT(names.size(), 3u);
    EXPECT_EQ(RandomDisplay.DisplayCountGuess, 11u);  // nine "[D]" displays and the fallback
}

TEST_F(RandomModule, SoundModeWithAnalyserWaitsForADisplayThatFollowsSound) {
    settings::DeleteKeyTree(HKEY_CURRENT_USER, SavedKeyPath());
    CreateModuleDisplay(ModuleBezier, "Quiet", EffectRandom);
    ModuleTable[ModuleCyclic].source[1] = SourceVolume;
    CreateModuleDisplay(ModuleCyclic, "Loud", EffectRandom);
    SharedSpectrum->set(spectrum::running, 1);
    ASSERT_TRUE(LoadDisplay("Quiet Bezier"));
    ASSERT_EQ(SharedSpectrum->get(spectrum::paletteUsesSound), 0u);
    ASSERT_EQ(SharedSpectrum->get(spectrum::modulesUseSound), 0u);

    Controls(RandomSoundDisplay);
    for (int i = 0; i < 10; ++i) {
        RandomStart(record);
        EXPECT_STREQ(CurrentDisplayName, "Loud Cyclic");
        EXPECT_EQ(OnlyDrawingModule(), ModuleCyclic);
    }
    Controls(RandomSavedDisplay);
    std::set<std::string> names;
    for (int i = 0; i < 30; ++i) {
        RandomStart(record);
        names.insert(CurrentDisplayName);
    }
    EXPECT_EQ(names, (std::set<std::string>{"Loud Cyclic", "Quiet Bezier"}));

    // With no display that follows sound, the last one loaded stays, even
    // when later attempts draw no display at all or one without modules.
    DeleteDisplay("Loud Cyclic");
    CreateModuleDisplay(ModuleCyclic, "Emptied", EffectRandom);
    settings::DeleteKeyTree(HKEY_CURRENT_USER, ModulesKeyPath("Emptied Cyclic"));
    Controls(RandomSoundDisplay);
    for (int i = 0; i < 5; ++i) {
        RandomStart(record);
        EXPECT_STREQ(CurrentDisplayName, "Quiet Bezier");
        EXPECT_EQ(OnlyDrawingModule(), ModuleBezier);
    }
}

TEST_F(RandomModule, RandomControlsDrawEveryControlOfTheNewModulesAnew) {
    StartWith({ModuleCyclic, ModuleRandom});
    Controls(RandomFromStartSelection, 1, 1);
    std::srand(7);
    RandomStart(record);
    const ModuleRecord& cyclic = ModuleTable[ModuleCyclic];
    for (int s = 0; s < SlotCount; ++s) {
        EXPECT_EQ(cyclic.source[s], SourceRandom) << s;
        if (!cyclic.defined[s]) continue;
        EXPECT_GE(cyclic.value[s], cyclic.min[s]) << s;
        EXPECT_LE(cyclic.value[s], cyclic.max[s]) << s;
    }
    // Its own controls stay as they are.
    for (int s = 0; s < SlotCount; ++s) EXPECT_EQ(record->source[s], SourceSet) << s;

    Controls(RandomFromStartSelection, 1, 0);
    ModuleTable[ModuleCyclic].source[3] = SourceSet;
    RandomStart(record);
    EXPECT_EQ(ModuleTable[ModuleCyclic].source[3], SourceSet);
}

TEST_F(RandomModule, SwitchesKeepTheStartingOptionsAndTheRandomModule) {
    SaverOptions = {128, 0, 0, 1, 7};
    Controls(RandomSavedDisplay);
    RandomStart(record);
    ASSERT_EQ(std::string(CurrentDisplayName).rfind("[D] ", 0), 0u);
    SaverOptions = {32, 1, 1, 0, 0};  // as a loaded display would set them
    platform::AdvanceTestClock(20000);
    RandomStep(record);
    EXPECT_EQ(SaverOptions.Priority, 128u);
    EXPECT_EQ(SaverOptions.ClearFirst, 0u);
    EXPECT_EQ(SaverOptions.ShowInfo, 0u);
    EXPECT_EQ(SaverOptions.ShowName, 7u);
    EXPECT_EQ(ActiveModules[ModuleRandom], 1u);
}

TEST_F(RandomModule, StepSwitchesOnlyOnceTheDurationHasPassed) {
    StartWith({ModuleBezier, ModuleRandom});
    Controls(RandomFromStartSelection);
    record->value[RandomDurationSlot] = 5;
    RandomStart(record);
    Calls.clear();
    platform::AdvanceTestClock(5000);
    EXPECT_EQ(RandomStep(record), 0);
    EXPECT_TRUE(Calls.empty());
    platform::AdvanceTestClock(1);
    EXPECT_EQ(RandomStep(record), 0);
    EXPECT_EQ(Calls, (std::vector<std::string>{"free 0", "init 0", "start 0"}));
    EXPECT_EQ(RandomDisplay.NextSwitch, ClockStart + 10001);
}

TEST_F(RandomModule, ClearScreenBlackensTheCanvasBeforeTheNewModulesStart) {
    StartWith({ModuleBezier, ModuleRandom});
    Controls(RandomFromStartSelection, 1, 0, 0);
    canvas->Fill(WHITENESS);
    RandomStart(record);
    EXPECT_EQ(canvas->CountNot(modtest::Black), canvas->width() * canvas->height());
    Controls(RandomFromStartSelection, 1, 0, 1);
    RandomStart(record);
    EXPECT_EQ(canvas->CountNot(modtest::Black), 0);
}

TEST_F(RandomModule, NoSavedDisplayLeavesOnlyTheRandomModule) {
    settings::DeleteKeyTree(HKEY_CURRENT_USER, SavedKeyPath());
    StartWith({ModuleBezier, ModuleRandom});
    Controls(RandomSavedDisplay);
    RandomStart(record);
    EXPECT_EQ(Active(), std::set<int>{ModuleRandom});
    EXPECT_EQ(RandomDisplay.DisplayCountGuess, 1u);
    EXPECT_EQ(Calls, std::vector<std::string>{"free 0"});
}

TEST_F(RandomModule, AnOverlongKeyNameDoesNotHideTheDisplaysAfterIt) {
    settings::DeleteKeyTree(HKEY_CURRENT_USER, SavedKeyPath());
    CreateModuleDisplay(ModuleStar, "Late", EffectRandom);
    settings::RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, SavedKeyPath() + "\\" + std::string(200, 'A')), ERROR_SUCCESS);
    Controls(RandomSavedDisplay);
    RandomStart(record);
    EXPECT_STREQ(CurrentDisplayName, "Late Star");
    EXPECT_EQ(RandomDisplay.DisplayCountGuess, 3u);
}

}  // namespace
