#include "common/markup/display_markup.h"

#include <optional>
#include <set>
#include <string_view>

#include "common/markup/parsed_markup.h"
#include "common/markup/style_filter.h"
#include "common/markup/url_safety.h"
#include "common/markup/xml_output.h"

namespace common::markup {

namespace {

// Deeper than this, only the text of the elements is kept.
constexpr int kMaxDepth = 256;

// Elements dropped with everything inside them, in any namespace (names in lower case):
// what runs code or loads other documents, style sheets (they restyle the whole page that
// shows the clip) and form controls (nothing shown may ask for or send a reader's input).
// Formulas (MathML) stay, as SVG pictures do: their elements and attributes pass the same
// filter as any other, and a formula is often the words of a sentence.
const std::set<std::string, std::less<>> kDropped = {
    "script",           "noscript", "iframe",   "frame",    "frameset", "object",   "embed",
    "applet",           "param",    "base",     "meta",     "link",     "template", "noembed",
    "noframes",         "title",    "head",     "portal",   "animate",  "set",      "animatemotion",
    "animatetransform", "handler",  "listener", "style",    "input",    "button",   "select",
    "textarea",         "keygen",   "datalist", "optgroup", "option",   "isindex"};

// Elements whose tags go while their content stays.
const std::set<std::string, std::less<>> kUnwrapped = {"form"};

// Elements whose content browsers read as raw text: written as "pre", whose content is
// read as markup, so the escaped text reads back as it was.
const std::set<std::string, std::less<>> kRawText = {"xmp", "listing", "plaintext"};

const std::set<std::string, std::less<>> kVoid = {"area",  "br",     "col",    "hr",    "img",
                                                  "input", "keygen", "source", "track", "wbr"};

bool isEventAttribute(std::string_view name) {
    return name.size() > 2 && lowerAscii(name.substr(0, 2)) == "on";
}

// The value the attribute may be shown with, or nothing when it goes.
std::optional<std::string> shownValue(std::string_view name, std::string_view value) {
    if (name.empty() || isEventAttribute(name) || isScriptUrl(value))
        return std::nullopt;
    if (name == "srcdoc" || name == "formaction")
        return std::nullopt;
    if (name == "style") {
        // What the filter leaves may begin like a script address ("livescript:top:0" once
        // the declaration before it is gone): such a value goes like any other.
        std::optional<std::string> style = displayStyle(value);
        return style && !style->empty() && !isScriptUrl(*style) ? style : std::nullopt;
    }
    if (isDataUrl(value) && !((name == "src" || name == "poster") && isPictureDataUrl(value)))
        return std::nullopt;
    return std::string(value);
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
        if (name.empty() || kUnwrapped.count(lower) > 0) {
            children(element, depth);
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
            // The resolver's address is our own (a picture read and checked, or an
            // absolute address), so it is kept even where a written one would not be.
            const std::string placed =
                picture && lower == "src" ? (*pictures_)(attribute->value) : "";
            const std::optional<std::string> value =
                placed.empty() ? shownValue(lower, attribute->value) : placed;
            if (!value)
                continue;
            out += ' ';
            out += name;
            out += "=\"";
            appendEscaped(out, *value, true);
            out += '"';
        }
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
