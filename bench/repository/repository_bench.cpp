// Times the repository's two hot paths: saving one clip (insertEntry: one connection and
// one transaction per save) and listing the titles of every entry (listTitles), and the
// daily backup at load time (quick_check, then the copy), on a fresh repository in a
// temporary folder that is removed afterwards.
//
//   bench_repository [saves=1000] [entries=10000] [listings=20]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/text/utf.h"
#include "plugin/repository/repository.h"
#include "plugin/repository/repository_health.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

plugin::EntryRecord sampleRecord(int index) {
    plugin::EntryRecord record;
    record.url = L"http://news.example/section" + std::to_wstring(index % 17) + L"/story" +
                 std::to_wstring(index);
    record.title = L"Story number " + std::to_wstring(index);
    record.category = L"News/Section " + std::to_wstring(index % 17);
    record.folder = L"Inbox";
    record.tags = L"news, sample";
    record.text = std::wstring(2000, L'x');
    record.html = L"<p>" + record.text + L"</p>";
    return record;
}

int argumentOr(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::atoi(argv[index]) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    const int saves = argumentOr(argc, argv, 1, 1000);
    const int entries = argumentOr(argc, argv, 2, 10000);
    const int listings = argumentOr(argc, argv, 3, 20);

    char pattern[] = "/tmp/bench-repository-XXXXXX";
    const std::filesystem::path folder = mkdtemp(pattern);
    const std::wstring path = platform::text::fromUtf8((folder / "tamrix.db").string());
    if (plugin::OpenRepository(path) != 0) {
        std::fprintf(stderr, "cannot open %s\n", platform::text::toUtf8(path).c_str());
        return 1;
    }

    auto start = Clock::now();
    for (int i = 0; i < saves; ++i)
        if (plugin::insertEntry(sampleRecord(i)).empty())
            return 1;
    const double saveTotal = millisecondsSince(start);
    std::printf("insertEntry: %d saves in %.1f ms, %.3f ms per save\n", saves, saveTotal,
                saveTotal / saves);

    for (int i = saves; i < entries; ++i)
        if (plugin::insertEntry(sampleRecord(i)).empty())
            return 1;

    start = Clock::now();
    int listed = 0;
    for (int i = 0; i < listings; ++i) {
        std::vector<std::wstring> titles;
        std::vector<std::wstring> guids;
        listed = plugin::listTitles(titles, guids, L"", L"");
    }
    const double listTotal = millisecondsSince(start);
    std::printf("listTitles: %d titles, %d listings in %.1f ms, %.3f ms per listing\n", listed,
                listings, listTotal, listTotal / listings);

    start = Clock::now();
    const bool sound = plugin::detail::checkDatabase(platform::text::toUtf8(path)) ==
                       plugin::detail::DatabaseHealth::sound;
    const double checkTime = millisecondsSince(start);
    start = Clock::now();
    const bool backedUp = plugin::backupRepository({});
    const double backupTime = millisecondsSince(start);
    std::printf("backupRepository: %.1f MB in %.1f ms, of which quick_check %.1f ms (%s)\n",
                static_cast<double>(std::filesystem::file_size(folder / "tamrix.db")) / 1e6,
                backupTime, checkTime, sound ? "sound" : "damaged");

    plugin::closeRepository();
    std::filesystem::remove_all(folder);
    if (!backedUp)
        return 1;
    return listed == std::max(entries, saves) ? 0 : 1;
}
