// Downloads that must not be lost: entries larger than libxml2's default text limit, and
// answers from a service whose clock runs ahead of or behind this machine's.
#include <sqlite3.h>

#include "plugin/sync/download_mark.h"
#include "plugin/sync/sync_changes.h"
#include "plugin/util/time_text.h"
#include "sync_fixture.h"

using namespace plugin;

namespace {

constexpr wchar_t kFormat[] = L"%Y-%m-%d %H:%M:%S";
constexpr std::int64_t kYear = 365 * 86400;

std::int64_t now() {
    return parseUtcText(nowText(false));
}

std::string timeAt(std::int64_t seconds) {
    return platform::text::toUtf8(formatUtc(seconds, kFormat));
}

std::string insertItem(const std::string& guid, const std::string& updateTime,
                       const std::string& html = "") {
    return "<item guid=\"" + guid + "\" updateTime=\"" + updateTime +
           "\" title=\"t\" command=\"insert\"><html>" + html + "</html></item>";
}

}  // namespace

TEST(DownloadMark, NeverRunsAheadOfThisClockAndFollowsAClockSetBack) {
    const std::int64_t at = parseUtcText(L"2026-06-01 12:00:00");
    const std::wstring exchanged = L"2026-06-01 11:55:00";
    EXPECT_EQ(downloadMarkToSend(L"", exchanged, at), L"");
    EXPECT_EQ(downloadMarkToSend(L"2026-06-01 11:50:00", exchanged, at), L"2026-06-01 11:50:00");
    // Stored from a clock ahead: asked from the last exchange by this clock.
    EXPECT_EQ(downloadMarkToSend(L"2027-06-01 12:00:00", exchanged, at), exchanged);
    EXPECT_EQ(downloadMarkToSend(L"2027-06-01 12:00:00", L"", at), L"2026-06-01 12:00:00");
    EXPECT_EQ(downloadMarkToSend(L"2027-06-01 12:00:00", L"2028-01-01 00:00:00", at),
              L"2026-06-01 12:00:00")
        << "nor from an exchange dated ahead of this clock";

    // In step, or ahead: the service's own time is kept.
    EXPECT_EQ(downloadMarkAfter(exchanged, L"2026-06-01 11:59:58", at, exchanged),
              L"2026-06-01 11:59:58");
    EXPECT_EQ(downloadMarkAfter(exchanged, L"2027-06-01 12:00:00", at, exchanged),
              L"2027-06-01 12:00:00");
    // Set back a year: the previous exchange, five minutes ago, on the service's clock now.
    EXPECT_EQ(downloadMarkAfter(exchanged, L"2025-06-01 12:00:00", at, exchanged),
              L"2025-06-01 11:55:00");
    EXPECT_EQ(downloadMarkAfter(exchanged, L"2025-06-01 12:00:00", at, L""), L"");
    // No readable time: the mark stays.
    EXPECT_EQ(downloadMarkAfter(exchanged, L"soon", at, L""), exchanged);
}

TEST_F(SyncTest, AServiceClockAYearAheadStallsNoLaterDownload) {
    // The service answers once with its clock a year ahead, then, put right, with what it
    // stamps now; the replies are served in turn.
    const std::int64_t start = now();
    answer(timeAt(start + kYear), insertItem("Bahead", timeAt(start + kYear - 60)));
    answer(timeAt(start), insertItem("Bafter", timeAt(start - 1)));
    answer(timeAt(start), insertItem("Blater", timeAt(start - 1)));

    EXPECT_EQ(runOnce(), SyncOutcome::completed);
    EXPECT_EQ(entry(L"Bahead").guid, L"Bahead");

    EXPECT_EQ(runOnce(), SyncOutcome::completed);
    const std::string asked = server_.requests().back().target;
    EXPECT_EQ(asked.find(timeAt(start + kYear).substr(0, 4)), std::string::npos) << asked;
    EXPECT_EQ(entry(L"Bafter").guid, L"Bafter");

    // A mark stored from such a clock before is not sent as it stands.
    storeSyncUpdateTime(platform::text::fromUtf8(timeAt(start + kYear)));
    EXPECT_EQ(runOnce(), SyncOutcome::completed);
    EXPECT_EQ(entry(L"Blater").guid, L"Blater");
}

TEST_F(SyncTest, AServiceClockSetBackLosesNoDownload) {
    storeSyncUpdateTime(nowText(false));
    storeSyncLastSyncTime(nowText(false));
    const std::int64_t behind = now() - kYear;
    answer(timeAt(behind), insertItem("Bbehind", timeAt(behind - 10)));

    EXPECT_EQ(runOnce(), SyncOutcome::completed);
    EXPECT_EQ(entry(L"Bbehind").guid, L"Bbehind") << "an answer older than the mark still counts";
    EXPECT_LE(parseUtcText(readSyncSettings().updateTime), behind)
        << "the next request asks from the service's own present clock";
}

TEST_F(SyncTest, EntriesOverTenMegabytesAreStoredWholeAndTheNextToo) {
    const std::string bulk(10'500'000, 'a');
    answer("2026-01-02 00:00:00",
           insertItem("Bhuge", "2026-01-01 00:00:00", "&lt;p&gt;" + bulk + "&lt;/p&gt;") +
               insertItem("Bnext", "2026-01-01 00:00:01", "&lt;p&gt;next&lt;/p&gt;"));
    EXPECT_EQ(runOnce(), SyncOutcome::completed);
    EXPECT_EQ(entry(L"Bhuge").html.size(), bulk.size() + 7);
    EXPECT_EQ(entry(L"Bnext").html, L"<p>next</p>");
    EXPECT_EQ(readSyncSettings().updateTime, L"2026-01-02 00:00:00");
}

TEST_F(SyncTest, ABrokenAnswerStoresNothingAndKeepsTheMark) {
    storeSyncUpdateTime(L"2026-01-01 00:00:00");
    server_.reply("/api/sync", {.status = 200,
                                .body = "<response updateTime=\"2026-02-01 00:00:00\">" +
                                        insertItem("Bcut", "2026-01-15 00:00:00") + "<item guid=",
                                .contentType = "text/xml"});
    EXPECT_EQ(runOnce(), SyncOutcome::formatError);
    EXPECT_EQ(entry(L"Bcut").guid, L"?");
    EXPECT_EQ(readSyncSettings().updateTime, L"2026-01-01 00:00:00");
}

TEST_F(SyncTest, CleaningTheServicesMarkupKeepsNoOtherWriterWaiting) {
    // The stop check runs between records, from the first one on; a writer trying then
    // must find the repository free while the records' markup is cleaned.
    std::vector<EntryRecord> records(3);
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].guid = L"Bslow-" + std::to_wstring(i);
        records[i].updateTime = L"2026-01-01 00:00:00";
        records[i].command = L"insert";
        records[i].html = L"<p a=1 b=2>" + std::wstring(20000, L'x') + L"</p>";
    }
    int writesDuringCleaning = 0;
    bool first = true;
    const auto probe = [&] {
        if (!first)
            return false;
        first = false;
        sqlite3* db = nullptr;
        sqlite3_open_v2(platform::text::toUtf8(path_).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(db, 200);
        if (sqlite3_exec(db, "begin immediate; insert into config values ('probe', 1); commit;",
                         nullptr, nullptr, nullptr) == SQLITE_OK)
            ++writesDuringCleaning;
        sqlite3_close(db);
        return false;
    };
    EXPECT_EQ(ApplySyncChanges(records, probe), 3);
    EXPECT_EQ(writesDuringCleaning, 1);
    EXPECT_EQ(rows(L"select count(*) from config where name='probe';"),
              std::vector<std::wstring>{L"1"});
}
