// The spectrum block as another program may leave it: any bytes at all
// drive the sound levels, the overlays, one frame of every drawing module
// and a palette tick.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "fuzz/harnesses.h"
#include "fuzz/private_root.h"
#include "platform/gdi/present/offscreen_presenter.h"
#include "platform/win32.h"
#include "saver/framework/sound_level.h"
#include "saver/framework/sources.h"
#include "saver/modules/modules.h"
#include "saver/runtime/engine.h"
#include "saver/runtime/overlays.h"
#include "saver/runtime/run_state.h"
#include "saver/runtime/virtual_run.h"
#include "saver/settings/settings_store.h"
#include "saver/sound/spectrum_block.h"

using fuzzsupport::Check;

namespace {

// Small, so that every frame is quick, yet tall and wide enough for the
// overlay boxes to fit.
constexpr int CanvasWidth = 192;
constexpr int CanvasHeight = 144;

// One prepared run on an offscreen window, for the life of the process.
struct Run {
    VirtualTime time{100000};
    HWND window = nullptr;
    bool started = false;

    Run() {
        fuzzsupport::PrivateRoot();
        InstallSettingsStore();
        InstallDrawingModules();
        platform::SetScreenSize(CanvasWidth, CanvasHeight);
        window = platform::CreateOffscreenWindow(CanvasWidth, CanvasHeight,
                                                 std::make_shared<gdi::OffscreenPresenter>());
        Check(window != nullptr);
        PrepareRun(window, FALSE);
        BeginPaletteRun(window);
    }
};

// Bytes after the block, one at a time; none left reads as `fallback`.
struct Tail {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;

    std::uint8_t byte(std::uint8_t fallback) { return at < size ? data[at++] : fallback; }
    LONG number(LONG fallback) {
        if (size - std::min(at, size) < 4) return fallback;
        std::uint32_t value = 0;
        std::memcpy(&value, data + at, 4);
        at += 4;
        return static_cast<LONG>(value);
    }
};

// Every control of every module on a per-frame source: with no bytes to
// say otherwise, a sound level over the control's whole range.
void ChooseSources(Tail& tail) {
    for (int m = 0; m < ModuleCount; ++m) {
        ModuleRecord& record = ModuleTable[m];
        ActiveModules[m] = 1;
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (!record.defined[slot]) continue;
            const auto fallback = static_cast<std::uint8_t>(SourceVolume + slot % (SourceLastBand - SourceVolume + 1));
            record.source[slot] = tail.byte(fallback) % SourceCount;
            record.rangeLo[slot] = tail.number(record.min[slot]);
            record.rangeHi[slot] = tail.number(record.max[slot]);
            record.sense[slot] = tail.number(10);
        }
    }
}

}  // namespace

int FuzzSpectrumFrame(const std::uint8_t* data, std::size_t size) {
    static Run run;
    alignas(8) unsigned char bytes[SpectrumBlockSize] = {};
    std::memcpy(bytes, data, std::min<std::size_t>(size, SpectrumBlockSize));
    SpectrumBlock block(bytes, nullptr);
    // A capture stores a new display; the block asks for it only when the
    // user pressed the key, and a million inputs would fill the hive.
    block.set(spectrum::captureRequest, 0);
    SharedSpectrum = &block;

    const bool autoGain = block.get(spectrum::autoGain) != 0;
    for (LONG source = -1; source <= SourceCount; ++source) {
        const float level = SoundLevel(source);
        Check(std::isfinite(level) && level >= 0.0f && (!autoGain || level <= 1.0f));
    }

    Tail tail{data, size, SpectrumBlockSize};
    std::srand(tail.byte(1));
    if (run.started) {
        for (int m = 0; m < ModuleCount; ++m) ModuleTable[m].free(&ModuleTable[m]);
    }
    ChooseSources(tail);
    StartModules();
    run.started = true;

    // Every box shown afresh: the CD text from the block, the display name
    // and a slogan.
    OverlaySetup(Canvas, run.window);
    SaverOptions.ShowInfo = 1;
    SaverOptions.ShowName = 1;
    std::strcpy(SloganText, "Fuzz");
    SloganEnabled = 1;
    run.time.advanceTo(run.time.elapsed() + 1000);
    RunFrame();
    PaletteStep();
    SharedSpectrum = nullptr;
    return 0;
}
