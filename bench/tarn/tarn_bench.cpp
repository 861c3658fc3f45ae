// Times a repository list page over 10,000 entries: the first request (compile, SQL and
// transformation), repeated requests of the same page without its cache, and cache hits
// (from the page's held content and from the cache file).
//
//   build/bench/tarn/bench_tarn [rows] [repeats] [output file]
//
// With an output file, the bytes of the page without its cache are written there, so
// that the output of two builds can be compared.
// Runs in a temporary home and a temporary installation of its own: the library that
// finds the installation (libplatform_system.so, whose own folder names it) is copied into
// a fresh folder ("bin" beside "data/plugins") and the bench runs again with that copy
// loaded, so the engine's plug-in folder, where pages have cache files, is the bench's own
// wherever the build lies, and nothing is written into the build. The bench stops when
// the cached page left no cache file, rather than time full requests as cache hits. The
// folder is removed at the end.
#include <link.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/sqlite/sqlite_db.h"
#include "common/util/engine_folder.h"
#include "platform/system/module_path.h"
#include "tarn/engine/tarn_application.h"
#include "testing/environment/temporary_home.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kListPage[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:output method="html"/>
<xsl:define name="support_cache" value="SUPPORT"/>
<xsl:variable name="folder" select="'{$request_value}'"/>
<Tarn database="tamrix.db">
  <request name="*" method="SQL"
           value="select guid as _guid, id as _id, title, site, folder, tags, updateTime from entry order by updateTime desc"/>
</Tarn>
<xsl:template match="/storage">
  <html><head><title>Latest in <xsl:value-of select="$folder"/></title></head>
  <body><table>
    <xsl:for-each select="item">
      <tr><td><a href="tarn://tamrix/item?{@guid}"><xsl:value-of select="title"/></a></td>
          <td><xsl:value-of select="site"/></td><td><xsl:value-of select="folder"/></td>
          <td><xsl:value-of select="tags"/></td><td><xsl:value-of select="updateTime"/></td></tr>
    </xsl:for-each>
  </table></body></html>
</xsl:template>
</xsl:stylesheet>
)";

void createRepository(const std::string& path, int rows) {
    common::SqliteDB db(std::wstring(path.begin(), path.end()), false);
    db.exec(
        L"CREATE TABLE entry (id TEXT, guid TEXT primary key, createTime DATETIME default "
        L"CURRENT_TIMESTAMP, updateTime DATETIME default CURRENT_TIMESTAMP, url TEXT, site TEXT, "
        L"type TEXT, category TEXT, folder TEXT, tags TEXT, title TEXT, description TEXT, text "
        L"TEXT, html TEXT, mode INTEGER);");
    db.exec(L"begin;");
    auto insert = db.prepareStatement(
        L"insert into entry values (?,?,?,?,?,?,'clip','news/world',?,?,?,?,?,?,0);");
    for (int i = 0; i < rows; ++i) {
        wchar_t guid[40];
        swprintf(guid, 40, L"A%07X-0000-0000-0000-000000000000", i);
        wchar_t time[32];
        swprintf(time, 32, L"2024-%02d-%02d %02d:%02d:%02d", 1 + i % 12, 1 + i % 28, i % 24, i % 60,
                 (i / 60) % 60);
        const std::wstring n = std::to_wstring(i);
        insert.bind(1, std::wstring_view(guid).substr(0, 8));
        insert.bind(2, std::wstring_view(guid));
        insert.bind(3, std::wstring_view(time));
        insert.bind(4, std::wstring_view(time));
        insert.bind(5, L"https://example.org/articles/" + n);
        insert.bind(6, std::wstring_view(L"example.org"));
        insert.bind(7, L"folder " + std::to_wstring(i % 20));
        insert.bind(8, std::wstring_view(L"a,b,c"));
        insert.bind(9, L"Article number " + n + L" about things & stuff");
        insert.bind(10, std::wstring_view(L"A short description"));
        insert.bind(11, std::wstring_view(L"Some text"));
        insert.bind(12, std::wstring_view(L"<p>Some text</p>"));
        insert.exec();
    }
    db.exec(L"commit;");
}

void writePage(const std::filesystem::path& path, bool cache) {
    std::string text = kListPage;
    text.replace(text.find("SUPPORT"), 7, cache ? "true" : "false");
    std::ofstream(path) << text;
}

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// The processor time of this thread in milliseconds: on a busy machine it shows what a
// request costs better than the time that passes meanwhile.
double threadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Runs `url` `repeats` times and returns the median time in milliseconds (and the median
// processor time in `cpu` when given); the last response's bytes go into `content`.
double medianOf(const std::wstring& url, int repeats, std::string& content, double* cpu = nullptr) {
    std::vector<double> times;
    std::vector<double> cpuTimes;
    for (int i = 0; i < repeats; ++i) {
        tarn::TarnResponse response;
        const auto start = Clock::now();
        const double cpuStart = threadCpuMilliseconds();
        if (tarn::TarnApplication::request(url, response) != 0) {
            std::fprintf(stderr, "request failed: %ls\n", url.c_str());
            exit(1);
        }
        cpuTimes.push_back(threadCpuMilliseconds() - cpuStart);
        times.push_back(milliseconds(Clock::now() - start));
        content = std::move(response.content);
    }
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    if (cpu != nullptr) {
        *cpu = cpuTimes[cpuTimes.size() / 2];
    }
    return times[times.size() / 2];
}

constexpr char kRootVariable[] = "TAMRIX_BENCH_TARN_ROOT";

constexpr char kInstallationLibrary[] = "libplatform_system.so";

// The file of the loaded library that finds the installation.
std::filesystem::path installationLibrary() {
    std::filesystem::path found;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* data) {
            const std::string name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            if (name.ends_with(std::string("/") + kInstallationLibrary))
                *static_cast<std::filesystem::path*>(data) = name;
            return 0;
        },
        &found);
    return found;
}

std::size_t filesIn(const std::filesystem::path& folder) {
    std::error_code error;
    std::size_t count = 0;
    for (auto file = std::filesystem::directory_iterator(folder, error);
         !error && file != std::filesystem::directory_iterator(); file.increment(error)) {
        ++count;
    }
    return count;
}

// Makes the temporary installation and runs this program again over it; returns only
// when that cannot be done.
int runInOwnInstallation(char** argv) {
    const std::filesystem::path library = installationLibrary();
    char pattern[] = "/tmp/bench-tarn-XXXXXX";
    if (library.empty() || mkdtemp(pattern) == nullptr) {
        std::fprintf(stderr, "cannot make the bench's own installation\n");
        return 1;
    }
    const std::filesystem::path root = pattern;
    std::filesystem::create_directories(root / "bin");
    std::filesystem::create_directories(root / "data" / "plugins");
    std::filesystem::copy_file(library, root / "bin" / kInstallationLibrary);
    const char* paths = std::getenv("LD_LIBRARY_PATH");
    const std::string libraryPath = (root / "bin").string() + ":" + library.parent_path().string() +
                                    (paths != nullptr ? std::string(":") + paths : "");
    setenv("LD_LIBRARY_PATH", libraryPath.c_str(), 1);
    setenv(kRootVariable, root.c_str(), 1);
    execv("/proc/self/exe", argv);
    std::filesystem::remove_all(root);
    std::fprintf(stderr, "cannot run the bench again\n");
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const char* ownRoot = std::getenv(kRootVariable);
    if (ownRoot == nullptr)
        return runInOwnInstallation(argv);
    const std::filesystem::path root = ownRoot;
    const std::filesystem::path plugins = root / "data" / "plugins" / "bench-tarn";
    if (platform::system::dataFolder() != (root / "data").string()) {
        std::fprintf(stderr, "the installation is not %s: no cache files to measure\n",
                     root.c_str());
        std::filesystem::remove_all(root);
        return 1;
    }
    const int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int repeats = argc > 2 ? std::atoi(argv[2]) : 9;
    testing_environment::TemporaryHome home;
    std::filesystem::create_directories(plugins);

    createRepository((home.root() / "tamrix.db").string(), rows);
    writePage(plugins / "cached.xsl", true);
    writePage(plugins / "live.xsl", false);
    tarn::TarnApplication::init(home.root().wstring());
    tarn::TarnApplication::reg((plugins / "cached.xsl").wstring(), L"//tamrix/cached/.*", 1);
    tarn::TarnApplication::reg((plugins / "live.xsl").wstring(), L"//tamrix/live/.*", 1);

    const char* outputFile = argc > 3 ? argv[3] : nullptr;
    std::string content;
    const auto start = Clock::now();
    tarn::TarnResponse response;
    if (tarn::TarnApplication::request(L"//tamrix/cached/a", response) != 0) {
        std::fprintf(stderr, "first request failed\n");
        return 1;
    }
    const double first = milliseconds(Clock::now() - start);
    const std::filesystem::path cacheFolder = common::engineFolder(L"UserCache");
    if (filesIn(cacheFolder) != 1) {
        std::fprintf(stderr, "the cached page left %zu files in %s, not one\n",
                     filesIn(cacheFolder), cacheFolder.c_str());
        std::filesystem::remove_all(root);
        return 1;
    }

    double fullCpu = 0;
    const double full = medianOf(L"//tamrix/live/a", repeats, content, &fullCpu);
    const std::size_t bytes = content.size();
    if (outputFile != nullptr) {
        std::ofstream(outputFile, std::ios::binary) << content;
    }
    std::string hit;
    const double heldHit = medianOf(L"//tamrix/cached/a", repeats, hit);
    tarn::TarnApplication::request(L"//tamrix/cached/b", response);
    std::vector<double> fileHits;
    for (int i = 0; i < repeats; ++i) {
        fileHits.push_back(medianOf(i % 2 ? L"//tamrix/cached/a" : L"//tamrix/cached/b", 1, hit));
    }
    std::sort(fileHits.begin(), fileHits.end());
    const double fileHit = fileHits[fileHits.size() / 2];

    std::printf("rows %d, page %zu bytes, median of %d\n", rows, bytes, repeats);
    std::printf("first request (compile + SQL + XSLT): %8.2f ms\n", first);
    std::printf("repeated request, cache off:          %8.2f ms  (processor %.2f ms)\n", full,
                fullCpu);
    std::printf("cache hit, content held by the page:  %8.3f ms  (%.0fx faster)\n", heldHit,
                full / heldHit);
    std::printf("cache hit, read from the cache file:  %8.3f ms  (%.0fx faster)\n", fileHit,
                full / fileHit);

    tarn::TarnApplication::term();
    std::filesystem::remove_all(root);
    return 0;
}
