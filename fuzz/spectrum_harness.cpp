// The spectrum block as another program may leave it: any bytes at all
// drive the sound levels, the overlays, one frame of every drawing module
// and a palette tick.
//
// The modules run on from input to input, as they do in a saver while the
// analyser keeps writing: they start afresh, with controls chosen by the
// bytes after the block, on the first input and when the block asks for a
// restart.  Starting every module costs a hundred frames and nearly every
// mutation that shifts the bytes sets the request, so it is honoured at most
// once in RestartInputs inputs; the others draw on the pictures earlier ones
// left.
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
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_key.h"
#include "saver/settings/settings_store.h"
#include "saver/sound/spectrum_block.h"

using fuzzsupport::Check;

namespace {

// Small, so that every frame is quick, yet tall and wide enough for the
// overlay boxes to fit.
constexpr int CanvasWidth = 192;
constexpr int CanvasHeight = 144;
constexpr DWORD FrameMs = 20;
constexpr int RestartInputs = 64;

// One prepared run on an offscreen window, for the life of the process.
struct Run {
    VirtualTime time{100000};
    HWND window = nullptr;
    bool started = false;
    int inputsSinceStart = 0;

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
        // No saved displays: loading them is the settings harness's part,
        // and the Random module, whose fuzzed interval may be a frame, would
        // spend nearly every input reading the same registry.  It switches
        // among its own chosen modules instead.
        Check(settings::DeleteKeyTree(HKEY_CURRENT_USER, SavedKeyPath()) == ERROR_SUCCESS);
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

    // The frame below would honour the request itself, without new controls:
    // the harness answers it here or not at all.
    const bool restartAsked = block.get(spectrum::restartRequest) != 0;
    block.set(spectrum::restartRequest, 0);
    ++run.inputsSinceStart;
    if (!run.started || (restartAsked && run.inputsSinceStart >= RestartInputs)) {
        Tail tail{data, size, SpectrumBlockSize};
        std::srand(tail.byte(1));
        if (run.started) {
            for (int m = 0; m < ModuleCount; ++m) ModuleTable[m].free(&ModuleTable[m]);
        }
        ChooseSources(tail);
        StartModules();
        run.started = true;
        run.inputsSinceStart = 0;
    }

    // Every box shown afresh: the CD text from the block, the display name
    // and a slogan.
    OverlaySetup(Canvas, run.window);
    SaverOptions.ShowInfo = 1;
    SaverOptions.ShowName = 1;
    std::strcpy(SloganText, "Fuzz");
    SloganEnabled = 1;
    // A frame's worth of time, as a saver at full speed draws them: the
    // Random module switches displays every few seconds, not at every input.
    run.time.advanceTo(run.time.elapsed() + FrameMs);
    RunFrame();
    PaletteStep();
    SharedSpectrum = nullptr;
    return 0;
}
