#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "common/util/registry_string.h"
#include "loaded_module.h"
#include "platform/ui/window_system.h"
#include "plugin/repository/tests/file_damage.h"

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

TEST_F(LoadedModuleTest, ADamagedRepositoryIsReportedInTheChosenLanguage) {
    {
        common::registry_string<std::wstring> language(L"Software\\Olvan\\Tamrix\\language",
                                                       platform::registry::HKEY_CURRENT_USER, L"",
                                                       common::kRegistrySaveOnAssign);
        language = L"de";
    }
    const std::wstring path = platform::text::fromUtf8(repositoryFile().string());
    std::filesystem::create_directories(repositoryFile().parent_path());
    ASSERT_EQ(plugin::OpenRepository(path), 0);
    for (int i = 0; i < 100; ++i) {
        plugin::EntryRecord record;
        record.title = L"Entry " + std::to_wstring(i);
        record.html = std::wstring(2000, L'a' + i % 26);
        ASSERT_FALSE(plugin::insertEntry(record).empty());
    }
    ASSERT_EQ(plugin::OpenRepository(path), 0);
    repository_testing::ageFile(repositoryFile().string() + ".bak", 2 * 86400);
    plugin::closeRepository();
    repository_testing::overwriteMiddlePage(repositoryFile());

    load();
    plugin::IPluginInterface2* datastore = newPlugin2(L"datastore");
    ASSERT_NE(datastore, nullptr);
    deletePlugin2(datastore);

    const auto texts = presenter_->messageTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(L"Die Datenbank ist beschädigt:\n" + path + L"\n"), std::wstring::npos)
        << platform::text::toUtf8(texts[0]);
    EXPECT_NE(texts[0].find(L"unverändert erhalten unter:\n" + path + L".bak"), std::wstring::npos);
}

namespace {

// LC_ALL set for one test, the old value put back afterwards.
class LocaleForTest {
  public:
    explicit LocaleForTest(const char* locale) {
        if (const char* old = std::getenv("LC_ALL"))
            saved_ = old;
        ::setenv("LC_ALL", locale, 1);
    }
    ~LocaleForTest() {
        if (saved_)
            ::setenv("LC_ALL", saved_->c_str(), 1);
        else
            ::unsetenv("LC_ALL");
    }

  private:
    std::optional<std::string> saved_;
};

}  // namespace

// An export into a path below a file fails; the message's fixed line and its reason are
// translated each on its own.
class FailedExportLanguage : public LoadedModuleTest {
  protected:
    std::wstring failedExportMessage() {
        load();
        const platform::ui::HWND window =
            platform::ui::windows().createWindow({.className = L"Page"});
        plugin::IPluginInterface* pane = newPlugin(L"Tamrix", window, nullptr);
        EXPECT_NE(pane, nullptr);
        if (!pane)
            return {};
        const std::filesystem::path file = home_.root() / "a-file";
        std::ofstream(file) << "x";
        bool handled = false;
        EXPECT_EQ(
            pane->OnExport(platform::text::fromUtf8((file / "inside.txt").string()), 2, &handled),
            -1);
        deletePlugin(pane);
        platform::ui::windows().destroyWindow(window);
        const auto texts = presenter_->messageTexts();
        return texts.size() == 1 ? texts[0] : L"";
    }
};

TEST_F(FailedExportLanguage, TheChosenLanguageTranslatesTheMessageBeforeItsReason) {
    LocaleForTest english("en_US.UTF-8");
    {
        common::registry_string<std::wstring> language(L"Software\\Olvan\\Tamrix\\language",
                                                       platform::registry::HKEY_CURRENT_USER, L"",
                                                       common::kRegistrySaveOnAssign);
        language = L"de";
    }
    const std::wstring message = failedExportMessage();
    EXPECT_TRUE(message.starts_with(L"Der Export ist fehlgeschlagen.\n"))
        << platform::text::toUtf8(message);
}

TEST_F(FailedExportLanguage, WithNoLanguageChosenTheLocalesLanguageSpeaks) {
    LocaleForTest german("de_DE.UTF-8");
    const std::wstring message = failedExportMessage();
    EXPECT_TRUE(message.starts_with(L"Der Export ist fehlgeschlagen.\n"))
        << platform::text::toUtf8(message);
}
