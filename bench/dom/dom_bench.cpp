// Parse, cascade and layout figures for the document stand-in on a generated article page.
#include <gumbo.h>
#include <jemalloc/jemalloc.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/dom/generated_page.h"
#include "platform/dom/document.h"
#include "platform/dom/style/cascade.h"
#include "platform/dom/window.h"

namespace {

using platform::dom::Document;

double medianMilliseconds(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The bytes the programs' allocator (jemalloc) has handed out and not taken back.
std::size_t heapInUse() {
    std::uint64_t epoch = 1;
    std::size_t size = sizeof(epoch);
    mallctl("epoch", &epoch, &size, &epoch, size);
    std::size_t allocated = 0;
    size = sizeof(allocated);
    mallctl("stats.allocated", &allocated, &size, nullptr, 0);
    return allocated;
}

}  // namespace

int main(int argc, char** argv) {
    double megabytes = argc > 1 ? std::atof(argv[1]) : 1.0;
    std::string page = bench::generatePage(static_cast<std::size_t>(megabytes * 1024 * 1024));
    const int runs = 7;

    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    double gumboMs = medianMilliseconds(runs, [&] {
        GumboOutput* output = gumbo_parse_with_options(&options, page.data(), page.size());
        gumbo_destroy_output(&options, output);
    });
    double gumboDefaultMs = medianMilliseconds(runs, [&] {
        GumboOutput* output = gumbo_parse(page.c_str());
        gumbo_destroy_output(&kGumboDefaultOptions, output);
    });
    double parseMs = medianMilliseconds(runs, [&] { Document::parse(std::string_view(page)); });

    std::size_t before = heapInUse();
    auto document = Document::parse(std::string_view(page));
    std::size_t treeBytes = heapInUse() - before;
    std::size_t elements = document->all()->size();
    std::size_t nodes = 0;
    std::vector<const platform::dom::Node*> pending{document.get()};
    while (!pending.empty()) {
        const auto* node = pending.back();
        pending.pop_back();
        ++nodes;
        for (const auto& child : node->childNodes())
            pending.push_back(child.get());
    }

    before = heapInUse();
    auto cascadeStart = std::chrono::steady_clock::now();
    for (const auto& element : *document->all())
        element->currentStyle();
    double cascadeMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - cascadeStart)
            .count();
    std::size_t styleBytes = heapInUse() - before;

    before = heapInUse();
    auto layoutStart = std::chrono::steady_clock::now();
    document->recalc(true);
    double layoutMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - layoutStart)
            .count();
    std::size_t layoutBytes = heapInUse() - before;

    double allMs = medianMilliseconds(3, [&] {
        auto fresh = Document::parse(std::string_view(page));
        fresh->recalc(true);
    });

    // Gestures after the first layout: pointer events over the page, and a selection
    // overlay that follows the pointer (moved, then the element under it looked up).
    document->parentWindow().resizeTo(1024, 768);
    document->body()->getBoundingClientRect();
    int step = 0;
    double hoverMs = medianMilliseconds(31, [&] {
        ++step;
        document->dispatchMouseEvent(L"mousemove", 100 + step * 13 % 800, 50 + step * 7 % 600, 0);
    });
    double clickMs = medianMilliseconds(31, [&] {
        ++step;
        document->dispatchMouseEvent(L"mousedown", 100 + step * 13 % 800, 50 + step * 7 % 600, 1);
        document->dispatchMouseEvent(L"mouseup", 100 + step * 13 % 800, 50 + step * 7 % 600, 1);
        document->dispatchMouseEvent(L"click", 100 + step * 13 % 800, 50 + step * 7 % 600, 1);
    });
    auto overlay = document->createElement(L"div");
    document->body()->insertBefore(overlay, document->body()->firstChild());
    double overlayMs = medianMilliseconds(31, [&] {
        ++step;
        overlay->setAttribute(L"style",
                              L"position:absolute;overflow:hidden;border:2px solid red;"
                              L"left:" +
                                  std::to_wstring(step * 13 % 800) + L"px;top:" +
                                  std::to_wstring(step * 7 % 600) + L"px;width:120px;height:40px");
        document->elementFromPoint(200 + step % 300, 200);
    });

    std::printf("page: %.2f MB, %zu elements, %zu nodes\n", page.size() / 1048576.0, elements,
                nodes);
    std::printf("gumbo parse (max_errors 0):   %8.2f ms\n", gumboMs);
    std::printf("gumbo parse (default opts):   %8.2f ms\n", gumboDefaultMs);
    std::printf("Document::parse:              %8.2f ms  (%.2fx gumbo)\n", parseMs,
                parseMs / gumboMs);
    std::printf("cascade of every element:     %8.2f ms\n", cascadeMs);
    std::printf("layout:                       %8.2f ms\n", layoutMs);
    std::printf("parse + cascade + layout:     %8.2f ms\n", allMs);
    std::printf("hover (mousemove) median:     %8.3f ms\n", hoverMs);
    std::printf("click (down, up, click):      %8.3f ms\n", clickMs);
    std::printf("overlay move + hit test:      %8.2f ms\n", overlayMs);
    std::printf("tree memory:   %8.1f bytes/element, %6.1f bytes/node (%.1f MB)\n",
                double(treeBytes) / elements, double(treeBytes) / nodes, treeBytes / 1048576.0);
    std::printf("style memory:  %8.1f bytes/element\n", double(styleBytes) / elements);
    std::printf("layout memory: %8.1f bytes/element\n", double(layoutBytes) / elements);
    return 0;
}
