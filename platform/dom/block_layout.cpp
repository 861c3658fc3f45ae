#include "platform/dom/block_layout.h"

#include <algorithm>
#include <cwchar>
#include <limits>

#include "platform/dom/cascade.h"
#include "platform/dom/css_values.h"
#include "platform/dom/document.h"
#include "platform/dom/inner_text.h"
#include "platform/dom/tag_names.h"

namespace platform::dom {

namespace {

constexpr int kCell = SimpleBlockLayout::kCharWidth;
constexpr int kLine = SimpleBlockLayout::kLineHeight;
constexpr int kUnset = std::numeric_limits<int>::min();

bool isReplaced(const Element& element) {
    static constexpr std::wstring_view kTags[] = {L"IMG",    L"IFRAME",   L"VIDEO",  L"CANVAS",
                                                  L"EMBED",  L"OBJECT",   L"APPLET", L"INPUT",
                                                  L"SELECT", L"TEXTAREA", L"SVG",    L"BUTTON"};
    return std::find(std::begin(kTags), std::end(kTags), element.tagName()) != std::end(kTags);
}

int attributePixels(const Element& element, std::wstring_view name, int fallback) {
    auto value = element.getAttribute(name);
    if (!value)
        return fallback;
    // Size attributes count pixels without a unit ("40").
    bool plainNumber =
        !value->empty() && value->find_first_not_of(L"0123456789") == std::wstring::npos;
    return toPixels(plainNumber ? *value + L"px" : *value, 0, fallback);
}

// The natural size of a replaced element without a size in its style.
Size naturalSize(const Element& element) {
    const auto& tag = element.tagName();
    if (tag == L"INPUT")
        return equalsIgnoringCase(element.getAttribute(L"type").value_or(L""), L"hidden")
                   ? Size{0, 0}
                   : Size{150, 20};
    if (tag == L"SELECT")
        return {100, 20};
    if (tag == L"IMG")
        return {16, 16};
    if (tag == L"BUTTON")
        return {static_cast<int>(collapseWhiteSpace(textContent(element)).size()) * kCell + 8, 20};
    if (tag == L"TEXTAREA")
        return {attributePixels(element, L"cols", 20) * kCell,
                attributePixels(element, L"rows", 2) * kLine};
    return {300, 150};
}

}  // namespace

class LayoutPass {
  public:
    LayoutPass(SimpleBlockLayout& out, const Document& document, Size viewport)
        : out_(out), styles_(document.styles()), viewport_(viewport) {}

    void run(const Document& document) {
        out_.boxes_.clear();
        out_.runs_.clear();
        auto root = document.documentElement();
        if (root) {
            auto style = styles_.styleOf(*root);
            if (style->value(PropertyId::Display) != L"none")
                layoutBlock(*root, *style, 0, 0, viewport_.width);
        }
        if (root)
            if (auto box = out_.boxes_.find(root.get()); box != out_.boxes_.end())
                extent_ = extent_.united(box->second.border);
        out_.content_ = {extent_.right, extent_.bottom};
    }

  private:
    struct Line {
        int top;
        int height;
        int right;
    };
    struct Flow {
        int left;
        int width;
        bool wrap = true;
        int cursor;
        bool hasContent = false;
        bool pendingSpace = false;
        std::vector<Line> lines;

        int right() const { return left + width; }
        Line& line() { return lines.back(); }
    };

    int side(const ComputedStyle& style, PropertyId id, int base) {
        return std::max(0, toPixels(style.value(id), base, 0));
    }
    // Lays out `element` as a block in a containing block whose content starts at x and is
    // `available` wide, at y. Returns the height of its margin box.
    int layoutBlock(const Element& element, const ComputedStyle& style, int x, int y,
                    int available) {
        using P = PropertyId;
        int marginLeft = toPixels(style.value(P::MarginLeft), available, 0);
        int marginRight = toPixels(style.value(P::MarginRight), available, 0);
        int marginTop = toPixels(style.value(P::MarginTop), available, 0);
        int marginBottom = toPixels(style.value(P::MarginBottom), available, 0);
        int borderLeft = borderPixels(style, BoxSide::Left);
        int borderRight = borderPixels(style, BoxSide::Right);
        int borderTop = borderPixels(style, BoxSide::Top);
        int borderBottom = borderPixels(style, BoxSide::Bottom);
        int paddingLeft = side(style, P::PaddingLeft, available);
        int paddingRight = side(style, P::PaddingRight, available);
        int paddingTop = side(style, P::PaddingTop, available);
        int paddingBottom = side(style, P::PaddingBottom, available);
        int frame = borderLeft + borderRight + paddingLeft + paddingRight;

        int contentWidth = toPixels(style.value(P::Width), available, -1);
        bool autoWidth = contentWidth < 0;
        if (autoWidth)
            contentWidth = available - marginLeft - marginRight - frame;
        contentWidth =
            std::min(contentWidth, toPixels(style.value(P::MaxWidth), available, contentWidth));
        contentWidth =
            std::max({contentWidth, toPixels(style.value(P::MinWidth), available, 0), 0});
        if (!autoWidth && equalsIgnoringCase(style.value(P::MarginLeft), L"auto") &&
            equalsIgnoringCase(style.value(P::MarginRight), L"auto"))
            marginLeft = std::max(0, (available - contentWidth - frame) / 2);

        int left = x + marginLeft;
        int top = y + marginTop;
        int contentLeft = left + borderLeft + paddingLeft;
        int contentTop = top + borderTop + paddingTop;
        bool positioned = style.value(P::Position) != L"static";
        if (positioned)
            containers_.push_back({left, top, left + contentWidth + frame, top});
        int contentHeight = layoutContent(element, style, contentLeft, contentTop, contentWidth);
        if (positioned)
            containers_.pop_back();
        contentHeight = std::max(contentHeight, toPixels(style.value(P::MinHeight), 0, 0));
        std::wstring height = style.value(P::Height);
        if (!height.ends_with(L"%"))
            contentHeight = toPixels(height, 0, contentHeight);
        contentHeight = std::max(contentHeight, 0);

        int bottom = contentTop + contentHeight + paddingBottom + borderBottom;
        out_.boxes_[&element].border = {left, top, left + contentWidth + frame, bottom};
        return marginTop + (bottom - top) + marginBottom;
    }

    int layoutContent(const Element& element, const ComputedStyle& style, int left, int top,
                      int width) {
        if (style.value(PropertyId::Display) == L"table-row")
            return layoutRow(element, left, top, width);
        Flow flow{left, width, true, left, false, false, {{top, kLine, left}}};
        layoutChildren(element, flow);
        endLine(flow);
        return flow.line().top - top;
    }

    int layoutRow(const Element& row, int left, int top, int width) {
        std::vector<std::pair<const Element*, std::shared_ptr<const ComputedStyle>>> cells;
        for (const auto& child : row.children()) {
            auto style = styles_.styleOf(*child);
            if (style->value(PropertyId::Display) != L"none")
                cells.emplace_back(child.get(), style);
        }
        if (cells.empty())
            return 0;
        int cellWidth = width / static_cast<int>(cells.size());
        int height = 0;
        for (std::size_t i = 0; i < cells.size(); ++i)
            height = std::max(height,
                              layoutBlock(*cells[i].first, *cells[i].second,
                                          left + static_cast<int>(i) * cellWidth, top, cellWidth));
        return height;
    }

    void layoutChildren(const Node& parent, Flow& flow) {
        for (const auto& child : parent.childNodes()) {
            if (child->nodeType() == NodeType::Text) {
                flowText(flow, static_cast<const Text&>(*child));
                continue;
            }
            if (child->nodeType() != NodeType::Element)
                continue;
            const auto& element = static_cast<const Element&>(*child);
            auto style = styles_.styleOf(element);
            std::wstring display = style->value(PropertyId::Display);
            std::wstring position = style->value(PropertyId::Position);
            if (display == L"none")
                continue;
            if (position == L"absolute" || position == L"fixed") {
                layoutAbsolute(element, *style, flow);
            } else if (element.hasTag(L"BR")) {
                newLine(flow, true);
                out_.boxes_[&element].border = {flow.cursor, flow.line().top, flow.cursor,
                                                flow.line().top + kLine};
            } else if (display == L"inline") {
                layoutInline(element, flow);
            } else if (isReplaced(element) ||
                       (display == L"inline-block" && style->value(PropertyId::Width) != L"auto")) {
                layoutAtomic(element, *style, flow);
            } else {
                endLine(flow);
                int used = layoutBlock(element, *style, flow.left, flow.line().top, flow.width);
                flow.line().top += used;
            }
        }
    }

    void layoutInline(const Element& element, Flow& flow) {
        std::size_t firstLine = flow.lines.size() - 1;
        int firstX = flow.cursor + (flow.pendingSpace && flow.hasContent ? kCell : 0);
        bool savedWrap = flow.wrap;
        flow.wrap = styles_.styleOf(element)->value(PropertyId::WhiteSpace) != L"nowrap";
        layoutChildren(element, flow);
        flow.wrap = savedWrap;
        auto& box = out_.boxes_[&element];
        std::size_t lastLine = flow.lines.size() - 1;
        for (std::size_t i = firstLine; i <= lastLine; ++i) {
            const Line& line = flow.lines[i];
            int left = i == firstLine ? firstX : flow.left;
            int right = i == lastLine ? flow.cursor : line.right;
            if (i != firstLine && i != lastLine && right <= left)
                continue;
            box.lines.push_back({left, line.top, std::max(left, right), line.top + line.height});
        }
        box.border = box.lines.front();
        for (const auto& line : box.lines)
            box.border = box.border.united(line);
    }

    void layoutAtomic(const Element& element, const ComputedStyle& style, Flow& flow) {
        Size natural = naturalSize(element);
        int width = toPixels(style.value(PropertyId::Width), flow.width,
                             attributePixels(element, L"width", natural.width));
        int height = toPixels(style.value(PropertyId::Height), -1,
                              attributePixels(element, L"height", natural.height));
        width = std::max(width, 0);
        height = std::max(height, 0);
        placeSpace(flow);
        if (flow.wrap && flow.hasContent && flow.cursor + width > flow.right())
            newLine(flow, false);
        int left = flow.cursor;
        int top = flow.line().top;
        if (isReplaced(element))
            out_.boxes_[&element].border = {left, top, left + width, top + height};
        else
            height = layoutBlock(element, style, left, top, width);
        flow.cursor += width;
        flow.hasContent = true;
        flow.line().height = std::max(flow.line().height, height);
        flow.line().right = std::max(flow.line().right, flow.cursor);
    }

    void layoutAbsolute(const Element& element, const ComputedStyle& style, Flow& flow) {
        Rect container = containers_.empty() ? Rect{0, 0, viewport_.width, viewport_.height}
                                             : containers_.back();
        int x = toPixels(style.value(PropertyId::Left), container.width(), kUnset);
        int y = toPixels(style.value(PropertyId::Top), container.height(), kUnset);
        x = x == kUnset ? (flow.hasContent ? flow.cursor : flow.left) : container.left + x;
        y = y == kUnset ? flow.line().top : container.top + y;
        int available = std::max(0, std::max(container.right, viewport_.width) - x);
        layoutBlock(element, style, x, y, available);
        extent_ = extent_.united(out_.boxes_[&element].border);
    }

    void placeSpace(Flow& flow) {
        if (!flow.pendingSpace)
            return;
        flow.pendingSpace = false;
        if (flow.wrap && flow.cursor + kCell > flow.right())
            newLine(flow, false);
        else
            flow.cursor += kCell;
    }

    void flowText(Flow& flow, const Text& text) {
        auto parent = text.parentElement();
        std::wstring whiteSpace =
            parent ? styles_.styleOf(*parent)->value(PropertyId::WhiteSpace) : L"normal";
        bool preserve = whiteSpace.starts_with(L"pre");
        const std::wstring& data = text.data();
        auto& runs = out_.runs_[&text];
        std::size_t current = SIZE_MAX;  // index of the run being extended
        for (std::size_t i = 0; i < data.size(); ++i) {
            wchar_t c = data[i];
            if (preserve && c == L'\n') {
                newLine(flow, true);
                current = SIZE_MAX;
                continue;
            }
            if (preserve && c == L'\r')
                continue;
            if (!preserve && isHtmlWhiteSpace(c)) {
                if (flow.hasContent)
                    flow.pendingSpace = true;
                continue;
            }
            bool spaced = flow.pendingSpace;
            int before = flow.cursor;
            placeSpace(flow);
            spaced = spaced && flow.cursor == before + kCell;
            if (flow.wrap && !preserve && flow.hasContent && flow.cursor + kCell > flow.right()) {
                newLine(flow, false);
                spaced = false;
            }
            int top = flow.line().top;
            bool extend = false;
            if (current != SIZE_MAX) {
                const auto& run = runs[current];
                extend = run.rect.top == top &&
                         ((run.end == i && run.rect.right == flow.cursor) ||
                          (spaced && run.end + 1 == i && run.rect.right + kCell == flow.cursor));
            }
            if (extend) {
                runs[current].end = i + 1;
                runs[current].rect.right = flow.cursor + kCell;
            } else {
                runs.push_back({i, i + 1, {flow.cursor, top, flow.cursor + kCell, top + kLine}});
                current = runs.size() - 1;
            }
            flow.cursor += kCell;
            flow.hasContent = true;
            flow.line().right = std::max(flow.line().right, flow.cursor);
        }
        if (runs.empty())
            out_.runs_.erase(&text);
    }

    void newLine(Flow& flow, bool force) {
        if (!force && !flow.hasContent)
            return;
        int top = flow.line().top + flow.line().height;
        flow.lines.push_back({top, kLine, flow.left});
        flow.cursor = flow.left;
        flow.hasContent = false;
        flow.pendingSpace = false;
    }

    void endLine(Flow& flow) {
        newLine(flow, false);
        flow.pendingSpace = false;
    }

    SimpleBlockLayout& out_;
    StyleEngine& styles_;
    Size viewport_;
    std::vector<Rect> containers_;  // positioned ancestors
    Rect extent_;                   // the root's box and every positioned box
};

void SimpleBlockLayout::layout(const Document& document, Size viewport) {
    LayoutPass(*this, document, viewport).run(document);
}

std::optional<Rect> SimpleBlockLayout::borderBox(const Element& element) const {
    auto it = boxes_.find(&element);
    if (it == boxes_.end())
        return std::nullopt;
    return it->second.border;
}

std::vector<Rect> SimpleBlockLayout::clientRects(const Element& element) const {
    auto it = boxes_.find(&element);
    if (it == boxes_.end())
        return {};
    if (!it->second.lines.empty())
        return it->second.lines;
    return {it->second.border};
}

std::vector<Rect> SimpleBlockLayout::textRects(const Text& text, std::size_t begin,
                                               std::size_t end) const {
    std::vector<Rect> rects;
    auto it = runs_.find(&text);
    if (it == runs_.end())
        return rects;
    for (const auto& run : it->second) {
        std::size_t from = std::max(begin, run.begin);
        std::size_t to = std::min(end, run.end);
        if (from >= to)
            continue;
        int left = run.rect.left + static_cast<int>(from - run.begin) * kCell;
        Rect piece{left, run.rect.top, left + static_cast<int>(to - from) * kCell, run.rect.bottom};
        if (!rects.empty() && rects.back().top == piece.top)
            rects.back() = rects.back().united(piece);
        else
            rects.push_back(piece);
    }
    return rects;
}

}  // namespace platform::dom
