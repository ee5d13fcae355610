// One holder of a window role per platform root: a claim from another
// process fails and brings the holder's window to the front.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include <QApplication>
#include <QWidget>

#include "active_window.h"
#include "platform/kernel/root.h"
#include "platform/ui/qt_session.h"
#include "platform/ui/ui.h"

extern char** environ;

namespace {

constexpr char RootForChild[] = "LUMORA_ROLE_TEST_ROOT";

// This test program again, running only the claimant below.
pid_t StartClaimant() {
    setenv(RootForChild, platform::PlatformRoot().c_str(), 1);
    std::string self = "/proc/self/exe";
    std::string disabled = "--gtest_also_run_disabled_tests";
    std::string filter = "--gtest_filter=WindowRole.DISABLED_ClaimantFromAnotherProcess";
    char* argv[] = {self.data(), disabled.data(), filter.data(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv, environ) != 0) return -1;
    return pid;
}

TEST(WindowRole, AnotherProcessIsRefusedAndBringsTheHolderToTheFront) {
    ASSERT_TRUE(platform::ensureGuiApplication());
    ActiveTestWindow holder;
    ASSERT_TRUE(platform::ClaimWindowRole("settings"));
    EXPECT_TRUE(platform::ClaimWindowRole("settings")) << "the holder may claim again";
    QWidget other;  // another window of the program in front
    other.show();
    other.activateWindow();
    for (int i = 0; i < 100 && QApplication::activeWindow() != &other; ++i) QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &other);

    pid_t claimant = StartClaimant();
    ASSERT_GT(claimant, 0);
    int status = -1;
    pid_t ended = 0;
    for (int i = 0; i < 3000 && (ended = waitpid(claimant, &status, WNOHANG)) == 0; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10), usleep(2000);
    ASSERT_EQ(ended, claimant) << strerror(errno);
    for (int i = 0; i < 50; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the claimant was not refused";
    EXPECT_EQ(QApplication::activeWindow(), holder.widget());
    platform::ReleaseWindowRole("settings");
}

// Run by the test above in a process of its own.
TEST(WindowRole, DISABLED_ClaimantFromAnotherProcess) {
    const char* root = std::getenv(RootForChild);
    ASSERT_NE(root, nullptr);
    setenv("LUMORA_ROOT", root, 1);
    ASSERT_TRUE(platform::ensureGuiApplication());
    EXPECT_FALSE(platform::ClaimWindowRole("settings"));
}

}  // namespace
