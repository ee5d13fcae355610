#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <thread>

#include "platform/kernel/kernel.h"
#include "support/temp_dir.h"

TEST(WinExec, StartsProgramsDetachedAndReportsMissingOnes) {
    EXPECT_EQ(WinExec("lumora-no-such-program /S", SW_SHOWNORMAL), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(WinExec("", SW_SHOWNORMAL), ERROR_FILE_NOT_FOUND);
    EXPECT_GT(WinExec("true", SW_SHOWNORMAL), 31u);

    // Quotes group words: the shell receives the whole script as one argument.
    testsupport::TempDir dir;
    std::string marker = dir.str() + "/started";
    std::string command = "sh -c \"echo done > '" + marker + "'\"";
    EXPECT_GT(WinExec(command.c_str(), SW_HIDE), 31u);
    struct stat info{};
    for (int i = 0; i < 1000 && stat(marker.c_str(), &info) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(stat(marker.c_str(), &info), 0);
}

TEST(Version, ReportsAnNtFamilyBuild) {
    OSVERSIONINFOA info{};
    EXPECT_FALSE(GetVersionExA(&info));  // size not filled in
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_GT(info.dwBuildNumber, 1381u);
}

TEST(GlobalMemory, ZeroFilledBlocksWithTheirSize) {
    HGLOBAL block = GlobalAlloc(GHND, 8400);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 8400u);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    bool zero = true;
    for (int i = 0; i < 8400; ++i) zero = zero && bytes[i] == 0;
    EXPECT_TRUE(zero);
    std::memset(bytes, 0xAB, 8400);
    EXPECT_FALSE(GlobalUnlock(block));  // no lock left
    EXPECT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
}
