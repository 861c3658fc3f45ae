// The node tree of an HTML document: the base class shared by elements, text, comments and
// the document itself, with the tree operations the page code calls.
//
// Contract: nodes are held by std::shared_ptr; a parent owns its children, a child points
// back at its parent without owning it, and every node knows its document weakly. A node
// removed from the tree stays valid while someone holds it. Mutations throw
// std::invalid_argument for requests that would corrupt the tree (a node made its own
// descendant, a reference child that is not a child); everything else reports "nothing
// done" through its result. A document and its nodes belong to one thread (see
// document.h); nothing here locks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::dom {

class Document;
class Element;
class EventSinkList;
struct EventSink;

enum class NodeType { Element = 1, Text = 3, Comment = 8, Document = 9 };

class Node : public std::enable_shared_from_this<Node> {
  public:
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    virtual ~Node();

    NodeType nodeType() const { return type_; }
    // "#text", "#comment", "#document", or the element's upper-case tag name.
    virtual std::wstring nodeName() const = 0;
    // Text of a text or comment node; empty for the others.
    virtual std::wstring nodeValue() const { return {}; }

    std::shared_ptr<Document> ownerDocument() const { return document_.lock(); }
    std::shared_ptr<Node> parentNode() const;
    // The parent when it is an element (a child of the document has none).
    std::shared_ptr<Element> parentElement() const;
    const std::vector<std::shared_ptr<Node>>& childNodes() const { return children_; }
    std::shared_ptr<Node> firstChild() const;
    std::shared_ptr<Node> lastChild() const;
    std::shared_ptr<Node> previousSibling() const;
    std::shared_ptr<Node> nextSibling() const;
    bool hasChildNodes() const { return !children_.empty(); }
    // True for the node itself and for every node below it.
    bool contains(const Node& other) const;

    // Detaches `child` from where it is and appends it; returns it.
    std::shared_ptr<Node> appendChild(std::shared_ptr<Node> child);
    // Inserts before `reference` (appends when it is null); returns the inserted node.
    std::shared_ptr<Node> insertBefore(std::shared_ptr<Node> child,
                                       const std::shared_ptr<Node>& reference);
    // Removes a direct child; returns it, or null when it is not a child.
    std::shared_ptr<Node> removeChild(const std::shared_ptr<Node>& child);
    // Puts `replacement` in the place of the child `old`; returns `old`, or null.
    std::shared_ptr<Node> replaceChild(std::shared_ptr<Node> replacement,
                                       const std::shared_ptr<Node>& old);
    // Takes this node out of its parent. With `deep` false the children stay in its place.
    std::shared_ptr<Node> removeNode(bool deep = true);
    // Puts `replacement` in this node's place; returns this node, or null when it has no
    // parent.
    std::shared_ptr<Node> replaceNode(std::shared_ptr<Node> replacement);
    // A copy owned by the same document and not in the tree; `deep` copies the subtree.
    virtual std::shared_ptr<Node> cloneNode(bool deep) const = 0;

    std::size_t indexInParent() const;
    // The parent without taking a share of it, for walks that only look.
    const Node* parentPointer() const { return parent_; }
    // Grows with every change of the child list and of the children's attributes: what
    // selectors that look at siblings depend on.
    std::uint64_t childListVersion() const { return childListVersion_; }

    // Event sinks advised on this node: each gets every event that bubbles through it.
    // Returns a cookie (never 0) for unadvise.
    std::uint32_t advise(std::shared_ptr<EventSink> sink);
    bool unadvise(std::uint32_t cookie);
    EventSinkList* sinks() const { return sinks_.get(); }

  protected:
    Node(NodeType type, std::weak_ptr<Document> document);

    // Records that `child` was put into or taken out of this node's child list.
    void noteTreeChange(const Node& child) const;
    // Records, in the parent's child list version, that this node's attributes changed.
    void noteChangeAmongSiblings() const;
    void setDocumentRecursive(const std::weak_ptr<Document>& document);
    // Used by the parser: appends a child known to be parentless, without bookkeeping.
    void appendParsedChild(std::shared_ptr<Node> child);
    // Used by the parser: hands out every child of a holder that is in no document's tree.
    std::vector<std::shared_ptr<Node>> takeParsedChildren();
    void cloneChildrenInto(Node& target) const;

    friend class Document;
    friend class HtmlTreeBuilder;

  private:
    void insertAt(std::size_t index, std::shared_ptr<Node> child);
    void eraseChildAt(std::size_t index);
    void renumberChildrenFrom(std::size_t first);

    NodeType type_;
    Node* parent_ = nullptr;
    // The position in the parent's child list, kept current by every change of that list,
    // so that sibling steps and removals do not search it.
    std::size_t index_ = 0;
    mutable std::uint64_t childListVersion_ = 0;
    std::weak_ptr<Document> document_;
    std::vector<std::shared_ptr<Node>> children_;
    std::unique_ptr<EventSinkList> sinks_;
};

// Text and comment nodes.
class CharacterData : public Node {
  public:
    std::wstring nodeValue() const override { return data_; }
    const std::wstring& data() const { return data_; }
    void setData(std::wstring data);

  protected:
    CharacterData(NodeType type, std::weak_ptr<Document> document, std::wstring data)
        : Node(type, std::move(document)), data_(std::move(data)) {}

  private:
    std::wstring data_;
};

class Text final : public CharacterData {
  public:
    Text(std::weak_ptr<Document> document, std::wstring data)
        : CharacterData(NodeType::Text, std::move(document), std::move(data)) {}
    std::wstring nodeName() const override { return L"#text"; }
    std::shared_ptr<Node> cloneNode(bool deep) const override;
};

class Comment final : public CharacterData {
  public:
    Comment(std::weak_ptr<Document> document, std::wstring data)
        : CharacterData(NodeType::Comment, std::move(document), std::move(data)) {}
    std::wstring nodeName() const override { return L"#comment"; }
    std::shared_ptr<Node> cloneNode(bool deep) const override;
};

}  // namespace platform::dom
