// The sound-driven displays shipped in dist/displays.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "saver/settings/settings_file.h"
#include "saver/settings/settings_store.h"
#include "saver/sound/spectrum_link.h"
#include "support/temp_dir.h"
#include "tools/lumora-spectrum/displays/sound_displays.h"

namespace {

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SoundDisplays, TheShippedFilesAreWhatTheCodeWritesAndFollowSoundOnceImported) {
    testsupport::TempDir written;
    const std::vector<std::string> files = WriteSoundDisplays(written.str());
    ASSERT_EQ(files.size(), 2u);
    for (const std::string& file : files) {
        const std::filesystem::path shipped =
            std::filesystem::path(LUMORA_DISPLAYS_DIR) / std::filesystem::path(file).filename();
        EXPECT_EQ(Contents(file), Contents(shipped))
            << shipped << " is not what the code writes: run lumora-sound-displays dist/displays";
    }

    // Imported as setup imports them, and loaded while the analyser runs,
    // their controls follow sound and the saver starts the analyser itself.
    SpectrumBlock* block = OpenSpectrumBlock();
    ASSERT_NE(block, nullptr);
    SharedSpectrum = block;
    block->set(spectrum::running, 1);
    block->set(spectrum::modulesFollowSound, 1);
    // (The other shipped displays are showcases of other kinds.)
    for (const std::string& file : files) {
        const std::filesystem::path shipped =
            std::filesystem::path(LUMORA_DISPLAYS_DIR) / std::filesystem::path(file).filename();
        const std::string name = shipped.stem().string();
        ASSERT_TRUE(ReadSettingsFile(name.c_str(), shipped.c_str())) << name;
        SaverOptions.AutoRun = 0;
        block->set(spectrum::autoGain, 0);
        block->set(spectrum::turbo, 1);
        ASSERT_TRUE(LoadDisplay(name.c_str())) << name;
        EXPECT_EQ(block->get(spectrum::modulesUseSound), 1u) << name;
        EXPECT_EQ(SaverOptions.AutoRun, 1u) << name;
        // Whatever the volume, the controls use their whole range, and each
        // band source hears its own band.
        EXPECT_EQ(block->get(spectrum::autoGain), 1u) << name;
        EXPECT_EQ(block->get(spectrum::turbo), 0u) << name;
    }
    SharedSpectrum = nullptr;
    CloseSpectrumBlock(block);
}

}  // namespace
