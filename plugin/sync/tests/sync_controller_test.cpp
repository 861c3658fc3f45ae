#include <thread>

#include "platform/ui/dialog_driver.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"
#include "plugin/sync/sync_controller.h"
#include "plugin/sync/sync_dialog.h"
#include "sync_fixture.h"

using namespace plugin;
using namespace std::chrono_literals;
namespace ui = platform::ui;

namespace {

class SyncControllerTest : public SyncTest {
  protected:
    void TearDown() override {
        SyncTest::TearDown();
        ui::windows().reset();
    }
    std::shared_ptr<ui::ScriptedPresenter> person_ = std::make_shared<ui::ScriptedPresenter>();
    ui::PresenterScope scope_{person_};
};

}  // namespace

TEST_F(SyncControllerTest, ManualSyncAsksForTheAccountFirstAndRunsOneAtATime) {
    storeSyncKey(L"");
    person_->answerDialog([](ui::DialogDriver& d) { d.click(ui::IDCANCEL); });
    SyncController controller({}, sink());
    EXPECT_EQ(controller.onSync(), -2);
    EXPECT_FALSE(controller.running());

    person_->answerDialog([](ui::DialogDriver& d) {
        EXPECT_EQ(d.templateId(), kSyncDialogId);
        d.type(kSyncKeyEdit, L"typed-key");
        d.click(ui::IDOK);
    });
    answer("2099-01-01 00:00:00", "", 1500ms);
    answer("2099-02-01 00:00:00", "");
    EXPECT_EQ(controller.onSync(), 0);
    EXPECT_EQ(controller.onSync(), -1) << "the first one is still running";
    ASSERT_TRUE(controller.waitForWorker(10s));
    EXPECT_EQ(controller.lastOutcome(), SyncOutcome::completed);
    EXPECT_NE(server_.requests().at(0).target.find("key=typed%2dkey"), std::string::npos);

    EXPECT_EQ(controller.onSync(), 0) << "an ended worker makes room for the next";
    ASSERT_TRUE(controller.waitForWorker(10s));
    EXPECT_EQ(controller.lastOutcome(), SyncOutcome::completed);
    EXPECT_EQ(readSyncSettings().updateTime, L"2099-02-01 00:00:00");
    EXPECT_EQ(server_.requests().size(), 2u);
    EXPECT_TRUE(person_->allAnswersUsed());
}

TEST_F(SyncControllerTest, AutomaticSyncRunsOnLocalChangesOrAfterTheInterval) {
    SyncController controller({}, sink());
    insert(L"local change");
    answer("2099-01-01 00:00:00", "");
    EXPECT_EQ(controller.onTimer2(), 0);
    EXPECT_FALSE(controller.running()) << "automatic synchronisation is off";

    storeSyncAuto(1);
    EXPECT_EQ(controller.onTimer2(), 0);
    ASSERT_TRUE(controller.waitForWorker(10s));
    EXPECT_EQ(controller.lastOutcome(), SyncOutcome::completed);
    EXPECT_EQ(server_.requests().size(), 1u);

    // Up to date and synchronised just now (by the service's clock): nothing to do.
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    wchar_t text[32];
    std::wcsftime(text, 32, L"%Y-%m-%d %H:%M:%S", &parts);
    storeSyncUpdateTime(text);
    {
        detail::WriteTransaction transaction;
        transaction.run(L"update log set updateTime='2000-01-01 00:00:00';");
        transaction.commit();
    }
    EXPECT_EQ(controller.onTimer2(), 0);
    ASSERT_TRUE(controller.waitForWorker(10s));
    EXPECT_EQ(server_.requests().size(), 1u);

    storeSyncKey(L"");
    storeSyncUpdateTime(L"");
    EXPECT_EQ(controller.onTimer2(), 0);
    EXPECT_FALSE(controller.running()) << "no dialog and no request from the timer";
    EXPECT_TRUE(person_->questions().empty());
}

TEST_F(SyncControllerTest, AutomaticSyncUploadsALocalChangeWhateverTheServiceClockSays) {
    storeSyncAuto(1);
    SyncController controller({}, sink());
    answer("9999-12-31 23:59:59", "");
    EXPECT_EQ(controller.onSync(), 0);
    ASSERT_TRUE(controller.waitForWorker(10s));
    ASSERT_EQ(controller.lastOutcome(), SyncOutcome::completed);

    EXPECT_EQ(controller.onTimer2(), 0);
    ASSERT_TRUE(controller.waitForWorker(10s));
    EXPECT_EQ(server_.requests().size(), 1u) << "synchronised just now and nothing to send";

    const std::wstring guid = insert(L"saved after the skewed answer");
    EXPECT_EQ(controller.onTimer2(), 0);
    ASSERT_TRUE(controller.waitForWorker(10s));
    ASSERT_EQ(server_.requests().size(), 2u);
    EXPECT_EQ(server_.requests()[1].method, "POST");
    EXPECT_NE(inflateBody(server_.requests()[1].body).find(guid), std::wstring::npos);
}

TEST(SyncSchedule, IntervalTimeoutAndDueTimes) {
    EXPECT_EQ(effectiveInterval(100), 300s);
    EXPECT_EQ(effectiveInterval(301), 301s);
    EXPECT_EQ(effectiveTimeout(10), 30s);
    EXPECT_EQ(effectiveTimeout(5000), 3600s);
    EXPECT_EQ(effectiveTimeout(600), 600s);

    EXPECT_EQ(parseUtcText(L"1970-01-02 00:00:10"), 86410);
    EXPECT_EQ(parseUtcText(L""), 0);
    EXPECT_EQ(parseUtcText(L"yesterday"), 0);
    const std::time_t stored = parseUtcText(L"2024-03-01 12:00:00");
    EXPECT_FALSE(automaticSyncDue(L"2024-03-01 12:00:00", 300s, stored + 240));
    EXPECT_TRUE(automaticSyncDue(L"2024-03-01 12:00:00", 300s, stored + 241));
    EXPECT_TRUE(automaticSyncDue(L"", 300s, stored));
    EXPECT_TRUE(automaticSyncDue(L"9999-12-31 23:59:59", 300s, stored))
        << "a time ahead of this clock is no reason to wait";

    EXPECT_EQ(withTrailingSlash(L"http://h/x"), L"http://h/x/");
    EXPECT_EQ(withTrailingSlash(L"http://h/"), L"http://h/");
    EXPECT_EQ(withTrailingSlash(L""), L"");
}
