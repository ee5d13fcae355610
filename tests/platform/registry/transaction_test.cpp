// Transactions: all or nothing, and never seen half done.
#include <atomic>
#include <optional>
#include <stdexcept>
#include <thread>

#include "platform/registry/transaction.h"
#include "registry_fixture.h"

namespace regtest {
namespace {

using RegistryTransactions = RegistryTest;

DWORD ValueCount(HKEY key) {
    DWORD values = 0;
    EXPECT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_SUCCESS);
    return values;
}

void SaveDisplay(const char* name, bool fail) {
    platform::RegistryTransaction tx(HKEY_CURRENT_USER);
    Key display;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, name, display), ERROR_SUCCESS);
    ASSERT_EQ(Set(display.get(), "Priority", REG_BINARY, Dword(64)), ERROR_SUCCESS);
    Key module;
    ASSERT_EQ(Create(display.get(), "Modules\\Star", module), ERROR_SUCCESS);
    ASSERT_EQ(Set(module.get(), "Control0", REG_BINARY, Dword(3)), ERROR_SUCCESS);
    if (fail) throw std::runtime_error("abandoned");
    ASSERT_EQ(tx.commit(), ERROR_SUCCESS);
    EXPECT_EQ(tx.commit(), static_cast<LONG>(ERROR_TRANSACTION_NOT_ACTIVE));
}

TEST_F(RegistryTransactions, AnAbandonedOneLeavesNothingAndACommittedOneEverything) {
    EXPECT_THROW(SaveDisplay("Saved\\Abandoned", true), std::runtime_error);
    Key probe;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Saved", 0, KEY_READ, probe.out()),
              static_cast<LONG>(ERROR_FILE_NOT_FOUND));

    SaveDisplay("Saved\\Kept", false);
    Key module;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Saved\\Kept\\Modules\\Star", 0, KEY_READ, module.out()),
              ERROR_SUCCESS);
    EXPECT_EQ(Get(module.get(), "Control0"), Dword(3));

    // An explicit rollback, and a failed call inside that does not spoil the rest.
    {
        platform::RegistryTransaction tx(HKEY_CURRENT_USER);
        Key display;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Saved\\Kept", 0, KEY_ALL_ACCESS, display.out()), ERROR_SUCCESS);
        EXPECT_EQ(RegDeleteKeyA(display.get(), "Modules"), static_cast<LONG>(ERROR_ACCESS_DENIED));
        ASSERT_EQ(Set(display.get(), "Priority", REG_BINARY, Dword(128)), ERROR_SUCCESS);
        EXPECT_EQ(Get(display.get(), "Priority"), Dword(128));  // the transaction sees its own writes
        tx.rollback();
        EXPECT_EQ(Get(display.get(), "Priority"), Dword(64));
    }
}

TEST_F(RegistryTransactions, NestedOnesCommitIntoTheOuterOne) {
    Key key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Nested", key), ERROR_SUCCESS);
    {
        platform::RegistryTransaction outer(HKEY_CURRENT_USER);
        ASSERT_EQ(Set(key.get(), "Outer", REG_DWORD, Dword(1)), ERROR_SUCCESS);
        {
            platform::RegistryTransaction inner(key.get());
            ASSERT_EQ(Set(key.get(), "Dropped", REG_DWORD, Dword(2)), ERROR_SUCCESS);
        }
        {
            platform::RegistryTransaction inner(key.get());
            ASSERT_EQ(Set(key.get(), "Inner", REG_DWORD, Dword(3)), ERROR_SUCCESS);
            ASSERT_EQ(inner.commit(), ERROR_SUCCESS);
        }
        ASSERT_EQ(outer.commit(), ERROR_SUCCESS);
    }
    EXPECT_EQ(ValueNames(key.get()), (std::vector<std::string>{"Outer", "Inner"}));

    // Inner commits go with the outer rollback.
    {
        platform::RegistryTransaction outer(HKEY_CURRENT_USER);
        platform::RegistryTransaction inner(HKEY_CURRENT_USER);
        ASSERT_EQ(Set(key.get(), "Lost", REG_DWORD, Dword(4)), ERROR_SUCCESS);
        ASSERT_EQ(inner.commit(), ERROR_SUCCESS);
    }
    EXPECT_EQ(ValueCount(key.get()), 2u);
}

TEST_F(RegistryTransactions, OtherThreadsSeeNoneOrAllOfIt) {
    Key key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Display", key), ERROR_SUCCESS);
    constexpr DWORD kValues = 120;
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::atomic<int> reads{0};
    std::thread reader([&] {
        Key mine;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Display", 0, KEY_READ, mine.out()) != ERROR_SUCCESS) return;
        while (!done.load()) {
            DWORD values = 0;
            RegQueryInfoKeyA(mine.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                             nullptr, nullptr, nullptr);
            if (values != 0 && values != kValues) ++torn;
            ++reads;
        }
    });
    for (int round = 0; round < 5; ++round) {
        platform::RegistryTransaction tx(HKEY_CURRENT_USER);
        for (DWORD i = 0; i < kValues; ++i)
            ASSERT_EQ(Set(key.get(), ("Control" + std::to_string(i)).c_str(), REG_BINARY, Dword(i)), ERROR_SUCCESS);
        ASSERT_EQ(tx.commit(), ERROR_SUCCESS);
        // Let the reader look at the full key before it is emptied again.
        int seen = reads.load();
        while (reads.load() < seen + 2) std::this_thread::yield();
        platform::RegistryTransaction clear(HKEY_CURRENT_USER);
        for (DWORD i = 0; i < kValues; ++i)
            ASSERT_EQ(RegDeleteValueA(key.get(), ("Control" + std::to_string(i)).c_str()), ERROR_SUCCESS);
        ASSERT_EQ(clear.commit(), ERROR_SUCCESS);
    }
    done = true;
    reader.join();
    EXPECT_EQ(torn.load(), 0);
}

TEST_F(RegistryTransactions, ThreadsWritingWithAndWithoutTransactionsLoseNothing) {
    Key key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Threads", key), ERROR_SUCCESS);
    auto writer = [&](const char* prefix, bool grouped) {
        for (int batch = 0; batch < 10; ++batch) {
            std::optional<platform::RegistryTransaction> tx;
            if (grouped) tx.emplace(HKEY_CURRENT_USER);
            for (int i = 0; i < 20; ++i) {
                std::string name = prefix + std::to_string(batch * 20 + i);
                EXPECT_EQ(Set(key.get(), name.c_str(), REG_BINARY, Dword(static_cast<DWORD>(i))), ERROR_SUCCESS);
            }
            if (tx) {
                EXPECT_EQ(tx->commit(), ERROR_SUCCESS);
            }
        }
    };
    std::thread drawing(writer, "Drawing", true);
    std::thread window(writer, "Window", false);
    drawing.join();
    window.join();
    EXPECT_EQ(ValueCount(key.get()), 400u);
}

TEST_F(RegistryTransactions, AnUnknownHandleGivesAFailedTransaction) {
    HKEY closed = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "X", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &closed, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(closed);
    platform::RegistryTransaction tx(closed);
    EXPECT_EQ(tx.status(), static_cast<LONG>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(tx.commit(), static_cast<LONG>(ERROR_INVALID_HANDLE));
}

}  // namespace
}  // namespace regtest
