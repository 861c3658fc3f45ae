// An element of an HTML document: tag name, attributes, the element views of its subtree
// and its markup.
//
// Contract: see node.h for ownership and threading. Tag names are upper case as the page
// reports them ("DIV"); attribute names are matched without regard to ASCII case and kept
// in lower case. Markup setters parse with the element as context and never throw on bad
// markup; a setter that cannot apply (insertAdjacentHTML "beforeBegin" on a parentless
// element, an unknown position) returns false and changes nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dom/geometry.h"
#include "platform/dom/node.h"

namespace platform::dom {
class ComputedStyle;
class Style;
class TextRange;
}  // namespace platform::dom

namespace platform::dom {

struct Attribute {
    std::wstring name;
    std::wstring value;
};

enum class Namespace : std::uint8_t { Html, Svg, MathMl };

class Element final : public Node {
  public:
    Element(std::weak_ptr<Document> document, const std::wstring* tagName,
            Namespace ns = Namespace::Html);

    std::wstring nodeName() const override { return *tag_; }
    const std::wstring& tagName() const { return *tag_; }
    Namespace elementNamespace() const { return ns_; }
    bool hasTag(std::wstring_view upperName) const { return *tag_ == upperName; }

    const std::vector<Attribute>& attributes() const { return attributes_; }
    std::optional<std::wstring> getAttribute(std::wstring_view name) const;
    bool hasAttribute(std::wstring_view name) const;
    void setAttribute(std::wstring_view name, std::wstring value);
    // Where the attribute stands among the element's attributes; none when it is absent.
    std::optional<std::size_t> attributePosition(std::wstring_view name) const;
    // Sets the attribute; one that is absent is inserted at `position` (appended when the
    // element has fewer attributes), so that a removed attribute goes back where it stood.
    void setAttributeAt(std::size_t position, std::wstring_view name, std::wstring value);
    bool removeAttribute(std::wstring_view name);
    std::wstring id() const { return getAttribute(L"id").value_or(L""); }
    void setId(std::wstring id) { setAttribute(L"id", std::move(id)); }
    std::wstring className() const { return getAttribute(L"class").value_or(L""); }
    void setClassName(std::wstring name) { setAttribute(L"class", std::move(name)); }

    // Child elements, in order.
    std::vector<std::shared_ptr<Element>> children() const;
    // Every element below this one, in document order.
    std::vector<std::shared_ptr<Element>> all() const;
    // Elements below this one with the tag name (any case); "*" gives all of them.
    std::vector<std::shared_ptr<Element>> getElementsByTagName(std::wstring_view name) const;
    // Position in the document's `all` collection; -1 when not in a document's tree.
    int sourceIndex() const;

    std::shared_ptr<Node> cloneNode(bool deep) const override;
    std::shared_ptr<Element> cloneElement(bool deep) const;

    std::wstring innerHTML() const;
    void setInnerHTML(std::wstring_view html);
    std::wstring outerHTML() const;
    // Rendered text: script, style and comments left out, white space collapsed outside
    // "PRE", line breaks ("\r\n") between blocks and at "BR".
    std::wstring innerText() const;
    // Whether innerText() has at least `count` characters, without building all of it.
    bool innerTextReaches(std::size_t count) const;
    // Replaces the content with one text node.
    void setInnerText(std::wstring text);
    // `where` is "beforeBegin", "afterBegin", "beforeEnd" or "afterEnd" (any case).
    std::shared_ptr<Element> insertAdjacentElement(std::wstring_view where,
                                                   std::shared_ptr<Element> element);
    bool insertAdjacentHTML(std::wstring_view where, std::wstring_view html);

    // The inline style object (over the "style" attribute).
    Style style();
    // The cascaded style; null only when the element belongs to no document.
    std::shared_ptr<const ComputedStyle> currentStyle() const;

    // Geometry in client coordinates (the viewport's, after scrolling). Elements without a
    // box give std::nullopt, no rectangles and zero sizes.
    std::optional<Rect> getBoundingClientRect() const;
    std::vector<Rect> getClientRects() const;
    // The nearest positioned ancestor, table cell or table, else the body.
    std::shared_ptr<Element> offsetParent() const;
    int offsetLeft() const;
    int offsetTop() const;
    int offsetWidth() const;
    int offsetHeight() const;
    int clientLeft() const;
    int clientTop() const;
    int clientWidth() const;
    int clientHeight() const;
    // For "HTML" and "BODY" these are the document's (the window's) scroll values.
    int scrollLeft() const;
    int scrollTop() const;
    void setScrollLeft(int value);
    void setScrollTop(int value);
    void scrollTo(int x, int y);
    int scrollWidth() const;
    int scrollHeight() const;
    // What part of the element lies at a client point: "" its client area, "outside",
    // or "scrollbarVThumb" / "scrollbarHThumb" on a scroll bar.
    std::wstring componentFromPoint(int clientX, int clientY) const;
    // A new text range over the element's content.
    std::shared_ptr<TextRange> createTextRange() const;

    // Mouse events go to this element until the capture is released.
    void setCapture();
    void releaseCapture();

  private:
    friend class Document;
    friend class HtmlTreeBuilder;
    friend class StyleEngine;

    // Drops the element's cached style and tells the document.
    void noteAttributeChange();

    const std::wstring* tag_;
    Namespace ns_;
    std::vector<Attribute> attributes_;
    mutable int sourceIndex_ = -1;
    mutable std::uint64_t sourceIndexVersion_ = 0;
    // The cascaded style, the rules version it was computed with and the style generation
    // at which it was last known to be current (cascade.h).
    mutable std::shared_ptr<const ComputedStyle> computed_;
    mutable std::uint64_t computedRules_ = 0;
    mutable std::uint64_t checkedGeneration_ = 0;
    // The child list versions of the element and its parent when the style was computed.
    mutable std::uint64_t computedSiblings_ = 0;
};

// Appends every element below `root` to `out`, in document order, without recursion.
void appendElementsBelow(const Node& root, std::vector<std::shared_ptr<Element>>& out);

}  // namespace platform::dom
