// What an element of a book page receives from its children, wrapped as the element's
// content model asks: a body or a quotation puts loose inline content into paragraphs,
// a list into items, a definition list into definitions.
//
// Contract: one object per element being written; not shared between threads.
#pragma once

#include <string>
#include <string_view>

namespace common::markup {

enum class BookContext {
    Blocks,       // blocks only (body, blockquote)
    Flow,         // blocks and inline content (div, li, dd, td)
    Inline,       // inline content only (p, headings, pre, inline elements)
    Items,        // li only (ul, ol)
    Definitions,  // dt and dd only (dl)
};

// "<name attributes>body</name>".
std::string wrappedIn(std::string_view name, std::string_view attributes, std::string_view body);

class BookContent {
  public:
    explicit BookContent(BookContext context) : context_(context) {}

    BookContext context() const { return context_; }
    // Inline markup; `visible` when it shows something (not only blanks or line breaks).
    void addInline(std::string_view markup, bool visible);
    // A block (callers flatten blocks themselves where only inline content may stand).
    void addBlock(std::string_view markup);
    // A list item in Items, a term or definition in Definitions.
    void addItem(std::string_view markup);

    // The markup gathered, with the last loose run wrapped.
    std::string take();
    // Something visible was gathered (valid after `take`).
    bool visible() const { return visible_; }

  private:
    void wrapPending();

    BookContext context_;
    std::string out_;
    std::string pending_;  // loose content waiting for its wrapper
    bool pendingVisible_ = false;
    bool visible_ = false;
};

}  // namespace common::markup
