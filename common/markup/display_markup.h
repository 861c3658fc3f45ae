// The display form of clip markup: what a browser may show of an untrusted clip, inside a
// page of ours that the clip must not take over. Every element and attribute stays except
// what can run a script, load another document or reach beyond the clip: scripts, event
// attributes, javascript:/vbscript: addresses, frames, objects, embeds, applets, base,
// meta and link elements, templates and SVG animation; style elements; form
// controls (a form's own tag goes, its other content stays); and in style attributes,
// fixed or absolute positioning (style_filter.h).
//
// Contract: pure function, thread-safe. The output is balanced markup that reads the same
// as HTML and as XML: all text and attribute values escaped, so no parser can find a tag
// in them.
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
