#include "common/markup/parsed_markup.h"

#include <vector>

#include "common/markup/xml_output.h"
#include "platform/html_input/bounded_html.h"

namespace common::markup {

namespace {

// "DIV" and "SPAN" elements nested deeper are read as their content alone.
constexpr int kMaxParseDepth = 512;

bool isNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isPlainName(std::string_view name, std::string_view extra) {
    if (name.empty() || !isNameStart(name.front()))
        return false;
    for (const char c : name)
        if (!isNameStart(c) && !(c >= '0' && c <= '9') && c != '-' &&
            extra.find(c) == std::string_view::npos)
            return false;
    return true;
}

const GumboNode* childElement(const GumboNode* parent, GumboTag tag) {
    if (parent == nullptr)
        return nullptr;
    const GumboVector& children = parent->type == GUMBO_NODE_DOCUMENT ? parent->v.document.children
                                                                      : parent->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (child->type == GUMBO_NODE_ELEMENT && child->v.element.tag == tag)
            return child;
    }
    return nullptr;
}

// Elements whose content is code or metadata, not text a reader sees.
bool holdsNoText(GumboTag tag) {
    switch (tag) {
        case GUMBO_TAG_SCRIPT:
        case GUMBO_TAG_STYLE:
        case GUMBO_TAG_NOSCRIPT:
        case GUMBO_TAG_TEMPLATE:
        case GUMBO_TAG_IFRAME:
        case GUMBO_TAG_NOFRAMES:
        case GUMBO_TAG_NOEMBED:
        case GUMBO_TAG_HEAD:
        case GUMBO_TAG_TITLE:
            return true;
        default:
            return false;
    }
}

}  // namespace

ParsedMarkup::ParsedMarkup(std::string_view html) {
    const platform::html_input::BoundedHtml bounded(html, kMaxParseDepth);
    text_ = bounded.text();
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;  // the errors are not read: do not collect them
    output_ = gumbo_parse_with_options(&options, text_.data(), text_.size());
}

ParsedMarkup::~ParsedMarkup() {
    gumbo_destroy_output(&kGumboDefaultOptions, output_);
}

const GumboNode* ParsedMarkup::body() const {
    return childElement(childElement(output_->document, GUMBO_TAG_HTML), GUMBO_TAG_BODY);
}

std::string elementName(const GumboNode* element) {
    const GumboElement& data = element->v.element;
    std::string name;
    if (data.tag != GUMBO_TAG_UNKNOWN) {
        name = gumbo_normalized_tagname(data.tag);
    } else {
        GumboStringPiece piece = data.original_tag;
        gumbo_tag_from_original_text(&piece);
        name = lowerAscii(std::string_view(piece.data, piece.length));
    }
    if (data.tag_namespace == GUMBO_NAMESPACE_SVG) {
        const GumboStringPiece piece{name.data(), name.size()};
        if (const char* svgName = gumbo_normalize_svg_tagname(&piece))
            name = svgName;
    }
    return isPlainName(name, "") ? name : std::string();
}

std::string attributeName(const GumboAttribute* attribute) {
    std::string name = attribute->name;
    if (!isPlainName(name, "_.:"))
        return {};
    switch (attribute->attr_namespace) {
        case GUMBO_ATTR_NAMESPACE_XLINK:
            return "xlink:" + name;
        case GUMBO_ATTR_NAMESPACE_XML:
            return "xml:" + name;
        case GUMBO_ATTR_NAMESPACE_XMLNS:
            return name == "xmlns" ? name : "xmlns:" + name;
        default:
            return name;
    }
}

const char* attributeValue(const GumboNode* element, const char* name) {
    const GumboAttribute* attribute = gumbo_get_attribute(&element->v.element.attributes, name);
    return attribute != nullptr ? attribute->value : nullptr;
}

void appendTextContent(const GumboNode* node, std::string& out) {
    std::vector<const GumboNode*> pending{node};
    while (!pending.empty()) {
        const GumboNode* current = pending.back();
        pending.pop_back();
        if (current->type == GUMBO_NODE_TEXT || current->type == GUMBO_NODE_WHITESPACE ||
            current->type == GUMBO_NODE_CDATA) {
            out += current->v.text.text;
        } else if (current->type == GUMBO_NODE_ELEMENT && !holdsNoText(current->v.element.tag)) {
            const GumboVector& children = current->v.element.children;
            for (unsigned i = children.length; i > 0; --i)
                pending.push_back(static_cast<const GumboNode*>(children.data[i - 1]));
        }
    }
}

}  // namespace common::markup
