// After a display is loaded, sound sources that nobody can serve become
// oscillation.
#include <gtest/gtest.h>

#include <cstring>

#include "saver/framework/module_table.h"
#include "saver/framework/sound_sources.h"
#include "saver/framework/sources.h"
#include "saver/palette/palette_settings.h"
#include "saver/sound/spectrum_link.h"

namespace {

class ResolveSoundSourcesTest : public testing::Test {
protected:
    void SetUp() override {
        block_ = OpenSpectrumBlock();
        ASSERT_NE(block_, nullptr);
        SharedSpectrum = block_;
        DisplayLoader = nullptr;
        BuildModuleTable();
        palette_ = PaletteSettings{};
        CurrentPalette = &palette_;
        ConfigProgramRunning = 0;

        // Two active modules with a volume and a band source; an inactive one.
        ActiveModules[ModuleStar] = 1;
        ActiveModules[ModuleBezier] = 1;
        ActiveModules[ModuleVortex] = 0;
        ModuleTable[ModuleStar].source[1] = SourceVolume;
        ModuleTable[ModuleBezier].source[3] = SourceLastBand;
        ModuleTable[ModuleBezier].source[4] = SourceRandom;
        ModuleTable[ModuleVortex].source[1] = SourceLeft;
        palette_.source[ParamDirection][ChannelGreen] = SourceRight;
        palette_.source[ParamScale][ChannelRed] = SourceOscillate;
    }
    void TearDown() override {
        CurrentPalette = nullptr;
        SharedSpectrum = nullptr;
        ConfigProgramRunning = 0;
        CloseSpectrumBlock(block_);
    }

    void ExpectModuleSourcesKept() {
        EXPECT_EQ(ModuleTable[ModuleStar].source[1], SourceVolume);
        EXPECT_EQ(ModuleTable[ModuleBezier].source[3], SourceLastBand);
    }
    void ExpectModuleSourcesOscillate() {
        EXPECT_EQ(ModuleTable[ModuleStar].source[1], SourceOscillate);
        EXPECT_EQ(ModuleTable[ModuleBezier].source[3], SourceOscillate);
    }
    void ExpectUntouchedSources() {
        EXPECT_EQ(ModuleTable[ModuleBezier].source[4], SourceRandom);
        EXPECT_EQ(ModuleTable[ModuleVortex].source[1], SourceLeft) << "inactive modules are left alone";
        EXPECT_EQ(palette_.source[ParamScale][ChannelRed], SourceOscillate);
    }

    SpectrumBlock* block_ = nullptr;
    PaletteSettings palette_{};
};

TEST_F(ResolveSoundSourcesTest, WithoutARunningAnalyserSoundBecomesOscillation) {
    block_->set(spectrum::modulesFollowSound, 1);
    block_->set(spectrum::paletteFollowsSound, 1);
    block_->set(spectrum::modulesUseSound, 1);
    block_->set(spectrum::paletteUsesSound, 1);
    ResolveSoundSources();
    ExpectModuleSourcesOscillate();
    EXPECT_EQ(palette_.source[ParamDirection][ChannelGreen], SourceOscillate);
    ExpectUntouchedSources();
    EXPECT_EQ(block_->get(spectrum::modulesUseSound), 0u);
    EXPECT_EQ(block_->get(spectrum::paletteUsesSound), 0u);
}

TEST_F(ResolveSoundSourcesTest, TheSettingsProgramKeepsSourcesAsSaved) {
    ConfigProgramRunning = 1;
    ResolveSoundSources();
    ExpectModuleSourcesKept();
    EXPECT_EQ(palette_.source[ParamDirection][ChannelGreen], SourceRight);
    ExpectUntouchedSources();
    EXPECT_EQ(block_->get(spectrum::modulesUseSound), 1u);
    EXPECT_EQ(block_->get(spectrum::paletteUsesSound), 1u);
}

TEST_F(ResolveSoundSourcesTest, EachKindFollowsItsOwnSwitch) {
    block_->set(spectrum::running, 1);
    block_->set(spectrum::modulesFollowSound, 1);
    block_->set(spectrum::paletteFollowsSound, 0);
    ResolveSoundSources();
    ExpectModuleSourcesKept();
    EXPECT_EQ(palette_.source[ParamDirection][ChannelGreen], SourceOscillate);
    EXPECT_EQ(block_->get(spectrum::modulesUseSound), 1u);
    EXPECT_EQ(block_->get(spectrum::paletteUsesSound), 0u);
}

TEST_F(ResolveSoundSourcesTest, PaletteSoundAlsoCountsAsModulesUsingSound) {
    block_->set(spectrum::running, 1);
    block_->set(spectrum::modulesFollowSound, 0);
    block_->set(spectrum::paletteFollowsSound, 1);
    ResolveSoundSources();
    ExpectModuleSourcesOscillate();
    EXPECT_EQ(palette_.source[ParamDirection][ChannelGreen], SourceRight);
    EXPECT_EQ(block_->get(spectrum::paletteUsesSound), 1u);
    EXPECT_EQ(block_->get(spectrum::modulesUseSound), 1u);
}

TEST_F(ResolveSoundSourcesTest, WorksWithoutABlockOrPaletteEngine) {
    SharedSpectrum = nullptr;
    CurrentPalette = nullptr;
    ResolveSoundSources();
    ExpectModuleSourcesOscillate();
    EXPECT_EQ(palette_.source[ParamDirection][ChannelGreen], SourceRight);
}

}  // namespace
