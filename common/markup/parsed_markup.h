// Markup read by the HTML5 parser (gumbo), the way a browser reads it, and the helpers
// the sanitisers share to walk the tree.
//
// Contract: a ParsedMarkup owns its tree; one thread per object. Node pointers stay
// valid while the ParsedMarkup lives. Parsing never fails: any input gives a document, of
// the markup as bounded_html.h bounds it, so a stranger's markup cannot keep it busy.
#pragma once

#include <gumbo.h>

#include <string>
#include <string_view>

namespace common::markup {

class ParsedMarkup {
  public:
    // `html` may be a fragment or a whole document (UTF-8).
    explicit ParsedMarkup(std::string_view html);
    ParsedMarkup(const ParsedMarkup&) = delete;
    ParsedMarkup& operator=(const ParsedMarkup&) = delete;
    ~ParsedMarkup();

    // The body element: the content of a fragment, or the body of a whole document.
    const GumboNode* body() const;

  private:
    std::string text_;  // gumbo keeps pointers into its input
    GumboOutput* output_ = nullptr;
};

// The element's name: lower case for HTML elements, the usual case for SVG ones ("clipPath");
// "" when the name is not a plain name of letters, digits and "-".
std::string elementName(const GumboNode* element);
// The attribute's name with its prefix ("xlink:href"); "" when it is not a plain name.
std::string attributeName(const GumboAttribute* attribute);
// The attribute's value, or null when the element does not have it (names in lower case).
const char* attributeValue(const GumboNode* element, const char* name);
// The text inside `node` (no markup, nor scripts, styles and other non-text content),
// appended as the parser gives it; iterative, so any
// depth is fine.
void appendTextContent(const GumboNode* node, std::string& out);

}  // namespace common::markup
