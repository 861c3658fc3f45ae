// The display form of clip markup: what a browser may show of an untrusted clip. Every
// element and attribute stays except what can run a script or load another document:
// scripts, event attributes, javascript:/vbscript: addresses, frames, objects, embeds,
// applets, base, meta and link elements, templates, SVG animation and MathML.
//
// Contract: pure function, thread-safe. The output is balanced markup that reads the same
// as HTML and as XML: all text and attribute values escaped, so no parser can find a tag
// in them; the only unescaped text is that of style elements, kept only when they hold no
// "<".
#pragma once

#include <gumbo.h>

#include <string>

#include "common/markup/book_markup.h"

namespace common::markup {

// The content of `body` in display form, as UTF-8. With `pictures`, the address of every
// picture ("src" of "img") is what it gives for the address as written (kept as written
// when it gives ""), and the pictures' "srcset" alternatives are left out.
std::string displayMarkup(const GumboNode* body, const PictureResolver* pictures = nullptr);

}  // namespace common::markup
