// libFuzzer's entry point for the harness named by FUZZ_HARNESS.
#include "fuzz/harnesses.h"

// Allocations that system libraries keep for the life of the process (the
// test programs' list, tests/lsan.supp).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n"
           "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { return FUZZ_HARNESS(data, size); }
