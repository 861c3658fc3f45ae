// Writing the node tree back as HTML markup (outerHTML, innerHTML, the whole page).
//
// Contract: what is written parses back (html_parser.h) to the same tree: text and
// attribute values are escaped, raw-text elements ("SCRIPT", "STYLE", ...) are written as
// they are, void elements get no end tag, and a leading line feed of "PRE", "TEXTAREA" and
// "LISTING" content is doubled because parsing drops the first one. Tag names are written
// as the page reports them (upper case), attribute names in lower case, values always in
// double quotes. Works without recursion; pure function of the tree.
#pragma once

#include <string>
#include <string_view>

namespace platform::dom {

class Node;

void writeOuterHtml(std::wstring& out, const Node& node);
void writeInnerHtml(std::wstring& out, const Node& node);
// Escapes "&", "<", ">" and U+00A0 in text; "&", '"' and U+00A0 in attribute values.
void writeEscaped(std::wstring& out, std::wstring_view text, bool attributeValue);

}  // namespace platform::dom
