// Which local changes go out: each exactly once, however slow the service answers and
// whatever its clock says. The times are today's, as a person's repository has them.
#include <chrono>
#include <thread>

#include "plugin/sync/sync_changes.h"
#include "plugin/sync/upload_mark.h"
#include "plugin/util/time_text.h"
#include "sync_fixture.h"

using namespace plugin;
using namespace std::chrono_literals;

namespace {

// The UTC time `offset` from now, as the service writes it.
std::string serviceTimeFromNow(std::chrono::seconds offset) {
    return platform::text::toUtf8(timeText(std::chrono::system_clock::now() + offset, false));
}

std::size_t count(const std::wstring& text, const std::wstring& piece) {
    std::size_t found = 0;
    for (auto at = text.find(piece); at != std::wstring::npos; at = text.find(piece, at + 1))
        ++found;
    return found;
}

class SyncUploadTest : public SyncTest {
  protected:
    // The guids of the items of every upload so far, one list per POST, in request order.
    std::vector<std::vector<std::wstring>> uploads() const {
        std::vector<std::vector<std::wstring>> sent;
        for (const auto& request : server_.requests()) {
            if (request.method != "POST")
                continue;
            const std::wstring body = inflateBody(request.body);
            std::vector<std::wstring> guids;
            for (auto at = body.find(L"<item guid=\""); at != std::wstring::npos;
                 at = body.find(L"<item guid=\"", at + 1)) {
                const auto start = at + 12;
                guids.push_back(body.substr(start, body.find(L'"', start) - start));
            }
            sent.push_back(guids);
        }
        return sent;
    }
    std::vector<std::string> methods() const {
        std::vector<std::string> found;
        for (const auto& request : server_.requests())
            found.push_back(request.method);
        return found;
    }

    // Three synchronisations against a service whose clock reads `serviceTime()`, with a
    // local change before the first, one before the second and none before the third; the
    // first answer also brings an entry made elsewhere.
    void expectEveryChangeSentOnce(const std::function<std::string()>& serviceTime) {
        answer(serviceTime(), "<item guid=\"Belsewhere\" updateTime=\"" + serviceTime() +
                                  "\" title=\"From elsewhere\" command=\"insert\"/>");
        answer(serviceTime(), "");
        const std::wstring first = insert(L"First");
        const SyncOutcome firstOutcome = runOnce();
        EXPECT_EQ(firstOutcome, SyncOutcome::completed);
        EXPECT_EQ(entry(L"Belsewhere").title, L"From elsewhere");

        const std::wstring second = insert(L"Second");
        const SyncOutcome secondOutcome = runOnce();
        EXPECT_TRUE(secondOutcome == SyncOutcome::completed ||
                    secondOutcome == SyncOutcome::unchanged);

        const SyncOutcome thirdOutcome = runOnce();
        EXPECT_TRUE(thirdOutcome == SyncOutcome::completed ||
                    thirdOutcome == SyncOutcome::unchanged);

        EXPECT_EQ(methods(), (std::vector<std::string>{"POST", "POST", "GET"}));
        EXPECT_EQ(uploads(), (std::vector<std::vector<std::wstring>>{{first}, {second}}));
        EXPECT_EQ(countUnsentChanges(), 0);
    }
};

}  // namespace

TEST_F(SyncUploadTest, AChangeLoggedWhileTheServiceIsAnsweringGoesOutWithTheNextExchange) {
    const std::wstring before = insert(L"Before the request");
    answer(serviceTimeFromNow(3s), "", 3s);
    answer(serviceTimeFromNow(5s), "");
    SyncOutcome slowOutcome = SyncOutcome::stopped;
    std::thread slow([&] { slowOutcome = runOnce(); });
    for (int i = 0; i < 500 && server_.requests().empty(); ++i)
        std::this_thread::sleep_for(10ms);
    std::this_thread::sleep_for(1500ms);
    const std::wstring during = insert(L"Saved during the request");
    slow.join();
    ASSERT_EQ(slowOutcome, SyncOutcome::completed);
    EXPECT_EQ(countUnsentChanges(), 1);

    EXPECT_EQ(runOnce(), SyncOutcome::completed);
    EXPECT_EQ(runOnce(), SyncOutcome::unchanged);
    EXPECT_EQ(methods(), (std::vector<std::string>{"POST", "POST", "GET"}));
    EXPECT_EQ(uploads(), (std::vector<std::vector<std::wstring>>{{before}, {during}}));
    EXPECT_EQ(entry(during).title, L"Saved during the request");
}

TEST_F(SyncUploadTest, AServiceClockMinutesAheadNeitherLosesNorRepeatsAChange) {
    expectEveryChangeSentOnce([] { return serviceTimeFromNow(10min); });
}

TEST_F(SyncUploadTest, AServiceClockAtTheEndOfTimeNeitherLosesNorRepeatsAChange) {
    expectEveryChangeSentOnce([] { return std::string("9999-12-31 23:59:59"); });
    EXPECT_EQ(readSyncSettings().updateTime, L"9999-12-31 23:59:59");
}

TEST_F(SyncUploadTest, AServiceClockMinutesBehindNeitherLosesNorRepeatsAChange) {
    expectEveryChangeSentOnce([] { return serviceTimeFromNow(-10min); });
}

TEST_F(SyncUploadTest, LaterChangesToOneEntryAreEachSentAndTheDownloadedOnesNever) {
    const std::string time = serviceTimeFromNow(1s);
    answer(serviceTimeFromNow(0s), "");
    answer(time, "<item guid=\"Bother\" updateTime=\"" + time + "\" command=\"insert\"/>");
    const std::wstring guid = insert(L"Draft");
    ASSERT_EQ(runOnce(), SyncOutcome::completed);
    EntryRecord record = entry(guid);
    ASSERT_EQ(setEntryField(record, L"title", L"Final"), 0);
    ASSERT_EQ(deleteEntry(guid), 0);
    EXPECT_EQ(runOnce(), SyncOutcome::completed);
    EXPECT_EQ(runOnce(), SyncOutcome::unchanged);

    EXPECT_EQ(methods(), (std::vector<std::string>{"POST", "POST", "GET"}));
    EXPECT_EQ(uploads(), (std::vector<std::vector<std::wstring>>{{guid}, {guid}}))
        << "the update finds the entry gone; the deletion goes out";
    EXPECT_EQ(count(inflateBody(server_.requests()[1].body), L"command=\"delete\""), 1u);
    EXPECT_EQ(entry(L"Bother").guid, L"Bother");
}

TEST_F(SyncUploadTest, AStoredServiceTimeOfAnEarlierVersionStillMarksWhatWasSent) {
    const std::wstring sent = insert(L"Sent by the earlier version");
    const std::wstring unsent = insert(L"Saved since");
    {
        detail::WriteTransaction transaction;
        transaction.run(L"update log set updateTime=? where guid=?;",
                        {platform::text::fromUtf8(serviceTimeFromNow(-2h)), sent});
        transaction.commit();
    }
    storeSyncUpdateTime(platform::text::fromUtf8(serviceTimeFromNow(-1h)));
    answer(serviceTimeFromNow(0s), "");
    EXPECT_EQ(countUnsentChanges(), 1);
    EXPECT_EQ(runOnce(), SyncOutcome::completed);
    EXPECT_EQ(runOnce(), SyncOutcome::unchanged);
    EXPECT_EQ(methods(), (std::vector<std::string>{"POST", "GET"}));
    EXPECT_EQ(uploads(), (std::vector<std::vector<std::wstring>>{{unsent}}));
}

TEST_F(SyncUploadTest, AStoredServiceTimeAheadOfThisClockSendsEveryLocalChangeOnceMore) {
    const std::wstring older = insert(L"Older");
    const std::wstring newer = insert(L"Newer");
    storeSyncUpdateTime(L"9999-12-31 23:59:59");
    answer("9999-12-31 23:59:59", "");
    EXPECT_EQ(countUnsentChanges(), 2);
    EXPECT_EQ(runOnce(), SyncOutcome::unchanged);
    EXPECT_EQ(runOnce(), SyncOutcome::unchanged);
    EXPECT_EQ(methods(), (std::vector<std::string>{"POST", "GET"}));
    EXPECT_EQ(uploads(), (std::vector<std::vector<std::wstring>>{{newer, older}}));
}

TEST_F(SyncUploadTest, TheMarkKeepsATableOfItsOwnAndTakesOverOneKeptInTheConfigTable) {
    const auto configRows = [] {
        std::vector<std::wstring> rows;
        detail::readRows(L"select name || '=' || value from config;", {},
                         [&](common::SqliteQuery& row) { rows.push_back(row.columnText(0)); });
        return rows;
    };
    // A repository whose first change went out under an earlier version, which kept its
    // mark in the config table beside a row of someone else's.
    const std::wstring sent = insert(L"Sent earlier");
    {
        detail::WriteTransaction transaction;
        transaction.run(L"insert into config (name, value) values ('Sync\\SentLogRow', ?);",
                        {std::to_wstring(newestLogRow())});
        transaction.run(L"insert into config (name, value) values ('theme', 'dark');");
        transaction.commit();
    }
    const std::wstring unsent = insert(L"Saved since");
    answer(serviceTimeFromNow(0s), "");
    EXPECT_EQ(countUnsentChanges(), 1);
    EXPECT_EQ(runOnce(), SyncOutcome::completed);

    EXPECT_EQ(uploads(), (std::vector<std::vector<std::wstring>>{{unsent}}));
    EXPECT_EQ(configRows(), std::vector<std::wstring>{L"theme=dark"});
    std::wstring mark;
    detail::readRows(L"select row from syncmark where name='SentLogRow';", {},
                     [&](common::SqliteQuery& row) { mark = row.columnText(0); });
    EXPECT_EQ(mark, std::to_wstring(newestLogRow()));
    EXPECT_EQ(countUnsentChanges(), 0);
}
