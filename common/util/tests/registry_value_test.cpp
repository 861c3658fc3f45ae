#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "common/util/registry_int.h"
#include "common/util/registry_string.h"
#include "platform/registry/registry.h"
#include "platform/registry/store.h"
#include "testing/environment/temporary_home.h"

using namespace common;
using namespace platform::registry;

namespace {

constexpr const wchar_t* kPath = L"Software\\Olvan\\Tamrix\\Setting";

std::optional<std::wstring> storedText(const wchar_t* keyPath = L"Software\\Olvan\\Tamrix",
                                       const wchar_t* name = L"Setting") {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    wchar_t buffer[256] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    const LONG status =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ) {
        return std::nullopt;
    }
    return std::wstring(buffer);
}

void store(DWORD type, const void* data, DWORD size,
           const wchar_t* keyPath = L"Software\\Olvan\\Tamrix", const wchar_t* name = L"Setting") {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void storeText(const std::wstring& text) {
    store(REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

class RegistryBoundValues : public ::testing::Test {
  protected:
    ScopedMemoryRegistry memory;
};

struct FlagCase {
    int flags;
    const wchar_t* afterConstruction;
    const wchar_t* afterAssigningNew;
    const wchar_t* afterDestruction;
    // Stored text after assigning the value held right after construction, then destroying.
    const wchar_t* afterAssigningSame;
};

class RegistryFlags : public RegistryBoundValues, public ::testing::WithParamInterface<FlagCase> {};

}  // namespace

TEST_P(RegistryFlags, ConstructAssignAndDestroyFollowTheFlags) {
    const FlagCase& c = GetParam();
    storeText(L"old");
    {
        registry_string<std::wstring> value(kPath, HKEY_CURRENT_USER, L"def", c.flags);
        EXPECT_EQ(value.value, c.afterConstruction);
        value = std::wstring(L"new");
        EXPECT_EQ(value.value, L"new");
        EXPECT_EQ(storedText(), c.afterAssigningNew);
    }
    EXPECT_EQ(storedText(), c.afterDestruction);

    storeText(L"old");
    {
        registry_string<std::wstring> value(kPath, HKEY_CURRENT_USER, L"def", c.flags);
        value = std::wstring(value.value);
    }
    EXPECT_EQ(storedText(), c.afterAssigningSame);
}

INSTANTIATE_TEST_SUITE_P(AllCombinations, RegistryFlags,
                         ::testing::Values(FlagCase{0, L"old", L"old", L"new", L"old"},
                                           FlagCase{1, L"def", L"new", L"new", L"old"},
                                           FlagCase{2, L"old", L"old", L"old", L"old"},
                                           FlagCase{3, L"def", L"new", L"new", L"old"},
                                           FlagCase{4, L"def", L"new", L"new", L"def"},
                                           FlagCase{5, L"def", L"new", L"new", L"def"},
                                           FlagCase{6, L"def", L"new", L"new", L"old"},
                                           FlagCase{7, L"def", L"new", L"new", L"old"}),
                         [](const auto& info) {
                             return "Flags" + std::to_string(info.param.flags);
                         });

TEST_F(RegistryBoundValues, DeferredWriteBackOnlyWhenStoredOrChanged) {
    { registry_string<std::wstring> untouched(kPath, HKEY_CURRENT_USER, L"def", 0); }
    EXPECT_EQ(storedText(), std::nullopt);

    // A stored value is written back unchanged, so it wins over a later change by another.
    storeText(L"mine");
    {
        registry_string<std::wstring> first(kPath, HKEY_CURRENT_USER, L"def", 0);
        storeText(L"theirs");
    }
    EXPECT_EQ(storedText(), L"mine");

    // Flag 4 writes a default that was never stored; flag 0 does not.
    {
        registry_string<std::wstring> plain(L"Software\\Olvan\\Tamrix\\Plain", HKEY_CURRENT_USER,
                                            L"def", 0);
        EXPECT_FALSE(plain.save());
        registry_string<std::wstring> always(L"Software\\Olvan\\Tamrix\\Always", HKEY_CURRENT_USER,
                                             L"def", 4);
        EXPECT_TRUE(always.save());
    }
    EXPECT_EQ(storedText(L"Software\\Olvan\\Tamrix", L"Plain"), std::nullopt);
    EXPECT_EQ(storedText(L"Software\\Olvan\\Tamrix", L"Always"), L"def");
}

TEST_F(RegistryBoundValues, TextIsTakenUpToTheFirstLineFeed) {
    storeText(L"first\r\nsecond");
    registry_string<std::wstring> value(kPath, HKEY_CURRENT_USER, L"def", 2);
    EXPECT_EQ(value.value, L"first\r");

    store(REG_SZ, nullptr, 0);
    EXPECT_TRUE(value.load());
    EXPECT_EQ(value.value, L"");
    EXPECT_TRUE(value.exists());
}

TEST_F(RegistryBoundValues, WrongTypeReadsAsDefaultAndIsOverwritten) {
    const DWORD number = 5;
    store(REG_DWORD, &number, sizeof number);
    {
        registry_string<std::wstring> text(kPath, HKEY_CURRENT_USER, L"def", 0);
        EXPECT_EQ(text.value, L"def");
        EXPECT_FALSE(text.load());
        EXPECT_TRUE(text.exists());
    }
    EXPECT_EQ(storedText(), L"def");

    registry_int<std::int32_t> wrong(kPath, HKEY_CURRENT_USER, 9, 2);
    EXPECT_EQ(wrong.value, 9);
    const char three[3] = {1, 2, 3};
    store(REG_DWORD, three, sizeof three);
    EXPECT_FALSE(wrong.load());
    EXPECT_EQ(wrong.value, 9);
}

TEST_F(RegistryBoundValues, NumbersKeepTheirFullRange) {
    {
        registry_int<std::int32_t> signedValue(kPath, HKEY_CURRENT_USER, 0, 1);
        signedValue = -2;
        registry_int<std::uint32_t> unsignedValue(L"Software\\Olvan\\Tamrix\\Big",
                                                  HKEY_CURRENT_USER, 0, 1);
        unsignedValue = 0xFFFFFFF0u;
    }
    registry_int<std::int32_t> signedValue(kPath, HKEY_CURRENT_USER, 0, 0);
    EXPECT_EQ(signedValue.value, -2);
    registry_int<std::uint32_t> unsignedValue(L"Software\\Olvan\\Tamrix\\Big", HKEY_CURRENT_USER, 0,
                                              0);
    EXPECT_EQ(static_cast<std::uint32_t>(unsignedValue), 0xFFFFFFF0u);
}

TEST_F(RegistryBoundValues, PathWithoutBackslashNamesKeyAndValueAlike) {
    {
        registry_int<std::int32_t> value(L"Lonely", HKEY_CURRENT_USER, 0, 1);
        EXPECT_EQ(value.keyPath(), L"Lonely");
        EXPECT_EQ(value.valueName(), L"Lonely");
        value = 3;
    }
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Lonely", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, L"Lonely", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(RegistryBoundValues, ContentTypesReadFromTheClassesRootAndCannotBeWritten) {
    registry_string<std::wstring> type(L".png\\Content Type", HKEY_CLASSES_ROOT, L"", 0);
    EXPECT_EQ(type.value, L"image/png");
    type = std::wstring(L"text/plain");
    EXPECT_FALSE(type.save());
    registry_string<std::wstring> again(L".png\\Content Type", HKEY_CLASSES_ROOT, L"", 2);
    EXPECT_EQ(again.value, L"image/png");
}

TEST(RegistryBoundValuesOnDisk, SettingsSurviveInTheUserFile) {
    testing_environment::TemporaryHome home;
    {
        registry_string<std::wstring> language(L"Software\\Olvan\\Tamrix\\Language",
                                               HKEY_CURRENT_USER, L"en", 0);
        language = std::wstring(L"de");
    }
    registry_string<std::wstring> language(L"Software\\Olvan\\Tamrix\\Language", HKEY_CURRENT_USER,
                                           L"en", 2);
    EXPECT_EQ(language.value, L"de");
    EXPECT_TRUE(std::filesystem::exists(home.configHome() / "Olvan" / "registry.txt"));
}
