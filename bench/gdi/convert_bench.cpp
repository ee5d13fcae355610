// The presenter's per-frame cost: converting the whole Canvas to 32-bit
// pixels, against the floor of writing that many bytes at all.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "platform/gdi/present/convert_paths.h"
#include "platform/gdi/presenter.h"
#include "registry.h"

namespace bench {

namespace {

using ConvertFn = void (*)(const std::uint8_t*, std::size_t, const std::uint32_t*, std::uint32_t*);

struct Frame {
    explicit Frame(CanvasSize size)
        : pixels(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height)),
          indices(pixels),
          rgb(pixels),
          expected(pixels),
          table(256) {
        std::mt19937 random(99);
        for (auto& index : indices) {
            index = static_cast<std::uint8_t>(random());
        }
        for (auto& entry : table) {
            entry = random() & 0xFFFFFF;
        }
        for (std::size_t i = 0; i < pixels; ++i) {
            expected[i] = table[indices[i]];
        }
    }

    std::size_t pixels;
    std::vector<std::uint8_t> indices;
    std::vector<std::uint32_t> rgb;
    std::vector<std::uint32_t> expected;  // also the memcpy's source
    std::vector<std::uint32_t> table;
};

void Memcpy(benchmark::State& state, CanvasSize size) {
    Frame frame(size);
    for (auto _ : state) {
        std::memcpy(frame.rgb.data(), frame.expected.data(), frame.pixels * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * frame.pixels * 4));
}

void Convert(benchmark::State& state, CanvasSize size, ConvertFn convert) {
    Frame frame(size);
    for (auto _ : state) {
        convert(frame.indices.data(), frame.pixels, frame.table.data(), frame.rgb.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * frame.pixels * 4));
    if (frame.rgb != frame.expected) {
        state.SkipWithError("conversion differs from the table look-up");
    }
}

}  // namespace

void RegisterConversionBenchmarks() {
    struct Path {
        const char* name;
        ConvertFn convert;
        bool available;
    };
    const Path paths[] = {
        {"convert", gdi::ConvertIndexedToRgb32, true},
        {"convert_portable", gdi::detail::ConvertIndexedToRgb32Portable, true},
        {"convert_avx2", gdi::detail::ConvertIndexedToRgb32Avx2, gdi::detail::Avx2ConversionAvailable()},
        {"convert_avx512vbmi", gdi::detail::ConvertIndexedToRgb32Avx512Vbmi,
         gdi::detail::Avx512VbmiConversionAvailable()},
    };
    for (CanvasSize size : kSizes) {
        benchmark::RegisterBenchmark(("memcpy32/" + SizeName(size)).c_str(), Memcpy, size)
            ->Unit(benchmark::kMicrosecond);
        for (const Path& path : paths) {
            if (path.available) {
                benchmark::RegisterBenchmark((std::string(path.name) + "/" + SizeName(size)).c_str(), Convert,
                                             size, path.convert)
                    ->Unit(benchmark::kMicrosecond);
            }
        }
    }
}

}  // namespace bench
