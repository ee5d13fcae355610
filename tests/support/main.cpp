// Shared main() of every test program: the whole program runs against its
// own temporary platform root and its own shared-memory namespace, so tests
// never touch the user's settings and test programs running side by side
// never see each other's blocks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "support/temp_dir.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testsupport::ScopedPlatformRoot root;
    std::string ns = "lumoratest" + std::to_string(getpid());
    setenv("LUMORA_SHM_NAMESPACE", ns.c_str(), 1);
    return RUN_ALL_TESTS();
}
