// Names: case-insensitive and case-preserving; enumeration order; limits.
#include "registry_fixture.h"

namespace regtest {
namespace {

using RegistryNames = RegistryTest;

TEST_F(RegistryNames, KeysAndValuesMatchAnyCaseAndKeepTheirFirstSpelling) {
    Key made;
    DWORD disposition = 0;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Control Panel\\Screen Saver.Lumora", made, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));

    Key again;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "CONTROL PANEL\\screen saver.LUMORA", again, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));

    ASSERT_EQ(Set(made.get(), "ClearFirst", REG_BINARY, Dword(1)), ERROR_SUCCESS);
    ASSERT_EQ(Set(again.get(), "CLEARFIRST", REG_BINARY, Dword(0)), ERROR_SUCCESS);
    EXPECT_EQ(Get(made.get(), "clearfirst"), Dword(0));
    EXPECT_EQ(ValueNames(made.get()), std::vector<std::string>{"ClearFirst"});

    Key parent;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "control panel", 0, KEY_READ, parent.out()), ERROR_SUCCESS);
    EXPECT_EQ(SubKeys(parent.get()), std::vector<std::string>{"Screen Saver.Lumora"});
}

TEST_F(RegistryNames, SubKeysSortCaseInsensitivelyAndValuesKeepCreationOrder) {
    Key key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Order", key), ERROR_SUCCESS);
    // Upper-case folding puts "[" and "_" after the letters, as Windows does.
    for (const char* name : {"beta", "[D] Star", "Alpha", "_x", "Capture #2", "capture #10", "ALPHA2"}) {
        Key child;
        ASSERT_EQ(Create(key.get(), name, child), ERROR_SUCCESS) << name;
    }
    EXPECT_EQ(SubKeys(key.get()), (std::vector<std::string>{"Alpha", "ALPHA2", "beta", "capture #10", "Capture #2",
                                                            "[D] Star", "_x"}));

    for (const char* name : {"Zeta", "alpha", "Mid"}) ASSERT_EQ(Set(key.get(), name, REG_DWORD, Dword(1)), ERROR_SUCCESS);
    ASSERT_EQ(Set(key.get(), "ALPHA", REG_BINARY, "overwritten"), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteValueA(key.get(), "zeta"), ERROR_SUCCESS);
    ASSERT_EQ(Set(key.get(), "Zeta", REG_DWORD, Dword(2)), ERROR_SUCCESS);
    EXPECT_EQ(ValueNames(key.get()), (std::vector<std::string>{"alpha", "Mid", "Zeta"}));

    // Enumeration ends with ERROR_NO_MORE_ITEMS, as loops over indexes rely on.
    char name[16];
    DWORD size = sizeof name;
    EXPECT_EQ(RegEnumValueA(key.get(), 3, name, &size, nullptr, nullptr, nullptr, nullptr),
              static_cast<LONG>(ERROR_NO_MORE_ITEMS));
    size = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(key.get(), 7, name, &size, nullptr, nullptr, nullptr, nullptr),
              static_cast<LONG>(ERROR_NO_MORE_ITEMS));
}

TEST_F(RegistryNames, NameBuffersThatAreTooSmallGiveMoreData) {
    Key key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Small", key), ERROR_SUCCESS);
    Key child;
    ASSERT_EQ(Create(key.get(), "Twelve chars", child), ERROR_SUCCESS);
    ASSERT_EQ(Set(key.get(), "Twelve chars", REG_DWORD, Dword(7)), ERROR_SUCCESS);

    char name[13];
    DWORD size = 12;  // no room for the terminating zero
    EXPECT_EQ(RegEnumKeyExA(key.get(), 0, name, &size, nullptr, nullptr, nullptr, nullptr),
              static_cast<LONG>(ERROR_MORE_DATA));
    size = 12;
    EXPECT_EQ(RegEnumValueA(key.get(), 0, name, &size, nullptr, nullptr, nullptr, nullptr),
              static_cast<LONG>(ERROR_MORE_DATA));
    size = 13;
    EXPECT_EQ(RegEnumKeyExA(key.get(), 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(size, 12u);
    EXPECT_STREQ(name, "Twelve chars");
}

TEST_F(RegistryNames, NamesLongerThanTheWin32LimitsAreRefused) {
    Key key;
    std::string longest(255, 'k');
    EXPECT_EQ(Create(HKEY_CURRENT_USER, longest.c_str(), key), ERROR_SUCCESS);
    Key refused;
    std::string tooLong(256, 'k');
    EXPECT_EQ(Create(HKEY_CURRENT_USER, ("Ok\\" + tooLong).c_str(), refused),
              static_cast<LONG>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Ok", 0, KEY_READ, refused.out()),
              static_cast<LONG>(ERROR_FILE_NOT_FOUND));

    std::string valueName(16383, 'v');
    EXPECT_EQ(Set(key.get(), valueName.c_str(), REG_DWORD, Dword(1)), ERROR_SUCCESS);
    valueName += 'v';
    EXPECT_EQ(Set(key.get(), valueName.c_str(), REG_DWORD, Dword(1)), static_cast<LONG>(ERROR_INVALID_PARAMETER));
}

}  // namespace
}  // namespace regtest
