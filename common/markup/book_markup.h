// The book form of clip markup: the content of an XHTML 1.1 body as EPUB 2 (OPS 2.0.1)
// reading systems accept it. Text and structure stay (headings, paragraphs, lists,
// definition lists, tables, quotations, emphasis, links, pictures, formulas in an
// ops:switch with their words as the fallback, book_formula.h); what the format does
// not have is rewritten ("font" and "u" become "span", "center" and the sectioning
// elements "div", "s" and "strike" "del") or dropped (scripts, styles, forms, frames,
// media, comments, ids, classes, inline styles). The content model is repaired: text
// directly in the body or a quotation goes into paragraphs, stray list content into
// items, blocks inside inline elements give up their box, tables get one body.
//
// Contract: pure function of its input and the picture callback; thread-safe when the
// callback is. Links keep only absolute http, https, ftp and mailto addresses.
#pragma once

#include <gumbo.h>

#include <functional>
#include <string>

namespace common::markup {

// Given a picture's address as written in the markup, returns the picture's address inside
// the book, or "" when the picture cannot be had (the picture is then replaced by its alt
// text).
using PictureResolver = std::function<std::string(const std::string& source)>;

// The content of `body` in book form, as UTF-8; "" when nothing is left.
std::string bookMarkup(const GumboNode* body, const PictureResolver& pictures);

}  // namespace common::markup
