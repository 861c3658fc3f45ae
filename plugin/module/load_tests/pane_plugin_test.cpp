#include "../tests/scripted_page.h"
#include "loaded_module.h"
#include "platform/ui/window_system.h"

using platform::com::Variant;

class PanePluginTest : public LoadedModuleTest {
  protected:
    void SetUp() override {
        load();
        page_->define(L"_reload", [this](const std::vector<std::wstring>&) {
            ++reloads_;
            return Variant();
        });
        pane_ = newPlugin(L"Tamrix", pageWindow_,
                          plugin::SiteRef(static_cast<plugin::IDocumentBrowser*>(page_.get())));
        ASSERT_NE(pane_, nullptr);
        ASSERT_EQ(plugin::OpenRepository(platform::text::fromUtf8(repositoryFile().string())), 0);
    }
    void TearDown() override {
        deletePlugin(pane_);
        platform::ui::windows().destroyWindow(pageWindow_);
        LoadedModuleTest::TearDown();
    }

    int tick() {
        bool handled = false;
        const int result = pane_->OnTimer(&handled);
        EXPECT_TRUE(handled);
        return result;
    }

    void write(const std::wstring& title) {
        plugin::EntryRecord record;
        record.title = title;
        ASSERT_FALSE(plugin::insertEntry(record).empty());
    }

    platform::ui::HWND pageWindow_ = platform::ui::windows().createWindow({.className = L"Page"});
    platform::com::ComPtr<ScriptedPage> page_ = ScriptedPage::create();
    int reloads_ = 0;
    plugin::IPluginInterface* pane_ = nullptr;
};

TEST_F(PanePluginTest, ClaimsOnlyTheEventsItHandles) {
    EXPECT_EQ(pane_->GetName(), L"Tamrix");
    EXPECT_EQ(pane_->GetVersion(), L"1.0");
    EXPECT_TRUE(pane_->HasEvent(L"OnTimer"));
    EXPECT_FALSE(pane_->HasEvent(L"ontimer"));
    for (const wchar_t* event :
         {L"OnDocumentEvent", L"OnSetting", L"OnRefresh", L"OnResync", L"OnBeforeNavigate2",
          L"OnNavigateComplete2", L"OnQuit", L"OnExport", L"OnSync", L"OnTimer2"})
        EXPECT_TRUE(pane_->HasEvent(event)) << platform::text::toUtf8(event);
    EXPECT_FALSE(pane_->HasEvent(L"OnSave"));

    EXPECT_EQ(newPlugin2(L"Datastore"), nullptr);
    plugin::IPluginInterface2* datastore = newPlugin2(L"datastore");
    ASSERT_NE(datastore, nullptr);
    EXPECT_TRUE(datastore->HasEvent(L"OnExport"));
    EXPECT_FALSE(datastore->HasEvent(L"OnSync"));
    deletePlugin2(datastore);
    deletePlugin2(nullptr);
    deletePlugin(nullptr);
}

TEST_F(PanePluginTest, TimerReloadsThePageOncePerRepositoryChange) {
    EXPECT_EQ(tick(), -1);
    EXPECT_EQ(tick(), -1);
    EXPECT_EQ(reloads_, 0);

    write(L"first");
    EXPECT_EQ(tick(), 0);
    EXPECT_EQ(reloads_, 1);
    EXPECT_EQ(tick(), -1);

    // A second write within the same second is seen as well.
    write(L"second");
    EXPECT_EQ(tick(), 0);
    EXPECT_EQ(reloads_, 2);
    EXPECT_EQ(tick(), -1);

    bool handled = false;
    EXPECT_EQ(pane_->OnRefresh(&handled), 0);
    EXPECT_TRUE(handled);
    EXPECT_EQ(reloads_, 3);
    EXPECT_EQ(tick(), -1);
}

TEST_F(PanePluginTest, SettingsMenuRefreshesOrLeavesSettingsToTheHost) {
    bool handled = false;
    presenter_->chooseMenuText(L"Refresh");
    EXPECT_EQ(pane_->OnSetting(10, 20, 30, 40, &handled), 0);
    EXPECT_TRUE(handled);
    EXPECT_EQ(reloads_, 1);

    handled = false;
    presenter_->chooseMenuText(L"Setting...");
    EXPECT_EQ(pane_->OnSetting(10, 20, 30, 40, &handled), 1);
    EXPECT_TRUE(handled);

    handled = false;
    presenter_->dismissMenu();
    EXPECT_EQ(pane_->OnSetting(10, 20, 30, 40, &handled), 0);
    EXPECT_FALSE(handled);
    EXPECT_EQ(reloads_, 1);
    EXPECT_TRUE(presenter_->failedChoices().empty());
}

TEST_F(PanePluginTest, ExportWritesTheNewestEntriesOrReportsWhyNot) {
    for (const wchar_t* text : {L"Älteste Notiz", L"newest note"}) {
        plugin::EntryRecord record;
        record.title = record.text = text;
        ASSERT_FALSE(plugin::insertEntry(record).empty());
    }
    const std::filesystem::path output = home_.root() / "latest.txt";
    bool handled = false;
    EXPECT_EQ(pane_->OnExport(platform::text::fromUtf8(output.string()), 2, &handled), 0);
    EXPECT_TRUE(handled);
    std::ifstream in(output, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(text.find("newest note"), std::string::npos);
    EXPECT_NE(text.find("Älteste Notiz"), std::string::npos);
    EXPECT_TRUE(presenter_->messageTexts().empty());

    const std::filesystem::path blocked = home_.root() / "latest.txt" / "inside-a-file.txt";
    handled = false;
    EXPECT_EQ(pane_->OnExport(platform::text::fromUtf8(blocked.string()), 2, &handled), -1);
    EXPECT_TRUE(handled);
    ASSERT_EQ(presenter_->messageTexts().size(), 1u);
    EXPECT_TRUE(presenter_->messageTexts()[0].starts_with(L"The export failed."));
    EXPECT_FALSE(std::filesystem::exists(blocked));

    // A format code that names no format writes nothing and says so instead of succeeding.
    const std::filesystem::path nowhere = home_.root() / "format5.out";
    EXPECT_EQ(pane_->OnExport(platform::text::fromUtf8(nowhere.string()), 5, &handled), -1);
    ASSERT_EQ(presenter_->messageTexts().size(), 2u);
    EXPECT_NE(presenter_->messageTexts()[1].find(L"Unknown export format 5."), std::wstring::npos);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}
