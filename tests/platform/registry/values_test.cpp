// Values: types and bytes exactly as stored, size queries, buffers too small.
#include <cstring>

#include "registry_fixture.h"

namespace regtest {
namespace {

using RegistryValues = RegistryTest;

TEST_F(RegistryValues, ComeBackWithTheirTypeAndExactBytes) {
    Key key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Modules\\Bitmap", key), ERROR_SUCCESS);

    // A 260-byte path buffer: text, its terminator, then leftovers that are
    // not zero.  All 260 bytes are the value.
    std::string path(260, '\0');
    std::memcpy(path.data(), "C:\\WINDOWS\\*.BMP", 17);
    for (std::size_t i = 40; i < path.size(); ++i) path[i] = static_cast<char>(i * 7);
    ASSERT_EQ(Set(key.get(), "Path", REG_SZ, path), ERROR_SUCCESS);

    const std::string zeros("a\0b\0\0", 5);
    ASSERT_EQ(Set(key.get(), "Embedded", REG_BINARY, zeros), ERROR_SUCCESS);
    ASSERT_EQ(Set(key.get(), "NoTerminator", REG_SZ, "abc"), ERROR_SUCCESS);
    ASSERT_EQ(Set(key.get(), "Odd", 0x12345, "xy"), ERROR_SUCCESS);
    ASSERT_EQ(Set(key.get(), "Empty", REG_NONE, ""), ERROR_SUCCESS);
    ASSERT_EQ(Set(key.get(), "Control3", REG_BINARY, Dword(0xFFFFFFF6u)), ERROR_SUCCESS);

    DWORD type = 0;
    EXPECT_EQ(Get(key.get(), "Path", &type), path);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(Get(key.get(), "Embedded", &type), zeros);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(Get(key.get(), "NoTerminator", &type), "abc");
    EXPECT_EQ(Get(key.get(), "Odd", &type), "xy");
    EXPECT_EQ(type, 0x12345u);
    LONG error = 0;
    EXPECT_EQ(Get(key.get(), "Empty", &type, &error), "");
    EXPECT_EQ(error, ERROR_SUCCESS);
    EXPECT_EQ(type, REG_NONE);
    EXPECT_EQ(Get(key.get(), "Control3"), Dword(0xFFFFFFF6u));

    // Replacing a value replaces its type too.
    ASSERT_EQ(Set(key.get(), "Odd", REG_DWORD, Dword(42)), ERROR_SUCCESS);
    EXPECT_EQ(Get(key.get(), "Odd", &type), Dword(42));
    EXPECT_EQ(type, REG_DWORD);
}

TEST_F(RegistryValues, SizeQueryAndTooSmallBufferReportTheNeededSize) {
    Key key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Sizes", key), ERROR_SUCCESS);
    ASSERT_EQ(Set(key.get(), "Active", REG_SZ, std::string("[D] Bezier\0", 11)), ERROR_SUCCESS);

    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExA(key.get(), "Active", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 11u);

    // A 4-byte read of a longer value fails and leaves the caller's zeros.
    BYTE four[4] = {0, 0, 0, 0};
    size = sizeof four;
    EXPECT_EQ(RegQueryValueExA(key.get(), "Active", nullptr, nullptr, four, &size),
              static_cast<LONG>(ERROR_MORE_DATA));
    EXPECT_EQ(size, 11u);

    char exact[11];
    size = sizeof exact;
    EXPECT_EQ(RegQueryValueExA(key.get(), "Active", nullptr, nullptr, reinterpret_cast<BYTE*>(exact), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(exact, "[D] Bezier");

    EXPECT_EQ(RegQueryValueExA(key.get(), "Active", nullptr, nullptr, four, nullptr),
              static_cast<LONG>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(RegQueryValueExA(key.get(), "Missing", nullptr, nullptr, nullptr, &size),
              static_cast<LONG>(ERROR_FILE_NOT_FOUND));

    // Enumeration reads data the same way and still names the value.
    char name[16];
    DWORD nameSize = sizeof name;
    size = 4;
    EXPECT_EQ(RegEnumValueA(key.get(), 0, name, &nameSize, nullptr, &type, four, &size),
              static_cast<LONG>(ERROR_MORE_DATA));
    EXPECT_EQ(size, 11u);
    EXPECT_STREQ(name, "Active");
}

TEST_F(RegistryValues, NullAndEmptyNamesAreTheDefaultValue) {
    Key key;
    ASSERT_EQ(Create(HKEY_CLASSES_ROOT, ".LUM", key), ERROR_SUCCESS);
    ASSERT_EQ(Set(key.get(), nullptr, REG_SZ, std::string("Lumora\0", 7)), ERROR_SUCCESS);
    EXPECT_EQ(Get(key.get(), ""), std::string("Lumora\0", 7));
    ASSERT_EQ(Set(key.get(), "", REG_SZ, std::string("Other\0", 6)), ERROR_SUCCESS);
    EXPECT_EQ(Get(key.get(), nullptr), std::string("Other\0", 6));
    EXPECT_EQ(ValueNames(key.get()), std::vector<std::string>{""});
    EXPECT_EQ(RegDeleteValueA(key.get(), nullptr), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(key.get(), ""), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
}

TEST_F(RegistryValues, KeyInfoCountsAndMeasures) {
    Key key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Info", key), ERROR_SUCCESS);
    Key a, b;
    ASSERT_EQ(Create(key.get(), "Palette", a), ERROR_SUCCESS);
    ASSERT_EQ(Create(key.get(), "Modules", b), ERROR_SUCCESS);
    ASSERT_EQ(Set(key.get(), "Custom", REG_BINARY, std::string(708, '\x10')), ERROR_SUCCESS);
    ASSERT_EQ(Set(key.get(), "CycleRateRangeLo", REG_BINARY, Dword(1)), ERROR_SUCCESS);

    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxName = 0, maxData = 0;
    ASSERT_EQ(RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values,
                               &maxName, &maxData, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 2u);
    EXPECT_EQ(maxSubKey, 7u);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(maxName, 16u);
    EXPECT_EQ(maxData, 708u);
}

}  // namespace
}  // namespace regtest
