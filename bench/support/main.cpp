// Shared main() of the benchmark programs: every program runs against its own
// temporary platform root and shared-memory namespace, so a benchmark never
// touches the user's settings or a running saver's block.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

int main(int argc, char** argv) {
    char pattern[] = "/tmp/lumora-bench-XXXXXX";
    const char* root = mkdtemp(pattern);
    if (!root) return 1;
    setenv("LUMORA_ROOT", root, 1);
    setenv("LUMORA_SHM_NAMESPACE", ("lumorabench" + std::to_string(getpid())).c_str(), 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return 0;
}
