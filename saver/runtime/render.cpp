// `lumora --render`: a saver run on one thread in virtual time, into an
// offscreen window, ending in a PNG of the last frame or making a GIF of the
// whole run.  The same options and
// registry give the same picture: the test clock starts at the seed, which
// thereby seeds the random generator, and nothing else varies.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "platform/gdi/present/gif.h"
#include "platform/gdi/present/offscreen_presenter.h"
#include "platform/gdi/present/png.h"
#include "saver/framework/module_table.h"
#include "saver/modules/modules.h"
#include "saver/runtime/engine.h"
#include "saver/runtime/overlays.h"
#include "saver/runtime/render_options.h"
#include "saver/runtime/run_state.h"
#include "saver/runtime/virtual_run.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/settings_store.h"
#include "saver/settings/shown_display.h"
#include "saver/sound/spectrum_block.h"

namespace {

bool WritePicture(const gdi::OffscreenPresenter& presenter, const std::string& path) {
    gdi::OffscreenPresenter::Size size = presenter.size();
    std::vector<std::uint32_t> rgb = presenter.rgb();
    std::string error;
    if (size.width <= 0 || size.height <= 0 || !gdi::WritePng(path, rgb.data(), size.width, size.height, &error)) {
        std::fprintf(stderr, "lumora: cannot write %s: %s\n", path.c_str(),
                     error.empty() ? "no picture was drawn" : error.c_str());
        return false;
    }
    return true;
}

std::string FramePath(const std::string& dir, unsigned long long frame) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%06llu.png", frame);
    return dir + name;
}

// The pictures of a GIF, taken on their own grid of 1000 / fps ms: each shows
// what the screen showed at that moment, after everything due then.
class GifRecorder {
public:
    GifRecorder(const gdi::OffscreenPresenter& presenter, unsigned fps) : presenter_(presenter), fps_(fps) {}

    bool open(const std::string& path, int width, int height) {
        width_ = width;
        height_ = height;
        return writer_.open(path, width, height, &error_) || fail(path);
    }
    // Takes the pictures due before `at`.
    void takeBefore(unsigned long long at) {
        for (unsigned long long due = taken_ * 1000 / fps_; due < at; due = ++taken_ * 1000 / fps_) {
            gdi::OffscreenPresenter::Size size = presenter_.size();
            if (size.width != width_ || size.height != height_) continue;
            writer_.addFrame(presenter_.indices().data(), presenter_.palette(), due);
        }
    }
    bool finish(const std::string& path, unsigned long long end) {
        takeBefore(end);
        return writer_.finish(end, &error_) || fail(path);
    }

private:
    bool fail(const std::string& path) const {
        std::fprintf(stderr, "lumora: cannot write %s: %s\n", path.c_str(), error_.c_str());
        return false;
    }

    const gdi::OffscreenPresenter& presenter_;
    unsigned fps_;
    int width_ = 0;
    int height_ = 0;
    unsigned long long taken_ = 0;
    gdi::GifWriter writer_;
    std::string error_;
};

// The run, with the GIF's pictures taken between its events and the frames
// written where asked.
bool Animate(const RenderOptions& options, const VirtualTime& time, const gdi::OffscreenPresenter& presenter,
             GifRecorder* gif) {
    VirtualRunHooks hooks;
    if (gif) hooks.beforeEvent = [gif](unsigned long long at) {
        gif->takeBefore(at);
        return true;
    };
    if (!options.framesDir.empty()) hooks.afterFrame = [&](unsigned long long frame) {
        return frame % options.every != 0 || WritePicture(presenter, FramePath(options.framesDir, frame));
    };
    return AnimateInVirtualTime(time, options.seconds * 1000ull, options.fps, hooks);
}

int Render(const RenderOptions& options) {
    if (!options.framesDir.empty()) CreateDirectoryA(options.framesDir.c_str(), nullptr);
    VirtualTime time(static_cast<DWORD>(options.seed));
    InstallSettingsStore();
    InstallDrawingModules();
    if (!options.display.empty()) ShowSavedDisplay(options.display, false);
    auto presenter = std::make_shared<gdi::OffscreenPresenter>();
    // The picture is the whole screen of this run.
    platform::SetScreenSize(options.width, options.height);
    HWND window = platform::CreateOffscreenWindow(options.width, options.height, presenter);
    if (!window) {
        std::fprintf(stderr, "lumora: cannot make a %dx%d window\n", options.width, options.height);
        return 1;
    }
    PrivateSpectrum spectrumBlock;
    SharedSpectrum = &spectrumBlock.block;
    LoadSlogan();
    PrepareRun(window, FALSE);
    bool ok = !ShownDisplayMissing();
    std::optional<GifRecorder> gif;
    if (ok && options.gif) {
        gif.emplace(*presenter, options.gifFps);
        ok = gif->open(options.output, options.width, options.height);
    }
    if (ok) {
        BeginPaletteRun(window);
        StartModules();
        // The picture is taken before the run ends, while the palette still
        // holds the run's colours.
        ok = Animate(options, time, *presenter, gif ? &*gif : nullptr) &&
             (gif ? gif->finish(options.output, options.seconds * 1000ull) : WritePicture(*presenter, options.output));
        Running = 0;
        EndPaletteRun(window);
    } else if (ShownDisplayMissing()) {
        std::fprintf(stderr, "lumora: there is no saved display named \"%s\"\n", options.display.c_str());
    }
    EndRun();
    SharedSpectrum = nullptr;
    platform::DestroyOffscreenWindow(window);
    if (ok) std::printf("%s\n", options.output.c_str());
    return ok ? 0 : 1;
}

}  // namespace

int ScreenSaverRender(int argc, char** argv) {
    RenderOptions options;
    std::string error;
    if (!ParseRenderOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "lumora: %s\n%s\n", error.c_str(), RenderUsage);
        return 2;
    }
    return Render(options);
}
