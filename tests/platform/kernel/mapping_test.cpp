#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "child_process.h"
#include "platform/kernel/kernel.h"
#include "support/shared_memory.h"

namespace {

constexpr DWORD kSize = 786;

std::string BlockFile(const std::string& name) {
    return std::string("/dev/shm/") + std::getenv("LUMORA_SHM_NAMESPACE") + "." + name;
}

bool FileExists(const std::string& path) {
    struct stat info{};
    return stat(path.c_str(), &info) == 0;
}

// One open of a block in this process.
struct Block {
    explicit Block(const char* name) {
        mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize, name);
        existed = GetLastError() == ERROR_ALREADY_EXISTS;
        if (mapping) bytes = static_cast<unsigned char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    }
    ~Block() { Close(); }
    void Close() {
        if (bytes) UnmapViewOfFile(bytes);
        if (mapping) CloseHandle(mapping);
        bytes = nullptr;
        mapping = nullptr;
    }
    bool AllZero() const {
        for (DWORD i = 0; i < kSize; ++i)
            if (bytes[i]) return false;
        return true;
    }
    HANDLE mapping = nullptr;
    unsigned char* bytes = nullptr;
    bool existed = false;
};

}  // namespace

TEST(FileMapping, CreatorSeesZerosAndOtherProcessesShareTheBytes) {
    Block mine("SharedBytes");
    ASSERT_NE(mine.bytes, nullptr);
    EXPECT_FALSE(mine.existed);
    EXPECT_TRUE(mine.AllZero());
    mine.bytes[0] = 17;
    mine.bytes[785] = 99;

    ChildProcess other({"hold", "SharedBytes", "786"});
    EXPECT_EQ(other.ReadLine(), "existing");
    other.Send("read 785");
    EXPECT_EQ(other.ReadLine(), "99");
    other.Send("write 1 200");
    EXPECT_EQ(other.ReadLine(), "ok");
    EXPECT_EQ(mine.bytes[1], 200);

    Block again("SharedBytes");  // a second open in the same process
    EXPECT_TRUE(again.existed);
    EXPECT_EQ(again.bytes[0], 17);
    other.Send("close");
    EXPECT_EQ(other.ReadLine(), "closed");
}

TEST(FileMapping, LastCloserRemovesTheBlockAndTheNextOpenerStartsAfresh) {
    {
        Block first("Fresh");
        first.bytes[3] = 1;
        ChildProcess other({"hold", "Fresh", "786"});
        ASSERT_EQ(other.ReadLine(), "existing");
        first.Close();
        EXPECT_TRUE(FileExists(BlockFile("Fresh")));  // the other process still holds it
        other.Send("close");
        ASSERT_EQ(other.ReadLine(), "closed");
    }
    EXPECT_FALSE(FileExists(BlockFile("Fresh")));
    EXPECT_FALSE(FileExists(BlockFile("Fresh") + ".lock"));
    Block next("Fresh");
    EXPECT_FALSE(next.existed);
    EXPECT_TRUE(next.AllZero());
}

TEST(FileMapping, SurvivesAKilledHolderWhileAnotherStillHoldsIt) {
    Block mine("Killed");
    mine.bytes[10] = 5;
    ChildProcess victim({"hold", "Killed", "786"});
    ASSERT_EQ(victim.ReadLine(), "existing");
    victim.Kill();
    victim.Wait();

    ChildProcess late({"hold", "Killed", "786"});
    EXPECT_EQ(late.ReadLine(), "existing");
    late.Send("read 10");
    EXPECT_EQ(late.ReadLine(), "5");
    late.Send("close");
    ASSERT_EQ(late.ReadLine(), "closed");
    mine.Close();  // the killed holder must not keep it alive
    EXPECT_FALSE(FileExists(BlockFile("Killed")));
}

TEST(FileMapping, BlockLeftByAKilledSoleHolderIsRecreated) {
    {
        ChildProcess victim({"hold", "Stale", "786"});
        ASSERT_EQ(victim.ReadLine(), "new");
        victim.Send("write 0 77");
        ASSERT_EQ(victim.ReadLine(), "ok");
        victim.Kill();
        victim.Wait();
    }
    ASSERT_TRUE(FileExists(BlockFile("Stale")));
    Block next("Stale");
    EXPECT_FALSE(next.existed);
    EXPECT_TRUE(next.AllZero());
}

TEST(FileMapping, TestProgramsRemoveTheBlocksTheirKilledChildrenLeft) {
    // A test program that died left its namespace behind.
    pid_t gone = fork();
    if (gone == 0) _exit(0);
    ASSERT_GT(gone, 0);
    waitpid(gone, nullptr, 0);
    std::string orphan = "/dev/shm/lumorainner" + std::to_string(gone) + ".Left";
    { std::ofstream(orphan) << "x"; }

    std::string left;
    {
        testsupport::SharedMemoryNamespace inner("lumorainner");
        EXPECT_FALSE(FileExists(orphan));
        ChildProcess victim({"hold", "Left", "786"});
        ASSERT_EQ(victim.ReadLine(), "new");
        victim.Kill();
        victim.Wait();
        left = BlockFile("Left");
        ASSERT_TRUE(FileExists(left));
    }
    EXPECT_FALSE(FileExists(left));
    EXPECT_FALSE(FileExists(left + ".lock"));
}

TEST(FileMapping, RefusesWhatItCannotProvide) {
    EXPECT_EQ(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 0, "ZeroSize"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16, "a/b"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
    EXPECT_EQ(OpenFileMappingA(FILE_MAP_READ, FALSE, "NeverCreated"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(FileExists(BlockFile("NeverCreated") + ".lock"));
    int local = 0;
    EXPECT_FALSE(UnmapViewOfFile(&local));
}

TEST(FileMapping, EachUserHasNamesOfTheirOwn) {
    const std::string saved = std::getenv("LUMORA_SHM_NAMESPACE");
    unsetenv("LUMORA_SHM_NAMESPACE");
    const std::string name = "UserBlock" + std::to_string(getpid());
    // Another user's block of the same name, unreadable to us were we not root.
    const std::string other = "/dev/shm/lumora-" + std::to_string(getuid() + 1) + "." + name;
    std::ofstream(other) << "not ours";
    chmod(other.c_str(), 0);
    {
        Block mine(name.c_str());
        ASSERT_NE(mine.bytes, nullptr);
        EXPECT_FALSE(mine.existed);
        EXPECT_TRUE(mine.AllZero());
        EXPECT_TRUE(FileExists("/dev/shm/lumora-" + std::to_string(getuid()) + "." + name));
    }
    EXPECT_FALSE(FileExists("/dev/shm/lumora-" + std::to_string(getuid()) + "." + name));
    unlink(other.c_str());
    setenv("LUMORA_SHM_NAMESPACE", saved.c_str(), 1);
}
