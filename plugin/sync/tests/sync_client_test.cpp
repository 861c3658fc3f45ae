#include <chrono>
#include <thread>

#include "common/util/registry_int.h"

#include "plugin/sync/sync_changes.h"
#include "plugin/sync/sync_thread.h"
#include "plugin/util/conversions.h"
#include "plugin/util/time_text.h"
#include "sync_fixture.h"

using namespace plugin;
using namespace std::chrono_literals;
namespace status = plugin::sync_status;

namespace {

std::size_t count(const std::wstring& text, const std::wstring& piece) {
    std::size_t found = 0;
    for (auto at = text.find(piece); at != std::wstring::npos; at = text.find(piece, at + 1))
        ++found;
    return found;
}

bool contains(const std::wstring& text, const std::wstring& piece) {
    return text.find(piece) != std::wstring::npos;
}

}  // namespace

TEST_F(SyncTest, RoundTripSendsLocalChangesAppliesRemoteOnesAndDoesNotEchoThem) {
    const std::wstring kept = insert(L"Kept <one> & \"two\"");
    const std::wstring gone = insert(L"Gone");
    ASSERT_EQ(deleteEntry(gone), 0);
    const std::string keptGuid = platform::text::toUtf8(kept);
    answer("2099-01-01 00:00:00",
           "<item guid=\"Bremote-1\" id=\"Bremote\" createTime=\"2098-01-01 00:00:00\""
           " updateTime=\"2098-06-01 00:00:00\" url=\"https://news.example:8080/p/q\""
           " site=\"ignored\" type=\"clip\" category=\"A/B\" folder=\"Inbox\" tags=\"x,y\""
           " title=\"Remote\" command=\"insert\" mode=\"3\"><description>d</description>"
           "<text>remote text</text><html>&lt;p&gt;remote&lt;/p&gt;</html></item>"
           "<item guid=\"" +
               keptGuid +
               "\" updateTime=\"2098-07-01 00:00:00\" title=\"Renamed remotely\""
               " command=\"update\"/>"
               "<other guid=\"Bignored\" command=\"insert\" updateTime=\"2098-01-01 00:00:00\"/>");

    EXPECT_EQ(runOnce(), SyncOutcome::completed);

    const auto requests = server_.requests();
    ASSERT_EQ(requests.size(), 1u);
    const auto& post = requests[0];
    EXPECT_EQ(post.method, "POST");
    EXPECT_EQ(post.path, "/api/sync");
    EXPECT_EQ(post.header("Content-Type"), "binary/octet-stream");
    EXPECT_EQ(post.header("Accept-Encoding"), "gzip, deflate");
    EXPECT_EQ(post.header("Content-Length"), std::to_string(post.body.size()));
    const std::wstring sent = inflateBody(post.body);
    EXPECT_TRUE(sent.starts_with(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << sent;
    EXPECT_TRUE(contains(
        sent,
        L"<request version=\"0.1\" name=\"sync\" key=\"secret&amp;key\" lastUpdateTime=\"\">"))
        << sent;
    EXPECT_EQ(count(sent, L"<item "), 2u) << "the insert of the deleted entry is left out";
    EXPECT_TRUE(contains(sent, L"<item guid=\"" + gone + L"\" updateTime=\""));
    EXPECT_EQ(count(sent, L"command=\"delete\""), 1u);
    EXPECT_TRUE(contains(sent, L"<item guid=\"" + kept + L"\" id=\"" + kept.substr(0, 8)));
    EXPECT_TRUE(contains(sent,
                         L"title=\"Kept &lt;one&gt; &amp; &quot;two&quot;\" command=\"insert\" "
                         L"mode=\"0\"><description/><text>text of Kept &lt;one&gt; &amp; "
                         L"\"two\"</text><html/></item>"))
        << sent;

    const EntryRecord remote = entry(L"Bremote-1");
    EXPECT_EQ(remote.id, L"Bremote");
    EXPECT_EQ(remote.site, L"news.example:8080") << "the site comes from the address";
    EXPECT_EQ(remote.category, L"A/B");
    EXPECT_EQ(remote.html, L"<p>remote</p>");
    EXPECT_EQ(remote.mode, 3);
    EXPECT_EQ(remote.updateTime, L"2098-06-01 00:00:00");
    EXPECT_EQ(entry(kept).title, L"Renamed remotely");
    EXPECT_EQ(entry(L"Bignored").guid, L"?");
    EXPECT_EQ(rows(L"select guid, name, updateTime from log where syncTime is not null "
                   L"order by updateTime;"),
              (std::vector<std::wstring>{L"Bremote-1|insert|2098-06-01 00:00:00",
                                         kept + L"|update|2098-07-01 00:00:00"}));
    EXPECT_EQ(readSyncSettings().updateTime, L"2099-01-01 00:00:00");
    EXPECT_EQ(readSyncSettings().lastErrorTime, L"");
    EXPECT_EQ(statuses(), (std::vector<std::wstring>{status::kStart, status::kUploading,
                                                     status::kUpdating, status::kCompleted}));

    // Nothing changed locally since: the next synchronisation only asks, and an answer
    // that is not newer changes nothing and shows no completion.
    const std::wstring lastExchange = readSyncSettings().lastSyncTime;
    statuses_.clear();
    EXPECT_EQ(runOnce(), SyncOutcome::unchanged);
    const auto second = server_.requests().back();
    EXPECT_EQ(second.method, "GET");
    // The service's clock is far ahead: the next request asks from this machine's time of
    // the last exchange, not from the service's.
    EXPECT_EQ(second.target, "/api/sync?version=0.1&key=secret%26key&lastUpdateTime=" +
                                 platform::text::toUtf8(formEncode(lastExchange)));
    EXPECT_EQ(second.body, "");
    EXPECT_EQ(statuses(),
              (std::vector<std::wstring>{status::kStart, status::kDownloading, status::kUpdating}));
}

TEST_F(SyncTest, DownloadedChangesWinOnlyWhenNewer) {
    const std::wstring local = insert(L"Local");
    const std::wstring doomed = insert(L"Doomed");
    const std::string localGuid = platform::text::toUtf8(local);
    const std::string localTime = platform::text::toUtf8(entry(local).updateTime);
    storeSyncUpdateTime(L"2099-01-01 00:00:00");
    answer("2099-02-01 00:00:00",
           "<item guid=\"" + localGuid +
               "\" updateTime=\"2000-01-01 00:00:00\" title=\"older\" command=\"update\"/>"
               "<item guid=\"" +
               localGuid + "\" updateTime=\"" + localTime +
               "\" title=\"same time\" command=\"update\"/>"
               "<item guid=\"Bmissing\" updateTime=\"2098-01-01 00:00:00\" title=\"new here\""
               " url=\"http://b.org/1\" command=\"update\"/>"
               "<item guid=\"Bnever\" updateTime=\"2098-01-01 00:00:00\" command=\"delete\"/>"
               "<item guid=\"\" updateTime=\"2098-01-01 00:00:00\" command=\"insert\"/>"
               "<item guid=\"" +
               platform::text::toUtf8(doomed) +
               "\" updateTime=\"2098-01-01 00:00:00\" command=\"delete\"/>");

    EXPECT_EQ(runOnce(), SyncOutcome::completed);

    EXPECT_EQ(entry(local).title, L"Local") << "older and equally old changes are passed over";
    const EntryRecord inserted = entry(L"Bmissing");
    EXPECT_EQ(inserted.title, L"new here");
    EXPECT_EQ(inserted.id, L"Bmissing") << "a record without id takes the guid's first 8";
    EXPECT_EQ(inserted.site, L"b.org");
    EXPECT_EQ(entry(doomed).guid, L"?");
    EXPECT_EQ(rows(L"select guid, name from log where syncTime is not null order by name;"),
              (std::vector<std::wstring>{doomed + L"|delete", L"Bmissing|insert"}));
    EXPECT_EQ(rows(L"select count(*) from entry where guid='';"), std::vector<std::wstring>{L"0"});
}

TEST_F(SyncTest, FailedExchangesMarkNothingAsSentAndResendTheSameChanges) {
    const std::wstring guid = insert(L"Unsent");
    server_.reply("/api/sync", {.status = 500, .body = "down"});
    server_.reply("/api/sync",
                  {.status = 200, .body = "<response updateTime=", .contentType = "text/xml"});
    server_.reply("/api/sync", {.status = 200, .body = "<html/>", .contentType = "text/xml"});
    answer("2099-01-01 00:00:00", "");

    EXPECT_EQ(runOnce(), SyncOutcome::networkError);
    const std::wstring firstError = readSyncSettings().lastErrorTime;
    EXPECT_FALSE(firstError.empty());
    EXPECT_EQ(statuses().back(), status::kNetworkError);
    EXPECT_EQ(runOnce(), SyncOutcome::formatError) << "malformed XML";
    EXPECT_EQ(runOnce(), SyncOutcome::formatError) << "a document that is no response";
    EXPECT_EQ(statuses().back(), status::kFormatError);
    EXPECT_EQ(readSyncSettings().updateTime, L"");
    EXPECT_EQ(entry(guid).title, L"Unsent");

    EXPECT_EQ(runOnce(), SyncOutcome::completed);
    const auto requests = server_.requests();
    ASSERT_EQ(requests.size(), 4u);
    for (const auto& request : requests) {
        EXPECT_EQ(request.method, "POST");
        EXPECT_EQ(inflateBody(request.body), inflateBody(requests[0].body));
    }
    EXPECT_TRUE(contains(inflateBody(requests[0].body), L"guid=\"" + guid + L"\""));
}

TEST_F(SyncTest, AnAnswerThatCannotBeAppliedLeavesTheRepositoryAsItWas) {
    {
        detail::WriteTransaction transaction;
        transaction.run(
            L"create trigger refuse before insert on entry when new.title='boom' "
            L"begin select raise(abort, 'refused'); end;");
        transaction.commit();
    }
    storeSyncUpdateTime(L"2099-01-01 00:00:00");
    answer("2099-02-01 00:00:00",
           "<item guid=\"Bfirst\" updateTime=\"2098-01-01 00:00:00\" command=\"insert\"/>"
           "<item guid=\"Bsecond\" updateTime=\"2098-01-01 00:00:00\" title=\"boom\""
           " command=\"insert\"/>");

    EXPECT_EQ(runOnce(), SyncOutcome::updateError);
    EXPECT_EQ(statuses().back(), status::kUpdateError);
    EXPECT_EQ(entry(L"Bfirst").guid, L"?");
    EXPECT_EQ(rows(L"select count(*) from log;"), std::vector<std::wstring>{L"0"});
    EXPECT_EQ(readSyncSettings().updateTime, L"2099-01-01 00:00:00");

    EntryRecord third;
    third.guid = L"Bthird";
    third.updateTime = L"2098-01-01 00:00:00";
    EXPECT_EQ(ApplySyncChanges({third}, [] { return true; }), -3)
        << "a stop between records applies nothing";
    EXPECT_EQ(entry(L"Bthird").guid, L"?");
}

TEST_F(SyncTest, SyncedMarkupIsStoredWithoutScripts) {
    storeSyncUpdateTime(L"2099-01-01 00:00:00");
    answer("2099-02-01 00:00:00",
           "<item guid=\"Bhostile\" updateTime=\"2098-01-01 00:00:00\" title=\"h\""
           " command=\"insert\"><html>&lt;p onclick=\"x()\"&gt;kept&lt;/p&gt;"
           "&lt;script&gt;x()&lt;/script&gt;</html></item>");
    EXPECT_EQ(runOnce(), SyncOutcome::completed);
    EXPECT_EQ(entry(L"Bhostile").html, L"<p>kept</p>");
}

TEST_F(SyncTest, StalledServiceIsGivenUpAfterTheTimeLimit) {
    storeSyncUpdateTime(L"2099-01-01 00:00:00");
    answer("2099-02-01 00:00:00", "", 45s);
    {
        common::registry_int<std::int32_t> limit(L"Software\\Olvan\\Tamrix\\Sync\\Timeout",
                                                 platform::registry::HKEY_CURRENT_USER, 0,
                                                 common::kRegistryAlwaysStore);
        limit = 10;  // means 30 seconds
    }
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(runOnce(), SyncOutcome::networkError);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 29s);
    EXPECT_LT(took, 40s);
    EXPECT_FALSE(readSyncSettings().lastErrorTime.empty());
    EXPECT_EQ(readSyncSettings().updateTime, L"2099-01-01 00:00:00");
}

TEST_F(SyncTest, StoppingTheWorkerMidRequestEndsItAtOnceAndStoresNothing) {
    const std::wstring guid = insert(L"Pending");
    answer("2099-01-01 00:00:00",
           "<item guid=\"Bnew\" updateTime=\"2098-01-01 00:00:00\" command=\"insert\"/>", 20s);
    SyncThread worker(sink());
    for (int i = 0; i < 500 && server_.requests().empty(); ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(server_.requests().size(), 1u) << "the upload is under way";

    const auto start = std::chrono::steady_clock::now();
    worker.stop();
    ASSERT_TRUE(worker.waitForEnd(3s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_TRUE(worker.finished());
    EXPECT_EQ(worker.outcome(), SyncOutcome::stopped);
    EXPECT_EQ(statuses(), (std::vector<std::wstring>{status::kStart, status::kUploading}));
    EXPECT_EQ(readSyncSettings().updateTime, L"");
    EXPECT_EQ(readSyncSettings().lastErrorTime, L"") << "a stop is no network failure";
    EXPECT_EQ(entry(L"Bnew").guid, L"?");
    EXPECT_EQ(entry(guid).title, L"Pending");
}

TEST_F(SyncTest, NothingIsSentWithoutServerOrKeyOrWhenTheLogCannotBeRead) {
    storeSyncKey(L"");
    EXPECT_EQ(runOnce(), SyncOutcome::notConfigured);
    EXPECT_TRUE(statuses().empty());
    storeSyncKey(L"k");
    closeRepository();
    EXPECT_EQ(runOnce(), SyncOutcome::readError);
    EXPECT_EQ(statuses().back(), status::kReadError);
    EXPECT_TRUE(server_.requests().empty());
}
