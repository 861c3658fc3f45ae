#include "common/util/registry_string.h"
#include "loaded_module.h"
#include "platform/ui/window_system.h"

TEST_F(LoadedModuleTest, ObjectsSpeakTheLanguageChosenInTheSettings) {
    {
        common::registry_string<std::wstring> language(L"Software\\Olvan\\Tamrix\\language",
                                                       platform::registry::HKEY_CURRENT_USER, L"",
                                                       common::kRegistrySaveOnAssign);
        language = L"de";
    }
    load();
    const platform::ui::HWND window = platform::ui::windows().createWindow({.className = L"Page"});
    plugin::IPluginInterface* pane = newPlugin(L"Tamrix", window, nullptr);
    ASSERT_NE(pane, nullptr);
    presenter_->chooseMenuText(L"Einstellungen...");
    bool handled = false;
    EXPECT_EQ(pane->OnSetting(0, 0, 0, 0, &handled), 1);
    EXPECT_TRUE(handled);
    EXPECT_TRUE(presenter_->failedChoices().empty());
    deletePlugin(pane);
    platform::ui::windows().destroyWindow(window);
}
