#pragma once
// Fuzzing entry points: each takes one input and returns 0.  A broken
// invariant traps; memory faults are the sanitizers' to find.  libFuzzer
// drives them from fuzz/CMakeLists.txt, and the test suite replays the
// corpora in fuzz/corpus through them.
#include <cstddef>
#include <cstdint>

int FuzzBmpReader(const std::uint8_t* data, std::size_t size);
int FuzzEmbeddedDib(const std::uint8_t* data, std::size_t size);
int FuzzJpegFilter(const std::uint8_t* data, std::size_t size);
int FuzzPcxFilter(const std::uint8_t* data, std::size_t size);
int FuzzQtFilter(const std::uint8_t* data, std::size_t size);
int FuzzSettingsFile(const std::uint8_t* data, std::size_t size);
int FuzzRegeditImport(const std::uint8_t* data, std::size_t size);
int FuzzSpectrumFrame(const std::uint8_t* data, std::size_t size);
int FuzzPaletteFile(const std::uint8_t* data, std::size_t size);
