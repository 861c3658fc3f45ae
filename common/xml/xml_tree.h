// Internal to the XML wrappers: who owns libxml2's memory.
//
// An XmlTree owns one xmlDoc and every node of it that is not linked into it (created,
// removed or replaced nodes, the "orphans"); all of them are freed together when the last
// wrapper that refers to the tree goes. Node wrappers hold the tree, so no wrapper can
// dangle, and nodes never move between trees: inserting a node of another tree inserts a
// copy. A DocumentState is what a document wrapper refers to: it survives reloads, which
// swap in a new tree while wrappers of the old one keep that alive.
//
// Threading: a document, with its trees and nodes, is used by one thread at a time.
#pragma once

#include <libxml/tree.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>

struct _xsltStylesheet;

namespace common::xml_detail {

class XmlTree {
  public:
    // Takes ownership of `doc`.
    explicit XmlTree(xmlDocPtr doc);
    ~XmlTree();
    XmlTree(const XmlTree&) = delete;
    XmlTree& operator=(const XmlTree&) = delete;

    xmlDocPtr doc() const { return doc_; }
    xmlNodePtr docNode() const { return reinterpret_cast<xmlNodePtr>(doc_); }

    // Keeps an unlinked node (and its subtree) until the tree goes.
    void adoptOrphan(xmlNodePtr node) { orphans_.insert(node); }
    // The node is linked into the tree again; the tree frees it with its parent.
    void releaseOrphan(xmlNodePtr node) { orphans_.erase(node); }

    // Counts the changes of the tree (links, unlinks, replaced children and attributes,
    // new texts), so that indexes and compiled forms of it know when to rebuild.
    std::uint64_t changeCount() const { return changeCount_; }
    void noteChange() { ++changeCount_; }

    // A stylesheet compiled from `node` of this tree while the tree stood at `version`,
    // kept for the next transformation with it; transformations with this tree's
    // stylesheets take the lock, since they share the compiled form.
    struct CompiledStylesheet {
        xmlNodePtr node = nullptr;
        std::uint64_t version = 0;
        std::shared_ptr<_xsltStylesheet> style;
    };
    CompiledStylesheet& compiledStylesheet() { return compiled_; }
    std::mutex& transformLock() { return transformLock_; }

    // Takes over `replaced`, a tree that nothing else refers to any more: freeReplaced
    // frees its nodes a few at a time while nodes are added to this tree, so that the
    // new nodes take the memory of the old ones while it is still in the cache, instead
    // of a whole tree going at once and another being allocated from cold memory. A tree
    // taken over earlier, and what is left at the end, go with releaseReplaced or with
    // this tree.
    void takeOver(std::shared_ptr<XmlTree> replaced);
    // Frees about `nodes` nodes of the replaced tree (all when fewer are left).
    void freeReplaced(std::size_t nodes);
    void releaseReplaced() { replaced_.reset(); }

    // Whether serialising writes an XML declaration (the text had one, or a caller
    // appended an "xml" processing instruction).
    bool hasDeclaration() const { return hasDeclaration_; }
    void setDeclaration(bool present) { hasDeclaration_ = present; }

  private:
    xmlDocPtr doc_;
    std::unordered_set<xmlNodePtr> orphans_;
    std::uint64_t changeCount_ = 0;
    CompiledStylesheet compiled_;
    std::mutex transformLock_;
    bool hasDeclaration_ = false;
    std::shared_ptr<XmlTree> replaced_;
    // The element of the replaced tree whose first child goes next.
    xmlNodePtr replacedAt_ = nullptr;
};

struct DocumentState {
    std::shared_ptr<XmlTree> tree;
    bool preserveWhiteSpace = false;
    std::wstring parseError;
};

// A new, empty tree (no element, no declaration).
std::shared_ptr<XmlTree> emptyTree();

// Prepares libxml2 and libxslt once per process: parser set-up, an entity loader that
// refuses everything but local files, and everything at all while parsing, and the
// EXSLT string functions (namespace "http://exslt.org/strings").
void initializeXmlLibraries();

// While alive, the entity loader refuses every load on this thread.
class ExternalLoadBlock {
  public:
    ExternalLoadBlock();
    ~ExternalLoadBlock();
    ExternalLoadBlock(const ExternalLoadBlock&) = delete;
    ExternalLoadBlock& operator=(const ExternalLoadBlock&) = delete;

  private:
    bool previous_;
};

// While alive, collects the messages that libxml2 and libxslt report on this thread
// instead of printing them.
class ErrorCapture {
  public:
    ErrorCapture();
    ~ErrorCapture();
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    void append(const char* message) { collected_ += message; }

    // The collected messages, trimmed, "" when none came.
    std::wstring text() const;

  private:
    std::string collected_;
    ErrorCapture* previous_;
};

}  // namespace common::xml_detail
