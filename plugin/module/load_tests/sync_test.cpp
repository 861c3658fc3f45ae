#include <algorithm>
#include <chrono>

#include "../tests/host_windows.h"
#include "common/util/registry_int.h"
#include "common/util/registry_string.h"
#include "loaded_module.h"
#include "plugin/module/host_messages.h"
#include "testing/http/loopback_server.h"

using namespace std::chrono_literals;

namespace {

constexpr int kSyncDialog = 238;
constexpr int kSyncKeyEdit = 250;

void storeSetting(const std::wstring& name, const std::wstring& value) {
    common::registry_string<std::wstring> setting(L"Software\\Olvan\\Tamrix\\" + name,
                                                  platform::registry::HKEY_CURRENT_USER, L"",
                                                  common::kRegistrySaveOnAssign);
    setting = value;
}

std::wstring readSetting(const std::wstring& name) {
    common::registry_string<std::wstring> setting(L"Software\\Olvan\\Tamrix\\" + name,
                                                  platform::registry::HKEY_CURRENT_USER, L"",
                                                  common::kRegistryNoWriteBack);
    return setting.value;
}

}  // namespace

class SyncWiringTest : public LoadedModuleTest {
  protected:
    void SetUp() override {
        load();
        storeSetting(L"Sync\\Server", platform::text::fromUtf8(server_.url("/")));
        storeSetting(L"Sync\\Key", L"account-key");
        pane_ = newPlugin(L"Tamrix", host_.page, nullptr);
        ASSERT_NE(pane_, nullptr);
    }
    void TearDown() override {
        deletePlugin(pane_);
        LoadedModuleTest::TearDown();
    }

    void answer(const std::string& updateTime, std::chrono::milliseconds delay = {}) {
        server_.reply("/api/sync",
                      {.body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><response name=\"sync\" "
                               "updateTime=\"" +
                               updateTime + "\"/>",
                       .contentType = "text/xml; charset=utf-8",
                       .delay = delay});
    }

    std::vector<std::wstring> statuses() const {
        std::vector<std::wstring> texts;
        for (const auto& record : host_.received)
            if (record.code == plugin::kStatusTextCode)
                texts.push_back(plugin::readStatusRecord(record.bytes).value_or(L"?"));
        return texts;
    }

    // Takes the worker's status posts on this (the host's) thread until `text` arrives.
    bool waitForStatus(const std::wstring& text) {
        return platform::ui::windows().pumpUntil(
            [&] {
                const auto seen = statuses();
                return std::find(seen.begin(), seen.end(), text) != seen.end();
            },
            10s);
    }

    testing_http::LoopbackServer server_;
    HostWindows host_{L"LorvaneClient"};
    plugin::IPluginInterface* pane_ = nullptr;
};

TEST_F(SyncWiringTest, ManualSyncRunsOnceAtATimeAndReportsInTheChosenLanguage) {
    for (const wchar_t* event : {L"OnSync", L"OnTimer2", L"OnExport"})
        EXPECT_TRUE(pane_->HasEvent(event)) << platform::text::toUtf8(event);
    // Chosen after the object was made: the next synchronisation speaks it.
    storeSetting(L"language", L"de");
    answer("2099-01-01 00:00:00", 1500ms);

    bool handled = false;
    EXPECT_EQ(pane_->OnSync(&handled), 0);
    EXPECT_TRUE(handled);
    presenter_->chooseMenuText(L"Synchronisieren...");
    handled = false;
    EXPECT_EQ(pane_->OnSetting(0, 0, 0, 0, &handled), 0);
    EXPECT_TRUE(handled);

    ASSERT_TRUE(waitForStatus(L"Tamrix: Synchronisierung abgeschlossen"));
    const auto seen = statuses();
    EXPECT_NE(std::find(seen.begin(), seen.end(), L"Tamrix: Synchronisierung beginnt..."),
              seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), L"Tamrix: Synchronisiere..."), seen.end())
        << "the menu's second start finds the first still running";
    EXPECT_EQ(server_.requests().size(), 1u);
    EXPECT_EQ(readSetting(L"Sync\\UpdateTime"), L"2099-01-01 00:00:00");
    EXPECT_TRUE(presenter_->failedChoices().empty());
}

TEST_F(SyncWiringTest, AutomaticTickSyncsOnlyWhenSwitchedOnAndSomethingChanged) {
    answer("2099-01-01 00:00:00");
    bool handled = false;
    EXPECT_EQ(pane_->OnTimer2(&handled), 0);
    EXPECT_TRUE(handled);
    platform::ui::windows().pumpUntil([] { return false; }, 300ms);
    EXPECT_TRUE(server_.requests().empty()) << "automatic synchronisation is off";

    {
        common::registry_int<std::int32_t> automatic(L"Software\\Olvan\\Tamrix\\Sync\\Auto",
                                                     platform::registry::HKEY_CURRENT_USER, 0,
                                                     common::kRegistrySaveOnAssign);
        automatic = 1;
    }
    EXPECT_EQ(pane_->OnTimer2(&handled), 0);
    ASSERT_TRUE(waitForStatus(L"Tamrix: Synchronization completed"));
    EXPECT_EQ(server_.requests().size(), 1u);
}

TEST_F(SyncWiringTest, PropertiesStoreTheAccountAndClosingStopsARunningSync) {
    presenter_->chooseMenuText(L"Properties");
    presenter_->answerDialog([](platform::ui::DialogDriver& dialog) {
        EXPECT_EQ(dialog.templateId(), kSyncDialog);
        dialog.type(kSyncKeyEdit, L"typed-key");
        dialog.click(platform::ui::IDOK);
    });
    bool handled = false;
    EXPECT_EQ(pane_->OnSetting(0, 0, 0, 0, &handled), 0);
    EXPECT_TRUE(handled);
    EXPECT_EQ(readSetting(L"Sync\\Key"), L"typed-key");

    // A service that does not answer: closing the page must not wait for it.
    answer("2099-01-01 00:00:00", 20s);
    EXPECT_EQ(pane_->OnSync(&handled), 0);
    ASSERT_TRUE(platform::ui::windows().pumpUntil([&] { return !server_.requests().empty(); }, 5s));
    const auto start = std::chrono::steady_clock::now();
    deletePlugin(pane_);
    pane_ = nullptr;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_EQ(readSetting(L"Sync\\UpdateTime"), L"") << "a stopped sync marks nothing as sent";
}
