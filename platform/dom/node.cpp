#include "platform/dom/node.h"

#include <algorithm>
#include <stdexcept>

#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/dom/events/event_sink.h"

namespace platform::dom {

Node::Node(NodeType type, std::weak_ptr<Document> document)
    : type_(type), document_(std::move(document)) {}

// Children are released without recursion, so that a very deep tree cannot exhaust the
// stack: every subtree that dies with this node is flattened into one work list.
Node::~Node() {
    std::vector<std::shared_ptr<Node>> pending = std::move(children_);
    for (auto& child : pending)
        child->parent_ = nullptr;
    while (!pending.empty()) {
        std::shared_ptr<Node> node = std::move(pending.back());
        pending.pop_back();
        if (node.use_count() != 1)
            continue;
        for (auto& child : node->children_) {
            child->parent_ = nullptr;
            pending.push_back(std::move(child));
        }
        node->children_.clear();
    }
}

std::shared_ptr<Node> Node::parentNode() const {
    return parent_ ? parent_->shared_from_this() : nullptr;
}

std::shared_ptr<Element> Node::parentElement() const {
    if (!parent_ || parent_->type_ != NodeType::Element)
        return nullptr;
    return std::static_pointer_cast<Element>(parent_->shared_from_this());
}

std::shared_ptr<Node> Node::firstChild() const {
    return children_.empty() ? nullptr : children_.front();
}

std::shared_ptr<Node> Node::lastChild() const {
    return children_.empty() ? nullptr : children_.back();
}

std::size_t Node::indexInParent() const {
    return parent_ ? index_ : 0;
}

void Node::renumberChildrenFrom(std::size_t first) {
    for (std::size_t i = first; i < children_.size(); ++i)
        children_[i]->index_ = i;
}

void Node::eraseChildAt(std::size_t index) {
    children_[index]->parent_ = nullptr;
    children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(index));
    renumberChildrenFrom(index);
}

std::shared_ptr<Node> Node::previousSibling() const {
    if (!parent_)
        return nullptr;
    std::size_t index = indexInParent();
    return index == 0 ? nullptr : parent_->children_[index - 1];
}

std::shared_ptr<Node> Node::nextSibling() const {
    if (!parent_)
        return nullptr;
    std::size_t index = indexInParent() + 1;
    return index < parent_->children_.size() ? parent_->children_[index] : nullptr;
}

bool Node::contains(const Node& other) const {
    for (const Node* node = &other; node; node = node->parent_)
        if (node == this)
            return true;
    return false;
}

void Node::insertAt(std::size_t index, std::shared_ptr<Node> child) {
    if (!child)
        throw std::invalid_argument("dom: cannot insert a null node");
    if (type_ == NodeType::Text || type_ == NodeType::Comment)
        throw std::invalid_argument("dom: text and comment nodes have no children");
    if (child->type_ == NodeType::Document)
        throw std::invalid_argument("dom: a document cannot be inserted");
    // Only a node with children can hold this one below it.
    if (child.get() == this || (child->hasChildNodes() && child->contains(*this)))
        throw std::invalid_argument("dom: a node cannot be inserted below itself");
    if (Node* old = child->parent_) {
        std::size_t oldIndex = child->index_;
        old->eraseChildAt(oldIndex);
        if (old == this && oldIndex < index)
            --index;
        old->noteTreeChange(*child);
    }
    if (child->document_.lock() != document_.lock())
        child->setDocumentRecursive(document_);
    child->parent_ = this;
    Node& inserted = *child;
    children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(index), std::move(child));
    renumberChildrenFrom(index);
    noteTreeChange(inserted);
}

std::shared_ptr<Node> Node::appendChild(std::shared_ptr<Node> child) {
    insertAt(children_.size(), child);
    return child;
}

// The node arguments given by reference may be slots of a child list that the operation
// changes (`removeChild(childNodes().back())`), so each operation holds its own copy.
std::shared_ptr<Node> Node::insertBefore(std::shared_ptr<Node> child,
                                         const std::shared_ptr<Node>& referenceSlot) {
    std::shared_ptr<Node> reference = referenceSlot;
    if (!reference)
        return appendChild(std::move(child));
    if (reference->parent_ != this)
        throw std::invalid_argument("dom: the reference node is not a child of this node");
    if (reference == child)
        return child;
    insertAt(reference->indexInParent(), child);
    return child;
}

std::shared_ptr<Node> Node::removeChild(const std::shared_ptr<Node>& childSlot) {
    std::shared_ptr<Node> child = childSlot;
    if (!child || child->parent_ != this)
        return nullptr;
    eraseChildAt(child->index_);
    noteTreeChange(*child);
    return child;
}

std::shared_ptr<Node> Node::replaceChild(std::shared_ptr<Node> replacement,
                                         const std::shared_ptr<Node>& oldSlot) {
    std::shared_ptr<Node> old = oldSlot;
    if (!old || old->parent_ != this)
        return nullptr;
    if (replacement == old)
        return old;
    insertBefore(std::move(replacement), old);
    return removeChild(old);
}

std::shared_ptr<Node> Node::removeNode(bool deep) {
    auto self = shared_from_this();
    if (!parent_)
        return self;
    if (!deep) {
        auto moved = children_;
        for (auto& child : moved)
            parent_->insertBefore(child, self);
    }
    return parent_->removeChild(self);
}

std::shared_ptr<Node> Node::replaceNode(std::shared_ptr<Node> replacement) {
    if (!parent_)
        return nullptr;
    return parent_->replaceChild(std::move(replacement), shared_from_this());
}

std::uint32_t Node::advise(std::shared_ptr<EventSink> sink) {
    if (!sinks_)
        sinks_ = std::make_unique<EventSinkList>();
    return sinks_->advise(std::move(sink));
}

bool Node::unadvise(std::uint32_t cookie) {
    return sinks_ && sinks_->unadvise(cookie);
}

void Node::noteTreeChange(const Node& child) const {
    ++childListVersion_;
    if (auto document = document_.lock())
        document->noteTreeChange(*this, child);
}

void Node::noteChangeAmongSiblings() const {
    if (parent_)
        ++parent_->childListVersion_;
}

void Node::setDocumentRecursive(const std::weak_ptr<Document>& document) {
    std::vector<Node*> pending{this};
    while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        node->document_ = document;
        for (auto& child : node->children_)
            pending.push_back(child.get());
    }
}

void Node::appendParsedChild(std::shared_ptr<Node> child) {
    child->parent_ = this;
    child->index_ = children_.size();
    children_.push_back(std::move(child));
}

std::vector<std::shared_ptr<Node>> Node::takeParsedChildren() {
    std::vector<std::shared_ptr<Node>> taken = std::move(children_);
    children_.clear();
    for (auto& child : taken)
        child->parent_ = nullptr;
    return taken;
}

// Copies the subtree level by level from a work list, so that depth costs no stack.
void Node::cloneChildrenInto(Node& target) const {
    std::vector<std::pair<const Node*, Node*>> pending{{this, &target}};
    while (!pending.empty()) {
        auto [source, copy] = pending.back();
        pending.pop_back();
        for (const auto& child : source->children_) {
            auto childCopy = child->cloneNode(false);
            Node* raw = childCopy.get();
            copy->appendParsedChild(std::move(childCopy));
            if (!child->children_.empty())
                pending.push_back({child.get(), raw});
        }
    }
}

void CharacterData::setData(std::wstring data) {
    data_ = std::move(data);
    if (auto document = ownerDocument())
        document->noteTextChange(*this);
}

std::shared_ptr<Node> Text::cloneNode(bool) const {
    return std::make_shared<Text>(ownerDocument(), data());
}

std::shared_ptr<Node> Comment::cloneNode(bool) const {
    return std::make_shared<Comment>(ownerDocument(), data());
}

}  // namespace platform::dom
