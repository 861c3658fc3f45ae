// Where a full layout of the generated page spends its time: our serialisation, the
// layout engine's own parse of that markup (gumbo alone, then the engine's document with
// its styles), the engine's render, and what reading the boxes back adds. The engine is
// also timed alone, on the page as it was written, with a container that measures nothing:
// no layout of ours can be quicker than that. Prints wall and processor time per stage
// (medians of several runs), then times a full layout against the engine alone in
// alternation and prints the median of their ratios, which a machine's changing load
// moves far less than either time: layout_stages [megabytes] [ours|engine|compare] [runs].
// With "ours" or "engine" only that one is run (ten times unless given), for a profiler;
// "compare" runs only the alternation; "page" prints the generated page (for layout_dump).
#include <gumbo.h>
#include <litehtml.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/dom/generated_page.h"
#include "bench/dom/measuring_nothing_container.h"
#include "platform/dom/document.h"
#include "platform/dom/layout/markup/page_markup.h"
#include "platform/dom/layout/page_container.h"
#include "platform/dom/layout/page_defaults.h"
#include "platform/dom/layout/page_layout.h"
#include "platform/dom/resources/page_resources.h"
#include "platform/dom/window.h"

namespace {

double processorMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

struct Figure {
    double wall;
    double processor;
};

Figure median(int runs, const std::function<void()>& work) {
    std::vector<double> walls;
    std::vector<double> processors;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const double cpu = processorMs();
        work();
        processors.push_back(processorMs() - cpu);
        walls.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(walls.begin(), walls.end());
    std::sort(processors.begin(), processors.end());
    return {walls[walls.size() / 2], processors[processors.size() / 2]};
}

void print(const char* stage, Figure figure) {
    std::printf("%-34s %9.1f ms wall %9.1f ms cpu\n", stage, figure.wall, figure.processor);
}

// The engine alone on the page as it was written: parse, render and free.
void engineAlone(const std::string& page, platform::dom::Size viewport) {
    static litehtml::context* context = [] {
        auto* made = new litehtml::context;
        made->load_master_stylesheet(platform::dom::pageDefaultStyleSheet());
        return made;
    }();
    bench::MeasuringNothingContainer nothing(viewport.width, viewport.height);
    auto engine = litehtml::document::createFromUTF8(page.c_str(), &nothing, context);
    engine->render(viewport.width);
}

// A full layout of ours: a fresh layout object each time, as a second layout of an
// unchanged page is not a full one.
std::string ours(const platform::dom::Document& document, platform::dom::Size viewport) {
    platform::dom::PageLayout layout;
    layout.layout(document, viewport);
    return layout.failure();
}

long minorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

void compare(const std::string& page, const platform::dom::Document& document,
             platform::dom::Size viewport) {
    constexpr int kPairs = 9;
    std::vector<double> engineTimes;
    std::vector<double> ourTimes;
    std::vector<double> ratios;
    long engineFaults = 0;
    long ourFaults = 0;
    const auto timed = [](long& faults, const std::function<void()>& work) {
        const long faultsBefore = minorFaults();
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        faults += minorFaults() - faultsBefore;
        return std::chrono::duration<double, std::milli>(end - start).count();
    };
    for (int i = 0; i < kPairs; ++i) {
        engineTimes.push_back(timed(engineFaults, [&] { engineAlone(page, viewport); }));
        ourTimes.push_back(timed(ourFaults, [&] { ours(document, viewport); }));
        ratios.push_back(ourTimes.back() / engineTimes.back());
    }
    for (auto* figures : {&engineTimes, &ourTimes, &ratios})
        std::sort(figures->begin(), figures->end());
    std::printf(
        "alternating, %d pairs: engine alone %.1f ms, ours %.1f ms, median ratio %.3f "
        "(range %.3f-%.3f); page faults per run: engine %ld, ours %ld\n",
        kPairs, engineTimes[kPairs / 2], ourTimes[kPairs / 2], ratios[kPairs / 2], ratios.front(),
        ratios.back(), engineFaults / kPairs, ourFaults / kPairs);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace platform::dom;
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 1.0;
    const std::string mode = argc > 2 ? argv[2] : "";
    const std::string page = bench::generatePage(static_cast<std::size_t>(megabytes * 1048576));
    if (mode == "page") {
        std::fwrite(page.data(), 1, page.size(), stdout);
        return 0;
    }
    const int runs = 5;
    auto document = Document::parse(std::string_view(page));
    const Size viewport = document->parentWindow().viewport();
    if (mode == "ours" || mode == "engine") {
        const int profiledRuns = argc > 3 ? std::atoi(argv[3]) : 10;
        for (int i = 0; i < profiledRuns; ++i)
            if (mode == "ours")
                ours(*document, viewport);
            else
                engineAlone(page, viewport);
        return 0;
    }
    if (mode == "compare") {
        compare(page, *document, viewport);
        return 0;
    }

    PageMarkup markup;
    print("serialise (buildPageMarkup)", median(runs, [&] {
              markup = buildPageMarkup(*document, [](const std::wstring&) { return false; });
          }));
    const std::string html = markup.whole();
    std::printf("markup: %.2f MB for %zu elements\n", html.size() / 1048576.0,
                markup.elements.size());
    print("gumbo parse of that markup", median(runs, [&] {
              GumboOutput* output =
                  gumbo_parse_with_options(&kGumboDefaultOptions, html.data(), html.size());
              gumbo_destroy_output(&kGumboDefaultOptions, output);
          }));

    litehtml::context context;
    context.load_master_stylesheet(pageDefaultStyleSheet());
    PageResources resources("about:blank");
    PageContainer everyRule(resources, viewport, markup.linkedSheets, RuleMatching::everyRule);
    litehtml::document::ptr engine;
    print("engine document, every rule tried", median(runs, [&] {
              engine.reset();
              engine = litehtml::document::createFromUTF8(html.c_str(), &everyRule, &context);
          }));
    engine.reset();
    PageContainer container(resources, viewport, markup.linkedSheets);
    print("engine document, indexed rules", median(runs, [&] {
              engine.reset();
              engine = litehtml::document::createFromUTF8(html.c_str(), &container, &context);
          }));
    print("engine render", median(runs, [&] { engine->render(viewport.width); }));
    engine.reset();

    bench::MeasuringNothingContainer nothing(viewport.width, viewport.height);
    print("engine alone: page source", median(runs, [&] {
              engine.reset();
              engine = litehtml::document::createFromUTF8(page.c_str(), &nothing, &context);
          }));
    print("engine alone: render", median(runs, [&] { engine->render(viewport.width); }));
    engine.reset();
    print("engine alone: source+render+free", median(runs, [&] { engineAlone(page, viewport); }));

    std::string failure;
    print("PageLayout::layout (all of it)",
          median(runs, [&] { failure = ours(*document, viewport); }));
    if (!failure.empty())
        std::printf("refused: %s\n", failure.c_str());

    // Inline styles changed after the first layout: one paragraph's, then every one's.
    PageLayout restyled;
    restyled.layout(*document, viewport);
    const auto paragraphs = document->getElementsByTagName(L"P");
    int step = 0;
    print("restyle one paragraph", median(runs, [&] {
              paragraphs[paragraphs.size() / 2]->setAttribute(
                  L"style", L"font-size:" + std::to_wstring(14 + ++step % 2) + L"px");
              restyled.layout(*document, viewport);
          }));
    print("restyle every paragraph", median(runs, [&] {
              const std::wstring style = L"font-size:" + std::to_wstring(14 + ++step % 2) + L"px";
              for (const auto& paragraph : paragraphs)
                  paragraph->setAttribute(L"style", style);
              restyled.layout(*document, viewport);
          }));
    std::printf("full layouts %d, restyles in place %d\n", restyled.fullLayouts(),
                restyled.restyles());
    compare(page, *document, viewport);
    return 0;
}
