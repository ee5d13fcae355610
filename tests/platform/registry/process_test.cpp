// Hives shared by processes: concurrent writers, killed writers, transactions
// seen from outside, damaged files, and the keys a new hive starts with.
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/registry/files.h"
#include "platform/registry/transaction.h"
#include "platform/shell/folders.h"
#include "registry_fixture.h"

namespace regtest {
namespace {

using RegistryProcesses = RegistryTest;

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

// Runs body in a child process; the child's exit status is 0 when body
// returned true.
pid_t Spawn(const std::function<bool()>& body) {
    pid_t pid = fork();
    if (pid == 0) _exit(body() ? 0 : 1);
    return pid;
}

int ExitStatus(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool WriteValues(const char* keyName, int count) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Shared", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool ok = true;
    for (int i = 0; i < count && ok; ++i) {
        std::string name = std::string(keyName) + std::to_string(i);
        ok = Set(key, name.c_str(), REG_BINARY, Dword(static_cast<DWORD>(i))) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return ok;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(RegistryProcesses, TwoWritersAtOnceLoseNothing) {
    Key shared;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Shared", shared), ERROR_SUCCESS);  // the parent has the hive open too
    pid_t a = Spawn([] { return WriteValues("A", 500); });
    pid_t b = Spawn([] { return WriteValues("B", 500); });
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    EXPECT_EQ(ExitStatus(a), 0);
    EXPECT_EQ(ExitStatus(b), 0);
    EXPECT_EQ(ValueNames(shared.get()).size(), 1000u);
    for (int i = 0; i < 500; i += 37) {
        EXPECT_EQ(Get(shared.get(), ("A" + std::to_string(i)).c_str()), Dword(static_cast<DWORD>(i)));
        EXPECT_EQ(Get(shared.get(), ("B" + std::to_string(i)).c_str()), Dword(static_cast<DWORD>(i)));
    }
}

TEST_F(RegistryProcesses, AWriterKilledMidwayLeavesEveryCompletedWrite) {
    int progress[2];
    ASSERT_EQ(pipe(progress), 0);
    pid_t writer = Spawn([&] {
        close(progress[0]);
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Killed", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        for (DWORD i = 0;; ++i) {
            if (Set(key, ("Value" + std::to_string(i)).c_str(), REG_BINARY, std::string(64, 'a' + i % 26)) !=
                ERROR_SUCCESS)
                return false;
            if (write(progress[1], &i, sizeof i) != static_cast<ssize_t>(sizeof i)) return false;
        }
    });
    ASSERT_GT(writer, 0);
    close(progress[1]);
    DWORD last = 0;
    bool any = false;
    while (!any || last < 300) {
        ASSERT_EQ(read(progress[0], &last, sizeof last), static_cast<ssize_t>(sizeof last));
        any = true;
    }
    kill(writer, SIGKILL);
    EXPECT_EQ(ExitStatus(writer), 128 + SIGKILL);
    DWORD more = 0;
    while (read(progress[0], &more, sizeof more) == static_cast<ssize_t>(sizeof more)) last = more;
    close(progress[0]);

    Key key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Killed", 0, KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
    for (DWORD i = 0; i <= last; ++i)
        ASSERT_EQ(Get(key.get(), ("Value" + std::to_string(i)).c_str()), std::string(64, 'a' + i % 26)) << i;
    EXPECT_EQ(Set(key.get(), "AfterTheKill", REG_DWORD, Dword(1)), ERROR_SUCCESS);
}

TEST_F(RegistryProcesses, AnotherProcessSeesATransactionWholeOrNotAtAll) {
    Key key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Atomic", key), ERROR_SUCCESS);
    constexpr DWORD kValues = 300;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t observer = Spawn([&] {
        close(ready[0]);
        HKEY mine = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Atomic", 0, KEY_READ, &mine) != ERROR_SUCCESS) return false;
        char go = 1;
        if (write(ready[1], &go, 1) != 1) return false;
        for (;;) {
            DWORD values = 0;
            if (RegQueryInfoKeyA(mine, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                                 nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                return false;
            if (values == kValues) return true;
            if (values != 0) return false;
        }
    });
    ASSERT_GT(observer, 0);
    close(ready[1]);
    char go = 0;
    ASSERT_EQ(read(ready[0], &go, 1), 1);
    close(ready[0]);
    {
        platform::RegistryTransaction tx(HKEY_CURRENT_USER);
        for (DWORD i = 0; i < kValues; ++i)
            ASSERT_EQ(Set(key.get(), ("Check" + std::to_string(i)).c_str(), REG_BINARY, Dword(i)), ERROR_SUCCESS);
        ASSERT_EQ(tx.commit(), ERROR_SUCCESS);
    }
    EXPECT_EQ(ExitStatus(observer), 0);
}

TEST_F(RegistryProcesses, ANewUserHiveHoldsTheShellFolders) {
    testsupport::TempDir home;
    ScopedEnv homeVariable("HOME", home.str());
    ScopedEnv configVariable("XDG_CONFIG_HOME", home.str() + "/config");
    std::filesystem::create_directories(home.path() / "config");
    std::ofstream(home.path() / "config/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n";

    Key folders;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                            0, KEY_READ, folders.out()),
              ERROR_SUCCESS);
    DWORD type = 0;
    EXPECT_EQ(Get(folders.get(), "Desktop", &type), home.str() + "/Bureau" + '\0');
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(Get(folders.get(), "Startup", &type), home.str() + "/config/autostart" + '\0');
    EXPECT_EQ(type, REG_SZ);
    EXPECT_TRUE(std::filesystem::exists(platform::RegistryHiveFile(HKEY_CURRENT_USER)));
    EXPECT_EQ(platform::RegistryHiveFile(HKEY_CLASSES_ROOT), platform::RegistryHiveFile(HKEY_LOCAL_MACHINE));
}

TEST_F(RegistryProcesses, ADamagedHiveFailsCleanlyAndIsNeverOverwritten) {
    std::filesystem::path dir = root_.path() / "registry";
    std::filesystem::create_directories(dir);
    std::string garbage;
    for (int i = 0; i < 8192; ++i) garbage += static_cast<char>((i * 131 + 7) & 0xFF);
    std::ofstream(dir / "user.db", std::ios::binary) << garbage;

    Key key;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.out()), static_cast<LONG>(ERROR_BADDB));
    EXPECT_EQ(Create(HKEY_CURRENT_USER, "Software\\Lumora", key), static_cast<LONG>(ERROR_BADDB));
    {
        platform::RegistryTransaction tx(HKEY_CURRENT_USER);
        EXPECT_EQ(tx.commit(), static_cast<LONG>(ERROR_BADDB));
    }
    EXPECT_TRUE(ReadFile(dir / "user.db") == garbage) << "the damaged hive was changed";

    // The machine hive is separate and works.
    Key machine;
    EXPECT_EQ(Create(HKEY_LOCAL_MACHINE, "Software\\Tonalyx", machine), ERROR_SUCCESS);

    // Mended, the hive works again without a restart.
    std::filesystem::remove(dir / "user.db");
    EXPECT_EQ(Create(HKEY_CURRENT_USER, "Software\\Lumora", key), ERROR_SUCCESS);
}

TEST_F(RegistryProcesses, AnotherDatabaseOrAnUnopenableFileIsNotAHive) {
    std::filesystem::path dir = root_.path() / "registry";
    std::filesystem::create_directories(dir);
    // A directory where the file should be cannot be opened at all.
    std::filesystem::create_directories(dir / "machine.db");
    Key key;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, key.out()),
              static_cast<LONG>(ERROR_CANTOPEN));

    // A database of something else is refused and left as it is.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((dir / "user.db").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes(text); INSERT INTO notes VALUES('keep me')", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    std::string kept = ReadFile(dir / "user.db");
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.out()), static_cast<LONG>(ERROR_BADDB));
    EXPECT_EQ(Create(HKEY_CURRENT_USER, "Software", key), static_cast<LONG>(ERROR_BADDB));
    EXPECT_TRUE(ReadFile(dir / "user.db") == kept) << "the foreign database was changed";
}

TEST_F(RegistryProcesses, AHiveWithoutPermissionGivesAccessDenied) {
    namespace fs = std::filesystem;
    fs::path dir = root_.path() / "registry";
    fs::create_directories(dir);
    std::ofstream(dir / "machine.db") << "";
    fs::permissions(dir / "machine.db", fs::perms::none);
    fs::permissions(root_.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(dir, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    // Permissions do not stop root, so a root run tries as nobody.
    pid_t child = Spawn([] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return false;
        HKEY key = nullptr;
        return RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key) == ERROR_ACCESS_DENIED;
    });
    ASSERT_GT(child, 0);
    EXPECT_EQ(ExitStatus(child), 0);
}

}  // namespace
}  // namespace regtest
