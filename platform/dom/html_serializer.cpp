#include "platform/dom/html_serializer.h"

#include <vector>

#include "platform/dom/element.h"
#include "platform/dom/tag_names.h"

namespace platform::dom {

namespace {

bool writesRawText(const Element& element) {
    return element.elementNamespace() == Namespace::Html && isRawTextTag(element.tagName());
}

bool dropsLeadingLineFeed(const Element& element) {
    return element.elementNamespace() == Namespace::Html &&
           (element.hasTag(L"PRE") || element.hasTag(L"TEXTAREA") || element.hasTag(L"LISTING"));
}

void writeStartTag(std::wstring& out, const Element& element) {
    out += L'<';
    out += element.tagName();
    for (const auto& attribute : element.attributes()) {
        out += L' ';
        out += attribute.name;
        out += L"=\"";
        writeEscaped(out, attribute.value, true);
        out += L'"';
    }
    out += L'>';
    if (dropsLeadingLineFeed(element)) {
        auto first = element.firstChild();
        if (first && first->nodeType() == NodeType::Text && !first->nodeValue().empty() &&
            first->nodeValue().front() == L'\n')
            out += L'\n';
    }
}

bool hasEndTag(const Element& element) {
    return element.elementNamespace() != Namespace::Html || !isVoidTag(element.tagName());
}

// One step of the walk: a node to open, or an element whose end tag is due.
struct Step {
    const Node* node;
    bool closing;
};

void writeTree(std::wstring& out, std::vector<Step> pending) {
    while (!pending.empty()) {
        Step step = pending.back();
        pending.pop_back();
        const Node& node = *step.node;
        if (step.closing) {
            out += L"</";
            out += node.nodeName();
            out += L'>';
            continue;
        }
        switch (node.nodeType()) {
            case NodeType::Text: {
                auto parent = node.parentElement();
                if (parent && writesRawText(*parent))
                    out += static_cast<const CharacterData&>(node).data();
                else
                    writeEscaped(out, static_cast<const CharacterData&>(node).data(), false);
                break;
            }
            case NodeType::Comment:
                out += L"<!--";
                out += static_cast<const CharacterData&>(node).data();
                out += L"-->";
                break;
            case NodeType::Element: {
                const auto& element = static_cast<const Element&>(node);
                writeStartTag(out, element);
                if (!hasEndTag(element))
                    break;
                pending.push_back({&node, true});
                const auto& children = node.childNodes();
                for (auto it = children.rbegin(); it != children.rend(); ++it)
                    pending.push_back({it->get(), false});
                break;
            }
            case NodeType::Document: {
                const auto& children = node.childNodes();
                for (auto it = children.rbegin(); it != children.rend(); ++it)
                    pending.push_back({it->get(), false});
                break;
            }
        }
    }
}

}  // namespace

void writeEscaped(std::wstring& out, std::wstring_view text, bool attributeValue) {
    for (wchar_t c : text) {
        switch (c) {
            case L'&':
                out += L"&amp;";
                break;
            case L'<':
                attributeValue ? void(out += c) : void(out += L"&lt;");
                break;
            case L'>':
                attributeValue ? void(out += c) : void(out += L"&gt;");
                break;
            case L'"':
                attributeValue ? void(out += L"&quot;") : void(out += c);
                break;
            case 0xA0:
                out += L"&nbsp;";
                break;
            default:
                out += c;
        }
    }
}

void writeOuterHtml(std::wstring& out, const Node& node) {
    writeTree(out, {{&node, false}});
}

void writeInnerHtml(std::wstring& out, const Node& node) {
    if (node.nodeType() == NodeType::Element) {
        const auto& element = static_cast<const Element&>(node);
        if (writesRawText(element)) {
            for (const auto& child : node.childNodes())
                out += child->nodeValue();
            return;
        }
    }
    std::vector<Step> pending;
    const auto& children = node.childNodes();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        pending.push_back({it->get(), false});
    writeTree(out, std::move(pending));
}

}  // namespace platform::dom
