#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/kernel/kernel.h"
#include "support/temp_dir.h"

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Get(const char* section, const char* key, const std::string& file, const char* fallback = "none") {
    char value[256];
    DWORD length = GetPrivateProfileStringA(section, key, fallback, value, sizeof value, file.c_str());
    return std::string(value, length);
}

}  // namespace

TEST(ProfileStrings, WriteReplacesOnlyItsKeyAndKeepsEveryOtherLine) {
    testsupport::TempDir dir;
    std::string file = dir.str() + "/system.ini";
    std::ofstream(file) << "; comment\n[boot]\nshell=Explorer.exe\nSCRNSAVE.EXE=old.scr\n\n[drivers]\nwave=x.drv\n";

    ASSERT_TRUE(WritePrivateProfileStringA("BOOT", "scrnsave.exe", "/sys/LUMORA.SCR", file.c_str()));
    EXPECT_EQ(ReadText(file),
              "; comment\n[boot]\nshell=Explorer.exe\nSCRNSAVE.EXE=/sys/LUMORA.SCR\n\n[drivers]\nwave=x.drv\n");
    EXPECT_EQ(Get("Boot", "ScrnSave.exe", file), "/sys/LUMORA.SCR");

    ASSERT_TRUE(WritePrivateProfileStringA("boot", "new.key", "1", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Extra", "k", "v", file.c_str()));
    EXPECT_EQ(ReadText(file), "; comment\n[boot]\nshell=Explorer.exe\nSCRNSAVE.EXE=/sys/LUMORA.SCR\nnew.key=1\n\n"
                              "[drivers]\nwave=x.drv\n\n[Extra]\nk=v\n");

    ASSERT_TRUE(WritePrivateProfileStringA("boot", "shell", nullptr, file.c_str()));
    EXPECT_EQ(Get("boot", "shell", file), "none");
    EXPECT_EQ(Get("drivers", "wave", file), "x.drv");
    EXPECT_EQ(Get("drivers", "missing", file, "fallback  "), "fallback");
}

TEST(ProfileStrings, BareFileNameLivesInTheWindowsDirectory) {
    ASSERT_TRUE(WritePrivateProfileStringA("BOOT", "SCRNSAVE.EXE", "(None)", "SYSTEM.INI"));
    std::string windows = std::string(std::getenv("LUMORA_ROOT")) + "/windows/SYSTEM.INI";
    EXPECT_EQ(ReadText(windows), "[BOOT]\nSCRNSAVE.EXE=(None)\n");
    EXPECT_EQ(Get("boot", "scrnsave.exe", "SYSTEM.INI"), "(None)");
}

TEST(ProfileStrings, ResultsAreTruncatedToTheBuffer) {
    testsupport::TempDir dir;
    std::string file = dir.str() + "/t.ini";
    WritePrivateProfileStringA("s", "key", "\"quoted value\"", file.c_str());
    WritePrivateProfileStringA("s", "other", "2", file.c_str());
    char value[5];
    EXPECT_EQ(GetPrivateProfileStringA("s", "key", "", value, sizeof value, file.c_str()), 4u);
    EXPECT_STREQ(value, "quot");
    char keys[32];
    DWORD length = GetPrivateProfileStringA("s", nullptr, "", keys, sizeof keys, file.c_str());
    EXPECT_EQ(std::string(keys, length), std::string("key\0other\0", 10));
    EXPECT_EQ(Get("s", "missing", dir.str() + "/absent.ini"), "none");
}
