// The page document of the page model: its root element, URL and title, scroll offsets,
// the page's own text selection, the element that holds the mouse capture, and the parts
// of the window a point may fall on (componentFromPoint).
//
// Contract: owns its tree; single-threaded; nothing throws but bad_alloc. Text ranges are
// shared objects whose identity is their address.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "addon/controller/page/node.h"
#include "addon/controller/rect.h"

namespace addon::page {

// A stretch of the page's text with the rectangles it covers, in client coordinates.
struct TextRange {
    std::wstring text;
    std::wstring htmlText;
    std::vector<Rect> clientRects;
    Rect boundingRect;
};
using TextRangePtr = std::shared_ptr<TextRange>;

class Document {
  public:
    // Parses the markup as a browser loads a page.
    explicit Document(const std::wstring& markup = L"", std::wstring url = L"");

    NodePtr root() const { return root_; }
    NodePtr head() const;
    NodePtr body() const;
    const std::wstring& url() const { return url_; }
    std::wstring title() const;
    // Every element of the tree with that tag (lower case), in document order.
    std::vector<NodePtr> elementsByTag(const std::wstring& tag) const;
    // The first element with that id.
    NodePtr elementById(const std::wstring& id) const;

    std::int32_t scrollLeft() const { return scrollLeft_; }
    std::int32_t scrollTop() const { return scrollTop_; }
    void scrollTo(std::int32_t left, std::int32_t top);

    // The page's own selection: "text" with a range, or "none".
    std::wstring selectionType() const { return selection_ ? L"text" : L"none"; }
    TextRangePtr selectionRange() const { return selection_; }
    void setSelection(TextRangePtr range) { selection_ = std::move(range); }

    NodePtr captureElement() const { return capture_; }
    void setCapture(NodePtr element) { capture_ = std::move(element); }
    void releaseCapture() { capture_.reset(); }

    // Client points with x at or beyond this value lie on the vertical scroll bar.
    void setScrollBarFrom(std::int32_t clientX) { scrollBarFrom_ = clientX; }
    std::wstring componentFromPoint(std::int32_t clientX, std::int32_t clientY) const;

  private:
    NodePtr root_;
    std::wstring url_;
    std::int32_t scrollLeft_ = 0;
    std::int32_t scrollTop_ = 0;
    TextRangePtr selection_;
    NodePtr capture_;
    std::int32_t scrollBarFrom_ = -1;
};

}  // namespace addon::page
