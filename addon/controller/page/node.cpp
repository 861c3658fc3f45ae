#include "addon/controller/page/node.h"

#include <algorithm>
#include <cwctype>

#include "addon/controller/page/markup.h"
#include "addon/controller/text_case.h"

namespace addon::page {

namespace {

bool sameName(const std::wstring& a, const std::wstring& b) {
    return lowerText(a) == lowerText(b);
}

// "border-left-width" -> "borderLeftWidth".
std::wstring camelCase(const std::wstring& cssName) {
    std::wstring result;
    bool upper = false;
    for (wchar_t c : cssName) {
        if (c == L'-') {
            upper = !result.empty();
            continue;
        }
        result += upper ? static_cast<wchar_t>(std::towupper(c)) : c;
        upper = false;
    }
    return result;
}

// "borderLeftWidth" -> "border-left-width".
std::wstring kebabCase(const std::wstring& name) {
    std::wstring result;
    for (wchar_t c : name) {
        if (std::iswupper(c)) {
            result += L'-';
            result += static_cast<wchar_t>(std::towlower(c));
        } else {
            result += c;
        }
    }
    return result;
}

std::wstring defaultDisplay(const std::wstring& tag) {
    static const std::vector<std::wstring> hidden = {L"head",  L"script",   L"style",
                                                     L"title", L"meta",     L"link",
                                                     L"base",  L"noscript", L"template"};
    static const std::vector<std::wstring> blocks = {
        L"html",  L"body", L"div",        L"p",       L"ul",      L"ol", L"li",
        L"table", L"form", L"h1",         L"h2",      L"h3",      L"h4", L"h5",
        L"h6",    L"pre",  L"blockquote", L"section", L"article", L"hr"};
    if (std::find(hidden.begin(), hidden.end(), tag) != hidden.end())
        return L"none";
    if (std::find(blocks.begin(), blocks.end(), tag) != blocks.end())
        return L"block";
    return L"inline";
}

// The width inside a "border" shorthand: its token that ends in "px", if any.
std::optional<std::wstring> borderWidthOf(const std::wstring& shorthand) {
    std::size_t start = 0;
    while (start < shorthand.size()) {
        std::size_t end = shorthand.find(L' ', start);
        if (end == std::wstring::npos)
            end = shorthand.size();
        const std::wstring token = shorthand.substr(start, end - start);
        if (token.size() > 2 && token.ends_with(L"px"))
            return token;
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace

NodePtr Node::element(const std::wstring& tag) {
    NodePtr node(new Node(Kind::element));
    node->tag_ = lowerText(tag);
    return node;
}

NodePtr Node::text(const std::wstring& data) {
    NodePtr node(new Node(Kind::text));
    node->data_ = data;
    return node;
}

NodePtr Node::comment(const std::wstring& data) {
    NodePtr node(new Node(Kind::comment));
    node->data_ = data;
    return node;
}

std::wstring Node::nodeName() const {
    switch (kind_) {
        case Kind::text:
            return L"#text";
        case Kind::comment:
            return L"#comment";
        default:
            return tag_;
    }
}

std::vector<NodePtr> Node::childElements() const {
    std::vector<NodePtr> result;
    for (const auto& child : children_)
        if (child->isElement())
            result.push_back(child);
    return result;
}

std::vector<NodePtr> Node::descendantElements() const {
    std::vector<NodePtr> result;
    for (const auto& child : children_) {
        if (!child->isElement())
            continue;
        result.push_back(child);
        const auto below = child->descendantElements();
        result.insert(result.end(), below.begin(), below.end());
    }
    return result;
}

bool Node::contains(const Node* other) const {
    for (; other; other = other->parent_.lock().get())
        if (other == this)
            return true;
    return false;
}

void Node::appendChild(const NodePtr& child) {
    insertChild(children_.size(), child);
}

void Node::insertChild(std::size_t position, const NodePtr& child) {
    if (!child || child->contains(this))
        return;
    child->remove();
    child->parent_ = weak_from_this();
    children_.insert(children_.begin() + std::min(position, children_.size()), child);
}

void Node::remove() {
    const NodePtr owner = parent_.lock();
    if (!owner)
        return;
    auto& siblings = owner->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), shared_from_this()),
                   siblings.end());
    parent_.reset();
}

void Node::unwrap() {
    const NodePtr owner = parent_.lock();
    if (!owner)
        return;
    auto& siblings = owner->children_;
    const auto at = std::find(siblings.begin(), siblings.end(), shared_from_this());
    std::size_t position = at - siblings.begin();
    const auto moved = children_;
    remove();
    for (const auto& child : moved)
        owner->insertChild(position++, child);
}

NodePtr Node::cloneShallow() const {
    NodePtr copy(new Node(kind_));
    copy->tag_ = tag_;
    copy->data_ = data_;
    copy->attributes_ = attributes_;
    copy->style_ = style_;
    copy->box_ = box_;
    return copy;
}

NodePtr Node::cloneDeep() const {
    NodePtr copy = cloneShallow();
    for (const auto& child : children_)
        copy->appendChild(child->cloneDeep());
    return copy;
}

std::optional<std::wstring> Node::attribute(const std::wstring& name) const {
    if (sameName(name, L"style")) {
        if (style_.empty())
            return std::nullopt;
        std::wstring text;
        for (const auto& [property, value] : style_)
            text += kebabCase(property) + L":" + value + L";";
        return text;
    }
    for (const auto& [key, value] : attributes_)
        if (sameName(key, name))
            return value;
    return std::nullopt;
}

void Node::setAttribute(const std::wstring& name, const std::wstring& value) {
    if (sameName(name, L"style")) {
        style_.clear();
        std::size_t start = 0;
        while (start < value.size()) {
            std::size_t end = value.find(L';', start);
            if (end == std::wstring::npos)
                end = value.size();
            const std::wstring declaration = value.substr(start, end - start);
            const auto colon = declaration.find(L':');
            if (colon != std::wstring::npos) {
                const std::wstring property =
                    camelCase(lowerText(trimSpace(declaration.substr(0, colon))));
                if (!property.empty())
                    style_[property] = trimSpace(declaration.substr(colon + 1));
            }
            start = end + 1;
        }
        return;
    }
    for (auto& [key, existing] : attributes_) {
        if (sameName(key, name)) {
            existing = value;
            return;
        }
    }
    attributes_.emplace_back(lowerText(name), value);
}

void Node::removeAttribute(const std::wstring& name) {
    if (sameName(name, L"style")) {
        style_.clear();
        return;
    }
    std::erase_if(attributes_, [&](const auto& entry) { return sameName(entry.first, name); });
}

std::optional<std::wstring> Node::inlineStyle(const std::wstring& name) const {
    const auto found = style_.find(name);
    if (found == style_.end())
        return std::nullopt;
    return found->second;
}

void Node::setInlineStyle(const std::wstring& name, const std::wstring& value) {
    style_[name] = value;
}

void Node::removeInlineStyle(const std::wstring& name) {
    style_.erase(name);
}

std::optional<std::wstring> Node::currentStyle(const std::wstring& name) const {
    if (!isElement())
        return std::nullopt;
    if (auto value = inlineStyle(name))
        return value;
    if (name.starts_with(L"border") && name.ends_with(L"Width")) {
        const std::wstring side = name.substr(0, name.size() - 5);
        for (const std::wstring& shorthand : {side, std::wstring(L"border")})
            if (auto value = inlineStyle(shorthand))
                return borderWidthOf(*value);
        return std::nullopt;
    }
    if (name == L"visibility") {
        const NodePtr owner = parent();
        if (owner && owner->isElement())
            return owner->currentStyle(name);
        return L"visible";
    }
    if (name == L"display")
        return defaultDisplay(tag_);
    return std::nullopt;
}

std::wstring Node::outerHtml() const {
    return serializeNode(*this);
}

std::wstring Node::innerHtml() const {
    std::wstring result;
    for (const auto& child : children_)
        result += serializeNode(*child);
    return result;
}

std::wstring Node::innerText() const {
    if (kind_ == Kind::text)
        return data_;
    if (kind_ == Kind::comment || tag_ == L"script" || tag_ == L"style")
        return {};
    std::wstring result;
    for (const auto& child : children_)
        result += child->innerText();
    return result;
}

void Node::setInnerHtml(const std::wstring& markup) {
    while (!children_.empty())
        children_.back()->remove();
    for (const auto& child : parseFragment(markup))
        appendChild(child);
}

}  // namespace addon::page
