#include "platform/dom/layout/markup/page_direction.h"

#include <optional>
#include <vector>

#include "platform/dom/element.h"
#include "platform/imaging/canvas/text_direction.h"

namespace platform::dom {

namespace {

bool named(const std::optional<std::wstring>& value, std::wstring_view name) {
    if (!value || value->size() != name.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (((*value)[i] | 0x20) != name[i])
            return false;
    return true;
}

// The direction of the element's first strongly directional character.
imaging::StrongDirection textDirection(const Element& element) {
    std::vector<const Node*> pending;
    for (auto child = element.childNodes().rbegin(); child != element.childNodes().rend(); ++child)
        pending.push_back(child->get());
    while (!pending.empty()) {
        const Node& node = *pending.back();
        pending.pop_back();
        if (node.nodeType() == NodeType::Text) {
            const auto found = imaging::firstStrongDirection(static_cast<const Text&>(node).data());
            if (found != imaging::StrongDirection::none)
                return found;
            continue;
        }
        if (node.nodeType() != NodeType::Element)
            continue;
        const auto& inner = static_cast<const Element&>(node);
        if (inner.hasTag(L"SCRIPT") || inner.hasTag(L"STYLE") || inner.getAttribute(L"dir"))
            continue;
        const auto& children = inner.childNodes();
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            pending.push_back(child->get());
    }
    return imaging::StrongDirection::none;
}

}  // namespace

std::optional<bool> ownRightToLeft(const Element& element) {
    const auto dir = element.getAttribute(L"dir");
    if (named(dir, L"rtl"))
        return true;
    if (named(dir, L"ltr"))
        return false;
    if (named(dir, L"auto"))
        return textDirection(element) == imaging::StrongDirection::rightToLeft;
    return std::nullopt;
}

bool runsRightToLeft(const Element& element) {
    if (const auto own = ownRightToLeft(element))
        return *own;
    for (auto above = element.parentElement(); above; above = above->parentElement())
        if (const auto own = ownRightToLeft(*above))
            return *own;
    return false;
}

std::string directionStyle(const Element& element) {
    const bool list = element.hasTag(L"UL") || element.hasTag(L"OL") || element.hasTag(L"MENU") ||
                      element.hasTag(L"DIR");
    const bool definition = element.hasTag(L"DD");
    const auto own = ownRightToLeft(element);
    if (!own && !list && !definition)
        return {};
    const bool rightToLeft = runsRightToLeft(element);
    std::string out;
    if (own) {
        const auto parent = element.parentElement();
        if (rightToLeft != (parent && runsRightToLeft(*parent)))
            out += rightToLeft ? "text-align:right;" : "text-align:left;";
    }
    if (rightToLeft && list)
        out += "padding-left:0;padding-right:40px;";
    if (rightToLeft && definition)
        out += "margin-left:0;margin-right:40px;";
    return out;
}

}  // namespace platform::dom
