// The one sanitiser of clip markup. Clips come from pages and synced entries that nobody
// here controls; whatever is stored, shown or exported goes through these functions.
// Every form reads a fragment or a whole document the way a browser does (HTML5 parsing)
// and keeps only the body's content, so a whole-document clip gives its body alone and
// unclosed or stray markup comes out balanced.
//
// Contract: pure functions, thread-safe (no shared state), never throw except
// std::bad_alloc. Wide texts are UTF-32 as elsewhere in the program; markup functions on
// std::string take and give UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "common/markup/book_markup.h"

namespace common {

// Markup that a browser may show: nothing in it can run a script (display_markup.h).
std::wstring safeMarkup(std::wstring_view html);
std::string safeMarkupUtf8(std::string_view html);
// The same, with every picture's address replaced by what `pictures` gives for it (kept
// as written when it gives ""): for pages that must show their pictures elsewhere.
std::wstring safeMarkup(std::wstring_view html, const markup::PictureResolver& pictures);

// The content of an e-book page's body, valid XHTML 1.1 (book_markup.h); pictures are
// placed through `pictures`, or replaced by their alt text when it gives "".
std::string bookPageMarkup(std::string_view html, const markup::PictureResolver& pictures);

// The text a reader sees in the markup: blanks collapsed as a browser does, CR LF after
// blocks and line breaks, preformatted text as it stands; no scripts or styles.
std::wstring markupText(std::wstring_view html);

}  // namespace common
