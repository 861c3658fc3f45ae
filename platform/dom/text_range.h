// A text range of a document: the stretch between two boundary points, read as text or
// markup and measured as rectangles; and the document's text selection, which holds one.
//
// Contract: ranges are shared objects created by the document, an element or the
// selection; `createRange` gives a new object each time, so identity tells ranges apart.
// A boundary is a text node with a character offset or a node with a child index; offsets
// beyond the end are read as the end. A range whose nodes left the document reads as
// empty. Owner thread only.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dom/geometry.h"

namespace platform::dom {

class Document;
class Element;
class Node;

struct BoundaryPoint {
    std::shared_ptr<Node> node;
    std::size_t offset = 0;
};

class TextRange {
  public:
    TextRange(std::weak_ptr<Document> document, BoundaryPoint start, BoundaryPoint end);

    const BoundaryPoint& start() const { return start_; }
    const BoundaryPoint& end() const { return end_; }
    bool isCollapsed() const;

    // The rendered text of the range (as innerText reads it).
    std::wstring text() const;
    // The markup of the range: partly covered elements are written with their tags around
    // the covered part, as the old browser's htmlText did.
    std::wstring htmlText() const;
    // One box per line of the range's characters, in client coordinates.
    std::vector<Rect> getClientRects() const;
    std::optional<Rect> getBoundingClientRect() const;
    // The nearest element that holds the whole range.
    std::shared_ptr<Element> parentElement() const;

    // The range becomes the element's content.
    void moveToElementText(const std::shared_ptr<Element>& element);
    // Narrows the range to the first occurrence of `text` inside it (ignoring ASCII case,
    // not looking into scripts and style sheets); false and unchanged when there is none.
    bool findText(std::wstring_view text);
    // Makes this range the document's text selection.
    void select() const;

  private:
    std::weak_ptr<Document> document_;
    BoundaryPoint start_;
    BoundaryPoint end_;
};

class Selection {
  public:
    explicit Selection(Document& document) : document_(document) {}

    // "Text" when a non-empty range is selected, else "None".
    std::wstring type() const;
    // A new range object over the selection (an empty one at the body when none).
    std::shared_ptr<TextRange> createRange() const;
    void empty() { range_.reset(); }

  private:
    friend class TextRange;
    Document& document_;
    std::optional<TextRange> range_;
};

}  // namespace platform::dom
