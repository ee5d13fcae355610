// The slide show's picture work at 1920 x 1080: loading a 24-bit bitmap and
// a JPEG of that size, converting to brightness, two smoothing passes, and
// the drawing thread's step times while the worker prepares a picture (the
// work stays off the drawing thread).  Wall times; the step times are also
// given as the drawing thread's CPU time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "bench/support/cpu_time.h"
#include "bench/support/module_screen.h"
#include "platform/kernel/bitmap_file.h"
#include "platform/kernel/root.h"
#include "saver/images/bitmap_images.h"
#include "saver/images/image_effects.h"
#include "saver/modules/bitmap.h"
#include "tests/saver/images/picture_files.h"

namespace {

constexpr int Width = 1920;
constexpr int Height = 1080;

// A photograph-like 24-bit picture: smooth gradients with some detail.
std::vector<BYTE> Picture() {
    std::vector<BYTE> rgb(static_cast<std::size_t>(Width) * Height * 3);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            BYTE* p = &rgb[(static_cast<std::size_t>(y) * Width + x) * 3];
            p[0] = static_cast<BYTE>(x * 255 / Width);
            p[1] = static_cast<BYTE>(y * 255 / Height);
            p[2] = static_cast<BYTE>((x * y) >> 8);
        }
    return rgb;
}

// "pictures/photo.bmp" and "pictures/photo.jpg" under the platform root.
std::string Pictures() {
    static const std::string dir = [] {
        const std::string d = platform::PlatformRoot() + "/pictures";
        CreateDirectoryA(platform::PlatformRoot().c_str(), nullptr);
        CreateDirectoryA(d.c_str(), nullptr);
        const std::vector<BYTE> rgb = Picture();
        const std::size_t stride = (Width * 3 + 3) & ~3u;
        std::vector<BYTE> rows(stride * Height);
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                const BYTE* in = &rgb[(static_cast<std::size_t>(Height - 1 - y) * Width + x) * 3];
                BYTE* out = &rows[stride * y + 3 * x];
                out[0] = in[2];
                out[1] = in[1];
                out[2] = in[0];
            }
        imagetest::WriteFile(d + "/photo.bmp", platform::EncodeBitmapFile(Width, Height, 24, {}, rows));
        imagetest::WriteFile(d + "/photo.jpg", imagetest::Jpeg(Width, Height, false, rgb, 85));
        return d;
    }();
    return dir;
}

void Load(benchmark::State& state, const char* name) {
    const std::string mask = Pictures() + "/" + name;
    for (auto _ : state) {
        HBITMAP bitmap = LoadImageFile(mask.c_str(), FALSE);
        if (!bitmap) state.SkipWithError("cannot load");
        DeleteObject(bitmap);
    }
}
void LoadBmp(benchmark::State& state) { Load(state, "photo.bmp"); }
void LoadJpeg(benchmark::State& state) { Load(state, "photo.jpg"); }
BENCHMARK(LoadBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadJpeg)->Unit(benchmark::kMillisecond);

void ConvertToGreyFullHd(benchmark::State& state) {
    HBITMAP bitmap = LoadImageFile((Pictures() + "/photo.bmp").c_str(), FALSE);
    DIBSECTION section{};
    GetObjectA(bitmap, sizeof section, &section);
    std::vector<BYTE> target(static_cast<std::size_t>(DibStride(Width)) * Height);
    for (auto _ : state) ConvertToGrey(section, target.data());
    DeleteObject(bitmap);
}
BENCHMARK(ConvertToGreyFullHd)->Unit(benchmark::kMillisecond);

void SmoothTwiceFullHd(benchmark::State& state) {
    std::vector<BYTE> bits(static_cast<std::size_t>(DibStride(Width)) * Height);
    for (std::size_t i = 0; i < bits.size(); ++i) bits[i] = static_cast<BYTE>(i * 7);
    for (auto _ : state) {
        SmoothPass(bits.data(), Width, Height);
        SmoothPass(bits.data(), Width, Height);
    }
}
BENCHMARK(SmoothTwiceFullHd)->Unit(benchmark::kMillisecond);

// The Bitmap module in real time showing the JPEG with Smoothing 2: every
// step of the drawing thread from the start of a picture until it is shown.
// The step in which the worker paints includes the full-screen stretch; the
// others only look at the worker.  The Canvas is black before each picture,
// and the picture's centre is not, which tells the painting step.
void StepsWhilePreparing(benchmark::State& state) {
    bench::ModuleScreen screen(ModuleBitmap);
    ModuleRecord* record = screen.record;
    std::strcpy(record->path, (Pictures() + "/photo.jpg").c_str());
    record->value[BitmapDisplayTypeSlot] = BitmapStretched;
    record->value[BitmapDurationSlot] = 1;
    record->value[BitmapSmoothingSlot] = 2;
    BitmapInit(record);
    double slowestWaiting = 0, slowestWaitingCpu = 0, painting = 0, total = 0;
    long steps = 0;
    for (auto _ : state) {
        PatBlt(screen.dc, 0, 0, bench::ScreenWidth, bench::ScreenHeight, BLACKNESS);
        Bitmap.dueTimeSet = false;
        BitmapStart(record);
        for (bool painted = false; !painted;) {
            const auto start = std::chrono::steady_clock::now();
            const double cpu = bench::ThreadCpuMs();
            BitmapStep(record);
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            const double cpuMs = bench::ThreadCpuMs() - cpu;
            ++steps;
            total += ms;
            painted = GetPixel(screen.dc, bench::ScreenWidth / 2, bench::ScreenHeight / 2) != 0;
            if (painted) {
                painting = std::max(painting, ms);
                break;
            }
            slowestWaiting = std::max(slowestWaiting, ms);
            slowestWaitingCpu = std::max(slowestWaitingCpu, cpuMs);
            Sleep(16);
        }
    }
    BitmapFree(record);
    state.counters["slowest_waiting_step_ms"] = slowestWaiting;
    state.counters["slowest_waiting_step_cpu_ms"] = slowestWaitingCpu;
    state.counters["painting_step_ms"] = painting;
    state.counters["mean_step_ms"] = total / static_cast<double>(steps);
    state.counters["steps_per_picture"] = static_cast<double>(steps) / static_cast<double>(state.iterations());
}
BENCHMARK(StepsWhilePreparing)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
