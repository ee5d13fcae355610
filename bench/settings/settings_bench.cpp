// Saving and loading a display with all twelve modules active, and writing
// and reading it as a settings file.  One iteration is one display.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "saver/framework/module_table.h"
#include "saver/palette/palette_engine.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/settings_file.h"
#include "saver/settings/settings_store.h"

namespace {

constexpr char Display[] = "Everything";

std::string FilePath() { return std::string(std::getenv("LUMORA_ROOT")) + "/everything.LUM"; }

// The running settings of a display that uses every module.
void PrepareFullDisplay() {
    static auto palette = std::make_unique<PaletteSettings>();
    static auto block = std::make_unique<PaletteBlock>();
    palette->block = block.get();
    ResetPaletteDefaults(palette.get());
    palette->effect[ChannelRed] = EffectCustom;  // so the 708-byte colours are stored too
    CurrentPalette = palette.get();
    InstallSettingsStore();
    BuildModuleTable();
    for (DWORD& active : ActiveModules) active = 1;
    std::strcpy(ModuleTable[ModuleBitmap].path, "/pictures/*.bmp");
    SaveDisplay(Display);
}

void BM_SaveDisplay(benchmark::State& state) {
    PrepareFullDisplay();
    for (auto _ : state) SaveDisplay(Display);
}

void BM_LoadDisplay(benchmark::State& state) {
    PrepareFullDisplay();
    for (auto _ : state) {
        if (!LoadDisplay(Display)) state.SkipWithError("load failed");
    }
}

void BM_WriteSettingsFile(benchmark::State& state) {
    PrepareFullDisplay();
    const std::string key = DisplayKeyPath(Display);
    for (auto _ : state) {
        if (!WriteSettingsFile(key.c_str(), FilePath().c_str())) state.SkipWithError("write failed");
    }
}

void BM_ReadSettingsFile(benchmark::State& state) {
    PrepareFullDisplay();
    WriteSettingsFile(DisplayKeyPath(Display).c_str(), FilePath().c_str());
    for (auto _ : state) {
        if (!ReadSettingsFile("Imported", FilePath().c_str())) state.SkipWithError("read failed");
    }
}

BENCHMARK(BM_SaveDisplay)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadDisplay)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteSettingsFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadSettingsFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
