// Shared main() of every test program: the whole program runs against its
// own temporary platform root and its own shared-memory namespace, so tests
// never touch the user's settings and test programs running side by side
// never see each other's blocks.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/shared_memory.h"
#include "support/temp_dir.h"

// Sanitizer builds: allocations that system libraries keep for the life of
// the process (the same list as lsan.supp, which programs started by the
// tests read through LSAN_OPTIONS).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n"
           "leak:libfontconfig.so\n";
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testsupport::ScopedPlatformRoot root;
    testsupport::SharedMemoryNamespace sharedMemory;
    setenv("LUMORA_BUILD_DIR", LUMORA_BUILD_DIR, 0);
    setenv("LSAN_OPTIONS", "suppressions=" LUMORA_LSAN_SUPPRESSIONS ":print_suppressions=0", 0);
    return RUN_ALL_TESTS();
}
