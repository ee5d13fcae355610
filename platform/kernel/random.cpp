// The C library's rand/srand, replaced for the whole program: the classic
// generator with one process-wide state that any thread may draw from.
#include <atomic>
#include <cstdint>
#include <cstdlib>

namespace {
std::atomic<std::uint32_t> randomState{1};
}

extern "C" void srand(unsigned seed) noexcept { randomState.store(seed, std::memory_order_relaxed); }

extern "C" int rand() noexcept {
    std::uint32_t current = randomState.load(std::memory_order_relaxed);
    std::uint32_t next;
    do {
        next = current * 214013u + 2531011u;
    } while (!randomState.compare_exchange_weak(current, next, std::memory_order_relaxed));
    return static_cast<int>((next >> 16) & 0x7FFF);
}
