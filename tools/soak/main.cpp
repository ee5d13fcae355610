// lumora-soak: the saver engine for hours on end in virtual time, over every
// saved display, with the Random module switching displays every few seconds
// (and, if asked, drawing every control at random).  Watches what the process holds (heap
// in use, resident memory, kernel handles, GDI objects, threads) and exits 1
// when any of it grows.
//
//   lumora-soak [--hours H] [--size WxH] [--switch S] [--fps N] [--seed N] [--random-controls]
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <map>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/present/offscreen_presenter.h"
#include "platform/gdi/window.h"
#include "platform/kernel/kernel.h"
#include "saver/framework/module_table.h"
#include "saver/framework/sources.h"
#include "saver/modules/modules.h"
#include "saver/modules/random_display.h"
#include "saver/runtime/engine.h"
#include "saver/runtime/run_state.h"
#include "saver/runtime/virtual_run.h"
#include "saver/settings/settings_store.h"
#include "saver/sound/spectrum_block.h"

namespace {

struct Options {
    double hours = 24;
    int width = 160;
    int height = 120;
    LONG switchSeconds = 5;
    unsigned fps = 60;
    unsigned long seed = 1;
    bool randomControls = false;
};

constexpr char Usage[] =
    "usage: lumora-soak [--hours H] [--size WxH] [--switch S] [--fps N] [--seed N] [--random-controls]";
constexpr int Reports = 24;                    // lines of figures over the run
constexpr long long HeapSlack = 1024 * 1024;   // bytes a later peak may exceed an earlier one by

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--random-controls") {
            options->randomControls = true;
            continue;
        }
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        char* end = nullptr;
        if (word == "--hours") {
            options->hours = std::strtod(value, &end);
            if (!(options->hours > 0 && options->hours <= 24 * 365)) return false;
        } else if (word == "--size") {
            options->width = static_cast<int>(std::strtol(value, &end, 10));
            if (*end != 'x') return false;
            options->height = static_cast<int>(std::strtol(end + 1, &end, 10));
            if (options->width < 1 || options->height < 1 || options->width > 8192 || options->height > 8192)
                return false;
        } else if (word == "--switch") {
            options->switchSeconds = std::strtol(value, &end, 10);
            if (options->switchSeconds < 1 || options->switchSeconds > 3600) return false;
        } else if (word == "--fps") {
            options->fps = static_cast<unsigned>(std::strtoul(value, &end, 10));
            if (options->fps < 1 || options->fps > 1000) return false;
        } else if (word == "--seed") {
            options->seed = std::strtoul(value, &end, 10);
        } else {
            return false;
        }
        if (end == value || *end != 0) return false;
    }
    return true;
}

// What the process holds at one moment.
struct Holdings {
    long long heap = 0;      // bytes malloc has handed out and not had back
    long long resident = 0;  // bytes of resident memory
    DWORD handles = 0;
    DWORD gdiObjects = 0;
    int threads = 0;
};

int ThreadCount() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Threads:", 0) == 0) return std::atoi(line.c_str() + 8);
    return 0;
}

Holdings Measure() {
    Holdings now;
    now.heap = static_cast<long long>(mallinfo2().uordblks);
    long pages = 0, resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    now.resident = static_cast<long long>(resident) * sysconf(_SC_PAGESIZE);
    GetProcessHandleCount(GetCurrentProcess(), &now.handles);
    now.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    now.threads = ThreadCount();
    return now;
}

void PrintHoldings(const char* when, const Holdings& h) {
    std::printf("%-10s heap %8.2f MiB  resident %8.2f MiB  handles %4lu  GDI objects %4lu  threads %2d\n", when,
                h.heap / 1048576.0, h.resident / 1048576.0, static_cast<unsigned long>(h.handles),
                static_cast<unsigned long>(h.gdiObjects), h.threads);
    std::fflush(stdout);
}

// The Random module in charge of the run: a saved display at random every
// few seconds, the screen cleared at each switch, and every control of the
// chosen modules at random when asked.  Random controls reach the heaviest
// settings (a step of seconds), so they make a slow soak.
LONG SwitchSeconds = 5;
LONG RandomControls = 0;

void HoldRandomInCharge() {
    ModuleRecord& random = ModuleTable[ModuleRandom];
    const LONG values[] = {RandomSavedDisplay, 1, SwitchSeconds, RandomControls, 1};
    const int slots[] = {RandomModeSlot, RandomMaxAtOnceSlot, RandomDurationSlot, RandomControlsSlot,
                         RandomClearSlot};
    for (int i = 0; i < 5; ++i) {
        random.source[slots[i]] = SourceSet;
        random.value[slots[i]] = values[i];
    }
}

DisplayLoaderProc StoreLoader = nullptr;

void LoadSoakDisplay() {
    StoreLoader();  // the first-run displays exist from here on
    for (DWORD& active : ActiveModules) active = 0;
    ActiveModules[ModuleRandom] = 1;
    HoldRandomInCharge();
}

// The names of the modules running now, as a key of what the run has shown.
std::string RunningModules() {
    std::string running;
    for (int m = 0; m < ModuleCount; ++m)
        if (m != ModuleRandom && ActiveModules[m]) running += std::string(running.empty() ? "" : "+") + ModuleNames[m];
    return running;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fprintf(stderr, "%s\n", Usage);
        return 2;
    }
    SwitchSeconds = options.switchSeconds;
    RandomControls = options.randomControls ? 1 : 0;

    // A platform root of the soak's own: it starts from the first-run displays.
    std::string root = (std::filesystem::temp_directory_path() / "lumora-soak-XXXXXX").string();
    if (!mkdtemp(root.data())) {
        std::perror("lumora-soak: cannot make a temporary directory");
        return 2;
    }
    setenv("LUMORA_ROOT", root.c_str(), 1);

    const unsigned long long totalMs = static_cast<unsigned long long>(options.hours * 3600000.0);
    std::printf("lumora-soak: %.2f simulated hours at %dx%d, %u frames a second, a new display every %ld s%s\n",
                options.hours, options.width, options.height, options.fps, static_cast<long>(SwitchSeconds),
                RandomControls ? ", every control at random" : "");
    int failures = 0;
    {
        VirtualTime time(static_cast<DWORD>(options.seed));
        InstallSettingsStore();
        InstallDrawingModules();
        StoreLoader = DisplayLoader;
        DisplayLoader = LoadSoakDisplay;
        const Holdings before = Measure();
        PrintHoldings("before", before);

        platform::SetScreenSize(options.width, options.height);
        auto presenter = std::make_shared<gdi::OffscreenPresenter>();
        HWND window = platform::CreateOffscreenWindow(options.width, options.height, presenter);
        if (!window) {
            std::fprintf(stderr, "lumora-soak: cannot make a %dx%d window\n", options.width, options.height);
            return 2;
        }
        PrivateSpectrum spectrumBlock;
        SharedSpectrum = &spectrumBlock.block;
        PrepareRun(window, FALSE);
        BeginPaletteRun(window);
        StartModules();

        // What the process holds right after each switch, by the modules
        // that run: a display holds more than another, but the same one must
        // not hold more in the second half of the run than it did in the first.
        std::map<std::string, Holdings> firstHalf;
        Holdings grown;  // second-half figures above the same display's first-half peak
        unsigned long long switches = 0;
        DWORD lastSwitch = RandomDisplay.NextSwitch;
        int reported = 0;
        VirtualRunHooks hooks;
        hooks.afterFrame = [&](unsigned long long) {
            HoldRandomInCharge();
            unsigned long long now = time.elapsed();
            if (RandomDisplay.NextSwitch != lastSwitch) {
                lastSwitch = RandomDisplay.NextSwitch;
                ++switches;
                Holdings h = Measure();
                auto [peak, fresh] = firstHalf.try_emplace(RunningModules(), h);
                if (now * 2 < totalMs) {
                    Holdings& p = peak->second;
                    p.heap = std::max(p.heap, h.heap);
                    p.handles = std::max(p.handles, h.handles);
                    p.gdiObjects = std::max(p.gdiObjects, h.gdiObjects);
                    p.threads = std::max(p.threads, h.threads);
                } else if (!fresh) {
                    const Holdings& p = peak->second;
                    grown.heap = std::max(grown.heap, h.heap - p.heap);
                    grown.handles = std::max<DWORD>(grown.handles, h.handles > p.handles ? h.handles - p.handles : 0);
                    grown.gdiObjects = std::max<DWORD>(
                        grown.gdiObjects, h.gdiObjects > p.gdiObjects ? h.gdiObjects - p.gdiObjects : 0);
                    grown.threads = std::max(grown.threads, h.threads - p.threads);
                }
            }
            if (now * Reports < static_cast<unsigned long long>(reported + 1) * totalMs) return true;
            ++reported;
            char when[16];
            std::snprintf(when, sizeof when, "%7.2f h", now / 3600000.0);
            PrintHoldings(when, Measure());
            return true;
        };
        AnimateInVirtualTime(time, totalMs, options.fps, hooks);
        Running = 0;
        EndPaletteRun(window);
        EndRun();
        SharedSpectrum = nullptr;
        platform::DestroyOffscreenWindow(window);
        const Holdings after = Measure();
        PrintHoldings("after", after);

        std::printf("%llu display switches; modules shown:", switches);
        for (const auto& shown : firstHalf) std::printf(" %s", shown.first.c_str());
        std::printf("\n");
        auto fail = [&](const char* what) {
            std::printf("FAIL: %s\n", what);
            ++failures;
        };
        if (switches == 0 && totalMs > 2000ull * SwitchSeconds) fail("the Random module never switched");
        if (grown.heap > HeapSlack) fail("a display's heap grew from the first half of the run to the second");
        if (grown.handles > 0) fail("a display's kernel handles grew");
        if (grown.gdiObjects > 0) fail("a display's GDI objects grew");
        if (grown.threads > 0) fail("a display's threads grew");
        if (after.handles > before.handles) fail("kernel handles were left open after the run");
        if (after.gdiObjects > before.gdiObjects) fail("GDI objects were left after the run");
        if (after.threads > before.threads) fail("threads were left running after the run");
    }
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    std::printf("%s\n", failures ? "lumora-soak: FAILED" : "lumora-soak: nothing grew");
    return failures ? 1 : 0;
}
