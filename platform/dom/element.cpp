#include "platform/dom/element.h"

#include <algorithm>

#include "platform/dom/document.h"
#include "platform/dom/tag_names.h"

namespace platform::dom {

Element::Element(std::weak_ptr<Document> document, const std::wstring* tagName, Namespace ns)
    : Node(NodeType::Element, std::move(document)), tag_(tagName), ns_(ns) {}

std::optional<std::wstring> Element::getAttribute(std::wstring_view name) const {
    for (const auto& attribute : attributes_)
        if (equalsIgnoringCase(attribute.name, name))
            return attribute.value;
    return std::nullopt;
}

bool Element::hasAttribute(std::wstring_view name) const {
    return getAttribute(name).has_value();
}

void Element::noteAttributeChange() {
    computed_.reset();
    noteChangeAmongSiblings();
    if (auto document = ownerDocument())
        document->noteAttributeChange(*this);
}

void Element::setAttribute(std::wstring_view name, std::wstring value) {
    noteAttributeChange();
    for (auto& attribute : attributes_) {
        if (equalsIgnoringCase(attribute.name, name)) {
            attribute.value = std::move(value);
            return;
        }
    }
    attributes_.push_back({asciiLower(name), std::move(value)});
}

std::optional<std::size_t> Element::attributePosition(std::wstring_view name) const {
    for (std::size_t i = 0; i < attributes_.size(); ++i)
        if (equalsIgnoringCase(attributes_[i].name, name))
            return i;
    return std::nullopt;
}

void Element::setAttributeAt(std::size_t position, std::wstring_view name, std::wstring value) {
    if (hasAttribute(name)) {
        setAttribute(name, std::move(value));
        return;
    }
    noteAttributeChange();
    position = std::min(position, attributes_.size());
    attributes_.insert(attributes_.begin() + static_cast<std::ptrdiff_t>(position),
                       {asciiLower(name), std::move(value)});
}

bool Element::removeAttribute(std::wstring_view name) {
    auto it = std::find_if(attributes_.begin(), attributes_.end(),
                           [&](const Attribute& a) { return equalsIgnoringCase(a.name, name); });
    if (it == attributes_.end())
        return false;
    attributes_.erase(it);
    noteAttributeChange();
    return true;
}

std::vector<std::shared_ptr<Element>> Element::children() const {
    std::vector<std::shared_ptr<Element>> out;
    for (const auto& child : childNodes())
        if (child->nodeType() == NodeType::Element)
            out.push_back(std::static_pointer_cast<Element>(child));
    return out;
}

namespace {

// Calls `visit` with every element below `root`, in document order, without recursion.
template <class Visit>
void forEachElementBelow(const Node& root, const Visit& visit) {
    std::vector<const Node*> pending;
    for (auto it = root.childNodes().rbegin(); it != root.childNodes().rend(); ++it)
        pending.push_back(it->get());
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        if (node->nodeType() != NodeType::Element)
            continue;
        visit(static_cast<const Element&>(*node));
        for (auto it = node->childNodes().rbegin(); it != node->childNodes().rend(); ++it)
            pending.push_back(it->get());
    }
}

std::shared_ptr<Element> sharedElement(const Element& element) {
    return std::const_pointer_cast<Element>(
        std::static_pointer_cast<const Element>(element.shared_from_this()));
}

}  // namespace

void appendElementsBelow(const Node& root, std::vector<std::shared_ptr<Element>>& out) {
    forEachElementBelow(root,
                        [&out](const Element& element) { out.push_back(sharedElement(element)); });
}

std::vector<std::shared_ptr<Element>> Element::all() const {
    std::vector<std::shared_ptr<Element>> out;
    appendElementsBelow(*this, out);
    return out;
}

std::vector<std::shared_ptr<Element>> Element::getElementsByTagName(std::wstring_view name) const {
    std::wstring upper = asciiUpper(name);
    if (upper == L"*")
        return all();
    std::vector<std::shared_ptr<Element>> found;
    forEachElementBelow(*this, [&](const Element& element) {
        if (element.tagName() == upper)
            found.push_back(sharedElement(element));
    });
    return found;
}

int Element::sourceIndex() const {
    auto document = ownerDocument();
    if (!document)
        return -1;
    document->all();
    if (sourceIndexVersion_ != document->treeVersion())
        return -1;
    return sourceIndex_;
}

std::shared_ptr<Element> Element::cloneElement(bool deep) const {
    auto copy = std::make_shared<Element>(ownerDocument(), tag_, ns_);
    copy->attributes_ = attributes_;
    if (deep)
        cloneChildrenInto(*copy);
    return copy;
}

std::shared_ptr<Node> Element::cloneNode(bool deep) const {
    return cloneElement(deep);
}

}  // namespace platform::dom
