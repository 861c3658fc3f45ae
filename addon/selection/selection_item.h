// One selected or tracked thing on a page: a set of elements (kind 1) or a text range
// (kind 2), with its area in document coordinates, the overlays that paint it and the
// history that Select More and Select Less walk. An item the page selected itself (its
// article, found when the page is attached) remembers the block the finder chose, so a
// Grab of it keeps the article as a Grab with nothing selected does; growing or
// shrinking it makes it the person's own.
//
// Contract: a plain value that shares the page's nodes; the page's user-interface thread.
// Text ranges are measured when asked, so their areas follow scrolling and layout.
#pragma once

#include <cstdint>
#include <vector>

#include "addon/page/dom_helpers.h"
#include "addon/page/rect.h"

namespace addon {

// Both null, or the same boundary points.
bool sameRange(const TextRangePtr& a, const TextRangePtr& b);

class SelectionItem {
  public:
    static constexpr std::int32_t kElements = 1;
    static constexpr std::int32_t kText = 2;

    static SelectionItem ofElements(std::vector<ElementPtr> elements);
    static SelectionItem ofText(TextRangePtr range);
    // The story blocks of the page's article, `found` being the block the finder chose
    // among or inside them.
    static SelectionItem ofFoundArticle(std::vector<ElementPtr> blocks, ElementPtr found);

    std::int32_t kind() const { return kind_; }
    const std::vector<ElementPtr>& elements() const { return elements_; }
    const TextRangePtr& textRange() const { return range_; }
    // The block the article finder chose; null for what a person selected.
    const ElementPtr& foundArticle() const { return foundArticle_; }
    std::vector<std::int32_t>& overlayIds() { return overlayIds_; }
    const std::vector<std::int32_t>& overlayIds() const { return overlayIds_; }

    // Kind 1: the union of the elements' rectangles (unset when none has one). Kind 2: the
    // range's bounding rectangle moved by the scroll offsets.
    OptionalRect boundingRect(const dom::Document& document) const;
    // The rectangles that overlays paint: the union, or each of the range's rectangles.
    std::vector<Rect> areas(const dom::Document& document) const;
    bool containsPoint(const dom::Document& document, std::int32_t x, std::int32_t y) const;
    // Every element of `other` lies inside one of this item's elements.
    bool containsItem(const SelectionItem& other) const;

    // Becomes the common parent of its elements, unless that is the body or the elements
    // have different parents; a body or html item never grows. False when nothing changed.
    bool growToParent();
    // Takes back the contents before the last growth, or, for a single element, its child
    // with the largest area. False when nothing changed.
    bool shrink();

    // Same kind and the same objects (the same elements in the same order, or ranges over
    // the same stretch of the page: the page hands out a new range object each time).
    friend bool operator==(const SelectionItem& a, const SelectionItem& b) {
        return a.kind_ == b.kind_ && a.elements_ == b.elements_ && sameRange(a.range_, b.range_);
    }

  private:
    struct Contents {
        std::vector<ElementPtr> elements;
        TextRangePtr range;
    };

    std::int32_t kind_ = kElements;
    std::vector<std::int32_t> overlayIds_;
    std::vector<ElementPtr> elements_;
    TextRangePtr range_;
    ElementPtr foundArticle_;
    std::vector<Contents> history_;
};

}  // namespace addon
