// Where saving the generated page spends its time, stage by stage as the save hands the page
// on: the clean-up of a copy of the page, the line-break flattening,
// Tidy, the body taken out of Tidy's document, the sanitiser, and the page's text. Prints
// wall time per stage (medians of several runs): save_stages [megabytes | PAGE_FILE], the
// generated page of that size (1 MB by default) or the page in the file.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "addon/page/line_breaks.h"
#include "addon/page/page_clean.h"
#include "addon/page/tidy_html.h"
#include "bench/dom/generated_page.h"
#include "common/markup/markup_sanitizer.h"
#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/text/utf.h"

namespace {

double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> walls;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        walls.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(walls.begin(), walls.end());
    return walls[walls.size() / 2];
}

// Times the stage, then prints it with the size of what it gave.
void stage(const char* name, const std::wstring& out, const std::function<void()>& work) {
    const double ms = medianMs(7, work);
    std::printf("%-28s %9.1f ms   %9zu characters out\n", name, ms, out.size());
}

// The page in the file named `argument`, or else the generated page of that many megabytes.
std::string pageOf(const char* argument) {
    if (std::ifstream file{argument, std::ios::binary})
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return bench::generatePage(static_cast<std::size_t>(std::atof(argument) * 1024 * 1024));
}

}  // namespace

int main(int argc, char** argv) {
    constexpr int kEveryMask = 0xffff;
    constexpr int kEveryKind = 255;
    const std::wstring address = L"file:///tmp/bench.html";
    const std::wstring page = platform::text::fromUtf8(pageOf(argc > 1 ? argv[1] : "1"));
    const auto document = platform::dom::Document::parse(std::wstring_view(page), address);

    std::wstring cleaned;
    stage("copy and clean-up", cleaned, [&] {
        const auto copy =
            std::static_pointer_cast<platform::dom::Document>(document->cloneNode(true));
        cleaned = addon::cleanDocumentMarkup(*copy, address, kEveryMask, kEveryKind, kEveryKind,
                                             addon::kMarkupDocument);
    });
    std::wstring flat;
    stage("line breaks", flat, [&] { flat = addon::flattenLineBreaks(cleaned); });
    std::wstring tidied;
    stage("tidy", tidied, [&] { addon::tidyHtml(flat, tidied, L""); });
    std::wstring body;
    stage("tidy body", body, [&] { addon::extractTidyBody(tidied, body); });
    std::wstring safe;
    stage("sanitiser", safe, [&] { safe = common::safeMarkup(body); });
    std::wstring text;
    stage("page text", text, [&] { text = document->body()->innerText(); });
    return 0;
}
