// Times the synchronisation's reads of the change log on a large log: the check the pane
// runs every minute (countUnsentChanges) and the collection of the changes to send
// (collectChanges), with an upload mark and, as after an update from a version without
// one, with only a stored service time. The log rows are written straight into a fresh
// repository in a temporary folder that is removed afterwards; settings live in memory.
//
//   bench_sync [logRows=100000] [unsent=100] [runs=20]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/registry/store.h"
#include "platform/text/utf.h"
#include "plugin/repository/repository.h"
#include "plugin/repository/repository_connection.h"
#include "plugin/sync/sync_changes.h"
#include "plugin/sync/sync_settings.h"
#include "plugin/util/time_text.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int argumentOr(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::atoi(argv[index]) : fallback;
}

// Writes `rows` log rows, one second apart and ending now; returns the time of the row
// that leaves `unsent` rows after it.
std::wstring fillLog(int rows, int unsent) {
    const auto now = std::chrono::system_clock::now();
    std::wstring boundary;
    plugin::detail::WriteTransaction transaction;
    for (int i = 0; i < rows; ++i) {
        const std::wstring time = plugin::timeText(now - std::chrono::seconds(rows - 1 - i), false);
        transaction.run(L"insert into log (guid, name, updateTime) values (?,?,?);",
                        {L"A" + std::to_wstring(i), std::wstring(L"update"), time});
        if (i == rows - 1 - unsent)
            boundary = time;
    }
    transaction.commit();
    return boundary;
}

void timeReads(const char* label, int runs, int expected) {
    auto start = Clock::now();
    int counted = 0;
    for (int i = 0; i < runs; ++i)
        counted = plugin::countUnsentChanges();
    const double countTime = millisecondsSince(start) / runs;
    start = Clock::now();
    std::size_t collected = 0;
    for (int i = 0; i < runs; ++i)
        collected = plugin::collectChanges().value_or(plugin::PendingChanges{}).changes.size();
    const double collectTime = millisecondsSince(start) / runs;
    std::printf("%s: countUnsentChanges %d rows in %.3f ms, collectChanges %zu rows in %.3f ms%s\n",
                label, counted, countTime, collected, collectTime,
                counted == expected && collected == static_cast<std::size_t>(expected)
                    ? ""
                    : " (unexpected counts)");
}

}  // namespace

int main(int argc, char** argv) {
    const int logRows = argumentOr(argc, argv, 1, 100000);
    const int unsent = argumentOr(argc, argv, 2, 100);
    const int runs = argumentOr(argc, argv, 3, 20);
    if (unsent >= logRows || runs <= 0)
        return 1;

    platform::registry::ScopedMemoryRegistry registry;
    char pattern[] = "/tmp/bench-sync-XXXXXX";
    const std::filesystem::path folder = mkdtemp(pattern);
    if (plugin::OpenRepository(platform::text::fromUtf8((folder / "tamrix.db").string())) != 0)
        return 1;
    const std::wstring boundary = fillLog(logRows, unsent);

    plugin::storeSyncUpdateTime(boundary);
    timeReads("service time only", runs, unsent);

    // An acknowledged exchange through the boundary row sets the mark.
    if (plugin::ApplySyncChanges({}, {}, logRows - unsent) != 0)
        return 1;
    timeReads("upload mark", runs, unsent);

    plugin::closeRepository();
    std::filesystem::remove_all(folder);
    return 0;
}
