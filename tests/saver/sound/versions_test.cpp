// Version records in the registry and starting the analyser.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "platform/gdi/present/offscreen_presenter.h"
#include "saver/sound/analyser.h"
#include "saver/sound/versions.h"
#include "support/temp_dir.h"

namespace {

void SetValue(HKEY root, const char* path, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST(Versions, TheSaverRecordsThreeSixBuild465) {
    WriteSaverVersion(SaverMajorVersion, SaverMinorVersion, SaverBuildNumber);
    EXPECT_EQ(ReadUserDword("Software\\Lumora", "Current Version"), 196614u);
    EXPECT_EQ(ReadUserDword("Software\\Lumora", "Build"), 465u);
}

TEST(Versions, TheAnalyserRecordIsReadWithItsBuild) {
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tonalyx");  // the simulator's record, if it ran
    DWORD build = 99;
    EXPECT_EQ(ReadAnalyserVersion(&build), 0u) << "not installed";
    EXPECT_EQ(build, 0u);
    ASSERT_TRUE(WriteUserDword("Software\\Tonalyx", "Current Version", 3 * 65536 + 2));
    ASSERT_TRUE(WriteUserDword("Software\\Tonalyx", "Build", 0x00070123));
    EXPECT_EQ(ReadAnalyserVersion(&build), CompatibleAnalyserVersion);
    EXPECT_EQ(build, 0x0123u);
}

TEST(Versions, OnlyFourByteValuesCountAsNumbers) {
    const char text[] = "3.25";
    SetValue(HKEY_CURRENT_USER, "Software\\Odd", "Text", REG_SZ, text, sizeof text);
    SetValue(HKEY_CURRENT_USER, "Software\\Odd", "Long", REG_BINARY, "12345678", 8);
    const DWORD little = 0x01020304;
    SetValue(HKEY_CURRENT_USER, "Software\\Odd", "Binary", REG_BINARY, &little, 4);
    EXPECT_EQ(ReadUserDword("Software\\Odd", "Text"), 0u);
    EXPECT_EQ(ReadUserDword("Software\\Odd", "Long"), 0u);
    EXPECT_EQ(ReadUserDword("Software\\Odd", "Binary"), 0x01020304u);
    EXPECT_EQ(ReadUserDword("Software\\Odd", "Missing"), 0u);
}

// The analyser is stood in for by a script that records its arguments.
class StartAnalyserTest : public testing::Test {
protected:
    void SetUp() override {
        platform::SetScreenSize(320, 200);
        presenter_ = std::make_shared<gdi::OffscreenPresenter>();
        fullScreen_ = platform::CreateOffscreenWindow(320, 200, presenter_);
        preview_ = platform::CreateOffscreenWindow(152, 112, presenter_);
        ASSERT_NE(fullScreen_, nullptr);
        ASSERT_NE(preview_, nullptr);
        script_ = dir_.path() / "analyser.sh";
        marker_ = dir_.path() / "started";
        std::ofstream(script_) << "echo \"started $*\" > " << marker_.string() << "\n";
    }
    void TearDown() override {
        platform::DestroyOffscreenWindow(preview_);
        platform::DestroyOffscreenWindow(fullScreen_);
    }

    void Register(const std::string& command) {
        SetValue(HKEY_LOCAL_MACHINE, AnalyserCommandKey, nullptr, REG_SZ, command.c_str(),
                 static_cast<DWORD>(command.size() + 1));
    }
    std::string Command() const { return "/bin/sh " + script_.string(); }

    // What the script recorded, waiting a while for the detached process.
    std::string Started() const {
        for (int n = 0; n < 500 && !std::filesystem::exists(marker_); ++n) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::string line;
        std::ifstream in(marker_);
        std::getline(in, line);
        return line;
    }

    testsupport::TempDir dir_;
    std::filesystem::path script_;
    std::filesystem::path marker_;
    std::shared_ptr<gdi::OffscreenPresenter> presenter_;
    HWND fullScreen_ = nullptr;
    HWND preview_ = nullptr;
};

TEST_F(StartAnalyserTest, DoesNothingWithoutARegisteredCommand) {
    EXPECT_FALSE(StartAnalyser(fullScreen_, FALSE));
    EXPECT_FALSE(StartAnalyser(fullScreen_, TRUE));
    Register("");
    EXPECT_FALSE(StartAnalyser(fullScreen_, FALSE));
}

TEST_F(StartAnalyserTest, TheLaunchButtonRunsTheCommandAsRegistered) {
    Register(Command());
    EXPECT_TRUE(StartAnalyser(preview_, FALSE));
    EXPECT_EQ(Started(), "started ");
}

TEST_F(StartAnalyserTest, AutoRunPlaysOnlyForAFullScreenSaver) {
    Register(Command());
    EXPECT_FALSE(StartAnalyser(preview_, TRUE));
    EXPECT_FALSE(StartAnalyser(nullptr, TRUE));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(std::filesystem::exists(marker_));
    EXPECT_TRUE(StartAnalyser(fullScreen_, TRUE));
    EXPECT_EQ(Started(), "started /PPLAY");
}

TEST_F(StartAnalyserTest, ACommandLineTooLongOrUnterminatedIsNotRun) {
    Register(Command() + " " + std::string(300, 'x'));
    EXPECT_FALSE(StartAnalyser(fullScreen_, FALSE));
    const std::string command = Command();
    SetValue(HKEY_LOCAL_MACHINE, AnalyserCommandKey, nullptr, REG_SZ, command.data(),
             static_cast<DWORD>(command.size()));
    EXPECT_FALSE(StartAnalyser(fullScreen_, FALSE));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(std::filesystem::exists(marker_));
}

}  // namespace

namespace {

TEST(BundledAnalyserTest, OnlyAnAnalyserFileBesideTheProgramCounts) {
    testsupport::TempDir dir;
    const std::filesystem::path folder = dir.path() / "with blanks";
    std::filesystem::create_directories(folder / "bin" / BundledAnalyserName);
    const std::string program = (folder / "lumora").string();
    EXPECT_EQ(BundledAnalyserCommand(program), "");
    EXPECT_EQ(BundledAnalyserCommand((folder / "bin" / "lumora").string()), "") << "a folder is no analyser";
    EXPECT_EQ(BundledAnalyserCommand("lumora"), "");
    std::ofstream(folder / BundledAnalyserName) << "#!/bin/sh\n";
    EXPECT_EQ(BundledAnalyserCommand(program), "\"" + (folder / BundledAnalyserName).string() + "\"");
}

}  // namespace
