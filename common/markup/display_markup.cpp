#include "common/markup/display_markup.h"

#include <set>
#include <string_view>

#include "common/markup/parsed_markup.h"
#include "common/markup/url_safety.h"
#include "common/markup/xml_output.h"

namespace common::markup {

namespace {

// Deeper than this, only the text of the elements is kept.
constexpr int kMaxDepth = 256;

// Elements dropped with everything inside them, in any namespace (names in lower case).
const std::set<std::string, std::less<>> kDropped = {
    "script",           "noscript", "iframe",   "frame",  "frameset", "object",   "embed",
    "applet",           "param",    "base",     "meta",   "link",     "template", "noembed",
    "noframes",         "title",    "head",     "portal", "animate",  "set",      "animatemotion",
    "animatetransform", "handler",  "listener", "math"};

// Elements whose content browsers read as raw text: written as "pre", whose content is
// read as markup, so the escaped text reads back as it was.
const std::set<std::string, std::less<>> kRawText = {"xmp", "listing", "plaintext"};

const std::set<std::string, std::less<>> kVoid = {"area",  "br",     "col",    "hr",    "img",
                                                  "input", "keygen", "source", "track", "wbr"};

bool isEventAttribute(std::string_view name) {
    return name.size() > 2 && lowerAscii(name.substr(0, 2)) == "on";
}

bool isScriptInStyle(std::string_view style) {
    const std::string lower = lowerAscii(style);
    for (const std::string_view word :
         {"expression", "javascript:", "vbscript:", "behavior", "-moz-binding"})
        if (lower.find(word) != std::string::npos)
            return true;
    return false;
}

bool keepAttribute(std::string_view name, std::string_view value) {
    if (name.empty() || isEventAttribute(name) || isScriptUrl(value))
        return false;
    if (name == "srcdoc" || name == "formaction")
        return false;
    if (name == "style")
        return !isScriptInStyle(value);
    if (isDataUrl(value))
        return (name == "src" || name == "poster") && isPictureDataUrl(value);
    return true;
}

class DisplayWriter {
  public:
    explicit DisplayWriter(const PictureResolver* pictures) : pictures_(pictures) {}

    std::string out;

    void children(const GumboNode* parent, int depth) {
        const GumboVector& nodes = parent->v.element.children;
        for (unsigned i = 0; i < nodes.length; ++i)
            node(static_cast<const GumboNode*>(nodes.data[i]), depth);
    }

  private:
    void node(const GumboNode* node, int depth) {
        switch (node->type) {
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_WHITESPACE:
            case GUMBO_NODE_CDATA:
                appendEscaped(out, node->v.text.text, false);
                break;
            case GUMBO_NODE_ELEMENT:
                element(node, depth + 1);
                break;
            default:  // comments, templates
                break;
        }
    }

    void element(const GumboNode* element, int depth) {
        if (depth > kMaxDepth) {
            std::string text;
            appendTextContent(element, text);
            appendEscaped(out, text, false);
            return;
        }
        std::string name = elementName(element);
        const std::string lower = lowerAscii(name);
        if (kDropped.count(lower) > 0)
            return;
        if (name.empty()) {
            children(element, depth);
            return;
        }
        if (lower == "style") {
            style(element);
            return;
        }
        if (kRawText.count(lower) > 0)
            name = "pre";
        out += '<';
        out += name;
        attributes(element);
        const bool html = element->v.element.tag_namespace == GUMBO_NAMESPACE_HTML;
        if (html ? kVoid.count(name) > 0 : element->v.element.children.length == 0) {
            out += " />";  // as Tidy writes them, like the markup already stored
            return;
        }
        out += '>';
        children(element, depth);
        out += "</";
        out += name;
        out += '>';
    }

    void attributes(const GumboNode* element) {
        const bool picture = pictures_ != nullptr &&
                             element->v.element.tag_namespace == GUMBO_NAMESPACE_HTML &&
                             element->v.element.tag == GUMBO_TAG_IMG;
        const GumboVector& list = element->v.element.attributes;
        for (unsigned i = 0; i < list.length; ++i) {
            const auto* attribute = static_cast<const GumboAttribute*>(list.data[i]);
            const std::string name = attributeName(attribute);
            const std::string lower = lowerAscii(name);
            if (picture && lower == "srcset")
                continue;
            std::string value = attribute->value;
            // The resolver's address is our own (a picture read and checked, or an
            // absolute address), so it is kept even where a written one would not be.
            const std::string placed = picture && lower == "src" ? (*pictures_)(value) : "";
            if (!placed.empty())
                value = placed;
            else if (!keepAttribute(lower, value))
                continue;
            out += ' ';
            out += name;
            out += "=\"";
            appendEscaped(out, value, true);
            out += '"';
        }
    }

    // A style sheet stays as written (browsers run nothing in it), unless it holds a "<"
    // or "&", which a parser that reads it as markup would take for a tag or a reference.
    void style(const GumboNode* element) {
        if (element->v.element.tag_namespace != GUMBO_NAMESPACE_HTML)
            return;
        std::string sheet;
        const GumboVector& nodes = element->v.element.children;
        for (unsigned i = 0; i < nodes.length; ++i) {
            const auto* child = static_cast<const GumboNode*>(nodes.data[i]);
            if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE)
                sheet += child->v.text.text;
        }
        if (sheet.find_first_of("<&") != std::string::npos || isScriptInStyle(sheet))
            return;
        std::string clean;
        appendEscaped(clean, sheet, false);
        out += "<style>";
        for (std::size_t at = 0; at < clean.size(); ++at) {
            if (clean.compare(at, 4, "&gt;") == 0) {
                out += '>';
                at += 3;
            } else {
                out += clean[at];
            }
        }
        out += "</style>";
    }

    const PictureResolver* pictures_;
};

}  // namespace

std::string displayMarkup(const GumboNode* body, const PictureResolver* pictures) {
    DisplayWriter writer(pictures);
    if (body != nullptr)
        writer.children(body, 0);
    return writer.out;
}

}  // namespace common::markup
