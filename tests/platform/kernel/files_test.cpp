#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <sys/stat.h>

#include "platform/kernel/kernel.h"
#include "support/temp_dir.h"

namespace {

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> Find(const std::string& mask) {
    std::set<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(mask.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.insert(data.cFileName);
    while (FindNextFileA(search, &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    FindClose(search);
    return names;
}

}  // namespace

TEST(Find, MasksMatchWithoutRegardToCase) {
    testsupport::TempDir dir;
    for (const char* name : {"a.lum", "B.LuM", "c.lumx", "d.pal", "noext", "ab.lum"})
        WriteText(dir.str() + "/" + name, "x");
    mkdir((dir.str() + "/sub.lum").c_str(), 0755);

    EXPECT_EQ(Find(dir.str() + "/*.LUM"), (std::set<std::string>{"a.lum", "B.LuM", "ab.lum", "sub.lum"}));
    EXPECT_EQ(Find(dir.str() + "/?.lum"), (std::set<std::string>{"a.lum", "B.LuM"}));
    EXPECT_EQ(Find(dir.str() + "/*.*").size(), 7u);  // also "noext"; never "." or ".."
    EXPECT_EQ(Find(dir.str() + "/*").size(), 7u);

    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((dir.str() + "/SUB.lum").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    FindClose(search);
    search = FindFirstFileA((dir.str() + "/d.pal").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(data.nFileSizeLow, 1u);
    FindClose(search);
}

TEST(Find, NothingFoundInAnEmptyOrMissingDirectory) {
    testsupport::TempDir dir;
    WIN32_FIND_DATAA data;
    EXPECT_EQ(FindFirstFileA((dir.str() + "/*.LUM").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FindFirstFileA((dir.str() + "/missing/*.LUM").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(Files, CreationDispositions) {
    testsupport::TempDir dir;
    std::string path = dir.str() + "/file.bin";
    auto open = [&](DWORD disposition, DWORD access = GENERIC_READ | GENERIC_WRITE) {
        return CreateFileA(path.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    EXPECT_EQ(open(OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(open(TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);

    HANDLE file = open(CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "hello world", 11, &written, nullptr));
    EXPECT_EQ(written, 11u);
    CloseHandle(file);
    EXPECT_EQ(open(CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);

    file = open(OPEN_ALWAYS);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    DWORD high = 7;
    EXPECT_EQ(GetFileSize(file, &high), 11u);
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(SetFilePointer(file, -5, nullptr, FILE_END), 6u);
    char buffer[16] = {};
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));  // short read at the end
    EXPECT_EQ(read, 5u);
    EXPECT_EQ(std::string(buffer, read), "world");
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(SetFilePointer(file, -20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    CloseHandle(file);

    file = open(CREATE_ALWAYS);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(GetFileSize(file, nullptr), 0u);
    CloseHandle(file);

    file = open(OPEN_EXISTING, GENERIC_READ);
    EXPECT_FALSE(WriteFile(file, "x", 1, &written, nullptr));
    CloseHandle(file);
    EXPECT_EQ(CreateFileA((dir.str() + "/no/such.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(Files, CopyAttributesAndDirectories) {
    testsupport::TempDir dir;
    std::string source = dir.str() + "/source.txt", target = dir.str() + "/target.txt";
    WriteText(source, "new contents");
    WriteText(target, "old");

    EXPECT_FALSE(CopyFileA(source.c_str(), target.c_str(), TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(ReadText(target), "old");
    EXPECT_TRUE(CopyFileA(source.c_str(), target.c_str(), FALSE));
    EXPECT_EQ(ReadText(target), "new contents");
    std::string fresh = dir.str() + "/fresh.txt";
    EXPECT_TRUE(CopyFileA(source.c_str(), fresh.c_str(), TRUE));
    EXPECT_EQ(ReadText(fresh), "new contents");
    EXPECT_FALSE(CopyFileA((dir.str() + "/missing").c_str(), fresh.c_str(), FALSE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Find(dir.str() + "/*").size(), 3u);  // no temporary left behind

    EXPECT_EQ(GetFileAttributesA(source.c_str()), FILE_ATTRIBUTE_NORMAL);
    chmod(source.c_str(), 0444);
    EXPECT_EQ(GetFileAttributesA(source.c_str()), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(GetFileAttributesA(dir.str().c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA((dir.str() + "/missing").c_str()), INVALID_FILE_ATTRIBUTES);

    std::string sub = dir.str() + "/sub";
    EXPECT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryA(sub.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(CopyFileA(source.c_str(), (sub + "/inside").c_str(), FALSE));
    EXPECT_FALSE(RemoveDirectoryA(sub.c_str()));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
    EXPECT_FALSE(DeleteFileA(sub.c_str()));
    EXPECT_TRUE(DeleteFileA((sub + "/inside").c_str()));
    EXPECT_FALSE(DeleteFileA((sub + "/inside").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(RemoveDirectoryA(sub.c_str()));
}

TEST(Files, BuffersTooSmallReportTheSizeNeededAndNeverOverflow) {
    testsupport::TempDir dir;
    char previous[4096];
    ASSERT_GT(GetCurrentDirectoryA(sizeof previous, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.str().c_str()));
    char small[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(GetCurrentDirectoryA(sizeof small, small), dir.str().size() + 1);
    EXPECT_EQ(small[0], '#');
    char large[4096];
    EXPECT_EQ(GetCurrentDirectoryA(sizeof large, large), dir.str().size());
    EXPECT_EQ(std::string(large), dir.str());
    SetCurrentDirectoryA(previous);

    char full[4096];
    DWORD length = GetModuleFileNameA(nullptr, full, sizeof full);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(std::strlen(full), length);
    EXPECT_NE(std::string(full).find("test_platform_kernel"), std::string::npos);
    char cut[8];
    std::memset(cut, '#', sizeof cut);
    EXPECT_EQ(GetModuleFileNameA(nullptr, cut, sizeof cut), sizeof cut);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::string(cut), std::string(full, 7));

    char shortPath[8];
    EXPECT_EQ(GetShortPathNameA("/a/b/c/d/e", shortPath, sizeof shortPath), 11u);
    EXPECT_EQ(GetShortPathNameA("/a/b", shortPath, sizeof shortPath), 4u);
    EXPECT_STREQ(shortPath, "/a/b");
}
