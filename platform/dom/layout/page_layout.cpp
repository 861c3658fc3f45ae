#include "platform/dom/layout/page_layout.h"

#include <litehtml.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "platform/dom/document.h"
#include "platform/dom/layout/boxes/bidi_lines.h"
#include "platform/dom/layout/boxes/engine_tree.h"
#include "platform/dom/layout/boxes/filled_drawings.h"
#include "platform/dom/layout/boxes/page_box_sizing.h"
#include "platform/dom/layout/boxes/page_list_items.h"
#include "platform/dom/layout/boxes/page_margins.h"
#include "platform/dom/layout/boxes/page_positioned.h"
#include "platform/dom/layout/boxes/page_widths.h"
#include "platform/dom/layout/boxes/paint_bounds.h"
#include "platform/dom/layout/boxes/quirk_percent_heights.h"
#include "platform/dom/layout/boxes/table_columns.h"
#include "platform/dom/layout/markup/inline_svg.h"
#include "platform/dom/layout/markup/page_direction.h"
#include "platform/dom/layout/page_container.h"
#include "platform/dom/layout/page_defaults.h"
#include "platform/dom/picture_source.h"
#include "platform/dom/resources/page_resources.h"
#include "platform/dom/style/cascade.h"
#include "platform/dom/style/css_parser.h"
#include "platform/dom/style/css_values.h"
#include "platform/dom/task_queue.h"
#include "platform/imaging/canvas/canvas.h"
#include "platform/text/utf.h"

namespace platform::dom {

namespace {

constexpr std::uint32_t kPlaceholderFill = 0xFFE8E8E8;
constexpr std::uint32_t kPlaceholderFrame = 0xFF9A9A9A;

litehtml::context& engineContext() {
    static litehtml::context* context = [] {
        auto* made = new litehtml::context;
        made->load_master_stylesheet(pageDefaultStyleSheet());
        return made;
    }();
    return *context;
}

// Elements whose subtree holds no words of the page's text nodes: generated content and
// what the markup writer adds in place of the page's (a missing picture's alternative
// text, the space of an empty line; page_markup.h). Their words must not be matched
// against the page's text, where a short one would be found at the wrong place.
bool holdsNoPageWords(litehtml::element& element) {
    const char* tag = element.get_tagName();
    if (!tag)
        return false;
    static constexpr const char* kTags[] = {"script",    "style",      "title",    "template",
                                            "svg",       "math",       "::before", "::after",
                                            kAltTextTag, kEmptyLineTag};
    for (const char* name : kTags)
        if (std::strcmp(tag, name) == 0)
            return true;
    return false;
}

bool isInlineDisplay(litehtml::element& element) {
    return element.get_display() == litehtml::display_inline ||
           element.get_display() == litehtml::display_inline_text;
}

bool isTablePart(litehtml::element& element) {
    const auto display = element.get_display();
    return display == litehtml::display_table_row || display == litehtml::display_table_row_group ||
           display == litehtml::display_table_header_group ||
           display == litehtml::display_table_footer_group;
}

bool isAtomicInline(litehtml::element& element) {
    const auto display = element.get_display();
    return element.is_replaced() || display == litehtml::display_inline_block ||
           display == litehtml::display_inline_table;
}

Rect borderRectOf(litehtml::element& element, int contentX, int contentY) {
    const litehtml::position& pos = element.get_position();
    const litehtml::margins padding = element.get_paddings();
    const litehtml::margins borders = element.get_borders();
    return {contentX - padding.left - borders.left, contentY - padding.top - borders.top,
            contentX + pos.width + padding.right + borders.right,
            contentY + pos.height + padding.bottom + borders.bottom};
}

std::u32string charactersOf(const std::wstring& text) {
    return std::u32string(text.begin(), text.end());
}

// UTF-8 to code points into a reused buffer (the engine's words are valid UTF-8: they
// come from our own serialisation).
void decodeUtf8(const std::string& bytes, std::u32string& out) {
    out.clear();
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + k < bytes.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        out.push_back(c);
        i += length;
    }
}

// Rough count of the style rules in a sheet text: one per block.
std::size_t ruleCount(const std::string& css) {
    return static_cast<std::size_t>(std::count(css.begin(), css.end(), '{'));
}

// A character of the script most of the page's letters are written in, when that is one
// the default fonts lack (Arabic, Indic, Thai, CJK, Hangul): empty when most letters are
// of the scripts they have (Latin, Greek, Cyrillic). The first letters of the page decide.
std::string scriptSample(const std::vector<const Text*>& texts) {
    constexpr std::size_t kLettersRead = 20000;
    std::size_t covered = 0;
    std::size_t fallback = 0;
    wchar_t sample = 0;
    for (const Text* text : texts) {
        for (wchar_t c : text->data()) {
            if ((c >= 0x600 && c < 0x1000) || (c >= 0x2E80 && c < 0xA000) ||
                (c >= 0xAC00 && c < 0xD7B0)) {
                sample = sample ? sample : c;
                ++fallback;
            } else if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
                       (c >= 0xC0 && c < 0x530)) {
                ++covered;
            }
        }
        if (covered + fallback >= kLettersRead)
            break;
    }
    return fallback > covered ? platform::text::toUtf8(std::wstring(1, sample)) : std::string();
}

// The element's own style attribute asks for content-box sizing (its last box-sizing).
bool sizesByContent(const Element& element) {
    std::wstring sizing;
    for (const Declaration& declaration :
         parseDeclarations(element.getAttribute(L"style").value_or(L"")))
        if (declaration.name == L"box-sizing")
            sizing = declaration.value;
    return sizing == L"content-box";
}

}  // namespace

std::optional<PageLayout::MarkupPlace> PageLayout::placeOf(litehtml::element& element,
                                                           const PageMarkup& markup) {
    const char* marker = element.get_attr(PageMarkup::kMarkerAttribute);
    if (!marker)
        return std::nullopt;
    const bool free = *marker == 'f';
    const std::size_t index = std::strtoul(marker + (free ? 1 : 0), nullptr, 10);
    if (index >= (free ? markup.freeBoxes.size() : markup.elements.size()))
        return std::nullopt;
    return MarkupPlace{free, index};
}

const Element* PageLayout::ownerAt(const std::optional<MarkupPlace>& place,
                                   const PageMarkup& markup) {
    if (!place)
        return nullptr;
    return place->free ? markup.freeBoxes[place->index].element : markup.elements[place->index];
}

// A laid-out element with its content box origin in document coordinates.
struct PageLayout::Placed {
    litehtml::element* element;
    int x;
    int y;
};

// A word of the page's text, placed, with the font it is drawn in: its parent's, which
// the engine would otherwise find by locking the word's parent pointer; and the document's
// element nearest above it, whose text nodes hold its characters.
struct PageLayout::PlacedWord {
    Placed placed;
    litehtml::uint_ptr font;
    const Element* owner;
};

struct PageLayout::Kept {
    std::unique_ptr<PageContainer> container;
    std::unique_ptr<litehtml::context> context;
    std::shared_ptr<litehtml::document> page;  // destroyed before its container
    Size viewport;
    PageMarkup markup;
    bool stale = false;
    std::unordered_map<const Element*, Box> boxes;
    TextRuns runs;
    Size content;
    bool paintBoundsNoted = false;
    std::vector<litehtml::element*> engineElements;
    std::vector<litehtml::element*> engineFreeElements;
    bool anonymousBoxes = false;
    std::vector<PageMarkup::FreeBox> engineFreeBoxes;
};

PageLayout::PageLayout(RuleMatching matching) : matching_(matching) {}

std::unique_ptr<LayoutEngine> makePageLayout() {
    return std::make_unique<PageLayout>();
}
PageLayout::~PageLayout() = default;

void PageLayout::swapKept(Kept& kept) {
    std::swap(container_, kept.container);
    std::swap(context_, kept.context);
    std::swap(page_, kept.page);
    std::swap(viewport_, kept.viewport);
    std::swap(markup_, kept.markup);
    std::swap(stale_, kept.stale);
    std::swap(boxes_, kept.boxes);
    std::swap(runs_, kept.runs);
    std::swap(content_, kept.content);
    std::swap(paintBoundsNoted_, kept.paintBoundsNoted);
    std::swap(engineElements_, kept.engineElements);
    std::swap(engineFreeElements_, kept.engineFreeElements);
    std::swap(anonymousBoxes_, kept.anonymousBoxes);
    std::swap(engineFreeBoxes_, kept.engineFreeBoxes);
}

void PageLayout::keepLayout(const PageMarkup& next) {
    if (!page_ || !failure_.empty())
        return;
    // Laying the same flow out again (free boxes to paint where they now are) keeps the
    // page kept before, which an undo may still ask for.
    if (next.elements == markup_.elements && next.sameFlowAs(markup_))
        return;
    if (!kept_)
        kept_ = std::make_unique<Kept>();
    swapKept(*kept_);
}

// The same markup laid out for the same viewport gives the same boxes: the elements and
// text nodes are the same objects, written the same way, with the same sheets.
bool PageLayout::takeKeptLayout(const PageMarkup& markup, Size viewport) {
    if (!kept_ || !kept_->page || kept_->viewport != viewport)
        return false;
    const PageMarkup& then = kept_->markup;
    const auto sameFreeBoxes = [&] {
        return std::equal(markup.freeBoxes.begin(), markup.freeBoxes.end(), then.freeBoxes.begin(),
                          then.freeBoxes.end(),
                          [](const PageMarkup::FreeBox& a, const PageMarkup::FreeBox& b) {
                              return a.element == b.element && a.markup == b.markup;
                          });
    };
    if (markup.elements != then.elements || markup.texts != then.texts ||
        markup.flow != then.flow || markup.linkedSheets != then.linkedSheets ||
        markup.hintSheet != then.hintSheet || !sameFreeBoxes())
        return false;
    swapKept(*kept_);
    ++keptTaken_;
    return true;
}

void PageLayout::refuse(const std::string& reason) {
    markupVersion_ = 0;
    kept_.reset();
    engineElements_.clear();
    engineFreeElements_.clear();
    page_.reset();
    container_.reset();
    markup_ = {};
    boxes_.clear();
    runs_ = {};
    content_ = {};
    failure_ = "The page cannot be laid out: " + reason + ".";
}

PageMarkup PageLayout::markupOf(const Document& document) {
    const std::string address = platform::text::toUtf8(document.URL());
    if (!resources_ || resources_->page() != address) {
        // The laid-out pages draw from the resources they were laid out with.
        kept_.reset();
        page_.reset();
        container_.reset();
        resources_ = std::make_unique<PageResources>(address, pictureWait());
        // Pictures that arrive after the page went on without them lay it out again.
        resources_->setArrivalNotice([page = document.proxy()] {
            page.post([](Document& arrivedFor) { arrivedFor.relayoutIfOutdated(); });
        });
        markupVersion_ = 0;
        arrivalsLaidOut_ = 0;
    }
    // The pictures are read as they are now: arrivals from here on make the layout
    // outdated again.
    markupArrivals_ = resources_->arrivals();
    // Only overlays changed since the markup was written (a hover, a selection): they are
    // written again alone, unless a picture may still arrive and change the rest.
    if (page_ && markupVersion_ != 0 && resources_->settled() && !picturesArrived()) {
        if (const auto changed = document.attributeChangesSince(markupVersion_)) {
            PageMarkup markup = markup_;
            if (rewriteFreeBoxes(document, *changed, markup)) {
                markupVersion_ = document.version();
                return markup;
            }
        }
    }
    // Every picture is asked for before any is waited for, so they arrive together.
    for (const auto& image : document.getElementsByTagName(L"IMG"))
        resources_->request(platform::text::toUtf8(pictureSource(*image)));
    PageMarkup markup = buildPageMarkup(document, [this](const std::wstring& source) {
        return resources_->missing(platform::text::toUtf8(source));
    });
    markupVersion_ = document.version();
    return markup;
}

void PageLayout::layout(const Document& document, Size viewport) {
    document_ = &document;
    PageMarkup markup = markupOf(document);
    if (!markup.failure.empty()) {
        refuse(markup.failure);
        return;
    }
    if (picturesArrived()) {
        // The boxes laid out so far, and the layout kept for an undo, were made without
        // the pictures that came since.
        kept_.reset();
    } else {
        if (page_ && viewport == viewport_ && moveFreeBoxes(markup)) {
            stale_ = true;
            return;
        }
        if (page_ && viewport == viewport_ && restyleInPlace(markup))
            return;
        if (takeKeptLayout(markup, viewport))
            return;
    }
    layoutInFull(viewport, std::move(markup));
}

bool PageLayout::picturesArrived() const {
    return markupArrivals_ != arrivalsLaidOut_;
}

bool PageLayout::outdated() const {
    return page_ && resources_ && resources_->arrivals() != arrivalsLaidOut_;
}

void PageLayout::settle() {
    if (!resources_)
        return;
    resources_->awaitArrivals(PageResources::kPageFetchBudget);
    resources_->giveUpPending();
}

void PageLayout::renderCorrected(litehtml::document& page, const PageMarkup& markup,
                                 Size viewport) {
    // One walk over the page's words and elements lists the elements for every correction.
    const EngineElements elements = listEngineElements(*page.root());
    // Before margins move: the quirk counts the body's own.
    if (markup.quirks)
        resolveQuirkPercentHeights(page, elements, viewport.height);
    collapseMargins(page, elements);
    correctNestedPercentWidths(elements);
    placeFromPageOrigin(page);
    correctBorderBoxHeights(page, elements);
    giveListMarkersTheirLine(elements);
    // Only pages whose markup names such drawings or tables pay for the walks over their boxes.
    const auto holds = [&markup](std::string_view text) {
        bool found = markup.flow.find(text) != std::string::npos;
        for (const auto& box : markup.freeBoxes)
            found = found || box.markup.find(text) != std::string::npos;
        return found;
    };
    const bool tables = holds("table");
    if (tables)
        releaseSharedTableColumns(elements);
    page.render(std::max(viewport.width, 1));
    if (holds(kFillingSvgAttribute) && fillShrunkBoxes(page, kFillingSvgAttribute))
        page.render(std::max(viewport.width, 1));
    if (tables && shareAutoTableColumns(page))
        page.render(std::max(viewport.width, 1));
    if (markup.bidi || markup.rightToLeft)
        orderBidiLines(page, kDirectionAttribute);
}

void PageLayout::layoutInFull(Size viewport, PageMarkup markup) {
    std::size_t rules = 0;
    for (const auto& sheet : markup.linkedSheets)
        rules += ruleCount(sheet.second);
    if (markup.sheetBytes > 0) {
        // The rules of the whole markup, counted without writing it out: the flow's and
        // those of the free boxes it places.
        std::size_t written = ruleCount(markup.flow);
        const auto placed = std::min<std::size_t>(
            markup.freeBoxes.size(),
            std::count(markup.flow.begin(), markup.flow.end(), PageMarkup::kFreeBoxMark));
        for (std::size_t i = 0; i < placed; ++i)
            written += ruleCount(markup.freeBoxes[i].markup);
        rules = std::max(rules, written);
    }
    const std::size_t elements = markup.elements.size() + markup.freeBoxes.size();
    if (static_cast<double>(rules) * static_cast<double>(elements) > kMaxSelectorWork) {
        refuse("its style sheets hold " + std::to_string(rules) + " rules for " +
               std::to_string(elements) + " elements, too many to match");
        return;
    }
    keepLayout(markup);
    page_.reset();
    try {
        container_ =
            std::make_unique<PageContainer>(*resources_, viewport, markup.linkedSheets, matching_);
        container_->setScriptSample(scriptSample(markup.texts));
        // Without free boxes the flow is the whole markup: no copy of it is made.
        std::string withFreeBoxes;
        if (!markup.freeBoxes.empty())
            withFreeBoxes = markup.whole();
        const std::string& html = markup.freeBoxes.empty() ? markup.flow : withFreeBoxes;
        // The hint rules join the browser's own sheet for this page only.
        context_.reset();
        if (!markup.hintSheet.empty()) {
            context_ = std::make_unique<litehtml::context>(engineContext());
            context_->load_master_stylesheet(markup.hintSheet.c_str());
        }
        page_ = litehtml::document::createFromUTF8(html.c_str(), container_.get(),
                                                   context_ ? context_.get() : &engineContext());
        renderCorrected(*page_, markup, viewport);
        paintBoundsNoted_ = false;
    } catch (const std::exception& error) {
        refuse(std::string("the layout engine stopped (") + error.what() + ")");
        return;
    }
    viewport_ = viewport;
    arrivalsLaidOut_ = markupArrivals_;
    engineFreeBoxes_ = markup.freeBoxes;
    markup_ = std::move(markup);
    failure_.clear();
    stale_ = false;
    ++fullLayouts_;
    collectBoxes(markup_);
}

litehtml::element* PageLayout::engineElementAt(std::size_t index) const {
    return index < engineElements_.size() ? engineElements_[index] : nullptr;
}

void PageLayout::noteEngineElement(litehtml::element& element,
                                   const std::optional<MarkupPlace>& place) {
    if (place)
        (place->free ? engineFreeElements_ : engineElements_)[place->index] = &element;
    else if (const char* tag = element.get_tagName();
             (!tag || !*tag) && dynamic_cast<litehtml::html_tag*>(&element))
        anonymousBoxes_ = true;
}

// The elements of a subtree that has no boxes.
void PageLayout::noteEngineElements(litehtml::element& root, const PageMarkup& markup) {
    forEachEngineElement(root, [&](litehtml::element& element) {
        noteEngineElement(element, placeOf(element, markup));
    });
}

// Matches the engine's words, handed over in document order, with the characters of the
// page's text nodes, and gives each node its runs.
class PageLayout::WordMatcher {
  public:
    WordMatcher(PageLayout& layout, const PageMarkup& markup) : layout_(layout), markup_(markup) {
        // The page's text as one stream of characters, each known by its node and offset.
        std::size_t characters = 0;
        for (const Text* text : markup.texts)
            characters += text->data().size();
        stream_.reserve(characters);
        starts_.reserve(markup.texts.size() + 1);
        for (const Text* text : markup.texts) {
            starts_.push_back(stream_.size());
            stream_.append(text->data().begin(), text->data().end());
        }
        starts_.push_back(stream_.size());
    }

    void add(const PlacedWord& placedWord) {
        const auto& [placed, font, owner] = placedWord;
        litehtml::element* word = placed.element;
        utf8_.clear();
        word->get_text(utf8_);
        decodeUtf8(utf8_, piece_);
        if (piece_.empty())
            return;
        if (stream_.compare(at_, piece_.size(), piece_) != 0) {
            const std::size_t found = findAgain(owner);
            if (found == std::u32string::npos)
                return;  // generated by the engine, not one of the page's words
            at_ = found;
        }
        const std::size_t wordBegin = at_;
        std::size_t begin = at_;
        at_ += piece_.size();
        if (word->skip())
            return;
        const litehtml::position& box = word->get_position();
        const Rect rect{placed.x, placed.y, placed.x + box.width, placed.y + box.height};
        // A word may span adjacent text nodes: one run per node, each over its own
        // characters of the word, measured in the word's font.
        const auto widthTo = [&](std::size_t end) {
            const auto& face = *layout_.container_->font(placedWord.font).face;
            const std::wstring characters(stream_.begin() + wordBegin, stream_.begin() + end);
            return static_cast<int>(std::lround(face.width(platform::text::toUtf8(characters))));
        };
        while (begin < at_) {
            while (starts_[node_ + 1] <= begin)
                ++node_;
            const std::size_t end = std::min(at_, starts_[node_ + 1]);
            Rect own = rect;
            if (begin > wordBegin)
                own.left = std::min(rect.left + widthTo(begin), rect.right);
            if (end < at_)
                own.right = std::max(std::min(rect.left + widthTo(end), rect.right), own.left);
            layout_.runs_.add(markup_.texts[node_],
                              {static_cast<std::uint32_t>(begin - starts_[node_]),
                               static_cast<std::uint32_t>(end - starts_[node_]), own, font});
            begin = end;
        }
    }

  private:
    // Text the engine made no words of (a hidden block, the head's blanks) lies between
    // words: a word that is not where the last one ended is looked for in its own
    // element's text nodes from there on, else a little further on in the stream.
    std::size_t findAgain(const Element* owner) {
        if (owner && nodesOf_.empty())
            for (std::size_t i = 0; i < markup_.texts.size(); ++i)
                nodesOf_[markup_.texts[i]->parentPointer()].push_back(i);
        const std::u32string_view all(stream_);
        if (const auto own = owner ? nodesOf_.find(owner) : nodesOf_.end(); own != nodesOf_.end()) {
            const std::vector<std::size_t>& nodes = own->second;
            auto next = std::partition_point(nodes.begin(), nodes.end(),
                                             [&](std::size_t i) { return starts_[i + 1] <= at_; });
            constexpr int kNodesTried = 16;
            for (int tried = 0; next != nodes.end() && tried < kNodesTried; ++next, ++tried) {
                // A word may run on into the nodes after its own.
                const std::size_t from = std::max(at_, starts_[*next]);
                const std::size_t found =
                    all.substr(from, starts_[*next + 1] - from + piece_.size() - 1).find(piece_);
                if (found != std::u32string_view::npos)
                    return from + found;
            }
        }
        constexpr std::size_t kResyncWindow = 256;
        const std::size_t found = all.substr(at_, kResyncWindow + piece_.size()).find(piece_);
        return found == std::u32string_view::npos ? found : at_ + found;
    }

    PageLayout& layout_;
    const PageMarkup& markup_;
    std::u32string stream_;
    std::vector<std::size_t> starts_;
    std::unordered_map<const Node*, std::vector<std::size_t>> nodesOf_;
    std::size_t at_ = 0;
    std::size_t node_ = 0;
    std::string utf8_;
    std::u32string piece_;
};

void PageLayout::collectBoxes(const PageMarkup& markup) {
    rightToLeftItems_.clear();
    boxes_.clear();
    boxes_.reserve(markup.elements.size() + markup.freeBoxes.size());
    engineElements_.assign(markup.elements.size(), nullptr);
    engineFreeElements_.assign(markup.freeBoxes.size(), nullptr);
    // A run per word and space, and one more where a word runs on into the next node.
    runs_.reset(container_->piecesSplit() + markup.texts.size());
    anonymousBoxes_ = false;
    WordMatcher words(*this, markup);
    std::vector<std::pair<Placed, const Element*>> inlines;
    // What an element's children take from it and its ancestors.
    struct Inherited {
        int x;  // the origin their positions count from
        int y;
        int noWords;
        bool clipped;  // inside a box that clips or scrolls its content
        Placed table;  // the nearest table: the engine places cells from its origin
        litehtml::uint_ptr font;
        const Element* owner;  // the document's element nearest above
        bool rightToLeft;      // their lines run right to left
    };
    // An element (not a word) being walked, and the next of its children to visit. The
    // words among the children are taken as they come, without a frame of their own.
    struct Frame {
        litehtml::element* element;
        std::size_t next;
        Inherited children;
    };
    std::vector<std::pair<litehtml::element*, const Element*>> rows;
    Rect extent;
    // Notes an element's box and gives what its children inherit; nothing for an element
    // without a box, whose subtree has none either.
    const auto enter = [&](litehtml::element& element,
                           const Inherited& from) -> std::optional<Inherited> {
        if (element.get_display() == litehtml::display_none) {
            noteEngineElements(element, markup);
            return std::nullopt;
        }
        const litehtml::position& pos = element.get_position();
        // The engine places a fixed box from the viewport, and paints it there, though its
        // position is kept as if it counted from its parent like every other box's.
        const bool fixed = element.get_element_position() == litehtml::element_position_fixed;
        const int x = (fixed ? 0 : from.x) + pos.x;
        const int y = (fixed ? 0 : from.y) + pos.y;
        const int noWords = from.noWords + (holdsNoPageWords(element) ? 1 : 0);
        // A list item running right to left has its marker painted on its right.
        const bool rightToLeft =
            markup.rightToLeft && runsRightToLeft(element, kDirectionAttribute, from.rightToLeft);
        if (rightToLeft && element.get_display() == litehtml::display_list_item)
            rightToLeftItems_.push_back({x, y, x + pos.width, y + pos.height});
        const auto place = placeOf(element, markup);
        const Element* owner = ownerAt(place, markup);
        noteEngineElement(element, place);
        if (owner) {
            // The page reaches as far as any box that no box of its own clips; the root's
            // and the body's overflow do not count (the capture hides it and still wants
            // the whole page).
            if (isInlineDisplay(element)) {
                inlines.push_back({{&element, x, y}, owner});
            } else if (isTablePart(element)) {
                rows.push_back({&element, owner});
            } else {
                boxes_[owner].border = borderRectOf(element, x, y);
                if (!from.clipped)
                    extent = extent.united(boxes_[owner].border);
            }
        }
        const bool clips = from.clipped || (element.have_parent() && !element.is_body() &&
                                            element.get_overflow() != litehtml::overflow_visible);
        const bool table = element.get_display() == litehtml::display_table ||
                           element.get_display() == litehtml::display_inline_table;
        const Placed tableOf = table ? Placed{&element, x, y} : from.table;
        const bool row = element.get_display() == litehtml::display_table_row;
        if (childrenOf(element).empty())
            return std::nullopt;
        return Inherited{
            row ? tableOf.x : x, row ? tableOf.y : y,        noWords,    clips, tableOf,
            element.get_font(),  owner ? owner : from.owner, rightToLeft};
    };
    std::vector<Frame> frames;
    litehtml::element& root = *page_->root();
    if (const auto inherited = enter(root, {0, 0, 0, false, {nullptr, 0, 0}, 0, nullptr, false}))
        frames.push_back({&root, 0, *inherited});
    while (!frames.empty()) {
        Frame& frame = frames.back();
        const auto& children = childrenOf(*frame.element);
        if (frame.next == children.size()) {
            frames.pop_back();
            continue;
        }
        litehtml::element& child = *children[frame.next++];
        const Inherited& from = frame.children;
        if (isEngineWord(child)) {
            if (from.noWords == 0 && child.get_display() != litehtml::display_none) {
                const litehtml::position& pos = child.get_position();
                words.add({{&child, from.x + pos.x, from.y + pos.y}, from.font, from.owner});
            }
            continue;
        }
        if (auto inherited = enter(child, from))
            frames.push_back({&child, 0, *inherited});
    }
    boxTableParts(markup, rows);

    // An inline element's boxes are its lines: the words and atomic boxes inside it,
    // grouped by line, widened by its own padding and border.
    for (const auto& [placed, owner] : inlines) {
        std::vector<Rect> items;
        std::vector<Placed> pending{placed};
        while (!pending.empty()) {
            const Placed current = pending.back();
            pending.pop_back();
            const auto& children = childrenOf(*current.element);
            for (auto it = children.rbegin(); it != children.rend(); ++it) {
                litehtml::element& child = **it;
                if (child.get_display() == litehtml::display_none || child.skip())
                    continue;
                const litehtml::position& pos = child.get_position();
                const int x = current.x + pos.x;
                const int y = current.y + pos.y;
                if (isEngineWord(child))
                    items.push_back({x, y, x + pos.width, y + pos.height});
                else if (isAtomicInline(child))
                    items.push_back(borderRectOf(child, x, y));
                else
                    pending.push_back({&child, x, y});
            }
        }
        std::sort(items.begin(), items.end(), [](const Rect& a, const Rect& b) {
            return a.top != b.top ? a.top < b.top : a.left < b.left;
        });
        Box& box = boxes_[owner];
        for (const Rect& item : items) {
            if (item.isEmpty() && item.width() == 0 && item.height() == 0)
                continue;
            if (!box.lines.empty() && item.top < box.lines.back().bottom &&
                item.bottom > box.lines.back().top)
                box.lines.back() = box.lines.back().united(item);
            else
                box.lines.push_back(item);
        }
        const litehtml::margins padding = placed.element->get_paddings();
        const litehtml::margins borders = placed.element->get_borders();
        if (box.lines.empty()) {
            box.border = {placed.x, placed.y, placed.x, placed.y};
            continue;
        }
        for (Rect& line : box.lines) {
            line.top -= padding.top + borders.top;
            line.bottom += padding.bottom + borders.bottom;
        }
        box.lines.front().left -= padding.left + borders.left;
        box.lines.back().right += padding.right + borders.right;
        box.border = box.lines.front();
        for (const Rect& line : box.lines)
            box.border = box.border.united(line);
    }
    content_ = {std::max({page_->width(), extent.right, viewport_.width}),
                std::max(page_->height(), extent.bottom)};
}

// The engine gives rows and row groups no boxes of their own: a row's box spans its
// cells, a group's its rows (innermost first: rows come after their groups in `parts`).
void PageLayout::boxTableParts(
    const PageMarkup& markup,
    const std::vector<std::pair<litehtml::element*, const Element*>>& parts) {
    for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
        Rect united;
        for (const auto& child : childrenOf(*part->first)) {
            const Element* owner = ownerAt(placeOf(*child, markup), markup);
            if (!owner)
                continue;
            if (auto box = boxes_.find(owner); box != boxes_.end())
                united = united.isEmpty() ? box->second.border : united.united(box->second.border);
        }
        boxes_[part->second].border = united;
    }
}

void PageLayout::placeFreeBoxes(const std::vector<PageMarkup::FreeBox>& before,
                                const std::vector<PageMarkup::FreeBox>& now,
                                const std::vector<FreeBoxPlace>& places) {
    for (const auto& then : before)
        if (std::none_of(now.begin(), now.end(),
                         [&](const auto& box) { return box.element == then.element; }))
            boxes_.erase(then.element);
    for (const auto& [element, rect] : places) {
        if (rect)
            boxes_[element] = {*rect, {}};
        else
            boxes_.erase(element);
    }
}

std::optional<std::optional<Rect>> PageLayout::freeBoxRect(const Element& element,
                                                           const PageMarkup& markup) {
    auto style = element.currentStyle();
    if (style->value(PropertyId::Display) == L"none")
        return std::optional<Rect>();
    // The sheets may size it by its border box: only a box that says otherwise itself is
    // sized by this arithmetic.
    if (markup.sheetsSizeBoxes && !sizesByContent(element))
        return std::nullopt;
    const auto length = [&](PropertyId id) { return toPixels(style->value(id), 0, 0); };
    if (length(PropertyId::MinWidth) != 0 || length(PropertyId::MinHeight) != 0 ||
        style->value(PropertyId::MaxWidth) != L"none" ||
        style->value(PropertyId::MaxHeight) != L"none")
        return std::nullopt;
    const int left = length(PropertyId::Left) + length(PropertyId::MarginLeft);
    const int top = length(PropertyId::Top) + length(PropertyId::MarginTop);
    const int width = length(PropertyId::Width) + length(PropertyId::PaddingLeft) +
                      length(PropertyId::PaddingRight) + borderPixels(*style, BoxSide::Left) +
                      borderPixels(*style, BoxSide::Right);
    const int height = length(PropertyId::Height) + length(PropertyId::PaddingTop) +
                       length(PropertyId::PaddingBottom) + borderPixels(*style, BoxSide::Top) +
                       borderPixels(*style, BoxSide::Bottom);
    return std::optional<Rect>(Rect{left, top, left + width, top + height});
}

std::optional<Rect> PageLayout::placedFreeBox(const Element& element,
                                              const Rect& fromOrigin) const {
    for (auto ancestor = element.parentElement(); ancestor; ancestor = ancestor->parentElement()) {
        auto style = ancestor->currentStyle();
        if (style->value(PropertyId::Position) == L"static")
            continue;
        const auto box = boxes_.find(ancestor.get());
        if (box == boxes_.end())
            return std::nullopt;
        return fromOrigin.translated(box->second.border.left + borderPixels(*style, BoxSide::Left),
                                     box->second.border.top + borderPixels(*style, BoxSide::Top));
    }
    return fromOrigin;
}

bool PageLayout::moveFreeBoxes(const PageMarkup& markup) {
    if (markup.linkedSheets != markup_.linkedSheets || markup.hintSheet != markup_.hintSheet ||
        markup.elements != markup_.elements || markup.texts != markup_.texts ||
        !markup.sameFlowAs(markup_))
        return false;
    std::unordered_map<const Element*, const std::string*> before;
    for (const auto& box : markup_.freeBoxes)
        before.emplace(box.element, &box.markup);
    const bool sameSet =
        markup.freeBoxes.size() == markup_.freeBoxes.size() &&
        std::all_of(markup.freeBoxes.begin(), markup.freeBoxes.end(),
                    [&](const PageMarkup::FreeBox& box) { return before.count(box.element) > 0; });
    // A box added or taken away at the top of the body is a sibling the page's
    // selectors may count.
    if (!sameSet && (markup.sheetsReadSiblings || markup_.sheetsReadSiblings))
        return false;
    std::vector<FreeBoxPlace> moves;
    for (const auto& now : markup.freeBoxes) {
        const auto old = before.find(now.element);
        if (old != before.end() && *old->second == now.markup)
            continue;
        if (now.element->firstChild())
            return false;  // holding content that may flow anew
        const auto rect = freeBoxRect(*now.element, markup);
        if (!rect)
            return false;
        moves.push_back({now.element, *rect ? placedFreeBox(*now.element, **rect) : *rect});
    }
    placeFreeBoxes(markup_.freeBoxes, markup.freeBoxes, moves);
    markup_ = markup;
    return true;
}

std::optional<Rect> PageLayout::borderBox(const Element& element) const {
    auto it = boxes_.find(&element);
    if (it == boxes_.end())
        return std::nullopt;
    return it->second.border;
}

std::vector<Rect> PageLayout::clientRects(const Element& element) const {
    auto it = boxes_.find(&element);
    if (it == boxes_.end())
        return {};
    if (!it->second.lines.empty())
        return it->second.lines;
    return {it->second.border};
}

std::vector<Rect> PageLayout::textRects(const Text& text, std::size_t begin,
                                        std::size_t end) const {
    std::vector<Rect> rects;
    const auto runs = runs_.of(text);
    if (runs.empty())
        return rects;
    const std::u32string characters = charactersOf(text.data());
    for (const TextRun& run : runs) {
        const std::size_t from = std::max<std::size_t>(begin, run.begin);
        const std::size_t to = std::min<std::size_t>(end, run.end);
        if (from >= to || to > characters.size())
            continue;
        // The run's word box starts at its first character; the piece is measured in the
        // word's own font.
        const imaging::TextFont& face = *container_->font(run.font).face;
        const std::u32string_view all(characters);
        auto widthOf = [&](std::size_t first, std::size_t last) {
            const std::u32string_view piece = all.substr(first, last - first);
            const std::wstring wide(piece.begin(), piece.end());
            return static_cast<int>(std::lround(face.width(platform::text::toUtf8(wide))));
        };
        int left = run.rect.left + widthOf(run.begin, from);
        int right = to == run.end && from == run.begin ? run.rect.right
                                                       : run.rect.left + widthOf(run.begin, to);
        right = std::min(right, run.rect.right);
        left = std::min(left, right);
        Rect piece{left, run.rect.top, right, run.rect.bottom};
        if (!rects.empty() && rects.back().top == piece.top && rects.back().bottom == piece.bottom)
            rects.back() = rects.back().united(piece);
        else
            rects.push_back(piece);
    }
    return rects;
}

void PageLayout::paint(imaging::Canvas& canvas, Rect area, double scale) const {
    if (stale_ && document_) {
        // The overlays were moved by arithmetic; the picture needs them where they are.
        auto& self = const_cast<PageLayout&>(*this);
        if (self.moveEngineFreeBoxes())
            stale_ = false;
        else
            self.layoutInFull(viewport_, self.markupOf(*document_));
    }
    if (!page_ || area.isEmpty() || !(scale > 0))
        return;
    if (!paintBoundsNoted_) {
        notePaintBounds(*page_->root());
        paintBoundsNoted_ = true;
    }
    container_->beginPainting(canvas, scale);
    std::vector<litehtml::position> mirrored;
    for (const Rect& item : rightToLeftItems_)
        mirrored.emplace_back(item.left - area.left, item.top - area.top, item.width(),
                              item.height());
    container_->mirrorMarkersOf(std::move(mirrored));
    const litehtml::position clip(0, 0, area.width(), area.height());
    page_->draw(reinterpret_cast<litehtml::uint_ptr>(&canvas), -area.left, -area.top, &clip);
    container_->endPainting();

    // A picture that cannot be had (and has no text to stand for it) is a framed grey box.
    std::vector<const Element*> elements = markup_.elements;
    for (const auto& box : markup_.freeBoxes)
        elements.push_back(box.element);
    for (const Element* element : elements) {
        if (!element->hasTag(L"IMG") || element->hasAttribute(L"alt"))
            continue;
        const auto box = borderBox(*element);
        if (!box || box->isEmpty() || box->right <= area.left || box->left >= area.right ||
            box->bottom <= area.top || box->top >= area.bottom)
            continue;
        // One on its way is not drawn until it arrives, as in a browser.
        if (!resources_->missing(platform::text::toUtf8(pictureSource(*element))))
            continue;
        const auto at = [&](int length) { return static_cast<int>(std::lround(length * scale)); };
        const imaging::Rect target{at(box->left - area.left), at(box->top - area.top),
                                   at(box->right - area.left), at(box->bottom - area.top)};
        canvas.fillRect(target, kPlaceholderFill);
        canvas.frameRect(target, kPlaceholderFrame);
    }
}

}  // namespace platform::dom
