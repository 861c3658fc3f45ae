#include "addon/shell/module_version.h"

#include <gtest/gtest.h>

namespace {

using addon::CModuleVersion;

TEST(ModuleVersion, TheAddonsOwnBlockNamesItsProduct) {
    const std::wstring self = addon::thisModuleVersionName();
    ASSERT_FALSE(self.empty());
    CModuleVersion version;
    ASSERT_TRUE(version.Load(self.c_str()));
    EXPECT_EQ(version.GetValue(L"ProductName"), L"Tamrix");
    EXPECT_FALSE(version.GetValue(L"ProductVersion").empty());
    EXPECT_EQ(version.fixedInfo().signature, addon::kFixedFileInfoSignature);
    EXPECT_EQ(version.language(), 0x0409);
    EXPECT_EQ(version.codePage(), 1252);
    EXPECT_EQ(version.GetValue(L"NoSuchValue"), L"");
    // The test program links the add-on, so the program's block is the same one.
    EXPECT_TRUE(CModuleVersion().Load(nullptr));
}

TEST(ModuleVersion, ModulesAreFoundByFileNameOrPathAndReadUnderTheirFirstTranslation) {
    addon::VersionResource resource;
    resource.fixed.signature = addon::kFixedFileInfoSignature;
    resource.hasTranslation = true;
    resource.language = 0x0407;
    resource.codePage = 1200;
    resource.stringTables[L"040704b0"] = {{L"ProductVersion", L"2.5"}};
    resource.stringTables[L"040904e4"] = {{L"ProductVersion", L"9.9"}};
    addon::registerVersionResource(L"/opt/test/bin/other.so", resource);

    CModuleVersion version;
    ASSERT_TRUE(version.Load(L"other.so"));
    EXPECT_EQ(version.GetValue(L"ProductVersion"), L"2.5");
    ASSERT_TRUE(version.Load(L"/opt/test/bin/other.so"));
    EXPECT_FALSE(version.Load(L"Other.so"));
    EXPECT_EQ(version.GetValue(L"ProductVersion"), L"");
    EXPECT_FALSE(version.Load(L"missing.so"));

    // Without a translation the default language and code page 1252 are used; a block
    // without the signature does not load.
    addon::VersionResource bare;
    bare.stringTables[L"000004e4"] = {{L"ProductName", L"Bare"}};
    addon::registerVersionResource(L"/opt/test/bin/bare.so", bare);
    EXPECT_FALSE(version.Load(L"bare.so"));
    bare.fixed.signature = addon::kFixedFileInfoSignature;
    addon::registerVersionResource(L"/opt/test/bin/bare.so", bare);
    ASSERT_TRUE(version.Load(L"bare.so"));
    EXPECT_EQ(version.GetValue(L"ProductName"), L"Bare");
}

}  // namespace
