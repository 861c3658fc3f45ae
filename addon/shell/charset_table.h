// The table that maps a charset name, as pages declare it, to a numbered code page, and the
// reader of an HTML page's own charset declaration. Linked pages are decoded with these.
//
// Contract: pure functions over constant data; thread-safe; never throw but bad_alloc.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace addon {

struct CharsetCodePage {
    const wchar_t* name;
    unsigned codePage;
};

// The 44 rows in lookup order. Two names occur twice; the first row wins.
std::span<const CharsetCodePage> charsetCodePageTable();

// The code page of the first row whose name equals `name` ignoring case; 0 (the system
// code page) when none does.
unsigned codePageForCharset(std::wstring_view name);

// The charset that a "text/html; charset=..." declaration in the bytes names (the first
// such declaration, as written); "" when there is none or it names nothing.
std::wstring charsetFromHtml(std::string_view bytes);

// The page's bytes as text, decoded with the code page its own declaration names; a page
// without one, or with one that is unknown, is decoded with the system code page.
std::wstring decodeHtmlByDeclaration(std::string_view bytes);

}  // namespace addon
