// Keys: creation, opening, deletion leaf first, rights, stale handles, roots.
#include "registry_fixture.h"

namespace regtest {
namespace {

using RegistryKeys = RegistryTest;

TEST_F(RegistryKeys, CreateMakesEveryMissingKeyAndOpenFindsOnlyExistingOnes) {
    Key missing;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Lumora", 0, KEY_READ, missing.out()),
              static_cast<LONG>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(missing.get(), nullptr);

    Key deep;
    DWORD disposition = 0;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Software\\Lumora\\Saved\\Night\\", deep, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    Key middle;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Lumora\\Saved", 0, KEY_READ, middle.out()), ERROR_SUCCESS);
    EXPECT_EQ(SubKeys(middle.get()), std::vector<std::string>{"Night"});

    // An empty path is another handle to the same key.
    Key same;
    ASSERT_EQ(RegOpenKeyExA(deep.get(), nullptr, 0, KEY_ALL_ACCESS, same.out()), ERROR_SUCCESS);
    ASSERT_EQ(Set(same.get(), "Speed", REG_DWORD, Dword(3)), ERROR_SUCCESS);
    EXPECT_EQ(Get(deep.get(), "Speed"), Dword(3));

    Key bad;
    EXPECT_EQ(Create(HKEY_CURRENT_USER, "\\Leading", bad), static_cast<LONG>(ERROR_INVALID_PARAMETER));
}

TEST_F(RegistryKeys, DeletingAKeyWithSubKeysFailsAndLeavesItWhole) {
    Key display;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Saved\\Show", display), ERROR_SUCCESS);
    ASSERT_EQ(Set(display.get(), "ShowName", REG_BINARY, Dword(5)), ERROR_SUCCESS);
    Key module;
    ASSERT_EQ(Create(display.get(), "Modules\\Plasma", module), ERROR_SUCCESS);
    ASSERT_EQ(Set(module.get(), "Control0", REG_BINARY, Dword(9)), ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Saved\\Show"), static_cast<LONG>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Get(display.get(), "ShowName"), Dword(5));
    EXPECT_EQ(Get(module.get(), "Control0"), Dword(9));

    // Leaf first works, each deletion taking the key's values with it.
    EXPECT_EQ(RegDeleteKeyA(display.get(), "Modules\\Plasma"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(display.get(), "Modules\\Plasma"), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(RegDeleteKeyA(display.get(), "Modules"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Saved\\Show"), ERROR_SUCCESS);
    Key reopened;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Saved\\Show", reopened), ERROR_SUCCESS);
    EXPECT_TRUE(ValueNames(reopened.get()).empty());

    // A handle to a deleted key fails instead of writing into nothing.
    EXPECT_EQ(Set(display.get(), "ShowName", REG_BINARY, Dword(1)), static_cast<LONG>(ERROR_KEY_DELETED));
    EXPECT_EQ(Set(module.get(), "Control0", REG_BINARY, Dword(1)), static_cast<LONG>(ERROR_KEY_DELETED));
    char name[8];
    DWORD size = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(module.get(), 0, name, &size, nullptr, nullptr, nullptr, nullptr),
              static_cast<LONG>(ERROR_KEY_DELETED));
}

TEST_F(RegistryKeys, AccessRightsOfTheHandleAreEnforced) {
    Key made;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Rights", made), ERROR_SUCCESS);
    ASSERT_EQ(Set(made.get(), "Kept", REG_DWORD, Dword(1)), ERROR_SUCCESS);

    Key reader;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Rights", 0, KEY_READ, reader.out()), ERROR_SUCCESS);
    EXPECT_EQ(Set(reader.get(), "New", REG_DWORD, Dword(2)), static_cast<LONG>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(RegDeleteValueA(reader.get(), "Kept"), static_cast<LONG>(ERROR_ACCESS_DENIED));
    Key child;
    EXPECT_EQ(RegCreateKeyExA(reader.get(), "Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, child.out(), nullptr),
              static_cast<LONG>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(RegDeleteKeyA(reader.get(), ""), static_cast<LONG>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Get(reader.get(), "Kept"), Dword(1));

    Key writer;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Rights", 0, KEY_WRITE, writer.out()), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(writer.get(), "Kept", nullptr, nullptr, nullptr, &size),
              static_cast<LONG>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Set(writer.get(), "New", REG_DWORD, Dword(2)), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, ClosedAndUnknownHandlesAreRefused) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Closing", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(handle), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(handle), static_cast<LONG>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(Set(handle, "x", REG_DWORD, Dword(1)), static_cast<LONG>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(RegCloseKey(nullptr), static_cast<LONG>(ERROR_INVALID_HANDLE));
    // The predefined roots stay usable after a close.
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    Key again;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Closing", 0, KEY_READ, again.out()), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, ClassesRootIsMachineSoftwareClasses) {
    Key type;
    ASSERT_EQ(Create(HKEY_CLASSES_ROOT, "Lumora\\DefaultIcon", type), ERROR_SUCCESS);
    ASSERT_EQ(Set(type.get(), nullptr, REG_SZ, std::string("/usr/bin/lumora,2\0", 18)), ERROR_SUCCESS);

    Key viaMachine;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software\\classes\\LUMORA\\defaulticon", 0, KEY_ALL_ACCESS,
                            viaMachine.out()),
              ERROR_SUCCESS);
    EXPECT_EQ(Get(viaMachine.get(), nullptr), std::string("/usr/bin/lumora,2\0", 18));
    ASSERT_EQ(Set(viaMachine.get(), "Extra", REG_DWORD, Dword(1)), ERROR_SUCCESS);
    EXPECT_EQ(Get(type.get(), "Extra"), Dword(1));

    // The same key from both sides: deleting through one removes it for both.
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Classes\\Lumora\\DefaultIcon"), ERROR_SUCCESS);
    Key gone;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "Lumora\\DefaultIcon", 0, KEY_READ, gone.out()),
              static_cast<LONG>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "Lumora"), ERROR_SUCCESS);

    // The key behind a root cannot go, even when it is empty.
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Classes"), static_cast<LONG>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, ""), static_cast<LONG>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, ""), static_cast<LONG>(ERROR_ACCESS_DENIED));
}

}  // namespace
}  // namespace regtest
