// Times how long a save waits while a synchronisation applies the service's answer: the
// answer holds entries with very many attributes on one element, whose markup is slow to
// clean. A worker thread applies the answer; once it has started, the main thread saves an
// entry (what Ctrl+S does) and times how long that save waits for the repository. The
// repository is a fresh file in a temporary folder that is removed afterwards.
//
//   bench_sync_apply [entries=2] [attributes=150000]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/text/utf.h"
#include "plugin/repository/repository.h"
#include "plugin/sync/sync_changes.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One paragraph carrying `attributes` attributes.
std::wstring manyAttributes(int attributes) {
    std::wstring html = L"<p";
    for (int i = 0; i < attributes; ++i)
        html += L" a" + std::to_wstring(i) + L"=\"1\"";
    return html + L">text</p>";
}

}  // namespace

int main(int argc, char** argv) {
    const int entries = argc > 1 ? std::atoi(argv[1]) : 2;
    const int attributes = argc > 2 ? std::atoi(argv[2]) : 150000;
    char pattern[] = "/tmp/bench-sync-apply-XXXXXX";
    const std::filesystem::path folder = mkdtemp(pattern);
    if (plugin::OpenRepository(platform::text::fromUtf8((folder / "tamrix.db").string())) != 0)
        return 1;

    std::vector<plugin::EntryRecord> records(static_cast<std::size_t>(entries));
    const std::wstring html = manyAttributes(attributes);
    for (int i = 0; i < entries; ++i) {
        records[i].guid = L"Bbench-" + std::to_wstring(i);
        records[i].updateTime = L"2026-01-01 00:00:00";
        records[i].command = L"insert";
        records[i].html = html;
    }
    std::printf("answer: %d entries of %.2f MB, %d attributes each\n", entries,
                static_cast<double>(platform::text::toUtf8(html).size()) / 1e6, attributes);

    const Clock::time_point start = Clock::now();
    double applied = 0;
    std::thread worker([&] {
        const int result = plugin::ApplySyncChanges(records);
        applied = secondsSince(start);
        std::printf("apply: result %d after %.2f s\n", result, applied);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    plugin::EntryRecord saved;
    saved.title = L"Saved meanwhile";
    saved.url = L"http://example.org/saved";
    const Clock::time_point saveStart = Clock::now();
    const bool stored = !plugin::insertEntry(saved).empty();
    std::printf("save during the apply: %s after %.3f s\n", stored ? "stored" : "FAILED",
                secondsSince(saveStart));
    worker.join();
    plugin::closeRepository();
    std::filesystem::remove_all(folder);
    return stored ? 0 : 1;
}
