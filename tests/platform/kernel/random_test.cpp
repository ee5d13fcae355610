#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <thread>
#include <vector>

#include "child_process.h"
#include "platform/kernel/kernel.h"

TEST(Random, ClassicSequenceAfterSeedAndFromTheInitialState) {
    srand(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected) EXPECT_EQ(rand(), value);

    ChildProcess fresh({"rand"});  // a process that never seeded
    EXPECT_EQ(fresh.ReadLine(), "41");
    EXPECT_EQ(fresh.Wait(), 0);
}

TEST(Random, ConcurrentDrawsShareOneSequenceWithoutLosingSteps) {
    constexpr int kPerThread = 20000;
    srand(12345);
    std::vector<int> sequential(2 * kPerThread);
    for (int& value : sequential) value = rand();

    srand(12345);
    std::vector<int> first(kPerThread), second(kPerThread);
    std::thread a([&] { std::generate(first.begin(), first.end(), rand); });
    std::thread b([&] { std::generate(second.begin(), second.end(), rand); });
    a.join();
    b.join();

    // Every step of the generator is taken exactly once by one of the threads.
    std::vector<int> concurrent(first);
    concurrent.insert(concurrent.end(), second.begin(), second.end());
    for (int value : concurrent) ASSERT_TRUE(value >= 0 && value <= 32767);
    std::sort(concurrent.begin(), concurrent.end());
    std::sort(sequential.begin(), sequential.end());
    EXPECT_EQ(concurrent, sequential);
}
