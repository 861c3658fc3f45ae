#include "addon/shell/update_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "addon/shell/module_version.h"
#include "common/util/registry_int.h"
#include "common/util/registry_string.h"
#include "platform/registry/store.h"
#include "platform/system/named_mutex.h"
#include "platform/text/utf.h"
#include "platform/ui/scripted_presenter.h"
#include "testing/environment/temporary_home.h"
#include "testing/http/loopback_server.h"

namespace {

using namespace std::chrono_literals;
namespace ui = platform::ui;
using platform::registry::HKEY_CURRENT_USER;
using testing_http::LoopbackServer;

const std::wstring kKey = L"Software\\Olvan\\Tamrix";

std::wstring stored(const wchar_t* name) {
    return common::registry_string<std::wstring>(kKey + L"\\" + name, HKEY_CURRENT_USER, L"",
                                                 common::kRegistryNoWriteBack)
        .value;
}

void store(const wchar_t* name, const std::wstring& value) {
    common::registry_string<std::wstring> setting(kKey + L"\\" + name, HKEY_CURRENT_USER, L"",
                                                  common::kRegistryAlwaysStore);
    setting = value;
}

// 2024-03-10 12:00:00 UTC.
constexpr std::time_t kNow = 1710072000;

std::wstring productVersion() {
    addon::CModuleVersion version;
    version.Load(addon::thisModuleVersionName().c_str());
    return version.GetValue(L"ProductVersion");
}

std::string feed(const std::wstring& firstId) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>Tamrix</title>"
           "<entry><id>" +
           platform::text::toUtf8(firstId) +
           "</id><link href=\"http://example/get\"/><title>New</title>"
           "<updated>2024-03-01T00:00:00Z</updated></entry>"
           "<entry><id>0.0.1</id></entry></feed>";
}

class UpdateCheck : public ::testing::Test {
  protected:
    void SetUp() override { store(L"Server", platform::text::fromUtf8(server.url("/svc"))); }
    void TearDown() override { addon::stopUpdateChecks(); }

    std::vector<testing_http::RecordedRequest> checks() const { return server.requests(); }

    testing_environment::TemporaryHome home;
    platform::registry::ScopedMemoryRegistry registry;
    std::shared_ptr<ui::ScriptedPresenter> person = std::make_shared<ui::ScriptedPresenter>();
    ui::PresenterScope scope{person};
    LoopbackServer server;
};

TEST_F(UpdateCheck, AWeekAfterTheLastCheckAndThreeHoursAfterAFailureACheckIsDue) {
    EXPECT_FALSE(addon::isUpdateCheckDue(HKEY_CURRENT_USER, kKey, kNow));
    EXPECT_EQ(stored(L"LastCheckTime"), L"2024-03-10 12:00:00");

    store(L"LastCheckTime", L"2024-03-03 12:00:01");
    EXPECT_FALSE(addon::isUpdateCheckDue(HKEY_CURRENT_USER, kKey, kNow));
    store(L"LastCheckTime", L"2024-03-02 12:00:00");
    EXPECT_TRUE(addon::isUpdateCheckDue(HKEY_CURRENT_USER, kKey, kNow));
    store(L"LastCheckErrorTime", L"2024-03-10 11:00:00");
    EXPECT_FALSE(addon::isUpdateCheckDue(HKEY_CURRENT_USER, kKey, kNow));
    store(L"LastCheckErrorTime", L"2024-03-10 08:00:00");
    EXPECT_TRUE(addon::isUpdateCheckDue(HKEY_CURRENT_USER, kKey, kNow));

    common::registry_int<std::int32_t> autoUpdate(kKey + L"\\AutoUpdate", HKEY_CURRENT_USER, 1,
                                                  common::kRegistryAlwaysStore);
    autoUpdate = 0;
    EXPECT_FALSE(addon::isUpdateCheckDue(HKEY_CURRENT_USER, kKey, kNow));
    EXPECT_FALSE(addon::startUpdateCheck(HKEY_CURRENT_USER, kKey, L"Global\\TamrixTestCheck",
                                         {.delay = 0ms}));
    EXPECT_FALSE(addon::isUpdateCheckRunning());
}

TEST_F(UpdateCheck, ANewerVersionIsOfferedAndTheSiteOpenedOnYes) {
    server.reply("/svc/checkupdate",
                 {.body = feed(L"99.0"), .contentType = "application/atom+xml"});
    person->answerMessageBox(ui::IDYES);
    EXPECT_EQ(addon::runUpdateCheck(HKEY_CURRENT_USER, kKey), addon::kUpdateChecked);
    ASSERT_EQ(checks().size(), 1u);
    const std::string target = checks()[0].target;
    EXPECT_NE(target.find("product=Tamrix&version=" + platform::text::toUtf8(productVersion()) +
                          "&time="),
              std::string::npos);
    const auto boxes = person->questionsOf(ui::PresentedQuestion::Kind::messageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              L"A new version(99.0) of Tamrix is available!\r\nDo you want to update?");
    EXPECT_EQ(boxes[0].caption, L"Tamrix for IE");
    const auto opened = person->questionsOf(ui::PresentedQuestion::Kind::shellOpen);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].text, platform::text::fromUtf8(server.url("/svc/")));
    EXPECT_FALSE(stored(L"LastCheckTime").empty());
    EXPECT_TRUE(stored(L"LastCheckErrorTime").empty());
}

TEST_F(UpdateCheck, TheSameVersionOrAnEmptyFeedShowsNothing) {
    server.reply("/svc/checkupdate",
                 {.body = feed(productVersion()), .contentType = "application/atom+xml"});
    server.reply("/svc/checkupdate", {.body = "<feed/>", .contentType = "text/xml"});
    EXPECT_EQ(addon::runUpdateCheck(HKEY_CURRENT_USER, kKey), addon::kUpdateChecked);
    EXPECT_EQ(addon::runUpdateCheck(HKEY_CURRENT_USER, kKey), addon::kUpdateChecked);
    EXPECT_EQ(checks().size(), 2u);
    EXPECT_TRUE(person->questions().empty());
    EXPECT_FALSE(stored(L"LastCheckTime").empty());
    EXPECT_TRUE(stored(L"LastCheckErrorTime").empty());
}

TEST_F(UpdateCheck, FailuresAreRecordedAsFailures) {
    server.reply("/svc/checkupdate", {.body = "<html>oops", .contentType = "text/html"});
    server.reply("/svc/checkupdate", {.status = 500, .body = feed(L"99.0")});
    EXPECT_EQ(addon::runUpdateCheck(HKEY_CURRENT_USER, kKey), addon::kUpdateNotAFeed);
    EXPECT_FALSE(stored(L"LastCheckErrorTime").empty());
    EXPECT_TRUE(stored(L"LastCheckTime").empty());

    store(L"LastCheckErrorTime", L"");
    EXPECT_EQ(addon::runUpdateCheck(HKEY_CURRENT_USER, kKey), addon::kUpdateRequestFailed);
    EXPECT_FALSE(stored(L"LastCheckErrorTime").empty());

    store(L"LastCheckErrorTime", L"");
    server.stop();
    EXPECT_EQ(addon::runUpdateCheck(HKEY_CURRENT_USER, kKey), addon::kUpdateRequestFailed);
    EXPECT_FALSE(stored(L"LastCheckErrorTime").empty());

    LoopbackServer stalled;
    stalled.reply("/checkupdate", {.body = feed(L"99.0"), .delay = 10s});
    store(L"Server", platform::text::fromUtf8(stalled.url("")));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(addon::runUpdateCheck(HKEY_CURRENT_USER, kKey, 300ms), addon::kUpdateRequestFailed);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);

    store(L"Server", L"");
    EXPECT_EQ(addon::runUpdateCheck(HKEY_CURRENT_USER, kKey), addon::kUpdateNoServer);
    EXPECT_TRUE(person->questions().empty());
    EXPECT_TRUE(stored(L"LastCheckTime").empty());
}

TEST_F(UpdateCheck, OneCheckAtATimeAndNoneOutlivesTheAddon) {
    server.reply("/svc/checkupdate",
                 {.body = feed(productVersion()), .contentType = "application/atom+xml"});
    const std::wstring mutexName = L"Global\\TamrixCheckUpdate";
    store(L"LastCheckTime", L"2000-01-01 00:00:00");

    {
        // Another process holds the check: this one gives up without asking.
        platform::system::NamedMutex other(mutexName);
        ASSERT_TRUE(other.tryLock());
        ASSERT_TRUE(addon::startUpdateCheck(HKEY_CURRENT_USER, kKey, mutexName, {.delay = 0ms}));
        for (int i = 0; i < 200 && addon::isUpdateCheckRunning(); ++i)
            std::this_thread::sleep_for(10ms);
        EXPECT_FALSE(addon::isUpdateCheckRunning());
        EXPECT_TRUE(checks().empty());
    }

    // A started check waits before it asks; stopping ends the wait at once.
    ASSERT_TRUE(addon::startUpdateCheck(HKEY_CURRENT_USER, kKey, mutexName, {.delay = 30s}));
    EXPECT_TRUE(addon::isUpdateCheckRunning());
    const auto started = std::chrono::steady_clock::now();
    addon::stopUpdateChecks();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_FALSE(addon::isUpdateCheckRunning());
    EXPECT_TRUE(checks().empty());

    // Without the wait the check asks and records its success.
    ASSERT_TRUE(addon::startUpdateCheck(HKEY_CURRENT_USER, kKey, mutexName, {.delay = 0ms}));
    for (int i = 0; i < 500 && addon::isUpdateCheckRunning(); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(checks().size(), 1u);
    EXPECT_NE(stored(L"LastCheckTime"), L"2000-01-01 00:00:00");
    EXPECT_FALSE(addon::startUpdateCheck(HKEY_CURRENT_USER, kKey, mutexName, {.delay = 0ms}));
}

}  // namespace
