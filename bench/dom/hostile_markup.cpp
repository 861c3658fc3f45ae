// Times what a stranger's markup costs to read: one tag with many attributes, as a page
// (parse into the document model) and as a clip (the display sanitiser), and a page of
// many such tags. Run by hand: hostile_markup [attributes...] (default 20000 40000 80000).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "common/markup/markup_sanitizer.h"
#include "platform/dom/document.h"

namespace {

std::string tagWithAttributes(int count, int first = 0) {
    std::string tag = "<div";
    for (int i = first; i < first + count; ++i)
        tag += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    return tag + ">text</div>";
}

double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void time(const char* what, const std::string& markup) {
    const double parse =
        seconds([&] { platform::dom::Document::parse(markup, L"http://bench.example/"); });
    const double sanitise = seconds([&] { common::safeMarkupUtf8(markup); });
    std::printf("%-34s %9zu bytes: page parse %8.3f s, clip sanitiser %8.3f s\n", what,
                markup.size(), parse, sanitise);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::atoi(argv[i]));
    if (counts.empty())
        counts = {20000, 40000, 80000};
    for (const int count : counts)
        time(("one tag, " + std::to_string(count) + " attributes").c_str(),
             "<html><body>" + tagWithAttributes(count) + "</body></html>");
    // About 1.9 MB: 200,000 attributes in 100 tags of 2,000.
    std::string page = "<html><body>";
    for (int tag = 0; tag < 100; ++tag)
        page += tagWithAttributes(2000, tag * 2000);
    time("100 tags of 2,000 attributes", page + "</body></html>");
    return 0;
}
