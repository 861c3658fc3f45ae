// Exports of a large repository. Filling and exporting run as separate processes, so that
// the peak memory of an export can be read on its own:
//
//   bench_export fill REPOSITORY [entries=2000] [kilobytes=50]
//   /usr/bin/time -v bench_export export REPOSITORY epub|html|text OUTPUT
//
// "Maximum resident set size" is the export's peak memory; the time it took is printed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/text/utf.h"
#include "plugin/export/exports.h"
#include "plugin/repository/repository.h"

namespace {

// An article of about `kilobytes` KB of markup: headings, paragraphs, a list and a table.
std::wstring articleMarkup(int index, int kilobytes) {
    std::wstring html = L"<h2>Article " + std::to_wstring(index) + L"</h2>";
    for (int block = 0; html.size() < static_cast<std::size_t>(kilobytes) * 1024; ++block) {
        html += L"<p>Paragraph " + std::to_wstring(block) +
                L" of a long article, with <b>bold</b>, <i>italic</i> and <a "
                L"href=\"https://example.org/" +
                std::to_wstring(block) +
                L"\">a link</a>; the text goes on for a while so that the page is long.</p>";
        if (block % 10 == 0)
            html +=
                L"<ul><li>one</li><li>two</li></ul><table><tr><td>a</td><td>b</td></tr>"
                L"</table>";
    }
    return html;
}

int fill(const std::string& repository, int entries, int kilobytes) {
    if (plugin::OpenRepository(platform::text::fromUtf8(repository)) != 0)
        return 1;
    for (int i = 0; i < entries; ++i) {
        plugin::EntryRecord record;
        record.url = L"https://news.example/story" + std::to_wstring(i);
        record.title = L"Story " + std::to_wstring(i);
        record.html = articleMarkup(i, kilobytes);
        record.text = L"Story " + std::to_wstring(i);
        if (plugin::insertEntry(record).empty())
            return 1;
    }
    plugin::closeRepository();
    std::printf("filled %s with %d entries of %d KB\n", repository.c_str(), entries, kilobytes);
    return 0;
}

int exportAll(const std::string& repository, const std::string& format, const std::string& output) {
    if (plugin::OpenRepository(platform::text::fromUtf8(repository)) != 0)
        return 1;
    const int code = format == "epub"   ? plugin::kExportEpub
                     : format == "html" ? plugin::kExportHtml
                                        : plugin::kExportText;
    const auto start = std::chrono::steady_clock::now();
    plugin::ExportControl control;
    const int result =
        plugin::exportLatest(L"Bench", platform::text::fromUtf8(output), 0, code, &control);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    plugin::closeRepository();
    if (result != 0) {
        std::fprintf(stderr, "export failed: %s\n", platform::text::toUtf8(control.error).c_str());
        return 1;
    }
    std::printf("exported %s as %s in %.1f s\n", repository.c_str(), format.c_str(), seconds);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() >= 2 && arguments[0] == "fill")
        return fill(arguments[1], arguments.size() > 2 ? std::atoi(arguments[2].c_str()) : 2000,
                    arguments.size() > 3 ? std::atoi(arguments[3].c_str()) : 50);
    if (arguments.size() == 4 && arguments[0] == "export")
        return exportAll(arguments[1], arguments[2], arguments[3]);
    std::fprintf(stderr,
                 "usage: bench_export fill REPOSITORY [entries] [kilobytes]\n"
                 "       bench_export export REPOSITORY epub|html|text OUTPUT\n");
    return 2;
}
