#include <gtest/gtest.h>

#include "common/util/message_box.h"
#include "common/util/registry_int.h"
#include "common/util/registry_tools.h"
#include "platform/registry/registry.h"
#include "platform/registry/store.h"

using namespace common;
using namespace platform::registry;
namespace ui = platform::ui;

TEST(RegistryTools, CopyIntoOwnSubtreeEnds) {
    ScopedMemoryRegistry memory;
    {
        registry_int<std::int32_t> a(L"Software\\Olvan\\Tamrix\\A", HKEY_CURRENT_USER, 0, 1);
        a = 1;
        registry_int<std::int32_t> b(L"Software\\Olvan\\Tamrix\\Sub\\B", HKEY_CURRENT_USER, 0, 1);
        b = 2;
    }
    HKEY source = nullptr;
    ASSERT_EQ(
        RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix", 0, KEY_ALL_ACCESS, &source),
        ERROR_SUCCESS);
    EXPECT_EQ(copyRegistryKey(source, source, L"Sub\\Backup"), ERROR_SUCCESS);
    RegCloseKey(source);

    registry_int<std::int32_t> a(L"Software\\Olvan\\Tamrix\\Sub\\Backup\\A", HKEY_CURRENT_USER, 0,
                                 2);
    registry_int<std::int32_t> b(L"Software\\Olvan\\Tamrix\\Sub\\Backup\\Sub\\B", HKEY_CURRENT_USER,
                                 0, 2);
    EXPECT_EQ(a.value, 1);
    EXPECT_EQ(b.value, 2);

    HKEY missing = nullptr;
    EXPECT_NE(copyRegistryKey(HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, L"Copy"), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"Copy", 0, KEY_READ, &missing),
              ERROR_FILE_NOT_FOUND);
}

TEST(RegistryTools, UserSettingsReadBackWhatWasStoredAndFallBackOtherwise) {
    ScopedMemoryRegistry registry;
    const std::wstring key = L"Software\\Olvan\\Test\\";
    EXPECT_EQ(readUserText(key + L"Name", L"none"), L"none");
    EXPECT_EQ(readUserNumber(key + L"Count", -7), -7);
    storeUserText(key + L"Name", L"Grüße");
    storeUserNumber(key + L"Count", -2);
    EXPECT_EQ(readUserText(key + L"Name", L"none"), L"Grüße");
    EXPECT_EQ(readUserNumber(key + L"Count", 0), -2);
    EXPECT_EQ(readUserNumber(key + L"Name", 5), 5) << "a text is no number";
}

TEST(RegistryTools, ContentTypesByExtension) {
    EXPECT_EQ(getContentTypeForExtension(L".png"), L"image/png");
    EXPECT_EQ(getContentTypeForExtension(L".HTM"), L"text/html");
    EXPECT_EQ(getContentTypeForExtension(L".no-such-extension"), L"");
}

TEST(MessageBoxes, GoThroughThePresenterOrAnswerHarmlessly) {
    std::vector<ui::UINT> flags;
    auto previous = setMessageBoxPresenter(
        [&](ui::HWND owner, const std::wstring& text, const std::wstring& caption, ui::UINT f) {
            EXPECT_EQ(owner.value, 7u);
            EXPECT_EQ(text, L"text");
            EXPECT_EQ(caption, L"caption");
            flags.push_back(f);
            return ui::IDNO;
        });
    errorBox(L"text", L"caption", ui::HWND{7});
    infoBox(L"text", L"caption", ui::HWND{7});
    EXPECT_EQ(askBox(L"text", L"caption", ui::HWND{7}), ui::IDNO);
    EXPECT_EQ(flags, (std::vector<ui::UINT>{ui::MB_ICONERROR, ui::MB_ICONINFORMATION,
                                            ui::MB_ICONINFORMATION | ui::MB_YESNOCANCEL}));
    setMessageBoxPresenter(nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(askBox(L"Delete it?", L"Tamrix"), ui::IDCANCEL);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Delete it?"), std::string::npos);
    setMessageBoxPresenter(previous);
}
