// How long a stop of the link-grab worker takes while it reads a large fetched page: a
// loopback server serves one page of about [megabytes] MB, the worker fetches it, and at
// several moments after the fetch the worker is destroyed (stop and join). Prints the time
// each stop took and the longest. Run by hand: bench_link_stop [megabytes].
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "addon/linkfetch/link_fetch_pool.h"
#include "addon/readable/grab_rules.h"
#include "platform/dom/document.h"
#include "testing/http/loopback_server.h"

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

std::string largePage(std::size_t bytes) {
    std::string page = "<html><head><title>Large</title></head><body><div id='story'>";
    for (int i = 0; page.size() < bytes; ++i)
        page += "<div class='part'><p>Paragraph " + std::to_string(i) +
                " of a long story, with <a href='/x'>a link</a> and <b>some</b> words in it "
                "so that the scorer has text to weigh.</p></div>";
    return page + "</div></body></html>";
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 4;
    if (addon::loadGrabRules(std::filesystem::path(TAMRIX_STAGE_DIR "/data/grab.xml").wstring()) !=
        0) {
        std::fprintf(stderr, "cannot load the grab rules\n");
        return 1;
    }
    testing_http::LoopbackServer server(std::chrono::seconds(600));
    server.reply("/large", testing_http::Reply{200, largePage(megabytes << 20), "text/html"});
    const std::string url = server.url("/large");
    const addon::LinkFetchSettings settings{1, 1, std::chrono::seconds(20)};
    // The worker looks at its tasks 100 ms after it starts and every 500 ms after that; the
    // fetch ends before its first look, so reading the page begins about 100 ms in.
    const int offsets[] = {150, 250, 400, 600, 800, 1000};
    double longest = 0;
    std::printf("| stop after (ms) | stop took (ms) |\n|---:|---:|\n");
    for (const int offset : offsets) {
        const auto page = platform::dom::Document::parse(
            std::wstring_view(L"<html><body><div id='readable_content_0'></div></body></html>"));
        auto worker = std::make_unique<addon::GrabLinksThread>(
            std::vector<std::wstring>{std::wstring(url.begin(), url.end())}, page, settings);
        std::this_thread::sleep_for(std::chrono::milliseconds(offset));
        const auto stopping = Clock::now();
        worker.reset();
        const double took = Milliseconds(Clock::now() - stopping).count();
        longest = std::max(longest, took);
        std::printf("| %d | %.1f |\n", offset, took);
    }
    std::printf("\nlongest stop: %.1f ms (page %zu MB)\n", longest, megabytes);
    return 0;
}
