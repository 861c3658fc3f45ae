// Times the selection gestures on real pages through the page's own DOM events, as the
// window hands them to the selection engine: hover onto a new element (track mode), a click
// that selects and one that deselects, Ctrl+Right and Ctrl+Left (Select More and Less), one
// step of a right-button rectangle drag, and the undo of a Grab. For each page it also
// counts the full layouts that the gestures caused and checks that every overlay lies on
// its element's box (within 1 px) and that every non-empty text range gets text overlays.
// Prints one line per page and, last, the median and 95th percentile of each gesture over
// all pages: bench_gestures page.html...
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "addon/commands/command_processor.h"
#include "addon/readable/main_element.h"
#include "addon/readable/readable_commands.h"
#include "addon/selection/clip_selection.h"
#include "addon/selection/input_binding.h"
#include "addon/selection/settings.h"
#include "platform/dom/events/event_sink.h"
#include "platform/dom/layout/page_layout.h"
#include "platform/dom/text_range.h"
#include "platform/dom/window.h"
#include "platform/registry/store.h"

using namespace addon;
using platform::com::HRESULT;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The window's part: Ctrl+Right and Ctrl+Left arrive as commands it hands back.
class BenchHost : public SelectionHost {
  public:
    ClipSelection* engine = nullptr;
    int dispatchCommand(const std::wstring& command) override {
        if (command == L"command-select-more")
            return engine->selectMore();
        if (command == L"command-select-less")
            return engine->selectLess();
        return 1;
    }
    void requestModeChange(std::int32_t, std::int32_t next) override { engine->setMode(next); }
    platform::ui::HWND browserWindow() override { return platform::ui::HWND{}; }
    platform::ui::Rect pageViewRect() override { return {0, 0, 1024, 768}; }
    void animateFrame(const platform::ui::Rect&, const platform::ui::Rect&, int) override {}
    std::uint64_t tickCount() override { return now += 1000; }
    std::uint64_t now = 0;
};

class Sink : public dom::EventSink {
  public:
    explicit Sink(ClipSelection& engine) : engine_(engine) {}
    HRESULT Invoke(dom::Event& event) override { return engine_.handleDocumentEvent(event); }

  private:
    ClipSelection& engine_;
};

struct Figures {
    std::map<std::string, std::vector<double>> times;
    int overlaysChecked = 0;
    int overlaysOff = 0;
    int textRanges = 0;
    int textRangesWithoutOverlay = 0;
};

double percentile(std::vector<double> values, double share) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

int fullLayouts(const dom::Document& document) {
    const auto* engine = dynamic_cast<const dom::PageLayout*>(&document.layout());
    return engine ? engine->fullLayouts() : 0;
}

// Every overlay of the selected and tracked items against the areas it paints.
void checkOverlays(ClipSelection& engine, dom::Document& document, Figures& figures) {
    const auto check = [&](const std::vector<SelectionItem>& items, const wchar_t* textId,
                           const wchar_t* blockId) {
        for (const auto& item : items) {
            const auto areas = item.areas(document);
            if (item.kind() == SelectionItem::kText) {
                ++figures.textRanges;
                if (!item.textRange()->text().empty() && areas.empty())
                    ++figures.textRangesWithoutOverlay;
            }
            const wchar_t* id = item.kind() == SelectionItem::kText ? textId : blockId;
            std::vector<ElementPtr> overlays;
            for (const auto& element : *document.all())
                if (element->id() == id)
                    overlays.push_back(element);
            for (const Rect& area : areas) {
                ++figures.overlaysChecked;
                const bool placed = std::any_of(overlays.begin(), overlays.end(), [&](auto& o) {
                    const OptionalRect box = getElementAbsoluteRect(o);
                    const int border = o->clientLeft();
                    return box && std::abs(box->x + border - area.x) <= 1 &&
                           std::abs(box->y + o->clientTop() - area.y) <= 1 &&
                           std::abs(box->width - 2 * border - area.width) <= 1;
                });
                figures.overlaysOff += placed ? 0 : 1;
            }
        }
    };
    check(engine.selected(), L"__idDivTextOverlay", L"__idDivRectOverlay");
    check(engine.tracked(), L"__idDivTextTracker", L"__idDivElemTracker");
}

void benchPage(const char* path, Figures& all) {
    const std::string html = readFile(path);
    auto start = Clock::now();
    auto document = dom::Document::parse(std::string_view(html), L"about:blank");
    // A saved page shown without its linked sheets and without the network.
    document->setStyleSheetLoader(
        [](const std::wstring&, const std::wstring&) { return std::optional<std::string>(); });
    BenchHost host;
    ClipSelection engine(document, host);
    host.engine = &engine;
    auto sink = std::make_shared<Sink>(engine);
    document->advise(sink);
    document->layout();
    const double attach = millisecondsSince(start);
    const int layoutsBefore = fullLayouts(*document);
    Figures figures;
    const auto timed = [&](const std::string& name, const std::function<void()>& gesture) {
        const auto begin = Clock::now();
        gesture();
        figures.times[name].push_back(millisecondsSince(begin));
    };
    const dom::Size viewport = document->parentWindow().viewport();
    const int height = document->documentElement()->scrollHeight();
    std::vector<int> scrolls;
    for (int y = 0; y < height && scrolls.size() < 4; y += std::max(height / 4, 1))
        scrolls.push_back(y);

    // Hover: the pointer crosses the viewport on a grid; a move onto a new element counts.
    engine.setMode(ClipSelection::kModeTrack);
    for (int scroll : scrolls) {
        document->parentWindow().scrollTo(0, scroll);
        for (int y = 30; y < viewport.height; y += 90)
            for (int x = 40; x < viewport.width; x += 110) {
                const ElementPtr before =
                    engine.tracked().empty() ? nullptr : engine.tracked()[0].elements().front();
                const auto begin = Clock::now();
                document->dispatchMouseEvent(L"mouseover", x, y, 0);
                const double spent = millisecondsSince(begin);
                const ElementPtr after =
                    engine.tracked().empty() ? nullptr : engine.tracked()[0].elements().front();
                if (after && after != before) {
                    figures.times["hover"].push_back(spent);
                    checkOverlays(engine, *document, figures);
                }
            }
    }
    // Click to select, Ctrl+Right and Ctrl+Left on it, click again to deselect.
    for (int scroll : scrolls) {
        document->parentWindow().scrollTo(0, scroll);
        for (int y = 100; y < viewport.height; y += 250) {
            const int x = viewport.width / 3;
            document->dispatchMouseEvent(L"mouseover", x, y, 0);
            if (engine.tracked().empty())
                continue;
            timed("click", [&] { document->dispatchMouseEvent(L"click", x, y, 0); });
            checkOverlays(engine, *document, figures);
            timed("ctrl+right", [&] { document->dispatchKeyEvent(L"keydown", 39, {false, true}); });
            checkOverlays(engine, *document, figures);
            timed("ctrl+left", [&] { document->dispatchKeyEvent(L"keydown", 37, {false, true}); });
            checkOverlays(engine, *document, figures);
            timed("click", [&] { document->dispatchMouseEvent(L"click", x, y, 0); });
            engine.reset(false);
        }
    }
    // A right-button drag, one step at a time.
    engine.setMode(ClipSelection::kModeDefault);
    document->parentWindow().scrollTo(0, scrolls.size() > 1 ? scrolls[1] : 0);
    document->dispatchMouseEvent(L"mousedown", 20, 20, 2);
    for (int step = 1; step <= 30; ++step) {
        timed("rect step", [&] {
            document->dispatchMouseEvent(L"mousemove", 20 + step * 30, 20 + step * 20, 2);
        });
        checkOverlays(engine, *document, figures);
    }
    document->dispatchMouseEvent(L"mouseup", 920, 620, 2);
    engine.reset(true);
    // Text ranges: the text of each shown paragraph, selected as the page's selection would
    // be. The overlays change the tree, so the paragraphs are listed first.
    int ranges = 0;
    const auto elements = document->all();
    for (const auto& element : *elements) {
        if (!element->hasTag(L"P") || ranges >= 20)
            continue;
        const auto box = document->boxOf(*element);
        if (!box || box->isEmpty())
            continue;
        auto range = document->selection().createRange();
        range->moveToElementText(element);
        if (range->text().empty())
            continue;
        ++ranges;
        engine.addToSelection(SelectionItem::ofText(range), false);
    }
    checkOverlays(engine, *document, figures);
    engine.reset(true);
    const int gestureLayouts = fullLayouts(*document) - layoutsBefore;

    // Grab the article, then undo it; the first hover after the undo is part of it.
    CommandProcessor processor;
    auto grab = std::make_unique<GrabCommand>(L"");
    grab->context().document = document;
    if (const ElementPtr article = findArticleElement(document->body()))
        grab->context().elements = {article};
    document->parentWindow().scrollTo(0, 0);
    processor.run(std::move(grab));
    document->layout();
    timed("undo grab", [&] {
        processor.undo();
        document->dispatchMouseEvent(L"mouseover", 300, 300, 0);
    });

    std::printf("%-60s %7.0f KB attach %7.1f ms  full layouts %d", path, html.size() / 1024.0,
                attach, gestureLayouts);
    for (const auto& [name, values] : figures.times) {
        std::printf("  %s %.1f/%.1f", name.c_str(), percentile(values, 0.5),
                    percentile(values, 0.95));
        auto& into = all.times[name];
        into.insert(into.end(), values.begin(), values.end());
    }
    std::printf("  overlays %d/%d off, text ranges %d/%d without\n", figures.overlaysOff,
                figures.overlaysChecked, figures.textRangesWithoutOverlay, figures.textRanges);
    std::fflush(stdout);
    all.overlaysChecked += figures.overlaysChecked;
    all.overlaysOff += figures.overlaysOff;
    all.textRanges += figures.textRanges;
    all.textRangesWithoutOverlay += figures.textRangesWithoutOverlay;
}

}  // namespace

int main(int argc, char** argv) {
    platform::registry::ScopedMemoryRegistry registry;
    loadInputBindings();
    sortInputBindings();
    Figures all;
    for (int i = 1; i < argc; ++i)
        benchPage(argv[i], all);
    std::printf("\nall pages: gesture, events, median ms, 95th percentile ms\n");
    for (const auto& [name, values] : all.times)
        std::printf("%-12s %6zu %8.1f %8.1f\n", name.c_str(), values.size(),
                    percentile(values, 0.5), percentile(values, 0.95));
    std::printf("overlays off their element's box by more than 1 px: %d of %d\n", all.overlaysOff,
                all.overlaysChecked);
    std::printf("non-empty text ranges without an overlay: %d of %d\n",
                all.textRangesWithoutOverlay, all.textRanges);
    return 0;
}
