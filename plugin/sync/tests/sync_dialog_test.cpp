#include "plugin/sync/sync_dialog.h"
#include "common/language/language_table.h"
#include "platform/ui/dialog_driver.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"
#include "plugin/sync/account_info.h"
#include "sync_fixture.h"

using namespace plugin;
namespace ui = platform::ui;

namespace {

class SyncDialogTest : public SyncTest {
  protected:
    void TearDown() override {
        SyncTest::TearDown();
        common::languageTable().clear();
        ui::windows().reset();
    }
    // The server's address without its trailing "/".
    std::wstring bareServer() const {
        const std::string url = server_.url("");
        return platform::text::fromUtf8(url.substr(0, url.size() - (url.ends_with("/") ? 1 : 0)));
    }
    std::shared_ptr<ui::ScriptedPresenter> person_ = std::make_shared<ui::ScriptedPresenter>();
    ui::PresenterScope scope_{person_};
};

}  // namespace

TEST_F(SyncDialogTest, ShowsTheSettingsAndStoresThemOnlyOnOk) {
    storeSyncAuto(1);
    SyncDialog cancelled;
    person_->answerDialog([&](ui::DialogDriver& d) {
        EXPECT_EQ(d.caption(), L"Synchronize");
        EXPECT_EQ(d.text(kSyncServerEdit), platform::text::fromUtf8(server_.url("")));
        EXPECT_EQ(d.text(kSyncKeyEdit), L"secret&key");
        EXPECT_TRUE(d.checked(kSyncAutoCheck));
        d.type(kSyncKeyEdit, L"thrown away");
        d.click(ui::IDCANCEL);
    });
    EXPECT_EQ(cancelled.doModal(), ui::IDCANCEL);
    EXPECT_EQ(readSyncSettings().key, L"secret&key");

    SyncDialog accepted;
    person_->answerDialog([](ui::DialogDriver& d) {
        d.type(kSyncServerEdit, L"http://elsewhere.example");
        d.type(kSyncKeyEdit, L"new key");
        d.click(kSyncAutoCheck);
        d.click(ui::IDOK);
    });
    EXPECT_EQ(accepted.doModal(), ui::IDOK);
    EXPECT_EQ(accepted.key, L"new key");
    const SyncSettings stored = readSyncSettings();
    EXPECT_EQ(stored.server, L"http://elsewhere.example");
    EXPECT_EQ(stored.key, L"new key");
    EXPECT_EQ(stored.autoSync, 0);
}

TEST_F(SyncDialogTest, AutoDetectFillsTheKeyOfTheSignedInAccount) {
    storeSyncKey(L"");
    storeSyncServer(L"http://unused.example/");
    server_.reply("/api/info",
                  {.body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><response version=\"0.1\" "
                           "id=\"7\" name=\"Ann\" key=\"K-123\" updateTime=\"\" createTime=\"\" "
                           "loginTime=\"\"/>",
                   .contentType = "text/xml"});
    SyncDialog dialog;
    person_->answerDialog([&](ui::DialogDriver& d) {
        d.type(kSyncServerEdit, bareServer());
        d.setChecked(kSyncAutoCheck, true);
        d.click(kSyncDetectButton);
        EXPECT_EQ(d.text(kSyncKeyEdit), L"K-123");
        EXPECT_EQ(d.text(kSyncServerEdit), bareServer()) << "what the person typed stays";
        EXPECT_TRUE(d.checked(kSyncAutoCheck));
        d.click(ui::IDOK);
    });
    EXPECT_EQ(dialog.doModal(), ui::IDOK);
    ASSERT_EQ(server_.requests().size(), 1u);
    EXPECT_EQ(server_.requests()[0].target, "/api/info") << "a \"/\" is added to the address";
    EXPECT_EQ(readSyncSettings().key, L"K-123");
    EXPECT_EQ(readSyncSettings().autoSync, 1);
    EXPECT_TRUE(person_->messageTexts().empty());
}

TEST_F(SyncDialogTest, NoAccountOffersTheSignInPageAndNoServerIsAnError) {
    server_.reply("/api/info", {.status = 403, .body = "not signed in"});
    SyncDialog dialog;
    person_->answerMessageBox(ui::IDYES);
    person_->answerShellOpen(true);
    person_->answerMessageBox(ui::IDNO);
    person_->answerDialog([&](ui::DialogDriver& d) {
        d.type(kSyncKeyEdit, L"");
        d.click(kSyncDetectButton);
        d.click(kSyncDetectButton);
        d.type(kSyncServerEdit, L"");
        d.click(kSyncDetectButton);
        d.click(ui::IDCANCEL);
    });
    EXPECT_EQ(dialog.doModal(), ui::IDCANCEL);
    EXPECT_EQ(person_->messageTexts(),
              (std::vector<std::wstring>{L"Can't detect account automaticlly. Sign in now?",
                                         L"Can't detect account automaticlly. Sign in now?",
                                         L"Server settings error"}));
    const auto opened = person_->questionsOf(ui::PresentedQuestion::Kind::shellOpen);
    ASSERT_EQ(opened.size(), 1u) << "only the Yes opens the sign-in page";
    EXPECT_EQ(opened[0].text, platform::text::fromUtf8(server_.url("/my/info")));
    EXPECT_EQ(server_.requests().size(), 2u);
    EXPECT_EQ(readSyncSettings().key, L"secret&key");
}

TEST_F(SyncDialogTest, AccountAnswerWithoutResponseGivesAnEmptyKey) {
    server_.reply("/api/info",
                  {.body = "<html><body>hello</body></html>", .contentType = "text/html"});
    const auto info = fetchAccountInfo(platform::text::fromUtf8(server_.url("/")));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->key, L"");
    server_.stop();
    EXPECT_FALSE(fetchAccountInfo(platform::text::fromUtf8(server_.url("/"))).has_value());
}

TEST_F(SyncDialogTest, OpensTranslated) {
    const auto file = std::filesystem::path(TAMRIX_TEST_DATA "/../../../../data/languages/de.xml");
    ASSERT_EQ(common::languageTable().load(file.lexically_normal().wstring()), 0);
    SyncDialog dialog;
    person_->answerDialog([](ui::DialogDriver& d) {
        EXPECT_EQ(d.caption(), L"Synchronisieren");
        EXPECT_EQ(d.text(kSyncAutoCheck), L"Automatisch synchronisieren");
        EXPECT_EQ(d.text(kSyncKeyEdit), L"secret&key") << "values are put in after translation";
        d.click(ui::IDCANCEL);
    });
    EXPECT_EQ(dialog.doModal(), ui::IDCANCEL);
}
