// Applying changed inline styles to the laid-out page in place (see page_layout.h): the
// engine's elements take their new style attributes, the styles of those elements and
// their descendants are worked out again from the rules that matched them and the page is
// rendered again. Only where the
// outcome is that of a full layout: the sheets cannot select by the style attribute, the
// engine made no boxes of its own and reads no styling attributes, and the changed
// properties neither make nor unmake boxes (display, position, float, content, ...).
// Free boxes whose offsets or sizes alone changed are moved in the engine's tree as they
// are, without a render.
#include <litehtml.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <unordered_set>

#include "platform/dom/document.h"
#include "platform/dom/layout/boxes/engine_tree.h"
#include "platform/dom/layout/boxes/paint_bounds.h"
#include "platform/dom/layout/markup/element_opacity.h"
#include "platform/dom/layout/page_container.h"
#include "platform/dom/layout/page_elements.h"
#include "platform/dom/layout/page_layout.h"
#include "platform/dom/style/css_parser.h"
#include "platform/text/utf.h"

namespace platform::dom {

namespace {

// Properties whose change only sizes, spaces or colours the boxes the page already has.
bool restylesInPlace(const std::wstring& property) {
    static constexpr std::wstring_view kPrefixes[] = {
        L"font",        L"color",          L"background",   L"margin",          L"padding",
        L"line-height", L"letter-spacing", L"word-spacing", L"text-decoration", L"text-indent",
        L"text-align",  L"width",          L"height",       L"min-width",       L"min-height",
        L"max-width",   L"max-height",     L"cursor",       L"opacity",         L"filter",
        L"outline"};
    if (property.starts_with(L"border"))
        return property != L"border-collapse" && property != L"border-spacing";
    return std::any_of(std::begin(kPrefixes), std::end(kPrefixes),
                       [&](std::wstring_view prefix) { return property.starts_with(prefix); });
}

// The attribute's value as the engine's parser gives it back from our markup.
std::string unescapeAttribute(std::string_view escaped) {
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
    std::string value;
    value.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size();) {
        bool replaced = false;
        for (const auto& [entity, c] : kEntities) {
            if (escaped.substr(i, entity.size()) == entity) {
                value += c;
                i += entity.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            value += escaped[i++];
    }
    return value;
}

// The value inside ' style="..."', empty for an empty span.
std::string styleValue(const std::string& flow, PageMarkup::Span span) {
    const std::string_view piece = std::string_view(flow).substr(span.begin, span.end - span.begin);
    const std::size_t open = piece.find('"');
    if (open == std::string_view::npos || piece.size() < open + 2)
        return {};
    return unescapeAttribute(piece.substr(open + 1, piece.size() - open - 2));
}

// Whether every property that differs between the two style attributes restyles in place.
bool changesOnlyRestyle(const std::string& before, const std::string& after) {
    using Entry = std::tuple<std::wstring, std::wstring, bool>;
    const auto entries = [](const std::string& text) {
        std::set<Entry> set;
        for (auto& declaration : parseDeclarations(platform::text::fromUtf8(text)))
            set.emplace(declaration.name, declaration.value, declaration.important);
        return set;
    };
    const std::set<Entry> a = entries(before);
    const std::set<Entry> b = entries(after);
    std::vector<Entry> changed;
    std::set_symmetric_difference(a.begin(), a.end(), b.begin(), b.end(),
                                  std::back_inserter(changed));
    return std::all_of(changed.begin(), changed.end(),
                       [](const Entry& entry) { return restylesInPlace(std::get<0>(entry)); });
}

// An attribute value as the engine reads it from our markup (page_markup.cpp writes
// control characters as spaces).
std::string engineAttributeValue(const std::optional<std::wstring>& value) {
    std::wstring text = value.value_or(L"");
    for (wchar_t& c : text)
        if (c < 0x20 && c != L'\n' && c != L'\t' && c != L'\r')
            c = L' ';
    return platform::text::toUtf8(text);
}

bool sameIgnoringFreeBoxMarks(std::string_view a, std::string_view b) {
    if (a.size() == b.size() && a == b)
        return true;
    std::size_t i = 0;
    std::size_t j = 0;
    for (;;) {
        while (i < a.size() && a[i] == PageMarkup::kFreeBoxMark)
            ++i;
        while (j < b.size() && b[j] == PageMarkup::kFreeBoxMark)
            ++j;
        if (i == a.size() || j == b.size())
            return i == a.size() && j == b.size();
        if (a[i++] != b[j++])
            return false;
    }
}

// Elements the engine keeps without attributes and never lays out.
bool rendersNothing(const Element& element) {
    static constexpr std::wstring_view kTags[] = {L"SCRIPT", L"STYLE", L"TITLE",   L"META",
                                                  L"LINK",   L"BASE",  L"TEMPLATE"};
    return std::any_of(std::begin(kTags), std::end(kTags),
                       [&](std::wstring_view tag) { return element.hasTag(tag); });
}

bool hasAncestorIn(const litehtml::element& element,
                   const std::unordered_set<const litehtml::element*>& set) {
    for (auto parent = element.parent(); parent; parent = parent->parent())
        if (set.count(parent.get()))
            return true;
    return false;
}

void measureWords(litehtml::element& root) {
    std::vector<litehtml::element*> pending{&root};
    while (!pending.empty()) {
        litehtml::element& element = *pending.back();
        pending.pop_back();
        if (isEngineWord(element)) {
            element.parse_styles();
            continue;
        }
        const auto& children = childrenOf(element);
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            pending.push_back(child->get());
    }
}

bool sameFreeBoxes(const PageMarkup& a, const PageMarkup& b) {
    return std::equal(a.freeBoxes.begin(), a.freeBoxes.end(), b.freeBoxes.begin(),
                      b.freeBoxes.end(), [](const auto& x, const auto& y) {
                          return x.element == y.element && x.markup == y.markup;
                      });
}

// A free box's markup without the offsets and sizes of its style attribute.
std::string withoutPlace(const std::string& markup) {
    const std::size_t open = markup.find(" style=\"");
    if (open == std::string::npos)
        return markup;
    const std::size_t begin = open + 8;
    const std::size_t end = markup.find('"', begin);
    if (end == std::string::npos)
        return markup;
    std::string kept = markup.substr(0, begin);
    std::size_t at = begin;
    while (at < end) {
        std::size_t next = markup.find(';', at);
        if (next == std::string::npos || next > end)
            next = end;
        const std::string_view declaration(markup.data() + at, next - at);
        const std::size_t colon = declaration.find(':');
        std::string_view name = declaration.substr(0, colon);
        while (!name.empty() && name.front() == ' ')
            name.remove_prefix(1);
        while (!name.empty() && name.back() == ' ')
            name.remove_suffix(1);
        if (colon == std::string_view::npos ||
            (name != "left" && name != "top" && name != "width" && name != "height"))
            kept.append(declaration).push_back(';');
        at = next + 1;
    }
    return kept + markup.substr(end);
}

}  // namespace

bool PageLayout::moveEngineFreeBoxes() {
    const auto& now = markup_.freeBoxes;
    if (!page_ || now.size() != engineFreeBoxes_.size())
        return false;
    struct Move {
        litehtml::element* engine;
        OwnStyles* styles;
        const Element* owner;
        Rect rect;
    };
    std::vector<Move> moves;
    for (std::size_t i = 0; i < now.size(); ++i) {
        const PageMarkup::FreeBox& then = engineFreeBoxes_[i];
        if (now[i].element != then.element)
            return false;
        if (now[i].markup == then.markup)
            continue;
        litehtml::element* engine =
            i < engineFreeElements_.size() ? engineFreeElements_[i] : nullptr;
        const auto box = boxes_.find(now[i].element);
        auto* styles = engine ? dynamic_cast<OwnStyles*>(engine) : nullptr;
        if (!styles || box == boxes_.end() ||
            withoutPlace(now[i].markup) != withoutPlace(then.markup))
            return false;
        moves.push_back({engine, styles, now[i].element, box->second.border});
    }
    for (const auto& [engine, styles, owner, rect] : moves) {
        // The engine's style follows, so that a later render places the box there too.
        const std::wstring style = withOpacityFolded(owner->getAttribute(L"style").value_or(L""));
        engine->set_attr("style", engineAttributeValue(style).c_str());
        styles->restyleOwn();
        int x = 0;
        int y = 0;
        for (auto parent = engine->parent(); parent; parent = parent->parent()) {
            x += parent->get_position().x;
            y += parent->get_position().y;
        }
        litehtml::position& content = engine->get_position();
        const int left = x + content.x - engine->padding_left() - engine->border_left();
        const int top = y + content.y - engine->padding_top() - engine->border_top();
        const int width = content.width + engine->padding_left() + engine->padding_right() +
                          engine->border_left() + engine->border_right();
        const int height = content.height + engine->padding_top() + engine->padding_bottom() +
                           engine->border_top() + engine->border_bottom();
        content.x += rect.left - left;
        content.y += rect.top - top;
        content.width += rect.width() - width;
        content.height += rect.height() - height;
        notePaintBoxMoved(*engine);
    }
    engineFreeBoxes_ = now;
    return true;
}

bool PageLayout::restyleInPlace(PageMarkup& markup) {
    if (anonymousBoxes_ || markup.sheetsReadStyle || markup.engineReadsAttributes ||
        markup.linkedSheets != markup_.linkedSheets || markup.hintSheet != markup_.hintSheet ||
        markup.elements != markup_.elements || markup.texts != markup_.texts ||
        markup.styleSpans.size() != markup_.styleSpans.size())
        return false;
    // Free boxes added or taken away meanwhile are siblings the page's selectors may count.
    const bool freeBoxesChanged = !sameFreeBoxes(markup, markup_);
    if (freeBoxesChanged && (markup.sheetsReadSiblings || markup_.sheetsReadSiblings))
        return false;
    // The flows may differ only inside the elements' style attributes.
    std::unordered_set<const Element*> changed;
    std::size_t at = 0;
    std::size_t atBefore = 0;
    const std::string& flow = markup.flow;
    const std::string& before = markup_.flow;
    for (std::size_t i = 0; i < markup.styleSpans.size(); ++i) {
        const PageMarkup::Span now = markup.styleSpans[i];
        const PageMarkup::Span then = markup_.styleSpans[i];
        if ((now.begin == std::string::npos) != (then.begin == std::string::npos))
            return false;
        if (now.begin == std::string::npos)
            continue;
        if (!sameIgnoringFreeBoxMarks(
                std::string_view(flow).substr(at, now.begin - at),
                std::string_view(before).substr(atBefore, then.begin - atBefore)))
            return false;
        if (flow.compare(now.begin, now.end - now.begin, before, then.begin,
                         then.end - then.begin) != 0) {
            if ((!engineElementAt(i) && !rendersNothing(*markup.elements[i])) ||
                !changesOnlyRestyle(styleValue(before, then), styleValue(flow, now)))
                return false;
            changed.insert(markup.elements[i]);
        }
        at = now.end;
        atBefore = then.end;
    }
    if (!sameIgnoringFreeBoxMarks(std::string_view(flow).substr(at),
                                  std::string_view(before).substr(atBefore)))
        return false;
    if (changed.empty())
        return false;
    // Free boxes placed since the engine last laid the page out keep the places their
    // styles give them, from where their containing box stands after the restyle.
    std::vector<FreeBoxPlace> placed;
    for (const auto& now : markup.freeBoxes) {
        if (std::any_of(engineFreeBoxes_.begin(), engineFreeBoxes_.end(), [&](const auto& then) {
                return then.element == now.element && then.markup == now.markup;
            }))
            continue;
        const auto rect = freeBoxRect(*now.element, markup);
        if (!rect)
            return false;
        placed.emplace_back(now.element, *rect);
    }
    try {
        // Every style attribute of the flow as the page has it now: the changed ones, and
        // those the corrections of the last render wrote into.
        std::unordered_set<const litehtml::element*> rewritten;
        std::vector<litehtml::element*> order;
        std::vector<litehtml::element*> corrected;
        for (std::size_t i = 0; i < markup.elements.size(); ++i) {
            const Element* element = markup.elements[i];
            litehtml::element* engine = engineElementAt(i);
            if (!engine)
                continue;
            const std::string style = engineAttributeValue(element->getAttribute(L"style"));
            const char* current = engine->get_attr("style");
            if (style != (current ? current : "")) {
                engine->set_attr("style", style.c_str());
                if (changed.count(element)) {
                    rewritten.insert(engine);
                    order.push_back(engine);
                } else {
                    corrected.push_back(engine);
                }
            }
        }
        // Only the subtrees of the rewritten elements have other styles now: each is
        // worked out again from its own rules down (its ancestors' are as they were).
        for (litehtml::element* engine : order)
            if (!hasAncestorIn(*engine, rewritten)) {
                engine->refresh_styles();
                engine->parse_styles();
            }
        // The last render's corrections set margins and widths, which nothing inherits:
        // an element that had one and is otherwise unchanged needs only its own styles.
        for (litehtml::element* engine : corrected) {
            if (hasAncestorIn(*engine, rewritten) || rewritten.count(engine))
                continue;
            if (auto* own = dynamic_cast<OwnStyles*>(engine)) {
                own->restyleOwn();
            } else {
                engine->refresh_styles();
                engine->parse_styles();
            }
        }
        // Each word's measure carries the rounding of the words before it (see
        // page_container.h): all of them are measured again in document order, as a full
        // layout measures them.
        container_->startMeasuring();
        measureWords(*page_->root());
        renderCorrected(*page_, markup, viewport_);
        paintBoundsNoted_ = false;
    } catch (const std::exception& error) {
        refuse(std::string("the layout engine stopped (") + error.what() + ")");
        return true;
    }
    markup_ = std::move(markup);
    ++restyles_;
    stale_ = stale_ || freeBoxesChanged;
    // The engine's tree holds the free boxes it was given: read it with those.
    std::swap(markup_.freeBoxes, engineFreeBoxes_);
    collectBoxes(markup_);
    std::swap(markup_.freeBoxes, engineFreeBoxes_);
    for (auto& [element, rect] : placed)
        if (rect)
            rect = placedFreeBox(*element, *rect);
    placeFreeBoxes(engineFreeBoxes_, markup_.freeBoxes, placed);
    return true;
}

}  // namespace platform::dom
