#pragma once
// The calling thread's CPU time, for figures that other programs on a busy
// machine must not inflate.
#include <ctime>

namespace bench {

inline double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

}  // namespace bench
