// A small model of an HTML page for the selection engine until the shared document model
// is available: a tree of element, text and comment nodes with attributes, an inline style,
// a computed style (inline values, inheritance of visibility, default display per tag) and
// explicit boxes in document coordinates that stand in for layout.
//
// Contract: nodes are shared-owned; a parent owns its children, a child knows its parent
// weakly. Identity is the object's address. Single-threaded, like the page it models.
// Operations on a detached node work on that node alone; nothing throws but bad_alloc.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addon/controller/rect.h"

namespace addon::page {

class Document;
class Node;
using NodePtr = std::shared_ptr<Node>;

class Node : public std::enable_shared_from_this<Node> {
  public:
    enum class Kind { element, text, comment };

    static NodePtr element(const std::wstring& tag);
    static NodePtr text(const std::wstring& data);
    static NodePtr comment(const std::wstring& data);

    Kind kind() const { return kind_; }
    bool isElement() const { return kind_ == Kind::element; }
    // "#text", "#comment" or the tag name in lower case.
    std::wstring nodeName() const;
    const std::wstring& tag() const { return tag_; }
    const std::wstring& data() const { return data_; }
    void setData(std::wstring data) { data_ = std::move(data); }

    NodePtr parent() const { return parent_.lock(); }
    const std::vector<NodePtr>& children() const { return children_; }
    std::vector<NodePtr> childElements() const;
    // Every element below this node in document order.
    std::vector<NodePtr> descendantElements() const;
    bool contains(const Node* other) const;  // inclusive

    void appendChild(const NodePtr& child);
    void insertChild(std::size_t position, const NodePtr& child);
    // Removes this node from its parent.
    void remove();
    // Replaces this node in its parent by its children.
    void unwrap();
    NodePtr cloneShallow() const;
    NodePtr cloneDeep() const;

    // Attributes (names compared without case).
    std::optional<std::wstring> attribute(const std::wstring& name) const;
    void setAttribute(const std::wstring& name, const std::wstring& value);
    void removeAttribute(const std::wstring& name);
    const std::vector<std::pair<std::wstring, std::wstring>>& attributes() const {
        return attributes_;
    }
    std::wstring id() const { return attribute(L"id").value_or(L""); }
    std::wstring className() const { return attribute(L"class").value_or(L""); }

    // Inline style by property name ("display", "borderLeftWidth", "pixelLeft", ...).
    std::optional<std::wstring> inlineStyle(const std::wstring& name) const;
    void setInlineStyle(const std::wstring& name, const std::wstring& value);
    void removeInlineStyle(const std::wstring& name);
    // The style as rendered: inline value, inherited for visibility, else the tag's default.
    std::optional<std::wstring> currentStyle(const std::wstring& name) const;

    // The box in document coordinates; unset when the page did not lay the element out.
    const OptionalRect& box() const { return box_; }
    void setBox(const OptionalRect& box) { box_ = box; }

    std::wstring outerHtml() const;
    std::wstring innerHtml() const;
    std::wstring innerText() const;
    // Replaces the children with the parsed markup.
    void setInnerHtml(const std::wstring& markup);

  private:
    explicit Node(Kind kind) : kind_(kind) {}

    Kind kind_;
    std::wstring tag_;
    std::wstring data_;
    std::weak_ptr<Node> parent_;
    std::vector<NodePtr> children_;
    std::vector<std::pair<std::wstring, std::wstring>> attributes_;
    std::map<std::wstring, std::wstring> style_;
    OptionalRect box_;
};

}  // namespace addon::page
