// libFuzzer's entry point for the harness named by FUZZ_HARNESS.
#include "fuzz/harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { return FUZZ_HARNESS(data, size); }
