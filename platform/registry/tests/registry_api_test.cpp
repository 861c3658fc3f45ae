#include <gtest/gtest.h>

#include "platform/registry/registry.h"
#include "platform/registry/store.h"
#include "registry_test_support.h"

using namespace platform::registry;
using namespace registry_test;

namespace {

class RegistryApi : public ::testing::Test {
  protected:
    ScopedMemoryRegistry memory;
};

}  // namespace

TEST_F(RegistryApi, CreatesKeysAndReadsValuesBackWithoutRegardToCase) {
    DWORD disposition = 0;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_EQ(setText(key, L"Language", L"de"), ERROR_SUCCESS);
    EXPECT_EQ(setNumber(key, L"Count", 42), ERROR_SUCCESS);
    RegCloseKey(key);

    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\olvan\\TAMRIX", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(text(key, L"LANGUAGE"), L"de");
    DWORD type = 0;
    DWORD number = 0;
    DWORD size = sizeof number;
    EXPECT_EQ(
        RegQueryValueExW(key, L"count", nullptr, &type, reinterpret_cast<BYTE*>(&number), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(number, 42u);
    EXPECT_EQ(RegQueryValueExW(key, L"Missing", nullptr, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);

    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"software\\OLVAN\\tamrix", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(key);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Nothing", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
}

TEST_F(RegistryApi, BuffersFollowTheSizeProtocol) {
    HKEY key = create(HKEY_CURRENT_USER, L"Buffers");
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(setText(key, L"Name", L"abcdef"), ERROR_SUCCESS);
    const DWORD needed = 7 * sizeof(wchar_t);

    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, L"Name", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, needed);
    wchar_t small[3];
    size = sizeof small;
    EXPECT_EQ(
        RegQueryValueExW(key, L"Name", nullptr, nullptr, reinterpret_cast<BYTE*>(small), &size),
        ERROR_MORE_DATA);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(
        RegQueryValueExW(key, L"Name", nullptr, nullptr, reinterpret_cast<BYTE*>(small), nullptr),
        ERROR_INVALID_PARAMETER);

    wchar_t name[5];
    DWORD nameChars = 5;
    size = 0;
    EXPECT_EQ(RegEnumValueW(key, 0, name, &nameChars, nullptr, nullptr, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(name, L"Name");
    EXPECT_EQ(nameChars, 4u);
    EXPECT_EQ(size, needed);
    nameChars = 4;
    EXPECT_EQ(RegEnumValueW(key, 0, name, &nameChars, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);

    RegCloseKey(create(key, L"LongerName"));
    nameChars = 5;
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &nameChars), ERROR_MORE_DATA);
    EXPECT_EQ(RegEnumKeyExW(key, 1, name, &nameChars), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumValueW(key, 1, name, &nameChars, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(RegistryApi, EnumeratesInNameOrderAndDeletes) {
    HKEY key = create(HKEY_CURRENT_USER, L"Order");
    ASSERT_NE(key, nullptr);
    for (const wchar_t* name : {L"beta", L"Alpha", L"gamma"}) {
        ASSERT_EQ(setNumber(key, name, 1), ERROR_SUCCESS);
        RegCloseKey(create(key, name));
    }
    std::vector<std::wstring> values;
    std::vector<std::wstring> keys;
    wchar_t name[64];
    for (DWORD i = 0;; ++i) {
        DWORD chars = 64;
        if (RegEnumValueW(key, i, name, &chars, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        values.emplace_back(name, chars);
    }
    for (DWORD i = 0;; ++i) {
        DWORD chars = 64;
        if (RegEnumKeyExW(key, i, name, &chars) != ERROR_SUCCESS)
            break;
        keys.emplace_back(name, chars);
    }
    const std::vector<std::wstring> expected{L"Alpha", L"beta", L"gamma"};
    EXPECT_EQ(values, expected);
    EXPECT_EQ(keys, expected);

    HKEY child = create(key, L"beta\\deeper");
    EXPECT_EQ(RegDeleteKeyW(key, L"BETA"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteTreeW(key, L"BETA"), ERROR_SUCCESS);
    EXPECT_EQ(setNumber(child, L"x", 1), ERROR_KEY_DELETED);
    RegCloseKey(child);
    EXPECT_EQ(RegDeleteKeyW(key, L"gamma"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key, L"ALPHA"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key, L"alpha"), ERROR_FILE_NOT_FOUND);
    DWORD chars = 64;
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &chars), ERROR_SUCCESS);
    EXPECT_STREQ(name, L"Alpha");
    chars = 64;
    EXPECT_EQ(RegEnumKeyExW(key, 1, name, &chars), ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(RegistryApi, AccessRightsAndReadOnlyRootsAreEnforced) {
    HKEY key = create(HKEY_CURRENT_USER, L"Rights");
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Rights", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(setNumber(key, L"x", 1), ERROR_ACCESS_DENIED);
    RegCloseKey(key);

    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L".png", 0, KEY_ALL_ACCESS, &key),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L".new", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegOpenKeyExW(nullptr, L"x", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(RegistryApi, ClassesRootKnowsContentTypes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L".PNG", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(text(key, L"Content Type"), L"image/png");
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L".html", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(text(key, L"Content Type"), L"text/html");
    RegCloseKey(key);
}

TEST_F(RegistryApi, CopyIntoOwnSubtreeCopiesOnceAndEnds) {
    HKEY source = create(HKEY_CURRENT_USER, L"Tree");
    ASSERT_EQ(setText(source, L"top", L"1"), ERROR_SUCCESS);
    HKEY child = create(source, L"a\\b");
    ASSERT_EQ(setNumber(child, L"leaf", 7), ERROR_SUCCESS);
    RegCloseKey(child);

    HKEY destination = create(HKEY_CURRENT_USER, L"Tree\\a\\copy");
    ASSERT_EQ(RegCopyTreeW(source, nullptr, destination), ERROR_SUCCESS);
    RegCloseKey(destination);

    HKEY copied = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Tree\\a\\copy\\a\\b", 0, KEY_READ, &copied),
              ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(copied, L"leaf", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    RegCloseKey(copied);
    // The destination existed (empty) when the source was read, so it is copied once, empty.
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Tree\\a\\copy\\a\\copy", 0, KEY_READ, &copied),
              ERROR_SUCCESS);
    wchar_t name[8];
    DWORD chars = 8;
    EXPECT_EQ(RegEnumKeyExW(copied, 0, name, &chars), ERROR_NO_MORE_ITEMS);
    RegCloseKey(copied);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Tree\\a\\copy", 0, KEY_READ, &copied),
              ERROR_SUCCESS);
    EXPECT_EQ(text(copied, L"top"), L"1");
    RegCloseKey(copied);
    RegCloseKey(source);
}
