// What each HTML element becomes in a book page (book_markup.h): its role in the content
// model and the XHTML 1.1 element written for it.
//
// Contract: a constant table, thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace common::markup {

enum class BookRole {
    Drop,          // left out with its content
    Unwrap,        // left out, its content kept in its place
    Inline,        // an inline element with inline content
    Paragraph,     // a block with inline content (p, h1-h6, address)
    Preformatted,  // pre: inline content, blanks kept, no pictures
    Division,      // a block with blocks and inline content (div)
    Quotation,     // a block with blocks only (blockquote)
    List,          // ul, ol: items only
    Definitions,   // dl: terms and definitions only
    Item,          // li
    Term,          // dt
    Definition,    // dd
    Table,
    Rule,     // hr
    Break,    // br
    Picture,  // img
    Formula,  // math: MathML with its words as the fallback (book_formula.h)
};

struct BookElement {
    BookRole role = BookRole::Unwrap;
    std::string_view name;  // the element written, for the roles that write one
};

// The role of the element named `name` (lower case); unknown elements are unwrapped.
BookElement bookElement(std::string_view name);

}  // namespace common::markup
