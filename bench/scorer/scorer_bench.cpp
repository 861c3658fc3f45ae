// Builds a page of about 1 MB (a news page whose article, comments and menus repeat), then
// times parsing, the tag scorer and a Grab with its undo, and reports the peak memory.
// Usage: bench_scorer <grab.xml> [repetitions]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "addon/commands/command_processor.h"
#include "addon/readable/grab_rules.h"
#include "addon/readable/readable_commands.h"
#include "addon/readable/readable_scorer.h"
#include "platform/text/utf.h"

namespace {

std::wstring bigPage() {
    std::wstring menu = L"<ul class=menu>";
    for (int i = 0; i < 20; ++i) {
        menu += L"<li><a href=/s" + std::to_wstring(i) + L">Section " + std::to_wstring(i) +
                L"</a></li>";
    }
    menu += L"</ul>";
    const std::wstring paragraph =
        L"<p>The council met on Tuesday to discuss the river project, which has divided "
        L"residents for years; engineers said the new embankment would protect homes while "
        L"critics warned about costs and the loss of the old market square.</p>";
    std::wstring page = L"<html><head><title>Big page</title><style>p{}</style></head><body>";
    int block = 0;
    while (page.size() < 1000000) {
        page += L"<div class=block" + std::to_wstring(block++) + L">" + menu + L"<div class=story>";
        for (int i = 0; i < 8; ++i) {
            page += paragraph;
        }
        page += L"</div><div class=comments>";
        for (int i = 0; i < 5; ++i) {
            page += L"<div class=comment><a href=/u>reader</a><p>Agreed.</p></div>";
        }
        page += L"</div></div>";
    }
    return page + L"</body></html>";
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || addon::loadGrabRules(platform::text::fromUtf8(argv[1])) != 0) {
        std::fprintf(stderr, "usage: bench_scorer <grab.xml> [repetitions]\n");
        return 2;
    }
    const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const std::wstring markup = bigPage();
    std::printf("page: %zu characters\n", markup.size());
    double parse = 0, score = 0, grab = 0;
    for (int i = 0; i < repetitions; ++i) {
        auto start = std::chrono::steady_clock::now();
        auto document =
            platform::dom::Document::parse(std::wstring_view(markup), L"http://bench.test/");
        parse += millisecondsSince(start);

        start = std::chrono::steady_clock::now();
        const auto chosen = addon::scoreByTags(document->body());
        score += millisecondsSince(start);
        if (!chosen) {
            std::fprintf(stderr, "the scorer found nothing\n");
            return 1;
        }

        start = std::chrono::steady_clock::now();
        addon::CommandProcessor processor;
        auto command = std::make_unique<addon::GrabCommand>(L"Novel");
        command->context().document = document;
        processor.run(std::move(command));
        processor.undo();
        grab += millisecondsSince(start);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("parse %.1f ms, scoreByTags %.1f ms, Grab+undo %.1f ms (mean of %d)\n",
                parse / repetitions, score / repetitions, grab / repetitions, repetitions);
    std::printf("peak memory: %ld KiB\n", usage.ru_maxrss);
    return 0;
}
