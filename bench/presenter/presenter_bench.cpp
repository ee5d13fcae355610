// What the window thread pays per shown frame: taking the published frame
// and colours, converting and scaling them into the window's image.  A plain
// copy of the window image is measured beside it as the floor.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/screensaver/window_presenter.h"

namespace {

std::vector<std::uint8_t> randomCanvas(int width, int height) {
    std::vector<std::uint8_t> canvas(static_cast<std::size_t>(width) * height);
    std::mt19937 random(42);
    for (auto& pixel : canvas) pixel = static_cast<std::uint8_t>(random());
    return canvas;
}

gdi::HardwareColours someColours() {
    gdi::HardwareColours colours{};
    for (std::uint32_t i = 0; i < 256; ++i) colours[i] = i * 0x010203u;
    return colours;
}

// args: Canvas width, height, window width, height.
void PresentFrame(benchmark::State& state) {
    int cw = static_cast<int>(state.range(0)), ch = static_cast<int>(state.range(1));
    int ww = static_cast<int>(state.range(2)), wh = static_cast<int>(state.range(3));
    std::vector<std::uint8_t> canvas = randomCanvas(cw, ch);
    std::vector<std::uint32_t> window(static_cast<std::size_t>(ww) * wh);
    gdi::HardwareColours colours = someColours();
    platform::saver::WindowPresenter presenter;
    for (auto _ : state) {
        presenter.publishFrame(canvas.data(), cw, ch, cw);
        colours[10] ^= 1;  // the palette thread's work: new colours every frame
        presenter.publishPalette(colours);
        presenter.takeChanges();
        presenter.render(window.data(), ww, wh, ww);
        benchmark::DoNotOptimize(window.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(window.size() * 4));
}

// Colours only: what a frame costs while only the palette animates.
void RecolourFrame(benchmark::State& state) {
    int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    std::vector<std::uint8_t> canvas = randomCanvas(w, h);
    std::vector<std::uint32_t> window(static_cast<std::size_t>(w) * h);
    gdi::HardwareColours colours = someColours();
    platform::saver::WindowPresenter presenter;
    presenter.publishFrame(canvas.data(), w, h, w);
    for (auto _ : state) {
        colours[10] ^= 1;
        presenter.publishPalette(colours);
        presenter.takeChanges();
        presenter.render(window.data(), w, h, w);
        benchmark::DoNotOptimize(window.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(window.size() * 4));
}

void CopyWindowImage(benchmark::State& state) {
    std::size_t pixels = static_cast<std::size_t>(state.range(0)) * static_cast<std::size_t>(state.range(1));
    std::vector<std::uint32_t> from(pixels, 0x123456u), to(pixels);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), pixels * 4);
        benchmark::DoNotOptimize(to.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(pixels * 4));
}

}  // namespace

BENCHMARK(PresentFrame)
    ->Args({1920, 1080, 1920, 1080})
    ->Args({3840, 2160, 3840, 2160})
    ->Args({640, 480, 1920, 1080})
    ->Args({1024, 768, 3840, 2160})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(RecolourFrame)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(CopyWindowImage)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
