// Shared main() of every test program: the whole program runs against its
// own temporary platform root and its own shared-memory namespace, so tests
// never touch the user's settings and test programs running side by side
// never see each other's blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "support/shared_memory.h"
#include "support/temp_dir.h"

// Sanitizer builds: allocations that system libraries keep for the life of
// the process (the same list as lsan.supp, which programs started by the
// tests read through LSAN_OPTIONS).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n"
           "leak:libfontconfig.so\n";
}

// ThreadSanitizer builds: Qt and the libraries under it are not
// instrumented (the same list as tsan.supp, for the programs tests start).
extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:libQt6Core.so.6\n"
           "called_from_lib:libQt6Gui.so.6\n"
           "called_from_lib:libQt6Widgets.so.6\n"
           "called_from_lib:libQt6XcbQpa.so.6\n"
           "called_from_lib:libQt6DBus.so.6\n"
           "called_from_lib:libxcb.so.1\n"
           "called_from_lib:libX11.so.6\n"
           "called_from_lib:libXrender.so.1\n"
           "called_from_lib:libglib-2.0.so.0\n"
           "called_from_lib:libdbus-1.so.3\n";
}

int main(int argc, char** argv) {
    // A death test's child is this program started again, and it ends with
    // exit() before main's locals are destroyed: it works in the root and
    // namespace of the test that started it, which removes them.
    const bool deathTestChild = std::any_of(argv, argv + argc, [](const char* argument) {
        return std::string_view(argument).starts_with("--gtest_internal_run_death_test");
    });
    testing::InitGoogleTest(&argc, argv);
    std::optional<testsupport::ScopedPlatformRoot> root;
    std::optional<testsupport::SharedMemoryNamespace> sharedMemory;
    if (!deathTestChild) {
        root.emplace();
        sharedMemory.emplace();
    }
    setenv("LUMORA_BUILD_DIR", LUMORA_BUILD_DIR, 0);
    // Tests have no session bus.  Without an address, a D-Bus client (Qt's
    // accessibility bridge, in every window the tests start) forks to
    // autolaunch one whenever DISPLAY is set.  The fork comes from a thread
    // of a program whose other threads are drawing; in a sanitizer build the
    // child can stop for good on an allocator lock before it runs anything,
    // and the window thread waits on it.  An address that does not exist
    // fails at once.
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/lumora-test", 1);
    setenv("LSAN_OPTIONS", "suppressions=" LUMORA_LSAN_SUPPRESSIONS ":print_suppressions=0", 0);
    // Read by ThreadSanitizer builds of the programs the tests start.
    setenv("TSAN_OPTIONS", "suppressions=" LUMORA_TSAN_SUPPRESSIONS ":print_suppressions=0", 0);
    return RUN_ALL_TESTS();
}
