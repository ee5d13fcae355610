// A save killed in the middle leaves the display as it was before or after,
// never a mixture or nothing.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "settings_fixture.h"

namespace {

using namespace settings_test;
using InterruptedSave = SettingsStoreTest;

void SetRunningState(int variant) {
    std::memset(ActiveModules, 0, sizeof ActiveModules);
    // Different modules and values, so a mixture of the two is visible.
    for (int m = variant; m < ModuleCount; m += 2) ActiveModules[m] = 1;
    for (ModuleRecord& r : ModuleTable) {
        for (int s = 0; s < SlotCount; ++s) r.value[s] = r.defined[s] ? (variant ? r.max[s] : r.min[s]) : 0;
    }
    SaverOptions.ShowName = 10 + variant;
}

TEST_F(InterruptedSave, AKilledSaveLeavesTheOldOrTheNewDisplay) {
    SetRunningState(0);
    SaveDisplay("Live");
    const auto first = DisplaySnapshot("Live");
    SetRunningState(1);
    SaveDisplay("Live");
    const auto second = DisplaySnapshot("Live");
    ASSERT_NE(first, second);

    // The child reports every finished save through a pipe; each kill comes
    // a little after the first report, so it lands while saves are going on
    // however slow the machine is.
    for (int round = 0; round < 6; ++round) {
        int report[2];
        ASSERT_EQ(pipe(report), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(report[0]);
            for (int i = 0;; ++i) {
                SetRunningState(i % 2);
                SaveDisplay("Live");
                if (write(report[1], "s", 1) != 1) _exit(1);
            }
        }
        close(report[1]);
        char saved = 0;
        const bool reported = read(report[0], &saved, 1) == 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(3 + 7 * round));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        close(report[0]);
        ASSERT_TRUE(reported) << "round " << round << ": the child never finished a save";

        const auto now = DisplaySnapshot("Live");
        EXPECT_TRUE(now == first || now == second) << "round " << round << ": " << now.size() << " values";
        EXPECT_EQ(ActiveValue(), "Live");
    }
}

}  // namespace
