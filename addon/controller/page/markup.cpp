#include "addon/controller/page/markup.h"

#include <gumbo.h>

#include "platform/text/utf.h"

namespace addon::page {

namespace {

NodePtr convert(const GumboNode* source);

void convertChildren(const GumboVector& children, const NodePtr& target) {
    for (unsigned i = 0; i < children.length; ++i) {
        if (NodePtr child = convert(static_cast<const GumboNode*>(children.data[i])))
            target->appendChild(child);
    }
}

NodePtr convert(const GumboNode* source) {
    using platform::text::fromUtf8;
    switch (source->type) {
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE: {
            const GumboElement& element = source->v.element;
            GumboStringPiece original = element.original_tag;
            if (element.tag == GUMBO_TAG_UNKNOWN)
                gumbo_tag_from_original_text(&original);
            const std::string name = element.tag == GUMBO_TAG_UNKNOWN
                                         ? std::string(original.data, original.length)
                                         : gumbo_normalized_tagname(element.tag);
            NodePtr node = Node::element(fromUtf8(name));
            for (unsigned i = 0; i < element.attributes.length; ++i) {
                const auto* attribute =
                    static_cast<const GumboAttribute*>(element.attributes.data[i]);
                node->setAttribute(fromUtf8(attribute->name), fromUtf8(attribute->value));
            }
            convertChildren(element.children, node);
            return node;
        }
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
        case GUMBO_NODE_CDATA:
            return Node::text(fromUtf8(source->v.text.text));
        case GUMBO_NODE_COMMENT:
            return Node::comment(fromUtf8(source->v.text.text));
        default:
            return nullptr;
    }
}

const GumboNode* findChild(const GumboNode* parent, GumboTag tag) {
    const GumboVector& children = parent->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (child->type == GUMBO_NODE_ELEMENT && child->v.element.tag == tag)
            return child;
    }
    return nullptr;
}

std::wstring escape(const std::wstring& text, bool attribute) {
    std::wstring result;
    for (wchar_t c : text) {
        switch (c) {
            case L'&':
                result += L"&amp;";
                break;
            case L'<':
                result += attribute ? L"<" : L"&lt;";
                break;
            case L'>':
                result += attribute ? L">" : L"&gt;";
                break;
            case L'"':
                result += attribute ? L"&quot;" : L"\"";
                break;
            default:
                result += c;
        }
    }
    return result;
}

bool isVoid(const std::wstring& tag) {
    static const wchar_t* const tags[] = {L"area",  L"base",   L"br",    L"col",  L"embed",
                                          L"hr",    L"img",    L"input", L"link", L"meta",
                                          L"param", L"source", L"track", L"wbr"};
    for (const wchar_t* name : tags)
        if (tag == name)
            return true;
    return false;
}

bool isRawText(const std::wstring& tag) {
    return tag == L"script" || tag == L"style";
}

}  // namespace

NodePtr parseDocument(const std::wstring& markup) {
    const std::string bytes = platform::text::toUtf8(markup);
    GumboOutput* output =
        gumbo_parse_with_options(&kGumboDefaultOptions, bytes.data(), bytes.size());
    NodePtr root = convert(output->root);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return root;
}

std::vector<NodePtr> parseFragment(const std::wstring& markup) {
    const std::string bytes = platform::text::toUtf8(L"<body>" + markup);
    GumboOutput* output =
        gumbo_parse_with_options(&kGumboDefaultOptions, bytes.data(), bytes.size());
    std::vector<NodePtr> result;
    if (const GumboNode* body = findChild(output->root, GUMBO_TAG_BODY)) {
        NodePtr holder = Node::element(L"body");
        convertChildren(body->v.element.children, holder);
        result = holder->children();
        for (const auto& child : result)
            child->remove();
    }
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return result;
}

std::wstring serializeNode(const Node& node) {
    switch (node.kind()) {
        case Node::Kind::text: {
            const NodePtr parent = node.parent();
            return parent && isRawText(parent->tag()) ? node.data() : escape(node.data(), false);
        }
        case Node::Kind::comment:
            return L"<!--" + node.data() + L"-->";
        default:
            break;
    }
    std::wstring result = L"<" + node.tag();
    for (const auto& [name, value] : node.attributes())
        result += L" " + name + L"=\"" + escape(value, true) + L"\"";
    if (auto style = node.attribute(L"style"))
        result += L" style=\"" + escape(*style, true) + L"\"";
    result += L">";
    if (isVoid(node.tag()))
        return result;
    result += node.innerHtml();
    return result + L"</" + node.tag() + L">";
}

}  // namespace addon::page
