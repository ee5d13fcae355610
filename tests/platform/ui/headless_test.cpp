// Without any display, questions are answered as if closed and dialogs fail,
// instead of Qt ending the process.  Each case runs in a fresh process, since
// this test program's other tests start a QApplication.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/win32.h"

namespace {

void dropDisplay() {
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
}

TEST(HeadlessUi, QuestionIsWrittenToStderrAndAnsweredAsClosed) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dropDisplay();
            std::exit(MessageBoxA(nullptr, "Are you sure?", "UnInstall", MB_YESNO | MB_ICONQUESTION));
        },
        testing::ExitedWithCode(IDNO), "UnInstall: Are you sure\\?");
    EXPECT_EXIT(
        {
            dropDisplay();
            std::exit(MessageBoxA(nullptr, "The Lumoric Screen Saver has been removed.", "UnInstall Complete",
                                  MB_OK | MB_ICONINFORMATION));
        },
        testing::ExitedWithCode(IDOK), "UnInstall Complete: The Lumoric");
}

TEST(HeadlessUi, FileDialogFailsWithInitializationError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dropDisplay();
            char buffer[MAX_PATH] = "";
            OPENFILENAMEA ofn{};
            ofn.lStructSize = sizeof ofn;
            ofn.lpstrFile = buffer;
            ofn.nMaxFile = MAX_PATH;
            BOOL ok = GetOpenFileNameA(&ofn);
            MessageBeep(0);
            std::exit(!ok && CommDlgExtendedError() == CDERR_INITIALIZATION ? 0 : 1);
        },
        testing::ExitedWithCode(0), "no display");
}

}  // namespace
